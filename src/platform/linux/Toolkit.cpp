#include "platform/linux/Toolkit.h"

#include "core/Text.h"

namespace qv::linuxdesktop::toolkits {

Toolkit fromName(const QString &name)
{
    const QString n = name.trimmed().toLower();
    if (n.startsWith(QLatin1String("gtk")) || n == QLatin1String("gail"))
        return Toolkit::Gtk;
    if (n == QLatin1String("qt") || n.startsWith(QLatin1String("qt")))
        return Toolkit::Qt;
    if (n.contains(QLatin1String("chrom")) || n == QLatin1String("electron"))
        return Toolkit::Chromium;
    if (n == QLatin1String("gecko") || n.contains(QLatin1String("firefox")))
        return Toolkit::Gecko;
    return Toolkit::Unknown;
}

int backspacePresses(QStringView stretch, Toolkit toolkit)
{
    if (toolkit == Toolkit::Qt)
        return text::codePointCount(stretch);
    return text::graphemeCount(stretch);
}

int arrowPresses(QStringView stretch) { return text::graphemeCount(stretch); }

} // namespace qv::linuxdesktop::toolkits
