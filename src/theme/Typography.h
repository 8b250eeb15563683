#pragma once

#include <QFont>

#include <optional>

namespace qv {

// Named text styles at desktop sizes (logical pixels).
enum class TextStyle {
    Body,        // 13
    Callout,     // 12
    Caption,     // 10
    Caption2,    // 10, medium
    Headline,    // 13, bold
    Footnote,    // 10
    Subheadline, // 11
    Title3,      // 15
    Title2,      // 17
    Title,       // 22
    LargeTitle,  // 26
};

// Fonts of the application: Inter where installed, else the desktop's sans
// serif, always sized in pixels so that layouts match on every screen.
class Typography {
public:
    Typography() = delete;

    static int pixelSize(TextStyle style);
    static QFont::Weight defaultWeight(TextStyle style);
    static QFont font(TextStyle style, std::optional<QFont::Weight> weight = std::nullopt);
    // A font of an explicit pixel size, as the views ask for large titles.
    static QFont systemFont(int pixelSize, QFont::Weight weight = QFont::Normal);
};

} // namespace qv
