#include "platform/linux/XTestKeyboard.h"

#include "core/Scheduler.h"
#include "core/Text.h"

#include <QSet>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace qv::linuxdesktop {

namespace {

// What the crash handler needs to put the keymap back, kept in plain static
// storage: a signal handler must not allocate or touch Qt.
constexpr int kMaxCrashKeycodes = 64;
constexpr int kMaxSymsPerKeycode = 16;
struct CrashRestore {
    Display *display = nullptr;
    int symsPerKeycode = 0;
    int keycodes[kMaxCrashKeycodes] = {};
    KeySym original[kMaxCrashKeycodes * kMaxSymsPerKeycode] = {};
};
CrashRestore g_crash;
volatile sig_atomic_t g_crashCount = 0;
struct sigaction g_previous[NSIG];
bool g_handlersInstalled = false;
constexpr int kCrashSignals[] = {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL, SIGTERM, SIGINT, SIGHUP, SIGQUIT};

void restoreOnSignal(int sig)
{
    const int count = g_crashCount;
    g_crashCount = 0;
    if (g_crash.display && count > 0) {
        for (int i = 0; i < count; ++i)
            XChangeKeyboardMapping(g_crash.display, g_crash.keycodes[i], g_crash.symsPerKeycode,
                                   &g_crash.original[i * kMaxSymsPerKeycode], 1);
        XSync(g_crash.display, False);
    }
    // Hand the signal on to whoever had it before (the default action for
    // most): it is delivered again as soon as this handler returns.
    sigaction(sig, &g_previous[sig], nullptr);
    raise(sig);
}

void installCrashHandlers()
{
    if (g_handlersInstalled)
        return;
    g_handlersInstalled = true;
    for (int sig : kCrashSignals) {
        struct sigaction sa;
        std::memset(&sa, 0, sizeof sa);
        sa.sa_handler = restoreOnSignal;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESETHAND;
        struct sigaction previous;
        if (sigaction(sig, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN)
            continue; // a signal the program ignores stays ignored
        sigaction(sig, &sa, &g_previous[sig]);
    }
}

KeySym keysymOf(platform::Key key)
{
    switch (key) {
    case platform::Key::Backspace:
        return XK_BackSpace;
    case platform::Key::Return:
        return XK_Return;
    case platform::Key::Tab:
        return XK_Tab;
    case platform::Key::Left:
        return XK_Left;
    case platform::Key::Right:
        return XK_Right;
    case platform::Key::Up:
        return XK_Up;
    case platform::Key::Down:
        return XK_Down;
    }
    return NoSymbol;
}

} // namespace

XTestKeyboard::XTestKeyboard(Scheduler &scheduler, std::function<Toolkit()> focusedToolkit)
    : m_scheduler(scheduler), m_focusedToolkit(std::move(focusedToolkit))
{
    Display *dpy = XOpenDisplay(nullptr);
    if (!dpy)
        return;
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(dpy, &eventBase, &errorBase, &major, &minor)) {
        XCloseDisplay(dpy);
        return;
    }
    m_display = dpy;
    int maxKeycode = 0;
    XDisplayKeycodes(dpy, &m_minKeycode, &maxKeycode);
    const int count = maxKeycode - m_minKeycode + 1;
    KeySym *map = XGetKeyboardMapping(dpy, KeyCode(m_minKeycode), count, &m_symsPerKeycode);
    QList<int> spares;
    if (map) {
        m_originalMap.reserve(count * m_symsPerKeycode);
        for (int i = 0; i < count * m_symsPerKeycode; ++i)
            m_originalMap.append(map[i]);
        XFree(map);
    }
    for (int column : {0, 1}) {
        for (int i = 0; i < count && column < m_symsPerKeycode; ++i) {
            const KeySym ks = m_originalMap.value(i * m_symsPerKeycode + column);
            if (ks != NoSymbol && !m_baseStrokes.contains(quint32(ks)))
                m_baseStrokes.insert(quint32(ks), Stroke{m_minKeycode + i, column == 1});
        }
    }
    QSet<int> modifiers;
    if (XModifierKeymap *mods = XGetModifierMapping(dpy)) {
        for (int i = 0; i < 8 * mods->max_keypermod; ++i)
            if (mods->modifiermap[i])
                modifiers.insert(mods->modifiermap[i]);
        XFreeModifiermap(mods);
    }
    spares = KeysymBindings::spareKeycodes(m_originalMap, m_minKeycode, m_symsPerKeycode, modifiers, kMaxCrashKeycodes);
    // A media key lent to the run types what it is bound to, nothing else.
    for (int kc : spares)
        for (int c = 0; c < m_symsPerKeycode; ++c)
            m_baseStrokes.remove(quint32(m_originalMap.value((kc - m_minKeycode) * m_symsPerKeycode + c)));
    if (m_symsPerKeycode > kMaxSymsPerKeycode)
        spares.clear(); // cannot restore such a map from a signal handler
    m_bindings = KeysymBindings(spares);
    m_shiftKeycode = XKeysymToKeycode(dpy, XK_Shift_L);
    m_controlKeycode = XKeysymToKeycode(dpy, XK_Control_L);
}

