#pragma once

#include <QByteArray>
#include <QCoro/QCoroTask>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>

namespace qv::platform {

// Representations of one clipboard item (or of the whole clipboard), in the
// order the owner lists them: MIME type and bytes.
using TypedData = QList<QPair<QString, QByteArray>>;

// Everything a full read of the clipboard found: what items() and
// directData() give, and each listed type that could not be read, with why.
// Contents with unread types cannot be put back as they were.
struct ClipboardContents {
    QList<TypedData> items;
    TypedData direct;
    QStringList unread;
    bool complete() const { return unread.isEmpty(); }
};

// The desktop clipboard.
class Pasteboard {
public:
    virtual ~Pasteboard() = default;

    // Each item with its types and bytes, in order.
    virtual QList<TypedData> items() = 0;
    // The clipboard-level types and bytes, in order.
    virtual TypedData directData() = 0;
    virtual void clear() = 0;
    // Replaces the contents with these items (one write).
    virtual void writeItems(const QList<TypedData> &items) = 0;
    // Sets one clipboard-level representation.
    virtual void setDirectData(const QString &type, const QByteArray &data) = 0;
    // The plain text on the clipboard, if any.
    virtual std::optional<QString> plainText() = 0;
    // Grows by at least one on every change of the contents.
    virtual qint64 changeCount() = 0;

    // As items() and directData() together, and plainText(), but awaited: a
    // backend that asks another application for the bytes keeps the event
    // loop running meanwhile. One that answers at once needs no more than
    // these defaults.
    virtual QCoro::Task<ClipboardContents> readContents()
    {
        ClipboardContents contents;
        contents.items = items();
        contents.direct = directData();
        co_return contents;
    }
    virtual QCoro::Task<std::optional<QString>> readPlainText() { co_return plainText(); }
};

} // namespace qv::platform
