#include "engine/PasteboardSnapshot.h"

namespace qv::engine {

PasteboardSnapshot::PasteboardSnapshot(platform::Pasteboard &pasteboard)
{
    for (const platform::TypedData &item : pasteboard.items())
        items.append(ItemSnapshot{item});
    directDataByType = pasteboard.directData();
}

QCoro::Task<PasteboardSnapshot> PasteboardSnapshot::take(platform::Pasteboard &pasteboard)
{
    const platform::ClipboardContents contents = co_await pasteboard.readContents();
    PasteboardSnapshot snapshot;
    for (const platform::TypedData &item : contents.items)
        snapshot.items.append(ItemSnapshot{item});
    snapshot.directDataByType = contents.direct;
    snapshot.unread = contents.unread;
    co_return snapshot;
}

void PasteboardSnapshot::restore(platform::Pasteboard &pasteboard) const
{
    pasteboard.clear();
    if (!items.isEmpty()) {
        QList<platform::TypedData> written;
        written.reserve(items.size());
        for (const ItemSnapshot &item : items)
            written.append(item.dataByType);
        pasteboard.writeItems(written);
        return;
    }
    for (const auto &[type, data] : directDataByType)
        pasteboard.setDirectData(type, data);
}

} // namespace qv::engine
