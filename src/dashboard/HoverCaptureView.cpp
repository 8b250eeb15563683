#include "dashboard/HoverCaptureView.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QWindow>

namespace qv::dashboard {

HoverCaptureView::HoverCaptureView(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
}

void HoverCaptureView::attach()
{
    QWidget *top = window();
    if (top != m_top) {
        if (m_top)
            m_top->removeEventFilter(this);
        m_top = top;
        // The top-level tells when its native window is made again.
        m_top->installEventFilter(this);
    }
    QWindow *handle = top->windowHandle();
    if (handle == m_window)
        return;
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = handle;
    if (m_window)
        m_window->installEventFilter(this);
}

bool HoverCaptureView::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::ParentChange:
        attach();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

bool HoverCaptureView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_top) {
        if (event->type() == QEvent::WinIdChange || event->type() == QEvent::Show)
            attach();
    } else if (watched == m_window) {
        switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
            pointerAt(static_cast<QMouseEvent *>(event)->position());
            break;
        case QEvent::Enter:
            pointerAt(static_cast<QEnterEvent *>(event)->position());
            break;
        case QEvent::Leave:
            report(false);
            break;
        default:
            break;
        }
    }
    // Only watching: every event goes on to its widget.
    return QWidget::eventFilter(watched, event);
}

void HoverCaptureView::pointerAt(QPointF windowPos)
{
    if (!isVisible() || !m_top) {
        report(false);
        return;
    }
    const QRectF area(QPointF(mapTo(m_top, QPoint(0, 0))), QSizeF(size()));
    report(area.contains(windowPos));
}

void HoverCaptureView::report(bool inside)
{
    if (inside == m_inside)
        return;
    m_inside = inside;
    if (m_onHover)
        m_onHover(inside);
}

} // namespace qv::dashboard
