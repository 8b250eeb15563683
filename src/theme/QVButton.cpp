#include "theme/QVButton.h"

#include "theme/AnimatedValue.h"
#include "theme/DisabledClickGuard.h"
#include "theme/WheelFocusGuard.h"
#include "theme/DropShadow.h"
#include "theme/Easing.h"
#include "theme/MotionSettings.h"
#include "theme/Theme.h"
#include "theme/ThemeEnvironment.h"

#include <QEnterEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace qv {

namespace {
// Room inside the widget for the face to grow by 2 % under the pointer.
constexpr int kInsetH = 2;
constexpr int kInsetV = 1;
constexpr int kSpinnerSize = 12;
constexpr int kLabelSpacing = 8;

QColor mix(const QColor &a, const QColor &b, double t)
{
    auto ch = [t](float x, float y) { return float(easing::lerp(x, y, t)); };
    QColor c;
    c.setRgbF(ch(a.redF(), b.redF()), ch(a.greenF(), b.greenF()), ch(a.blueF(), b.blueF()), ch(a.alphaF(), b.alphaF()));
    return c;
}

// Buttons follow the desktop's reduce-motion setting only.
Animation motionFor(double ms)
{
    return ThemeEnvironment::motion().systemReduceMotion() ? Animation::none() : Animation::easeInOut(ms);
}
} // namespace

QVButton::QVButton(const QString &text, QVButtonVariant variant, bool compact, QWidget *parent)
    : QAbstractButton(parent), m_variant(variant), m_compact(compact), m_hover(new AnimatedValue(0, this)),
      m_press(new AnimatedValue(0, this)), m_spin(new AnimatedValue(0, this))
{
    setText(text);
    setAttribute(Qt::WA_Hover);
    // Like the desktop's own buttons, these stay out of the Tab order.
    setFocusPolicy(Qt::NoFocus);
    DisabledClickGuard::ensureInstalled();
    WheelFocusGuard::ensureInstalled();
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(this, &QAbstractButton::pressed, this, &QVButton::pressedChanged);
    connect(this, &QAbstractButton::released, this, &QVButton::pressedChanged);
    m_shadow = new DropShadow(this, [this] {
        const Look l = look();
        QRectF face = faceRect();
        // The shadow follows the face's scale and offset.
        const QPointF c = face.center();
        face = QRectF(c.x() - face.width() * l.scale / 2, c.y() - face.height() * l.scale / 2 + l.offsetY,
                      face.width() * l.scale, face.height() * l.scale);
        const double r = buttonMetrics(m_compact).cornerRadius * l.scale;
        const double alpha = isEnabled() ? l.opacity : l.opacity * 0.5;
        return ShadowSpec{face, r, Theme::withOpacity(Theme::shadow(), l.shadowOpacity * alpha), 8, {0, 4}};
    });
    m_shadow->setReach(14);
    for (AnimatedValue *v : {m_hover, m_press})
        connect(v, &AnimatedValue::changed, m_shadow, &DropShadow::refresh);
}

void QVButton::setVariant(QVButtonVariant variant)
{
    m_variant = variant;
    update();
    m_shadow->refresh();
}

void QVButton::setCompact(bool compact)
{
    m_compact = compact;
    updateGeometry();
    update();
}

void QVButton::setBusy(bool busy)
{
    if (m_busy == busy)
        return;
    m_busy = busy;
    m_spin->set(busy ? 1 : 0, busy ? Animation::linearForever(900) : Animation::none());
    updateGeometry();
    update();
}

void QVButton::setOpacity(double opacity)
{
    if (opacity == m_opacity)
        return;
    m_opacity = opacity;
    m_shadow->refresh();
    update();
}

QVButton::Look QVButton::look() const
{
    const QVButtonColors colors = buttonColors(m_variant);
    const double h = m_hover->value();
    const double p = m_press->value();
    Look l;
    l.fill = mix(colors.fill, colors.fillPressed, p);
    l.scale = (1.0 + 0.02 * h) * (1.0 - 0.01 * p);
    l.offsetY = p;
    l.opacity = (1.0 - 0.08 * p) * m_opacity;
    l.shadowOpacity = 0.24 - 0.08 * p;
    return l;
}

