#include "app/PermissionRow.h"

#include "theme/QVButton.h"
#include "theme/Symbols.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QUrl>
#include <QVBoxLayout>

namespace qv::app {

namespace {

// The 32-pixel round mark: a tinted disc with a check or an exclamation mark.
class StatusMark final : public QWidget {
public:
    explicit StatusMark(const PermissionRow &row, QWidget *parent) : QWidget(parent), m_row(row)
    {
        setFixedSize(32, 32);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const bool ready = m_row.isReady();
        p.setPen(Qt::NoPen);
        p.setBrush(ready ? Theme::withOpacity(Theme::accent(), 0.18) : Theme::surfaceAlt());
        p.drawEllipse(QRectF(rect()));
        // A glyph the height of caption text, centred.
        const double glyph = Typography::pixelSize(TextStyle::Caption) + 2;
        const QRectF box((width() - glyph) / 2, (height() - glyph) / 2, glyph, glyph);
        Symbols::paint(p, m_row.symbolName(), box, ready ? Theme::accent() : Theme::subtext());
    }

private:
    const PermissionRow &m_row;
};

void setColor(QLabel *label, const QColor &color)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, color);
    label->setPalette(pal);
}

} // namespace

PermissionRow::PermissionRow(const QString &title, QString tutorialUrl, std::function<void()> action, QWidget *parent)
    : QWidget(parent), m_tutorialUrl(std::move(tutorialUrl)), m_onAction(std::move(action))
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(12, 12, 12, 12);
    row->setSpacing(12);

    m_mark = new StatusMark(*this, this);
    row->addWidget(m_mark, 0, Qt::AlignVCenter);

    auto *texts = new QVBoxLayout;
    texts->setSpacing(2);
    m_title = new QLabel(title, this);
    m_title->setTextFormat(Qt::PlainText);
    m_title->setFont(Typography::font(TextStyle::Callout, QFont::DemiBold));
    setColor(m_title, Theme::text());
    texts->addWidget(m_title);
    m_status = new QLabel(this);
    m_status->setTextFormat(Qt::PlainText);
    m_status->setFont(Typography::font(TextStyle::Caption2));
    texts->addWidget(m_status);
    row->addLayout(texts);
    row->addStretch(1);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    m_tutorial = new QVButton(QStringLiteral("Tutorial"), QVButtonVariant::tertiary, true, this);
    buttons->addWidget(m_tutorial);
    m_action = new QVButton(QString(), QVButtonVariant::primary, true, this);
    buttons->addWidget(m_action);
    row->addLayout(buttons);

    connect(m_tutorial, &QAbstractButton::clicked, this, [this] {
        if (isOpenableAddress(m_tutorialUrl))
            emit tutorialRequested(QUrl(m_tutorialUrl));
    });
    connect(m_action, &QAbstractButton::clicked, this, [this] {
        if (m_onAction)
            m_onAction();
    });
    setReady(false);
}

void PermissionRow::setReady(bool ready)
{
    m_ready = ready;
    m_status->setText(statusText());
    setColor(m_status, ready ? Theme::accent() : Theme::subtext());
    m_action->setText(ready ? QStringLiteral("Enabled") : QStringLiteral("Open Settings"));
    m_action->setVariant(ready ? QVButtonVariant::tertiary : QVButtonVariant::primary);
    m_action->setEnabled(!ready);
    m_mark->update();
}

bool PermissionRow::isOpenableAddress(const QString &text)
{
    const QUrl url(text, QUrl::StrictMode);
    return !text.isEmpty() && url.isValid() && !url.isRelative() && !url.host().isEmpty();
}

QString PermissionRow::title() const { return m_title->text(); }

QString PermissionRow::statusText() const { return m_ready ? QStringLiteral("Enabled") : QStringLiteral("Required"); }

QString PermissionRow::symbolName() const
{
    return m_ready ? QStringLiteral("checkmark") : QStringLiteral("exclamationmark");
}

void PermissionRow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath face;
    face.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 14, 14);
    p.fillPath(face, Theme::surfaceAlt());
    p.setPen(QPen(Theme::border(), 1));
    p.drawPath(face);
}

} // namespace qv::app
