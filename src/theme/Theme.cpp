#include "theme/Theme.h"

#include <algorithm>

namespace qv {

namespace {
QColor srgb(int r, int g, int b, double alpha = 1.0)
{
    QColor c = QColor::fromRgb(r, g, b);
    c.setAlphaF(float(alpha));
    return c;
}
} // namespace

// Function-local statics: created once, thread-safe, immutable afterwards.
const QColor &Theme::bg()
{
    static const QColor c = srgb(13, 18, 28);
    return c;
}
const QColor &Theme::surface()
{
    static const QColor c = srgb(19, 27, 42);
    return c;
}
const QColor &Theme::surfaceAlt()
{
    static const QColor c = srgb(24, 34, 52);
    return c;
}
const QColor &Theme::border()
{
    static const QColor c = srgb(255, 255, 255, 0.1);
    return c;
}
const QColor &Theme::accent()
{
    static const QColor c = srgb(68, 131, 255);
    return c;
}
const QColor &Theme::accentPressed()
{
    static const QColor c = srgb(49, 111, 230);
    return c;
}
const QColor &Theme::accentSoft()
{
    static const QColor c = srgb(36, 96, 219, 0.22);
    return c;
}
const QColor &Theme::text()
{
    static const QColor c = srgb(244, 247, 252);
    return c;
}
const QColor &Theme::subtext()
{
    static const QColor c = srgb(184, 198, 218);
    return c;
}
const QColor &Theme::secondaryLabel()
{
    static const QColor c = srgb(136, 153, 178);
    return c;
}
const QColor &Theme::success()
{
    static const QColor c = srgb(34, 197, 94);
    return c;
}
const QColor &Theme::danger()
{
    static const QColor c = srgb(239, 83, 80);
    return c;
}
const QColor &Theme::shadow()
{
    static const QColor c = srgb(0, 0, 0, 0.38);
    return c;
}
const QColor &Theme::borderNS()
{
    static const QColor c = border();
    return c;
}

QColor Theme::withOpacity(const QColor &color, double factor)
{
    QColor c = color;
    c.setAlphaF(float(color.alphaF() * std::clamp(factor, 0.0, 1.0)));
    return c;
}

} // namespace qv