XTestKeyboard::~XTestKeyboard()
{
    if (!m_display)
        return;
    const qint64 since = m_scheduler.nowNs() - m_lastPressNs;
    if (!m_bindings.isEmpty() && since < kKeepAfterPressNs)
        ::usleep(useconds_t((kKeepAfterPressNs - since) / 1000));
    restoreKeymapNow();
    if (g_crash.display) {
        g_crashCount = 0;
        Display *crash = g_crash.display;
        g_crash.display = nullptr;
        XCloseDisplay(crash);
    }
    XCloseDisplay(m_display);
}

std::optional<XTestKeyboard::Stroke> XTestKeyboard::strokeFor(quint32 keysym) const
{
    if (auto kc = m_bindings.keycodeFor(keysym))
        return Stroke{*kc, false};
    const auto it = m_baseStrokes.constFind(keysym);
    if (it != m_baseStrokes.constEnd())
        return *it;
    return std::nullopt;
}

QCoro::Task<> XTestKeyboard::prepare(const QString &text)
{
    if (!m_display)
        co_return;
    ++m_restoreGeneration;
    if (m_restoreTimer)
        m_scheduler.cancel(m_restoreTimer);
    m_restoreTimer = 0;
    m_plan = text::graphemes(text);
    m_planCursor = 0;
    QList<quint32> needed;
    for (char32_t cp : text.toUcs4()) {
        if (cp < 0x20 || cp == 0x7F)
            continue;
        const quint32 ks = KeysymBindings::keysymFor(cp);
        if (m_baseStrokes.contains(ks) || needed.contains(ks))
            continue;
        needed.append(ks);
        if (needed.size() >= m_bindings.capacity())
            break;
    }
    if (!needed.isEmpty())
        co_await bindAndWait(needed);
}

QCoro::Task<> XTestKeyboard::bindAndWait(const QList<quint32> &keysyms)
{
    // Keycodes about to be given up may still be on their way to the
    // application: wait until their last press is old enough.
    KeysymBindings trial = m_bindings;
    qint64 waitNs = 0;
    for (const auto &change : trial.plan(keysyms)) {
        const qint64 last = m_bindings.lastPressedNs(change.keycode);
        if (last != KeysymBindings::kNever)
            waitNs = std::max(waitNs, last + kKeepAfterPressNs - m_scheduler.nowNs());
    }
    if (waitNs > 0)
        co_await m_scheduler.sleepNs(waitNs);
    applyChanges(m_bindings.plan(keysyms));
}

void XTestKeyboard::applyChanges(const QList<KeysymBindings::Change> &changes)
{
    if (changes.isEmpty() || !m_display)
        return;
    installCrashHandlers();
    publishForCrashHandler(); // the old bindings, should we die mid-change
    // One request per run of neighbouring keycodes: each request makes the
    // window manager reload the keymap.
    QList<KeysymBindings::Change> sorted = changes;
    std::sort(sorted.begin(), sorted.end(), [](const auto &a, const auto &b) { return a.keycode < b.keycode; });
    for (qsizetype i = 0; i < sorted.size();) {
        qsizetype j = i + 1;
        while (j < sorted.size() && sorted[j].keycode == sorted[j - 1].keycode + 1)
            ++j;
        QList<KeySym> syms(qsizetype(j - i) * m_symsPerKeycode, NoSymbol);
        for (qsizetype k = i; k < j; ++k) {
            syms[(k - i) * m_symsPerKeycode] = sorted[k].keysym;
            if (m_symsPerKeycode > 1)
                syms[(k - i) * m_symsPerKeycode + 1] = sorted[k].keysym;
        }
        XChangeKeyboardMapping(m_display, sorted[i].keycode, m_symsPerKeycode, syms.data(), int(j - i));
        i = j;
    }
    XSync(m_display, False);
    const qint64 now = m_scheduler.nowNs();
    for (const auto &change : changes)
        m_reboundNs.insert(change.keycode, now);
    publishForCrashHandler();
}

