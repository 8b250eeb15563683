#include "platform/linux/KeysymBindings.h"

#include <algorithm>
#include <utility>

namespace qv::linuxdesktop {

quint32 KeysymBindings::keysymFor(char32_t codePoint)
{
    // Latin-1 keysyms equal their code points; everything else has the
    // Unicode keysym range.
    if ((codePoint >= 0x20 && codePoint <= 0x7E) || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return quint32(codePoint);
    return 0x01000000u | quint32(codePoint);
}

QList<int> KeysymBindings::spareKeycodes(const QList<unsigned long> &map, int minKeycode, int symsPerKeycode,
                                         const QSet<int> &modifierKeycodes, int limit)
{
    // Keysyms of the vendor range 0x10080000-0x1008FFFF; the Unicode ones
    // (0x01000000 + code point) a run binds itself are far below it.
    const auto vendor = [](unsigned long ks) { return ks >= 0x10080000ul && ks <= 0x1008FFFFul; };
    QList<int> empty;
    QList<int> vendorOnly;
    const qsizetype count = symsPerKeycode > 0 ? map.size() / symsPerKeycode : 0;
    for (qsizetype i = 0; i < count; ++i) {
        const int keycode = minKeycode + int(i);
        // Keycode 8 is not delivered by every server.
        if (keycode <= 8 || modifierKeycodes.contains(keycode))
            continue;
        bool none = true;
        bool onlyVendor = true;
        for (int c = 0; c < symsPerKeycode; ++c) {
            const unsigned long ks = map.at(i * symsPerKeycode + c);
            none = none && ks == 0;
            onlyVendor = onlyVendor && (ks == 0 || vendor(ks));
        }
        if (none)
            empty.append(keycode);
        else if (onlyVendor)
            vendorOnly.append(keycode);
    }
    QList<int> out = empty + vendorOnly;
    if (out.size() > limit)
        out.resize(std::max(limit, 0));
    return out;
}

KeysymBindings::KeysymBindings(QList<int> spareKeycodes) : m_spares(std::move(spareKeycodes)) {}

std::optional<int> KeysymBindings::keycodeFor(quint32 keysym) const
{
    const auto it = m_byKeysym.constFind(keysym);
    if (it == m_byKeysym.constEnd())
        return std::nullopt;
    return *it;
}

std::optional<quint32> KeysymBindings::keysymAt(int keycode) const
{
    const auto it = m_bound.constFind(keycode);
    if (it == m_bound.constEnd())
        return std::nullopt;
    return *it;
}

QList<int> KeysymBindings::boundKeycodes() const
{
    QList<int> out;
    for (int kc : m_spares)
        if (m_bound.contains(kc))
            out.append(kc);
    return out;
}

QList<KeysymBindings::Change> KeysymBindings::plan(const QList<quint32> &keysyms,
                                                   const std::function<bool(int keycode)> &mayGiveUp)
{
    QList<Change> changes;
    const QSet<quint32> wanted(keysyms.begin(), keysyms.end());
    for (quint32 ks : keysyms) {
        if (auto kc = keycodeFor(ks)) {
            m_order[*kc] = ++m_tick;
            continue;
        }
        // A keysym goes back to the keycode it had before, and a new one
        // takes a keycode that never carried another (or whose former keysym
        // is not wanted now): an application still reading the keymap of an
        // earlier change then types the same character.
        std::optional<int> slot;
        const auto previous = m_formerKeycode.constFind(ks);
        if (previous != m_formerKeycode.constEnd() && !m_bound.contains(*previous))
            slot = *previous;
        for (int pass = 0; pass < 3 && !slot; ++pass) {
            for (int kc : m_spares) {
                if (m_bound.contains(kc))
                    continue;
                const auto former = m_formerKeysym.constFind(kc);
                const bool used = former != m_formerKeysym.constEnd();
                if ((pass == 0 && !used) || (pass == 1 && !wanted.contains(*former)) || pass == 2) {
                    slot = kc;
                    break;
                }
            }
        }
        if (!slot) {
            quint64 oldest = std::numeric_limits<quint64>::max();
            for (int kc : m_spares) {
                if (wanted.contains(m_bound.value(kc)) || (mayGiveUp && !mayGiveUp(kc)))
                    continue;
                const quint64 order = m_order.value(kc);
                if (order < oldest) {
                    oldest = order;
                    slot = kc;
                }
            }
        }
        if (!slot)
            break; // every spare keycode holds a character of this batch
        if (auto old = keysymAt(*slot))
            m_byKeysym.remove(*old);
        m_bound.insert(*slot, ks);
        m_byKeysym.insert(ks, *slot);
        if (auto formerKeysym = m_formerKeysym.constFind(*slot);
            formerKeysym != m_formerKeysym.constEnd() && m_formerKeycode.value(*formerKeysym) == *slot)
            m_formerKeycode.remove(*formerKeysym);
        m_formerKeysym.insert(*slot, ks);
        m_formerKeycode.insert(ks, *slot);
        m_order[*slot] = ++m_tick;
        m_lastPressed.remove(*slot);
        changes.append({*slot, ks});
    }
    return changes;
}

void KeysymBindings::touch(int keycode, qint64 nowNs)
{
    m_order[keycode] = ++m_tick;
    m_lastPressed[keycode] = nowNs;
}

qint64 KeysymBindings::lastPressedNs(int keycode) const { return m_lastPressed.value(keycode, kNever); }

void KeysymBindings::clear()
{
    m_bound.clear();
    m_byKeysym.clear();
    m_order.clear();
    m_lastPressed.clear();
}

} // namespace qv::linuxdesktop