QSize QVButton::contentSize() const
{
    const QVButtonMetrics m = buttonMetrics(m_compact);
    const QFontMetrics fm(m.font);
    int w = fm.horizontalAdvance(text());
    int h = fm.height();
    if (!icon().isNull()) {
        w += iconSize().width() + (text().isEmpty() ? 0 : kLabelSpacing);
        h = std::max(h, iconSize().height());
    }
    if (m_busy) {
        w += kSpinnerSize + (w > 0 ? kLabelSpacing : 0);
        h = std::max(h, kSpinnerSize);
    }
    return {w, h};
}

QSize QVButton::sizeHint() const
{
    const QVButtonMetrics m = buttonMetrics(m_compact);
    const QSize c = contentSize();
    const int w = c.width() + 2 * m.paddingH;
    const int h = std::max(c.height() + 2 * m.paddingV, m.minHeight);
    return {w + 2 * kInsetH, h + 2 * kInsetV};
}

QSize QVButton::minimumSizeHint() const { return sizeHint(); }

QRectF QVButton::faceRect() const { return QRectF(rect()).adjusted(kInsetH, kInsetV, -kInsetH, -kInsetV); }

bool QVButton::hitButton(const QPoint &pos) const
{
    const QRectF face = faceRect();
    const double r = m_capsuleHit ? face.height() / 2 : buttonMetrics(m_compact).cornerRadius;
    QPainterPath path;
    path.addRoundedRect(face, r, r);
    return path.contains(QPointF(pos) + QPointF(0.5, 0.5));
}

void QVButton::setHovered(bool hovered)
{
    if (m_hovered == hovered)
        return;
    m_hovered = hovered;
    m_hover->set(hovered ? 1 : 0, motionFor(160));
}

void QVButton::pressedChanged() { m_press->set(isDown() ? 1 : 0, motionFor(120)); }

void QVButton::enterEvent(QEnterEvent *event)
{
    setHovered(true);
    QAbstractButton::enterEvent(event);
}

void QVButton::leaveEvent(QEvent *event)
{
    setHovered(false);
    QAbstractButton::leaveEvent(event);
}

void QVButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) {
            setHovered(false);
            m_press->set(0, Animation::none());
        }
        m_shadow->refresh();
    }
    QAbstractButton::changeEvent(event);
}

void QVButton::paintEvent(QPaintEvent *)
{
    const QVButtonMetrics m = buttonMetrics(m_compact);
    const QVButtonColors colors = buttonColors(m_variant);
    const Look l = look();

    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setOpacity(l.opacity * (isEnabled() ? 1.0 : 0.5));

    const QRectF face = faceRect();
    p.translate(face.center() + QPointF(0, l.offsetY));
    p.scale(l.scale, l.scale);
    p.translate(-face.center());

    QPainterPath shape;
    shape.addRoundedRect(face, m.cornerRadius, m.cornerRadius);
    p.fillPath(shape, l.fill);

    // Label: icon, text, spinner, centred as one row.
    const QSize c = contentSize();
    double x = face.center().x() - c.width() / 2.0;
    const double cy = face.center().y();
    if (!icon().isNull()) {
        const QSize is = iconSize();
        icon().paint(&p, QRect(int(std::round(x)), int(std::round(cy - is.height() / 2.0)), is.width(), is.height()));
        x += is.width() + (text().isEmpty() ? 0 : kLabelSpacing);
    }
    if (!text().isEmpty()) {
        p.setFont(m.font);
        p.setPen(colors.label);
        const QFontMetricsF fm(m.font);
        const double w = fm.horizontalAdvance(text());
        p.drawText(QRectF(x, face.top(), w + 1, face.height()), Qt::AlignLeft | Qt::AlignVCenter, text());
        x += w + kLabelSpacing;
    }
    if (m_busy) {
        const QRectF spinner(x, cy - kSpinnerSize / 2.0, kSpinnerSize, kSpinnerSize);
        QPen pen(Qt::white, 2);
        pen.setCapStyle(Qt::RoundCap);
        p.setPen(pen);
        const int start = int(-m_spin->value() * 360 * 16);
        p.drawArc(spinner.adjusted(1, 1, -1, -1), start, 270 * 16);
    }

    if (colors.borderWidth > 0) {
        const double half = colors.borderWidth / 2;
        QPen pen(colors.border, colors.borderWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        pen.setMiterLimit(10);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(face.adjusted(half, half, -half, -half), m.cornerRadius - half, m.cornerRadius - half);
    }
}

} // namespace qv
