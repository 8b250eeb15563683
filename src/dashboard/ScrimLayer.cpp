#include "dashboard/ScrimLayer.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace qv::dashboard {

ScrimLayer::ScrimLayer(double opacity, QWidget *content, QWidget *parent)
    : QWidget(parent), m_opacity(opacity), m_content(content)
{
    content->setParent(this);
    // The content may change its size (a card put into a holder).
    content->installEventFilter(this);
    placeContent();
}

void ScrimLayer::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QColor dim(Qt::black);
    dim.setAlphaF(float(m_opacity));
    p.fillRect(rect(), dim);
}

void ScrimLayer::resizeEvent(QResizeEvent *) { placeContent(); }

bool ScrimLayer::event(QEvent *event)
{
    if (event->type() == QEvent::LayoutRequest)
        placeContent();
    return QWidget::event(event);
}

bool ScrimLayer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_content && event->type() == QEvent::LayoutRequest)
        placeContent();
    return QWidget::eventFilter(watched, event);
}

void ScrimLayer::placeContent()
{
    QSize size = m_content->sizeHint().boundedTo(this->size()).expandedTo(m_content->minimumSizeHint());
    const int maxW = m_content->maximumWidth();
    size.setWidth(std::min({size.width(), maxW, width()}));
    if (m_content->hasHeightForWidth())
        size.setHeight(m_content->heightForWidth(size.width()));
    size.setHeight(std::min(size.height(), height()));
    m_content->setGeometry(QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size));
}

void ScrimLayer::mousePressEvent(QMouseEvent *event)
{
    // Presses that no control inside the content took arrive here too.
    m_pressedOnScrim = !m_content->geometry().contains(event->position().toPoint());
    event->accept();
}

void ScrimLayer::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    const bool onScrim = m_pressedOnScrim && !m_content->geometry().contains(event->position().toPoint());
    m_pressedOnScrim = false;
    if (onScrim)
        emit scrimClicked();
}

void ScrimLayer::wheelEvent(QWheelEvent *event) { event->accept(); }

} // namespace qv::dashboard
