#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace qv::linuxdesktop::clipboard {

// X11 selection targets that describe the selection rather than hold its
// contents (TARGETS, MULTIPLE, TIMESTAMP, SAVE_TARGETS, DELETE and kin):
// a snapshot must neither read nor restore them.
bool isMetaTarget(const QString &format);

// One type a snapshot keeps: its name as our clipboard writes it back, and
// the target it is read from.
struct TypeSource {
    QString type;
    QByteArray target;
    friend bool operator==(const TypeSource &, const TypeSource &) = default;
};

// The types that put another owner's clipboard back, from the targets it
// lists, in its order: no meta targets and no server-side handles (a
// pixmap, a window); the text targets (UTF8_STRING, STRING, TEXT, a bare
// "text/plain") are one "text/plain", read from the best of them, since our
// clipboard offers all of them again from that one.
QList<TypeSource> restorableTypes(const QList<QByteArray> &targets);

// The bytes of a type as our clipboard keeps them: "text/plain" read from a
// Latin-1 target becomes UTF-8.
QByteArray decoded(const TypeSource &source, const QByteArray &data);

// The targets asked in turn for the clipboard's plain text, best first.
QList<QByteArray> plainTextTargets();

} // namespace qv::linuxdesktop::clipboard
