#include "theme/GradientLogoMark.h"

#include "theme/AnimatedValue.h"
#include "theme/MotionSettings.h"
#include "theme/Symbols.h"
#include "theme/Theme.h"
#include "theme/ThemeEnvironment.h"

#include <QLinearGradient>
#include <QPainter>
#include <QShowEvent>

namespace qv {

GradientLogoMark::GradientLogoMark(int size, const QString &symbolFallback, QWidget *parent)
    : QWidget(parent), m_size(size), m_symbol(symbolFallback), m_direction(new AnimatedValue(0, this))
{
    setFixedSize(size, size);
    connect(&ThemeEnvironment::motion(), &MotionSettings::changed, this, &GradientLogoMark::applyAnimation);
}

double GradientLogoMark::direction() const { return m_direction->value(); }

bool GradientLogoMark::isSweeping() const { return m_direction->isAnimating(); }

bool GradientLogoMark::usesFallbackSymbol() const { return Symbols::imagePath(QStringLiteral("LogoMark")).isEmpty(); }

QRectF GradientLogoMark::logoRect() const
{
    if (!usesFallbackSymbol())
        return QRectF(0, 0, m_size, m_size);
    const double s = 0.72 * m_size;
    return QRectF((m_size - s) / 2, (m_size - s) / 2, s, s);
}

void GradientLogoMark::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous() && !m_shimmer) {
        m_shimmer = true;
        applyAnimation();
    }
}

void GradientLogoMark::applyAnimation()
{
    if (!m_shimmer)
        return;
    // The sweep runs between the start and the final direction for as long
    // as the mark exists; reduced motion shows the final direction at rest.
    if (ThemeEnvironment::motion().reduceMotion()) {
        m_direction->set(1, Animation::none());
    } else if (!m_direction->isAnimating()) {
        m_direction->set(0, Animation::none());
        m_direction->set(1, Animation::easeInOutForeverAutoreverse(kSweepMs));
    }
}

void GradientLogoMark::paintEvent(QPaintEvent *)
{
    const QRectF box = logoRect();
    QImage shape(QSize(m_size, m_size) * devicePixelRatioF(), QImage::Format_ARGB32_Premultiplied);
    shape.setDevicePixelRatio(devicePixelRatioF());
    shape.fill(Qt::transparent);
    {
        QPainter sp(&shape);
        sp.setRenderHint(QPainter::Antialiasing);
        const QString image = Symbols::imagePath(QStringLiteral("LogoMark"));
        const bool drawn = image.isEmpty() ? Symbols::paint(sp, m_symbol, box, Qt::black)
                                           : Symbols::paintFile(sp, image, box);
        if (!drawn)
            return;
        // Only the shape shows, filled with the gradient.
        const double d = direction();
        const QPointF tl(0, 0), br(m_size, m_size);
        QLinearGradient g(br + (tl - br) * d, tl + (br - tl) * d);
        g.setColorAt(0.0, Theme::accent());
        g.setColorAt(0.5, Theme::text());
        g.setColorAt(1.0, Theme::withOpacity(Theme::accent(), 0.7));
        sp.setCompositionMode(QPainter::CompositionMode_SourceIn);
        sp.fillRect(QRectF(0, 0, m_size, m_size), g);
    }
    QPainter p(this);
    p.drawImage(0, 0, shape);
}

} // namespace qv
