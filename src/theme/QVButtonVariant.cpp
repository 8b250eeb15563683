#include "theme/QVButtonVariant.h"

#include "theme/Theme.h"
#include "theme/Typography.h"

namespace qv {

QVButtonColors buttonColors(QVButtonVariant variant)
{
    const QColor white = Qt::white;
    switch (variant) {
    case QVButtonVariant::primary:
        return {white, Qt::transparent, 0, Theme::accent(), Theme::accentPressed()};
    case QVButtonVariant::secondary:
        return {Theme::text(), Theme::withOpacity(white, 0.18), 1, Theme::withOpacity(Theme::surfaceAlt(), 0.45),
                Theme::withOpacity(white, 0.1)};
    case QVButtonVariant::tertiary:
        return {Theme::text(), Theme::border(), 1, Theme::withOpacity(Theme::surface(), 0.75),
                Theme::withOpacity(Theme::surfaceAlt(), 0.95)};
    case QVButtonVariant::destructive:
        return {white, Qt::transparent, 0, Theme::danger(), Theme::withOpacity(Theme::danger(), 0.9)};
    }
    return {};
}

QVButtonMetrics buttonMetrics(bool compact)
{
    if (compact)
        return {Typography::font(TextStyle::Caption, QFont::DemiBold), 7, 11, 10, 30};
    return {Typography::font(TextStyle::Callout, QFont::Bold), 10, 15, 12, 38};
}

} // namespace qv
