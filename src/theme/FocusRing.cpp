#include "theme/FocusRing.h"

#include "theme/DropShadow.h"
#include "theme/Theme.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

namespace qv {

namespace {
// Lies over the target, takes no clicks, and paints only the hairline.
class OutlineOverlay : public QWidget {
public:
    OutlineOverlay(QWidget *target, const FocusRing &ring) : QWidget(target), m_ring(ring)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        target->installEventFilter(this);
        setGeometry(target->rect());
        raise();
        show(); // a target already on screen does not show new children
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == parent()) {
            if (event->type() == QEvent::Resize)
                setGeometry(parentWidget()->rect());
            else if (event->type() == QEvent::ChildAdded)
                raise();
        }
        return QWidget::eventFilter(watched, event);
    }
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        FocusRing::paintOutline(p, rect(), m_ring.cornerRadius(), m_ring.isFocused());
    }

private:
    const FocusRing &m_ring;
};
} // namespace

FocusRing::FocusRing(QWidget *target, double cornerRadius) : QObject(target), m_target(target), m_radius(cornerRadius)
{
    m_outline = new OutlineOverlay(target, *this);
    m_glow = new DropShadow(target, [this] {
        if (!m_focused || !m_target)
            return ShadowSpec{};
        return ShadowSpec{QRectF(m_target->rect()), m_radius, Theme::withOpacity(Theme::accent(), 0.45), 10, {}};
    });
}

void FocusRing::setFocused(bool focused)
{
    if (m_focused == focused)
        return;
    m_focused = focused;
    m_outline->update();
    m_glow->refresh();
}

void FocusRing::paintOutline(QPainter &painter, const QRectF &rect, double cornerRadius, bool focused)
{
    QPen pen(focused ? Theme::accent() : Theme::border(), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setMiterLimit(10);
    painter.save();
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius - 0.5, cornerRadius - 0.5);
    painter.restore();
}

} // namespace qv
