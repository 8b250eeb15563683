#pragma once

#include "platform/Pasteboard.h"

#include <QCoro/QCoroTask>
#include <QList>
#include <QStringList>

namespace qv::engine {

// A full copy of the clipboard, taken before the engine makes the target
// application copy and written back afterwards. Types keep their order;
// nothing is merged. A type that gave no data has no pair.
class PasteboardSnapshot {
public:
    struct ItemSnapshot {
        platform::TypedData dataByType;
        friend bool operator==(const ItemSnapshot &, const ItemSnapshot &) = default;
    };

    PasteboardSnapshot() = default;
    // Copies every item with its types, and the clipboard-level types.
    explicit PasteboardSnapshot(platform::Pasteboard &pasteboard);
    // The same, awaited: the event loop runs while another application
    // hands over its clipboard. Types that could not be read are named in
    // `unread`.
    static QCoro::Task<PasteboardSnapshot> take(platform::Pasteboard &pasteboard);

    // Whether every listed type was read: only then does a restore put the
    // clipboard back as it was.
    bool complete() const { return unread.isEmpty(); }

    // Clears the clipboard, then writes the items back in one write, or,
    // when there were none, the clipboard-level data type by type. Write
    // results are not examined.
    void restore(platform::Pasteboard &pasteboard) const;

    QList<ItemSnapshot> items;
    platform::TypedData directDataByType;
    QStringList unread;
};

} // namespace qv::engine
