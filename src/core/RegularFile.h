#pragma once

#include <QByteArray>
#include <QString>

namespace qv {

// What reading one of the program's own files gave.
struct RegularFileRead {
    enum class Outcome { read, missing, refused };
    Outcome outcome = Outcome::missing;
    QByteArray bytes;
    // Why the file was refused, in words for the user.
    QString reason;
};

// Reads the whole file at `path` when it is a regular file (after symbolic
// links) of at most `maxBytes`. Anything else is refused without waiting on
// it and without reading past the limit: a named pipe (which would block
// until someone writes), a device such as /dev/zero (which never ends), a
// folder, a file larger than the limit or one that grows past it while read.
// A dangling link is refused, not missing: something is in the file's place.
RegularFileRead readRegularFile(const QString &path, qint64 maxBytes);

// "512 MB": a limit in the words of a refusal.
QString sizeInWords(qint64 bytes);

} // namespace qv
