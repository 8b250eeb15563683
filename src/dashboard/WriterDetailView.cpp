#include "dashboard/WriterDetailView.h"

#include "dashboard/Card.h"
#include "dashboard/DashboardText.h"
#include "dashboard/Labels.h"
#include "theme/QVButton.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace qv::dashboard {

namespace {
// A chip: caption text on a capsule of the alternate surface.
QLabel *detailPill(QWidget *parent)
{
    auto *card = new Card(Theme::surfaceAlt(), 0, parent);
    card->setCapsule(true);
    auto *layout = new QHBoxLayout(card);
    layout->setContentsMargins(10, 5, 10, 5);
    auto *label = styledLabel({}, Typography::font(TextStyle::Caption, QFont::DemiBold), Theme::text(), card);
    layout->addWidget(label);
    return label;
}
// The info card: it asks for the width the page gives it as its limit (the
// width of its content, up to the page), not the narrow guess of a
// wrapping title.
class InfoCard : public Card {
public:
    using Card::Card;
    QSize sizeHint() const override { return {maximumWidth(), Card::sizeHint().height()}; }
};
} // namespace

WriterDetailView::WriterDetailView(QWidget *parent) : QWidget(parent)
{
    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(0, 8, 0, 0);
    page->setSpacing(18);

    auto *header = new QHBoxLayout;
    m_back = new QVButton(QStringLiteral("Back"), QVButtonVariant::secondary, false, this);
    header->addWidget(m_back);
    header->addStretch();
    page->addLayout(header);

    auto *info = new InfoCard(Theme::surface(), 14, this);
    m_info = info;
    auto *infoColumn = new QVBoxLayout(info);
    infoColumn->setContentsMargins(16, 16, 16, 16);
    infoColumn->setSpacing(10);
    m_title = styledLabel({}, Typography::font(TextStyle::Title, QFont::DemiBold), Theme::text(), info);
    m_title->setWordWrap(true);
    infoColumn->addWidget(m_title);
    auto *chips = new QHBoxLayout;
    chips->setSpacing(8);
    for (int i = 0; i < 4; ++i) {
        QLabel *chip = detailPill(info);
        chips->addWidget(chip->parentWidget());
        m_chips.append(chip);
    }
    chips->addStretch();
    infoColumn->addLayout(chips);
    m_chipRow = chips;
    m_updated = styledLabel({}, Typography::font(TextStyle::Caption), Theme::subtext(), info);
    infoColumn->addWidget(m_updated);
    // As wide as its content, centred in the page.
    page->addWidget(info, 0, Qt::AlignHCenter);

    auto *preview = new QVBoxLayout;
    preview->setSpacing(10);
    preview->addWidget(styledLabel(QStringLiteral("Preview"), Typography::font(TextStyle::Callout, QFont::DemiBold),
                                   Theme::text(), this));
    m_previewArea = new QScrollArea(this);
    m_previewArea->setFrameShape(QFrame::NoFrame);
    m_previewArea->setWidgetResizable(true);
    m_previewArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *box = new Card(Theme::surfaceAlt(), 12);
    auto *boxLayout = new QVBoxLayout(box);
    boxLayout->setContentsMargins(10, 10, 10, 10);
    m_preview = styledLabel({}, Typography::font(TextStyle::Callout), Theme::text(), box);
    m_preview->setWordWrap(true);
    m_preview->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_preview->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_preview->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    boxLayout->addWidget(m_preview);
    m_previewArea->setWidget(box);
    m_previewArea->setAutoFillBackground(false);
    m_previewArea->viewport()->setAutoFillBackground(false);
    box->setAutoFillBackground(false);
    // The box's height follows the width its text gets.
    m_previewArea->viewport()->installEventFilter(this);
    preview->addWidget(m_previewArea);
    page->addLayout(preview);

    auto *actions = new QHBoxLayout;
    actions->setSpacing(12);
    actions->addStretch();
    m_type = new QVButton(QStringLiteral("TYPE PROJECT"), QVButtonVariant::primary, false, this);
    m_edit = new QVButton(QStringLiteral("EDIT PROJECT"), QVButtonVariant::secondary, false, this);
    m_delete = new QVButton(QStringLiteral("DELETE PROJECT"), QVButtonVariant::destructive, false, this);
    m_type->setMinimumWidth(160);
    m_edit->setMinimumWidth(160);
    m_delete->setMinimumWidth(140);
    for (QVButton *b : {m_type, m_edit, m_delete})
        actions->addWidget(b);
    actions->addStretch();
    page->addLayout(actions);

    connect(m_back, &QAbstractButton::clicked, this, &WriterDetailView::backRequested);
    connect(m_type, &QAbstractButton::clicked, this, &WriterDetailView::typeRequested);
    connect(m_edit, &QAbstractButton::clicked, this, &WriterDetailView::editRequested);
    connect(m_delete, &QAbstractButton::clicked, this, &WriterDetailView::deleteRequested);
}

void WriterDetailView::setProject(const Project &project)
{
    m_title->setText(project.title);
    m_chips[0]->setText(gradeChip(project));
    m_chips[1]->setText(reviewChip(project));
    m_chips[2]->setText(originChip(project));
    m_chips[3]->setText(wpmChip(project));
    m_updated->setText(updatedLine(project.updatedAt));
    m_preview->setText(previewText(project));
    fitInfoCard();
    fitPreview();
}

bool WriterDetailView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_previewArea->viewport() && event->type() == QEvent::Resize)
        fitPreview();
    return QWidget::eventFilter(watched, event);
}

void WriterDetailView::showEvent(QShowEvent *event)
{
    // The labels take their final fonts when first shown.
    QWidget::showEvent(event);
    fitInfoCard();
    fitPreview();
}

void WriterDetailView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitInfoCard();
    fitPreview();
}

int WriterDetailView::infoCardWidth(int room) const
{
    // As wide as its widest line with the title on one line, up to the page.
    const QMargins margins = m_info->layout()->contentsMargins();
    const int title = m_title->fontMetrics().horizontalAdvance(m_title->text()) + 1;
    const int content = std::max({title, m_chipRow->sizeHint().width(), m_updated->sizeHint().width()});
    return std::min(content + margins.left() + margins.right(), std::max(0, room));
}

void WriterDetailView::fitInfoCard()
{
    // Only the card's width limit and height are set here, never a minimum
    // width: the page follows the window however long the title is, and a
    // title wider than the page wraps. The height is the content's at the
    // card's width, so a one-line title leaves no band and a wrapped one is
    // never cut.
    const int width = std::max(infoCardWidth(this->width()), m_info->minimumSizeHint().width());
    m_info->setMaximumWidth(width);
    const int height = m_info->layout()->totalHeightForWidth(width);
    if (height > 0 && (m_info->minimumHeight() != height || m_info->maximumHeight() != height))
        m_info->setFixedHeight(height);
}

void WriterDetailView::fitPreview()
{
    // The box grows with a short text and scrolls a long one past 320.
    const int width = std::max(40, m_previewArea->viewport()->width());
    QWidget *box = m_previewArea->widget();
    const int wanted = box->layout()->totalHeightForWidth(width);
    const int height = std::min(kPreviewMaxHeight, wanted > 0 ? wanted : box->sizeHint().height());
    if (m_previewArea->height() != height)
        m_previewArea->setFixedHeight(height);
}

} // namespace qv::dashboard
