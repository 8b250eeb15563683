#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

class QWindow;

namespace qv::dashboard {

// An invisible area that reports when the pointer enters and leaves it and
// never takes a click, scroll or drag: those reach the widgets below. No
// widget can be transparent to clicks and still get enter and leave events,
// so the area watches the pointer on its top-level's native window and tests
// its own current geometry there. It reports transitions only, keeps working
// while the window is inactive, and counts the pointer leaving the window as
// leaving the area.
class HoverCaptureView : public QWidget {
    Q_OBJECT
public:
    using OnHover = std::function<void(bool hovering)>;

    explicit HoverCaptureView(QWidget *parent = nullptr);

    // The newest closure is the one called.
    void setOnHover(OnHover onHover) { m_onHover = std::move(onHover); }
    bool isHovering() const { return m_inside; }
    QSize sizeHint() const override { return {320, 160}; }

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void attach();
    void pointerAt(QPointF windowPos);
    void report(bool inside);

    OnHover m_onHover;
    QPointer<QWidget> m_top;
    QPointer<QWindow> m_window;
    bool m_inside = false;
};

} // namespace qv::dashboard
