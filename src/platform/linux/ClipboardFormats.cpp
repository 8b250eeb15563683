#include "platform/linux/ClipboardFormats.h"

#include <QStringList>

#include <algorithm>

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

namespace qv::linuxdesktop::clipboard {

namespace {

// The text targets, best first.
const QList<QByteArray> &textTargets()
{
    static const QList<QByteArray> targets = {QByteArrayLiteral("UTF8_STRING"), QByteArrayLiteral("STRING"),
                                              QByteArrayLiteral("TEXT"), QByteArrayLiteral("text/plain")};
    return targets;
}

bool isHandle(const QByteArray &target)
{
    static const QList<QByteArray> handles = {
        QByteArrayLiteral("PIXMAP"),   QByteArrayLiteral("BITMAP"), QByteArrayLiteral("DRAWABLE"),
        QByteArrayLiteral("COLORMAP"), QByteArrayLiteral("WINDOW"), QByteArrayLiteral("ATOM"),
    };
    return handles.contains(target);
}

} // namespace

QList<TypeSource> restorableTypes(const QList<QByteArray> &targets)
{
    QList<TypeSource> out;
    qsizetype textAt = -1;
    int textRank = 0;
    for (const QByteArray &target : targets) {
        const QString name = QString::fromLatin1(target);
        if (target.isEmpty() || isMetaTarget(name) || isHandle(target))
            continue;
        const qsizetype rank = textTargets().indexOf(target);
        if (rank >= 0) {
            if (textAt < 0) {
                textAt = out.size();
                textRank = int(rank);
                out.append({QStringLiteral("text/plain"), target});
            } else if (rank < textRank) {
                textRank = int(rank);
                out[textAt].target = target;
            }
            continue;
        }
        const bool seen = std::any_of(out.cbegin(), out.cend(), [&](const TypeSource &s) { return s.type == name; });
        if (!seen)
            out.append({name, target});
    }
    return out;
}

QByteArray decoded(const TypeSource &source, const QByteArray &data)
{
    if (source.target == "STRING" || source.target == "TEXT")
        return QString::fromLatin1(data).toUtf8();
    return data;
}

QList<QByteArray> plainTextTargets()
{
    QList<QByteArray> targets = textTargets();
    // GTK gives this one with CRLF line ends: only when nothing else is there.
    targets.append(QByteArrayLiteral("text/plain;charset=utf-8"));
    return targets;
}

} // namespace qv::linuxdesktop::clipboard