void XTestKeyboard::publishForCrashHandler()
{
    if (!g_crash.display)
        g_crash.display = XOpenDisplay(nullptr);
    g_crashCount = 0;
    g_crash.symsPerKeycode = m_symsPerKeycode;
    int n = 0;
    for (int kc : m_bindings.boundKeycodes()) {
        if (n >= kMaxCrashKeycodes)
            break;
        g_crash.keycodes[n] = kc;
        for (int c = 0; c < m_symsPerKeycode; ++c)
            g_crash.original[n * kMaxSymsPerKeycode + c] = KeySym(
                m_originalMap.value((kc - m_minKeycode) * m_symsPerKeycode + c));
        ++n;
    }
    g_crashCount = n;
}

void XTestKeyboard::writeKeycode(int keycode, const QList<unsigned long> &syms)
{
    QList<KeySym> copy(syms.begin(), syms.end());
    XChangeKeyboardMapping(m_display, keycode, m_symsPerKeycode, copy.data(), 1);
}

void XTestKeyboard::restoreKeymapNow()
{
    if (!m_display || m_bindings.isEmpty())
        return;
    const qint64 now = m_scheduler.nowNs();
    for (int kc : m_bindings.boundKeycodes()) {
        writeKeycode(kc, m_originalMap.mid((kc - m_minKeycode) * m_symsPerKeycode, m_symsPerKeycode));
        m_reboundNs.insert(kc, now);
    }
    XSync(m_display, False);
    m_bindings.clear();
    g_crashCount = 0;
}

void XTestKeyboard::scheduleRestore()
{
    if (m_restoreTimer)
        m_scheduler.cancel(m_restoreTimer);
    m_restoreTimer = 0;
    if (m_bindings.isEmpty())
        return;
    const qint64 waitNs = m_lastPressNs + kKeepAfterPressNs - m_scheduler.nowNs();
    if (waitNs <= 0) {
        restoreKeymapNow();
        return;
    }
    const quint64 generation = m_restoreGeneration;
    m_restoreTimer = m_scheduler.scheduleNs(waitNs, [this, generation] {
        m_restoreTimer = 0;
        if (generation == m_restoreGeneration)
            restoreKeymapNow();
    });
}

QCoro::Task<> XTestKeyboard::settle(int keycode)
{
    // Only the rebound keycode may be read with the old map: a key whose
    // keysyms did not change types the same either way.
    const auto it = m_reboundNs.constFind(keycode);
    if (it == m_reboundNs.constEnd())
        co_return;
    const qint64 since = m_scheduler.nowNs() - *it;
    if (since < kSettleAfterRebindNs)
        co_await m_scheduler.sleepNs(kSettleAfterRebindNs - since);
}

void XTestKeyboard::tap(Stroke stroke, int modifierKeycode)
{
    if (!m_display || stroke.keycode == 0)
        return;
    if (stroke.shift && m_shiftKeycode)
        XTestFakeKeyEvent(m_display, unsigned(m_shiftKeycode), True, CurrentTime);
    if (modifierKeycode)
        XTestFakeKeyEvent(m_display, unsigned(modifierKeycode), True, CurrentTime);
    XTestFakeKeyEvent(m_display, unsigned(stroke.keycode), True, CurrentTime);
    XTestFakeKeyEvent(m_display, unsigned(stroke.keycode), False, CurrentTime);
    if (modifierKeycode)
        XTestFakeKeyEvent(m_display, unsigned(modifierKeycode), False, CurrentTime);
    if (stroke.shift && m_shiftKeycode)
        XTestFakeKeyEvent(m_display, unsigned(m_shiftKeycode), False, CurrentTime);
    XFlush(m_display);
    m_lastPressNs = m_scheduler.nowNs();
    if (m_keySent)
        m_keySent();
}

QCoro::Task<> XTestKeyboard::typeCodePoint(char32_t cp)
{
    if (cp < 0x20 || cp == 0x7F)
        co_return; // control characters have no key
    const quint32 ks = KeysymBindings::keysymFor(cp);
    if (!strokeFor(ks)) {
        const QList<quint32> one{ks};
        co_await bindAndWait(one);
    }
    const auto stroke = strokeFor(ks);
    if (!stroke)
        co_return; // no spare keycode on this keyboard
    co_await settle(stroke->keycode);
    // The binding may have been given up while we waited.
    const auto now = strokeFor(ks);
    if (!now)
        co_return;
    tap(*now);
    if (m_bindings.keycodeFor(ks))
        m_bindings.touch(now->keycode, m_lastPressNs);
}

