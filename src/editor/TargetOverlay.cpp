#include "editor/TargetOverlay.h"

#include "editor/EditorStyle.h"
#include "editor/LineClampLabel.h"
#include "editor/RoundedPanel.h"
#include "editor/TypingPanelModel.h"
#include "theme/QVButton.h"
#include "theme/StyledLabel.h"
#include "theme/Symbols.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace qv::editor {

namespace {

const QString kPausedSymbol = QStringLiteral("text.cursor");
const QString kAwaitingSymbol = QStringLiteral("cursorarrow.click");

// The card's icon: a soft accent disc with a thin ring and a symbol.
class SymbolDisc : public QWidget {
public:
    explicit SymbolDisc(QWidget *parent) : QWidget(parent) { setFixedSize(54, 54); }
    void setSymbol(const QString &name)
    {
        if (name == m_symbol)
            return;
        m_symbol = name;
        update();
    }
    const QString &symbol() const { return m_symbol; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        p.setPen(QPen(Theme::withOpacity(Theme::accent(), 0.35), 1));
        p.setBrush(Theme::accentSoft());
        p.drawEllipse(r);
        const double side = Typography::pixelSize(TextStyle::Title2) + 5;
        Symbols::paint(p, m_symbol, QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side),
                       Theme::text());
    }

private:
    QString m_symbol;
};

// The number of a step in a small outlined circle.
class StepNumber : public QLabel {
public:
    StepNumber(const QString &number, QWidget *parent) : QLabel(number, parent)
    {
        setFont(Typography::font(TextStyle::Caption, QFont::Bold));
        setTextColor(this, Theme::text());
        setAlignment(Qt::AlignCenter);
        setFixedSize(20, 20);
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        {
            QPainter p(this);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(Theme::border(), 1));
            p.setBrush(Theme::surfaceAlt());
            p.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
        }
        QLabel::paintEvent(event);
    }
};

// One numbered instruction; long steps wrap.
QWidget *stepRow(const QString &number, const QString &text, QWidget *parent)
{
    auto *row = new QWidget(parent);
    auto *h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(10);
    h->addWidget(new StepNumber(number, row), 0, Qt::AlignTop);
    h->addWidget(wordWrapped(styledLabel(text, TextStyle::Caption, std::nullopt, Theme::secondaryLabel(), row)), 1,
                 Qt::AlignTop);
    return row;
}

QLabel *symbolLabel(const QString &symbol, const QColor &color, int side, QWidget *parent)
{
    auto *label = new QLabel(parent);
    const qreal ratio = parent ? parent->devicePixelRatioF() : 1.0;
    label->setPixmap(Symbols::pixmap(symbol, {side, side}, color, ratio));
    label->setFixedSize(side, side);
    return label;
}

// A symbol (or a dot) and a line of text, side by side.
QWidget *markedRow(QWidget *mark, QLabel *text, QWidget *parent)
{
    auto *row = new QWidget(parent);
    auto *h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(8);
    mark->setParent(row);
    text->setParent(row);
    h->addWidget(mark, 0, Qt::AlignVCenter);
    h->addWidget(text, 1, Qt::AlignVCenter);
    return row;
}

class Dot : public QWidget {
public:
    explicit Dot(QWidget *parent) : QWidget(parent) { setFixedSize(8, 8); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Theme::accent());
        p.drawEllipse(QRectF(rect()));
    }
};

} // namespace

