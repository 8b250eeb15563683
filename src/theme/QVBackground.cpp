#include "theme/QVBackground.h"

#include "theme/Theme.h"

#include <QPainter>
#include <QRadialGradient>

namespace qv {

namespace {
// A glow that keeps its first colour inside `startRadius` and reaches its
// last colour at `endRadius`, beyond which the last colour continues.
QRadialGradient glow(QPointF centre, double startRadius, double endRadius, const QColor &inner, const QColor &outer)
{
    QRadialGradient g(centre, endRadius, centre, startRadius);
    g.setColorAt(0, inner);
    g.setColorAt(1, outer);
    g.setSpread(QGradient::PadSpread);
    return g;
}
} // namespace

QVBackground::QVBackground(QWidget *parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void QVBackground::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRectF r = rect();
    p.fillRect(r, Theme::bg());
    p.fillRect(r, glow(r.topRight(), 40, 460, Theme::withOpacity(Theme::accent(), 0.18), Theme::bg()));
    QColor deepBlue = QColor::fromRgb(30, 64, 175);
    deepBlue.setAlphaF(0.14f);
    p.fillRect(r, glow(r.bottomLeft(), 60, 420, deepBlue, Qt::transparent));
}

} // namespace qv
