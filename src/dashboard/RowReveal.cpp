#include "dashboard/RowReveal.h"

#include <QEvent>

#include <algorithm>
#include <cmath>

namespace qv::dashboard {

RowReveal::RowReveal(QWidget *content, QWidget *parent) : QWidget(parent), m_content(content)
{
    m_content->setParent(this);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    placeContent();
}

int RowReveal::fullHeight() const
{
    const int w = width() > 0 ? width() : m_content->sizeHint().width();
    int h = m_content->hasHeightForWidth() ? m_content->heightForWidth(w) : m_content->sizeHint().height();
    h = std::max({h, m_content->minimumSizeHint().height(), m_content->minimumHeight()});
    return std::min(h, m_content->maximumHeight());
}

void RowReveal::setRevealed(double fraction)
{
    fraction = std::clamp(fraction, 0.0, 1.0);
    if (fraction == m_revealed)
        return;
    m_revealed = fraction;
    updateGeometry();
}

QSize RowReveal::sizeHint() const
{
    return {m_content->sizeHint().width(), int(std::lround(fullHeight() * m_revealed))};
}

QSize RowReveal::minimumSizeHint() const
{
    return {m_content->minimumSizeHint().width(), int(std::lround(fullHeight() * m_revealed))};
}

bool RowReveal::event(QEvent *event)
{
    // The row asks for another size (a longer title, a font change).
    if (event->type() == QEvent::LayoutRequest) {
        updateGeometry();
        placeContent();
    }
    return QWidget::event(event);
}

void RowReveal::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeContent();
}

void RowReveal::placeContent() { m_content->setGeometry(0, 0, std::max(width(), 1), fullHeight()); }

} // namespace qv::dashboard