TargetOverlay::TargetOverlay(TypingPanelModel &model, QWidget *parent) : QWidget(parent), m_model(model)
{
    m_card = new RoundedPanel(Theme::surface(), Theme::border(), 18, this);
    m_card->setMaximumWidth(kCardMaxWidth);
    auto *column = new QVBoxLayout(m_card);
    column->setContentsMargins(18, 18, 18, 18);
    column->setSpacing(14);

    m_icon = new SymbolDisc(m_card);
    column->addWidget(m_icon, 0, Qt::AlignHCenter);
    column->addSpacing(2);

    m_title = styledLabel({}, TextStyle::Title2, QFont::DemiBold, Theme::text(), m_card);
    m_title->setAlignment(Qt::AlignCenter);
    column->addWidget(m_title, 0, Qt::AlignHCenter);

    auto *instructions = new QWidget(m_card);
    auto *block = new QVBoxLayout(instructions);
    block->setContentsMargins(0, 0, 0, 0);
    block->setSpacing(10);
    m_explanation = wordWrapped(styledLabel({}, TextStyle::Callout, std::nullopt, Theme::subtext(), instructions));
    block->addWidget(m_explanation);

    m_warningRow = markedRow(
        symbolLabel(QStringLiteral("exclamationmark.triangle"), Theme::accent(), 14, instructions),
        wordWrapped(styledLabel(QStringLiteral("Input Monitoring permission is required for click detection. Enable "
                                               "it in System Settings."),
                                TextStyle::Caption, QFont::DemiBold, Theme::secondaryLabel(), instructions)),
        instructions);
    block->addWidget(m_warningRow);

    m_steps = new QWidget(instructions);
    auto *steps = new QVBoxLayout(m_steps);
    steps->setContentsMargins(0, 4, 0, 0);
    steps->setSpacing(6);
    steps->addWidget(
        stepRow(QStringLiteral("1"), QStringLiteral("Click the document/app you want to type in"), m_steps));
    steps->addWidget(stepRow(QStringLiteral("2"), QStringLiteral("Click inside the target text box"), m_steps));
    steps->addWidget(
        stepRow(QStringLiteral("3"), QStringLiteral("Wait for a blinking cursor, then let Quorvel run"), m_steps));
    block->addWidget(m_steps);

    block->addWidget(markedRow(new Dot(instructions),
                               styledLabel(QStringLiteral("Waiting for a blinking cursor\u2026"), TextStyle::Caption,
                                           QFont::DemiBold, Theme::secondaryLabel(), instructions),
                               instructions));

    m_debug = new LineClampLabel({}, 3, Theme::secondaryLabel(), instructions);
    m_debug->setFont(Typography::font(TextStyle::Caption2, QFont::Normal));
    block->addWidget(m_debug);

    m_target = styledLabel({}, TextStyle::Caption, QFont::DemiBold, Theme::secondaryLabel(), instructions);
    m_targetRow = markedRow(symbolLabel(QStringLiteral("app.badge"), Theme::secondaryLabel(), 12, instructions),
                            m_target, instructions);
    block->addWidget(m_targetRow);

    block->addWidget(
        wordWrapped(styledLabel(QStringLiteral("Tip: Password fields and some secure inputs can\u2019t be typed into."),
                                TextStyle::Caption, std::nullopt, Theme::secondaryLabel(), instructions)));
    column->addWidget(instructions);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addStretch(1);
    m_stop = new QVButton(QStringLiteral("Stop"), QVButtonVariant::destructive, false, m_card);
    m_gotIt = new QVButton(QStringLiteral("Got it"), QVButtonVariant::secondary, false, m_card);
    buttons->addWidget(m_stop);
    buttons->addWidget(m_gotIt);
    buttons->addStretch(1);
    column->addLayout(buttons);

    connect(m_stop, &QAbstractButton::clicked, this, [this] { m_model.requestStop(); });
    connect(m_gotIt, &QAbstractButton::clicked, this, [this] { m_model.dismissOverlay(); });
    sync();
}

QString TargetOverlay::iconSymbol() const { return static_cast<SymbolDisc *>(m_icon)->symbol(); }

void TargetOverlay::sync()
{
    const bool lost = m_model.overlayFocusLost();
    static_cast<SymbolDisc *>(m_icon)->setSymbol(lost ? kPausedSymbol : kAwaitingSymbol);
    setLabelText(m_title, lost ? QStringLiteral("Focus Lost") : QStringLiteral("Select Target Text Box"));
    setLabelText(m_explanation,
                 lost ? QStringLiteral("Click back into your document (outside Quorvel) and place the cursor in an "
                                       "editable text box. Typing will continue automatically.")
                      : QStringLiteral("Click into the text box where you want Quorvel to type (outside this window). "
                                       "It will start automatically."));
    m_warningRow->setVisible(m_model.showsPermissionWarning());
    const QString debug = m_model.detectionDebug();
    m_debug->setText(debug);
    m_debug->setVisible(!debug.isEmpty());
    const QString target = m_model.targetAppName();
    setLabelText(m_target, QStringLiteral("Target: ") + target);
    m_targetRow->setVisible(!target.isEmpty());
    placeCard();
}

void TargetOverlay::placeCard()
{
    const int margin = 16;
    const int width = std::min(kCardMaxWidth, std::max(0, this->width() - 2 * margin));
    int height = m_card->layout()->hasHeightForWidth() ? m_card->layout()->heightForWidth(width)
                                                       : m_card->sizeHint().height();
    height = std::max(height, m_card->layout()->minimumSize().height());
    m_card->setGeometry((this->width() - width) / 2, std::max(0, (this->height() - height) / 2), width, height);
}

void TargetOverlay::resizeEvent(QResizeEvent *event)
{
    placeCard();
    QWidget::resizeEvent(event);
}

void TargetOverlay::paintEvent(QPaintEvent *event)
{
    const QPixmap &scrim = m_scrim.get(size(), devicePixelRatioF(), 0, [&](QPainter &l) {
        // The panel's own rounded shape, so the dim stops at its corners.
        QPainterPath shape;
        shape.addRoundedRect(QRectF(rect()), 18, 18);
        l.fillPath(shape, QColor(0, 0, 0, int(0.32 * 255 + 0.5)));
    });
    QPainter p(this);
    paintByRects(p, event->region(), [&] { p.drawPixmap(0, 0, scrim); });
}

} // namespace qv::editor
