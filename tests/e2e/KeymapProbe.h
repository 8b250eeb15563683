#pragma once

namespace qv::e2e {

// How many keycodes of the X server's keymap carry Unicode keysyms (the
// ones a keyboard binds for characters that are not on the map); -1 when
// the display cannot be opened.
int unicodeKeysymCount();

} // namespace qv::e2e
