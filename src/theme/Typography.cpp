#include "theme/Typography.h"

#include <QStringList>

namespace qv {

int Typography::pixelSize(TextStyle style)
{
    switch (style) {
    case TextStyle::Body:
        return 13;
    case TextStyle::Callout:
        return 12;
    case TextStyle::Caption:
        return 10;
    case TextStyle::Caption2:
        return 10;
    case TextStyle::Headline:
        return 13;
    case TextStyle::Footnote:
        return 10;
    case TextStyle::Subheadline:
        return 11;
    case TextStyle::Title3:
        return 15;
    case TextStyle::Title2:
        return 17;
    case TextStyle::Title:
        return 22;
    case TextStyle::LargeTitle:
        return 26;
    }
    return 13;
}

QFont::Weight Typography::defaultWeight(TextStyle style)
{
    switch (style) {
    case TextStyle::Caption2:
        return QFont::Medium;
    case TextStyle::Headline:
        return QFont::Bold;
    default:
        return QFont::Normal;
    }
}

QFont Typography::font(TextStyle style, std::optional<QFont::Weight> weight)
{
    return systemFont(pixelSize(style), weight.value_or(defaultWeight(style)));
}

QFont Typography::systemFont(int pixelSize, QFont::Weight weight)
{
    QFont f;
    // Fontconfig falls back to the desktop's sans serif when Inter is missing.
    f.setFamilies({QStringLiteral("Inter"), QStringLiteral("sans-serif")});
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pixelSize > 0 ? pixelSize : 1);
    f.setWeight(weight);
    return f;
}

} // namespace qv