QCoro::Task<> XTestKeyboard::typeGrapheme(const QString &grapheme)
{
    if (!m_display || grapheme.isEmpty())
        co_return;
    ++m_restoreGeneration; // a pending restore waits for the run's end again
    if (grapheme == QLatin1String("\n") || grapheme == QLatin1String("\r\n") || grapheme == QLatin1String("\r")) {
        co_await press(platform::Key::Return);
        co_return;
    }
    if (grapheme == QLatin1String("\t")) {
        co_await press(platform::Key::Tab);
        co_return;
    }
    // Bind what the whole cluster lacks in one change: one keymap reload and
    // one settling wait instead of one per code point.
    const QList<uint> scalars = grapheme.toUcs4();
    QList<quint32> missing;
    for (char32_t cp : scalars) {
        const quint32 ks = KeysymBindings::keysymFor(cp);
        if (cp >= 0x20 && cp != 0x7F && !strokeFor(ks) && !missing.contains(ks))
            missing.append(ks);
    }
    if (!missing.isEmpty())
        co_await bindAndWait(missing);
    for (qsizetype i = 0; i < scalars.size(); ++i) {
        // Sent in one burst, the parts of a cluster reach some editors out
        // of order or not at all (a joined emoji sequence comes out taken
        // apart); spaced, an editor that is not busy keeps them together.
        // Where it still does not, the engine pastes the cluster whole.
        if (i > 0)
            co_await m_scheduler.sleepNs(kClusterPartSpacingNs);
        co_await typeCodePoint(char32_t(scalars.at(i)));
    }
    followPlan(grapheme);
    bindAhead();
}

void XTestKeyboard::followPlan(const QString &grapheme)
{
    // Typing mostly follows the prepared text, with detours (typos,
    // corrections) that do not: look for the grapheme a little ahead.
    for (qsizetype i = m_planCursor; i < m_plan.size() && i < m_planCursor + 8; ++i) {
        if (m_plan.at(i) == grapheme) {
            m_planCursor = i + 1;
            return;
        }
    }
}

void XTestKeyboard::bindAhead()
{
    // With more distinct characters than spare keycodes, bindings are made
    // while waiting for the next key, not right before it; a binding whose
    // key may still be on its way is never given up here.
    QList<quint32> coming;
    for (qsizetype i = m_planCursor; i < m_plan.size() && i < m_planCursor + kLookaheadGraphemes; ++i) {
        for (char32_t cp : m_plan.at(i).toUcs4()) {
            const quint32 ks = KeysymBindings::keysymFor(cp);
            if (cp >= 0x20 && cp != 0x7F && !strokeFor(ks) && !coming.contains(ks))
                coming.append(ks);
        }
    }
    if (coming.isEmpty())
        return;
    // Nearest first, as far as keycodes are free or idle long enough; what
    // would need a wait is left to a later key or to the key itself.
    const qint64 now = m_scheduler.nowNs();
    applyChanges(m_bindings.plan(coming, [&](int keycode) {
        const qint64 last = m_bindings.lastPressedNs(keycode);
        return last == KeysymBindings::kNever || now - last >= kKeepAfterPressNs;
    }));
}

QCoro::Task<> XTestKeyboard::press(platform::Key key)
{
    if (!m_display)
        co_return;
    const int keycode = XKeysymToKeycode(m_display, keysymOf(key));
    co_await settle(keycode);
    tap(Stroke{keycode, false});
}

QCoro::Task<> XTestKeyboard::shortcut(platform::Shortcut shortcut)
{
    if (!m_display)
        co_return;
    const KeySym ks = shortcut == platform::Shortcut::SelectAll ? XK_a
                      : shortcut == platform::Shortcut::Copy    ? XK_c
                                                                : XK_v;
    const int keycode = XKeysymToKeycode(m_display, ks);
    co_await settle(keycode);
    tap(Stroke{keycode, false}, m_controlKeycode);
}

void XTestKeyboard::finish()
{
    ++m_restoreGeneration;
    scheduleRestore();
}

void XTestKeyboard::releaseAll()
{
    if (!m_display)
        return;
    // Nothing is held between calls (every key goes down and up at once),
    // but a modifier may be left down by a call that never finished.
    for (int kc : {m_shiftKeycode, m_controlKeycode})
        if (kc)
            XTestFakeKeyEvent(m_display, unsigned(kc), False, CurrentTime);
    XFlush(m_display);
    ++m_restoreGeneration;
    scheduleRestore();
}

int XTestKeyboard::backspacePresses(const QString &stretch)
{
    return toolkits::backspacePresses(stretch, m_focusedToolkit ? m_focusedToolkit() : Toolkit::Unknown);
}

int XTestKeyboard::arrowPresses(const QString &stretch) { return toolkits::arrowPresses(stretch); }

} // namespace qv::linuxdesktop
