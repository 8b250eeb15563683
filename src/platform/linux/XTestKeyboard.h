#pragma once

#include "platform/Keyboard.h"
#include "platform/linux/KeysymBindings.h"
#include "platform/linux/Toolkit.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QStringList>

#include <functional>

struct _XDisplay;

namespace qv {
class Scheduler;
}

namespace qv::linuxdesktop {

// Synthetic keys through the XTest extension. Characters that are not on the
// keyboard map are bound to spare keycodes (empty ones, then media keys), as
// far as possible all at once when a run starts, and otherwise well ahead of
// their key: a keycode rebound right before its press can reach the
// application as the wrong character, so a press of a rebound keycode waits
// until 20 ms after its rebinding, and a binding stays at least 200 ms after
// its last press.
// The original keymap comes back when the run finishes or stops, when the
// keyboard is destroyed and on crash signals.
class XTestKeyboard final : public platform::Keyboard {
public:
    static constexpr qint64 kSettleAfterRebindNs = 20'000'000;
    static constexpr qint64 kKeepAfterPressNs = 200'000'000;
    // The wait between the code points of one grapheme cluster.
    static constexpr qint64 kClusterPartSpacingNs = 15'000'000;
    // How far ahead of the typing a binding for a coming character is made.
    static constexpr int kLookaheadGraphemes = 24;

    // `focusedToolkit` names the toolkit of the application that receives
    // the keys (it decides what one Backspace deletes).
    XTestKeyboard(Scheduler &scheduler, std::function<Toolkit()> focusedToolkit);
    ~XTestKeyboard() override;
    // Told after each key goes out: what was read of the field before may
    // no longer hold.
    void setKeySent(std::function<void()> keySent) { m_keySent = std::move(keySent); }

    bool isAvailable() const { return m_display != nullptr; }
    int spareKeycodeCount() const { return m_bindings.capacity(); }
    // Scheduler time of the last key event sent to the X server.
    qint64 lastPressNs() const { return m_lastPressNs; }

    QCoro::Task<> prepare(const QString &text) override;
    QCoro::Task<> typeGrapheme(const QString &grapheme) override;
    QCoro::Task<> press(platform::Key key) override;
    QCoro::Task<> shortcut(platform::Shortcut shortcut) override;
    void finish() override;
    void releaseAll() override;
    int backspacePresses(const QString &stretch) override;
    int arrowPresses(const QString &stretch) override;

    // Restores the keymap now (used on quit and by the crash handler).
    void restoreKeymapNow();

private:
    struct Stroke {
        int keycode = 0;
        bool shift = false;
    };

    QCoro::Task<> typeCodePoint(char32_t cp);
    QCoro::Task<> bindAndWait(const QList<quint32> &keysyms);
    QCoro::Task<> settle(int keycode);
    void tap(Stroke stroke, int modifierKeycode = 0);
    void applyChanges(const QList<KeysymBindings::Change> &changes);
    void writeKeycode(int keycode, const QList<unsigned long> &syms);
    std::optional<Stroke> strokeFor(quint32 keysym) const;
    void scheduleRestore();
    void followPlan(const QString &grapheme);
    void bindAhead();
    void publishForCrashHandler();

    Scheduler &m_scheduler;
    std::function<Toolkit()> m_focusedToolkit;
    std::function<void()> m_keySent;
    _XDisplay *m_display = nullptr;
    int m_minKeycode = 0;
    int m_symsPerKeycode = 0;
    QList<unsigned long> m_originalMap;   // (max - min + 1) * symsPerKeycode
    QHash<quint32, Stroke> m_baseStrokes; // keysym -> key on the original map
    KeysymBindings m_bindings;
    int m_shiftKeycode = 0;
    int m_controlKeycode = 0;
    QHash<int, qint64> m_reboundNs; // keycode -> when its keysyms last changed
    qint64 m_lastPressNs = -1'000'000'000'000;
    quint64 m_restoreGeneration = 0;
    QStringList m_plan;         // the prepared text's graphemes
    qsizetype m_planCursor = 0; // where typing probably stands in it
    std::uint64_t m_restoreTimer = 0;
};

} // namespace qv::linuxdesktop
