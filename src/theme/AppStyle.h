#pragma once

#include <QPalette>

namespace qv {

// The application-wide look of the parts Qt draws itself (message boxes,
// scroll bars, menus, window backgrounds): the theme's dark colours on the
// Fusion style, which follows the palette everywhere instead of the
// desktop's own light theme.
QPalette appPalette();
void applyAppStyle();

} // namespace qv
