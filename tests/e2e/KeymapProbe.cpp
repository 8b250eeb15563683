#include "KeymapProbe.h"

#include <X11/Xlib.h>

namespace qv::e2e {

int unicodeKeysymCount()
{
    Display *dpy = XOpenDisplay(nullptr);
    if (!dpy)
        return -1;
    int minKc = 0;
    int maxKc = 0;
    XDisplayKeycodes(dpy, &minKc, &maxKc);
    int per = 0;
    KeySym *map = XGetKeyboardMapping(dpy, KeyCode(minKc), maxKc - minKc + 1, &per);
    int count = 0;
    for (int kc = 0; map && kc < maxKc - minKc + 1; ++kc) {
        for (int c = 0; c < per; ++c) {
            if ((map[kc * per + c] & 0xFF000000) == 0x01000000) {
                ++count;
                break;
            }
        }
    }
    if (map)
        XFree(map);
    XCloseDisplay(dpy);
    return count;
}

} // namespace qv::e2e
