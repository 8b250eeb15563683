#pragma once

#include <QObject>
#include <QPointer>
#include <QRectF>

class QPainter;
class QWidget;

namespace qv {

class DropShadow;

// The outline around an input: a 1-pixel hairline in the border colour, or
// in the accent colour with a soft accent glow while focused. Attach one to
// any widget: it draws the outline over the widget's content and the glow
// around it without changing the layout. Focus changes are not animated.
class FocusRing : public QObject {
    Q_OBJECT
public:
    FocusRing(QWidget *target, double cornerRadius);

    bool isFocused() const { return m_focused; }
    void setFocused(bool focused);
    double cornerRadius() const { return m_radius; }

    // The outline alone, for widgets that paint it themselves.
    static void paintOutline(QPainter &painter, const QRectF &rect, double cornerRadius, bool focused);

private:
    QPointer<QWidget> m_target;
    QWidget *m_outline;
    DropShadow *m_glow;
    double m_radius;
    bool m_focused = false;
};

} // namespace qv
