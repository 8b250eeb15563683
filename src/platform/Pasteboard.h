#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <optional>

namespace qv::platform {

// Representations of one clipboard item (or of the whole clipboard), in the
// order the owner lists them: MIME type and bytes.
using TypedData = QList<QPair<QString, QByteArray>>;

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
};

} // namespace qv::platform
