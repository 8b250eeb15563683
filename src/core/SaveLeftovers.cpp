#include "core/SaveLeftovers.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace qv {

QStringList removeSaveLeftovers(const QString &folder, const std::function<bool(const QString &)> &isOwnFile)
{
    static const QRegularExpression temporary(QStringLiteral("^(.+)\\.([A-Za-z0-9]{6})$"));
    static const QRegularExpression word(QStringLiteral("^[a-z]{6}$"));
    QStringList removed;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks)) {
        const QRegularExpressionMatch match = temporary.match(name);
        if (!match.hasMatch() || word.match(match.captured(2)).hasMatch() || !isOwnFile(match.captured(1)))
            continue;
        if (QFile::remove(dir.filePath(name)))
            removed << dir.filePath(name);
    }
    return removed;
}

} // namespace qv
