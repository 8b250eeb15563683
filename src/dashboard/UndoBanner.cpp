#include "dashboard/UndoBanner.h"

#include "dashboard/DashboardText.h"
#include "dashboard/Labels.h"
#include "theme/QVButton.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QHBoxLayout>
#include <QLabel>

#include <algorithm>

namespace qv::dashboard {

UndoBanner::UndoBanner(QWidget *parent) : Card(Theme::surface(), 12, parent)
{
    setShadow(10, {0, 6});
    setMinimumWidth(360);
    setMaximumWidth(560);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(10, 10, 10, 10);
    m_text = styledLabel({}, Typography::font(TextStyle::Caption), Theme::text(), this);
    // The text takes the room the button leaves and is shortened to it.
    m_text->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row->addWidget(m_text, 1);
    m_undo = new QVButton(QStringLiteral("Undo"), QVButtonVariant::secondary, true, this);
    row->addWidget(m_undo);
    connect(m_undo, &QAbstractButton::clicked, this, &UndoBanner::undoRequested);
}

void UndoBanner::setTitle(const QString &title)
{
    m_title = title;
    updateGeometry();
    fitText();
}

QSize UndoBanner::sizeHint() const
{
    // As wide as the whole text needs; the page caps it at the maximum.
    const QMargins m = layout()->contentsMargins();
    const int text = m_text->fontMetrics().horizontalAdvance(deletedBannerText(m_title)) + 1;
    return {m.left() + text + layout()->spacing() + m_undo->sizeHint().width() + m.right(), Card::sizeHint().height()};
}

void UndoBanner::resizeEvent(QResizeEvent *event)
{
    Card::resizeEvent(event);
    fitText();
}

void UndoBanner::fitText()
{
    // A title too long for the banner is shortened inside its quotes.
    const QFontMetrics metrics = m_text->fontMetrics();
    const int frame = metrics.horizontalAdvance(deletedBannerText(QString()));
    const QString title = metrics.elidedText(m_title, Qt::ElideRight, std::max(0, m_text->width() - frame - 1));
    m_text->setText(deletedBannerText(title));
}

} // namespace qv::dashboard
