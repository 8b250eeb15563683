#include "engine/PasteboardSnapshot.h"

namespace qv::engine {

PasteboardSnapshot::PasteboardSnapshot(platform::Pasteboard &pasteboard)
{
    for (const platform::TypedData &item : pasteboard.items())
        items.append(ItemSnapshot{item});
    directDataByType = pasteboard.directData();
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
