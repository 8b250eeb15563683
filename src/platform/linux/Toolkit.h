#pragma once

#include <QString>
#include <QStringView>

namespace qv::linuxdesktop {

// The interface toolkit of an application, as far as our rules care.
enum class Toolkit { Unknown, Gtk, Qt, Chromium, Gecko };

namespace toolkits {

// From the toolkit name an application reports on the accessibility bus.
Toolkit fromName(const QString &name);

// Backspace presses that delete `stretch` (the text before the caret): GTK
// and browsers remove a whole grapheme per press, Qt one code point, so a
// family emoji takes one press in one and five in the other.
int backspacePresses(QStringView stretch, Toolkit toolkit);

// Arrow presses that cross `stretch`: one per grapheme everywhere.
int arrowPresses(QStringView stretch);

} // namespace toolkits
} // namespace qv::linuxdesktop
