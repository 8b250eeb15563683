#include "theme/WindowFrame.h"

#include "theme/LayerPaint.h"
#include "theme/Theme.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QWidget>
#include <QWindow>

#include <cmath>

namespace qv {

namespace {

// The hairline border over everything, cutting the corners when the window
// is translucent. Clicks pass through. It lies over every other widget, so
// it is asked to paint whenever anything in the window repaints: it paints
// only where its line and corners are, and lays the line on from a cached
// layer.
class BorderOverlay : public QWidget {
public:
    BorderOverlay(QWidget *window, const WindowFrame &frame) : QWidget(window), m_frame(frame)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        const int side = int(std::ceil(m_frame.cornerRadius())) + 1;
        const QRegion corners = edgeRegion(rect(), 0, side);
        const QRegion line = edgeRegion(rect(), 2, side);
        const QRegion touched = event->region() & line;
        if (touched.isEmpty())
            return;
        const double r = m_frame.cornerRadius();
        const QRectF outer = rect();
        QPainter p(this);
        if (m_frame.compositing()) {
            p.setRenderHint(QPainter::Antialiasing);
            QPainterPath outside;
            outside.addRect(outer);
            QPainterPath inside;
            inside.addRoundedRect(outer, r, r);
            outside = outside.subtracted(inside);
            p.setCompositionMode(QPainter::CompositionMode_Clear);
            paintByRects(p, touched & corners, [&] { p.fillPath(outside, Qt::transparent); });
            p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
        const QPixmap &hairline = m_line.get(size(), devicePixelRatioF(), Theme::borderNS().rgba(), [&](QPainter &l) {
            l.setPen(QPen(Theme::borderNS(), 1));
            l.setBrush(Qt::NoBrush);
            l.drawRoundedRect(outer.adjusted(0.5, 0.5, -0.5, -0.5), r - 0.5, r - 0.5);
        });
        paintByRects(p, touched, [&] { p.drawPixmap(0, 0, hairline); });
    }

private:
    const WindowFrame &m_frame;
    CachedLayer m_line;
};

// An invisible strip along an edge or a corner that resizes the window.
class EdgeGrip : public QWidget {
public:
    EdgeGrip(QWidget *window, Qt::Edges edges) : QWidget(window), m_edges(edges)
    {
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        const bool h = edges & (Qt::LeftEdge | Qt::RightEdge);
        const bool v = edges & (Qt::TopEdge | Qt::BottomEdge);
        if (h && v) {
            const bool main = (edges == (Qt::TopEdge | Qt::LeftEdge)) || (edges == (Qt::BottomEdge | Qt::RightEdge));
            setCursor(main ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor);
        } else {
            setCursor(h ? Qt::SizeHorCursor : Qt::SizeVerCursor);
        }
    }
    Qt::Edges edges() const { return m_edges; }

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && window()->windowHandle())
            window()->windowHandle()->startSystemResize(m_edges);
        event->accept();
    }
    void paintEvent(QPaintEvent *) override {}

private:
    Qt::Edges m_edges;
};

} // namespace

WindowFrame::WindowFrame(QWidget *window, double cornerRadius, bool resizable, bool compositing)
    : QObject(window), m_window(window), m_radius(cornerRadius), m_resizable(resizable), m_compositing(compositing)
{
    window->setWindowFlag(Qt::FramelessWindowHint, true);
    if (m_compositing) {
        window->setAttribute(Qt::WA_TranslucentBackground);
    }
    m_border = new BorderOverlay(window, *this);
    m_border->show();
    if (m_resizable) {
        for (Qt::Edges e : {Qt::Edges(Qt::LeftEdge), Qt::Edges(Qt::RightEdge), Qt::Edges(Qt::TopEdge),
                            Qt::Edges(Qt::BottomEdge), Qt::TopEdge | Qt::LeftEdge, Qt::TopEdge | Qt::RightEdge,
                            Qt::BottomEdge | Qt::LeftEdge, Qt::BottomEdge | Qt::RightEdge})
            m_grips.append(new EdgeGrip(window, e));
        for (QWidget *grip : std::as_const(m_grips))
            grip->show();
    }
    window->installEventFilter(this);
    applyMask();
    raiseDecorations();
}

bool WindowFrame::defaultCompositing()
{
    // Wayland always composites; on X11 we cannot assume a compositor.
    return QGuiApplication::platformName() == QLatin1String("wayland");
}

