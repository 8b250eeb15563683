#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

class QAbstractScrollArea;
class QWidget;

namespace qv {

// Gives a frameless top-level window its look and handling: rounded corners
// with a hairline border, dragging by any background area, and resizing from
// its edges. With a compositor the corners are cut with antialiasing into a
// translucent window; without one a window mask cuts them.
class WindowFrame : public QObject {
    Q_OBJECT
public:
    static constexpr int kGrip = 5;

    WindowFrame(QWidget *window, double cornerRadius, bool resizable = true, bool compositing = defaultCompositing());

    // Whether the desktop is assumed to composite translucent windows.
    static bool defaultCompositing();
    // Whether the pointer went far enough from its press to move the window.
    static bool isDrag(QPoint pressPos, QPoint pos);
    // Which edges a point near the border of a window of `size` grabs.
    static Qt::Edges edgesAt(QPoint pos, QSize size, int band = kGrip);
    // Keeps the vertical scroll bar of an area that reaches the window's
    // top and bottom corners `inset` away from both ends, so the rounded
    // corners never cut its arrows.
    static void insetVerticalScrollBar(QAbstractScrollArea *area, int inset);

    double cornerRadius() const { return m_radius; }
    bool compositing() const { return m_compositing; }
    bool isResizable() const { return m_resizable; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyMask();
    void raiseDecorations();
    void beginMove(QPoint globalPos);

    QPointer<QWidget> m_window;
    double m_radius;
    bool m_resizable;
    bool m_compositing;
    QWidget *m_border;
    QList<QWidget *> m_grips;
    bool m_pressPending = false;
    QPoint m_pressPos;
    bool m_dragging = false;
    QPoint m_dragOffset;
};

} // namespace qv
