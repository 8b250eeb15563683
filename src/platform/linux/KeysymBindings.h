#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QtGlobal>

#include <functional>
#include <limits>
#include <optional>

namespace qv::linuxdesktop {

// Which spare keycodes carry which keysyms while a run types characters that
// are not on the keyboard map. Rebinding costs the window manager a keymap
// reload and confuses an application that has not yet handled the previous
// press of that keycode, so bindings are made up front and reused, and the
// least recently used one is given up first. Pure bookkeeping: the keyboard
// applies the changes to the X server.
class KeysymBindings {
public:
    static constexpr qint64 kNever = std::numeric_limits<qint64>::min();

    struct Change {
        int keycode;
        quint32 keysym;
        friend bool operator==(const Change &, const Change &) = default;
    };

    // The keysym that types one Unicode scalar.
    static quint32 keysymFor(char32_t codePoint);

    // The keycodes of a keyboard map (`symsPerKeycode` keysyms per keycode
    // from `minKeycode` on) that a run may bind, at most `limit`: the empty
    // ones first, then those that carry nothing but vendor keysyms (media
    // and launch keys, which no text needs) and are no modifier.
    static QList<int> spareKeycodes(const QList<unsigned long> &map, int minKeycode, int symsPerKeycode,
                                    const QSet<int> &modifierKeycodes, int limit);

    explicit KeysymBindings(QList<int> spareKeycodes = {});

    int capacity() const { return int(m_spares.size()); }
    std::optional<int> keycodeFor(quint32 keysym) const;
    std::optional<quint32> keysymAt(int keycode) const;
    QList<int> boundKeycodes() const;
    bool isEmpty() const { return m_bound.isEmpty(); }

    // Binds the keysyms that are not bound yet, in order, as far as the spare
    // keycodes go: the keycode a keysym had before if free, then other free
    // ones (never used ones first), then the least recently used bindings
    // that are not among `keysyms` themselves and that `mayGiveUp` allows
    // (all when it is empty). Returns the changes made.
    QList<Change> plan(const QList<quint32> &keysyms, const std::function<bool(int keycode)> &mayGiveUp = {});

    // A key of this keycode was pressed (keeps it from being given up soon).
    void touch(int keycode, qint64 nowNs);
    // When the keycode was last pressed (kNever if not since it was bound).
    qint64 lastPressedNs(int keycode) const;

    // Forgets every binding (after the keymap was restored); which keycode
    // each keysym had is kept, for the next bindings to reuse.
    void clear();

private:
    QList<int> m_spares;
    QHash<int, quint32> m_bound;
    QHash<quint32, int> m_byKeysym;
    QHash<int, quint64> m_order; // LRU order: larger is more recent
    QHash<int, qint64> m_lastPressed;
    // The keysym each keycode carried last and the reverse, across clear().
    QHash<int, quint32> m_formerKeysym;
    QHash<quint32, int> m_formerKeycode;
    quint64 m_tick = 0;
};

} // namespace qv::linuxdesktop
