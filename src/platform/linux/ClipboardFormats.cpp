#include "platform/linux/ClipboardFormats.h"

#include <QStringList>

namespace qv::linuxdesktop::clipboard {

bool isMetaTarget(const QString &format)
{
    static const QStringList meta = {
        QStringLiteral("TARGETS"),         QStringLiteral("MULTIPLE"),
        QStringLiteral("TIMESTAMP"),       QStringLiteral("SAVE_TARGETS"),
        QStringLiteral("DELETE"),          QStringLiteral("INSERT_SELECTION"),
        QStringLiteral("INSERT_PROPERTY"), QStringLiteral("CLIPBOARD_MANAGER"),
    };
    QString f = format.trimmed();
    // Qt reports targets it has no MIME name for as "x-special/..." or
    // with an "application/x-qt-" prefix around the atom name.
    for (const QString &prefix : {QStringLiteral("x-special/"), QStringLiteral("application/x-qt-")})
        if (f.startsWith(prefix))
            f = f.mid(prefix.size());
    return meta.contains(f, Qt::CaseSensitive);
}

} // namespace qv::linuxdesktop::clipboard