Qt::Edges WindowFrame::edgesAt(QPoint pos, QSize size, int band)
{
    Qt::Edges e;
    if (pos.x() < 0 || pos.y() < 0 || pos.x() >= size.width() || pos.y() >= size.height())
        return e;
    if (pos.x() < band)
        e |= Qt::LeftEdge;
    else if (pos.x() >= size.width() - band)
        e |= Qt::RightEdge;
    if (pos.y() < band)
        e |= Qt::TopEdge;
    else if (pos.y() >= size.height() - band)
        e |= Qt::BottomEdge;
    return e;
}

void WindowFrame::insetVerticalScrollBar(QAbstractScrollArea *area, int inset)
{
    // Blank pieces above and below the bar, in its own column: they come and
    // go with it and take no clicks from the page under them.
    for (Qt::Alignment end : {Qt::AlignTop, Qt::AlignBottom}) {
        auto *gap = new QWidget;
        gap->setObjectName(QStringLiteral("scrollBarCornerGap"));
        gap->setFixedHeight(inset);
        gap->setAttribute(Qt::WA_NoSystemBackground);
        area->addScrollBarWidget(gap, end);
    }
}

void WindowFrame::applyMask()
{
    if (!m_window)
        return;
    const QSize s = m_window->size();
    m_border->setGeometry(0, 0, s.width(), s.height());
    const int g = kGrip;
    for (QWidget *w : std::as_const(m_grips)) {
        const Qt::Edges e = static_cast<EdgeGrip *>(w)->edges();
        const bool left = e & Qt::LeftEdge, right = e & Qt::RightEdge, top = e & Qt::TopEdge,
                   bottom = e & Qt::BottomEdge;
        const int x = left ? 0 : right ? s.width() - g : g;
        const int y = top ? 0 : bottom ? s.height() - g : g;
        const int w2 = (left || right) ? g : s.width() - 2 * g;
        const int h2 = (top || bottom) ? g : s.height() - 2 * g;
        w->setGeometry(x, y, std::max(0, w2), std::max(0, h2));
    }
    if (!m_compositing && !s.isEmpty()) {
        QPainterPath path;
        path.addRoundedRect(QRectF(0, 0, s.width(), s.height()), m_radius, m_radius);
        m_window->setMask(QRegion(path.toFillPolygon().toPolygon()));
    }
}

void WindowFrame::raiseDecorations()
{
    m_border->raise();
    for (QWidget *w : std::as_const(m_grips))
        w->raise();
}

void WindowFrame::beginMove(QPoint globalPos)
{
    m_pressPending = false;
    QWindow *handle = m_window->windowHandle();
    if (handle && handle->startSystemMove())
        return;
    // No window manager support: follow the pointer ourselves.
    m_dragging = true;
    m_dragOffset = globalPos - m_window->frameGeometry().topLeft();
}

bool WindowFrame::isDrag(QPoint pressPos, QPoint pos)
{
    return (pos - pressPos).manhattanLength() >= QApplication::startDragDistance();
}

bool WindowFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Resize:
        applyMask();
        break;
    case QEvent::ChildAdded:
        raiseDecorations();
        break;
    case QEvent::MouseButtonPress: {
        // Presses reach the window itself only where no control took them:
        // that is the background, which drags the window. The move starts
        // once the pointer travels: a window manager asked to move on a
        // press whose release has already gone by (a tap) would keep moving
        // the window with the pointer.
        auto *me = static_cast<QMouseEvent *>(event);
        if (me->button() == Qt::LeftButton) {
            m_pressPending = true;
            m_pressPos = me->globalPosition().toPoint();
            return true;
        }
        break;
    }
    case QEvent::MouseMove: {
        auto *me = static_cast<QMouseEvent *>(event);
        if (!(me->buttons() & Qt::LeftButton)) {
            m_pressPending = m_dragging = false;
            break;
        }
        const QPoint global = me->globalPosition().toPoint();
        if (m_pressPending && isDrag(m_pressPos, global)) {
            beginMove(m_pressPos);
            if (m_dragging)
                m_window->move(global - m_dragOffset);
            return true;
        }
        if (m_dragging) {
            m_window->move(global - m_dragOffset);
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        m_pressPending = m_dragging = false;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace qv
