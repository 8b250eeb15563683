#include "theme/AppStyle.h"

#include "theme/Theme.h"
#include "theme/WheelFocusGuard.h"

#include <QApplication>
#include <QStyleFactory>

namespace qv {

namespace {
// The theme's translucent colours as they show over the window background;
// palette roles want opaque colours.
QColor overBackground(const QColor &c)
{
    const double a = c.alphaF();
    const QColor &b = Theme::bg();
    QColor out;
    out.setRgbF(float(c.redF() * a + b.redF() * (1 - a)), float(c.greenF() * a + b.greenF() * (1 - a)),
                float(c.blueF() * a + b.blueF() * (1 - a)));
    return out;
}
} // namespace

QPalette appPalette()
{
    QPalette p;
    const QColor line = overBackground(Theme::withOpacity(Qt::white, 0.16));
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool off = group == QPalette::Disabled;
        const QColor &text = off ? Theme::secondaryLabel() : Theme::text();
        p.setColor(group, QPalette::Window, Theme::bg());
        p.setColor(group, QPalette::WindowText, text);
        p.setColor(group, QPalette::Base, Theme::surface());
        p.setColor(group, QPalette::AlternateBase, Theme::surfaceAlt());
        p.setColor(group, QPalette::Text, text);
        p.setColor(group, QPalette::PlaceholderText, Theme::secondaryLabel());
        p.setColor(group, QPalette::Button, Theme::surfaceAlt());
        p.setColor(group, QPalette::ButtonText, text);
        p.setColor(group, QPalette::BrightText, Qt::white);
        p.setColor(group, QPalette::ToolTipBase, Theme::surfaceAlt());
        p.setColor(group, QPalette::ToolTipText, Theme::text());
        p.setColor(group, QPalette::Highlight, off ? Theme::surfaceAlt() : Theme::accent());
        p.setColor(group, QPalette::HighlightedText, off ? Theme::secondaryLabel() : QColor(Qt::white));
        p.setColor(group, QPalette::Link, Theme::accent());
        p.setColor(group, QPalette::LinkVisited, Theme::accentPressed());
        // The bevel shades Fusion draws frames, scroll bars and separators with.
        p.setColor(group, QPalette::Light, line.lighter(130));
        p.setColor(group, QPalette::Midlight, line);
        p.setColor(group, QPalette::Mid, Theme::surfaceAlt());
        p.setColor(group, QPalette::Dark, Theme::surface());
        p.setColor(group, QPalette::Shadow, QColor(0, 0, 0));
    }
    return p;
}

void applyAppStyle()
{
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);
    QApplication::setPalette(appPalette());
    WheelFocusGuard::ensureInstalled();
}

} // namespace qv
