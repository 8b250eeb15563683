#include "theme/QVToggle.h"

#include "theme/Shadow.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

namespace qv {

QVToggle::QVToggle(const QString &label, QWidget *parent) : QAbstractButton(parent)
{
    setText(label);
    setCheckable(true);
    setFont(Typography::font(TextStyle::Body));
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QRectF QVToggle::trackRect() const
{
    const double y = (height() - kTrackHeight) / 2.0;
    return QRectF(width() - kTrackWidth - 1, y, kTrackWidth, kTrackHeight);
}

QRectF QVToggle::knobRect() const
{
    const QRectF t = trackRect();
    const double pad = (kTrackHeight - kKnob) / 2.0;
    const double x = isChecked() ? t.right() - pad - kKnob : t.left() + pad;
    return QRectF(x, t.top() + pad, kKnob, kKnob);
}

QSize QVToggle::sizeHint() const
{
    const QFontMetrics fm(font());
    const int label = text().isEmpty() ? 0 : fm.horizontalAdvance(text()) + kSpacing;
    // One pixel at the right keeps the outline's antialiasing inside.
    return {label + kTrackWidth + 2, std::max(kTrackHeight + 4, fm.height())};
}

QSize QVToggle::minimumSizeHint() const { return sizeHint(); }

bool QVToggle::hitButton(const QPoint &pos) const { return trackRect().contains(QPointF(pos)); }

void QVToggle::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    QAbstractButton::changeEvent(event);
}

void QVToggle::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        p.setOpacity(0.5);

    if (!text().isEmpty()) {
        p.setPen(Theme::text());
        p.setFont(font());
        p.drawText(QRectF(0, 0, trackRect().left() - kSpacing, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
    }

    const QRectF track = trackRect();
    const double r = track.height() / 2;
    QPainterPath capsule;
    capsule.addRoundedRect(track, r, r);
    p.fillPath(capsule, isChecked() ? Theme::accent() : Theme::surfaceAlt());
    p.setPen(QPen(Theme::border(), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(track.adjusted(0.5, 0.5, -0.5, -0.5), r - 0.5, r - 0.5);

    const QRectF knob = knobRect();
    Shadow::paint(p, ShadowSpec{knob, kKnob / 2.0, Theme::withOpacity(Theme::shadow(), 0.25), 3, {0, 1}});
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(knob);
}

} // namespace qv
