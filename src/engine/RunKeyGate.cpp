#include "engine/RunKeyGate.h"

#include "core/Scheduler.h"
#include "engine/TypingEngine.h"

namespace qv::engine {

using platform::Attribute;
using platform::Element;

namespace {
// A box whose role names a one-line entry is one, whether or not it says
// how many lines it has: the first Return would press its dialog's default
// button or send its chat message, so none is ever posted to find out.
bool isOneLineEntry(ElementAccess &elements, const Element &field)
{
    namespace Roles = platform::Roles;
    const std::optional<QString> role = elements.readStringAttribute(field, Attribute::Role);
    return role && (*role == Roles::TextField || *role == Roles::SearchField || *role == Roles::SecureTextField);
}
} // namespace

RunKeyGate::RunKeyGate(TypingEngine &engine) : m_engine(engine) {}

void RunKeyGate::begin(Run run)
{
    m_run = std::move(run);
    m_gate.emplace(m_engine, m_run.requiredPid, m_run.stopFlag, m_run.pauseFlag, m_run.onPhase);
    m_gate->setFocusChecks(m_run.focusChecks);
    m_held = false;
    m_tab = {};
    m_return = {};
    m_watched = {};
    m_followed = {};
    setResumePhase(RunPhase::Typing);
}

void RunKeyGate::end()
{
    m_gate.reset();
    m_run = {};
    m_watched = {};
}

void RunKeyGate::setResumePhase(RunPhase phase)
{
    m_resumePhase = phase;
    if (m_gate)
        m_gate->setResumePhase(phase);
}

RunKeyGate::Refusal RunKeyGate::refusal(const QString &character) const
{
    const LineKey &line = character == QLatin1String("\t")   ? m_tab
                          : character == QLatin1String("\n") ? m_return
                                                             : LineKey{};
    return line.verdict == Verdict::LeftOut ? line.why : Refusal::None;
}

void RunKeyGate::phase(RunPhase name)
{
    if (m_run.onPhase)
        m_run.onPhase(name);
}

QCoro::Task<KeySent> RunKeyGate::admit(std::optional<SpecialKey> textKey)
{
    if (!m_gate)
        co_return KeySent::Posted;
    if (m_held)
        co_return KeySent::Held;
    if (textKey && lineKey(*textKey).verdict == Verdict::LeftOut)
        co_return KeySent::LeftOut;
    if (m_gate->blocked() && !co_await m_gate->pass()) {
        m_held = true;
        co_return KeySent::Held;
    }
    if (!textKey || lineKey(*textKey).verdict != Verdict::Unknown)
        co_return KeySent::Posted;

    // The first Return or Tab: what does the field say about itself?
    LineKey &line = lineKey(*textKey);
    ElementAccess &elements = m_engine.elements();
    const Element field = elements.focusedElement();
    const std::optional<bool> multiLine = elements.readBoolAttribute(field, Attribute::MultiLine);
    if (multiLine == false || (!multiLine && isOneLineEntry(elements, field))) {
        line = {Verdict::LeftOut, Refusal::OneLineBox};
        co_return KeySent::LeftOut;
    }
    if (*textKey == SpecialKey::ReturnKey && multiLine == true) {
        line.verdict = Verdict::Taken;
        co_return KeySent::Posted;
    }
    // Not told (or a Tab, which many boxes of several lines pass on): watch
    // what this one does.
    m_watched = field;
    // Keys typed before it may still be on their way: the key is judged
    // against what the field holds once they have landed.
    if (!field.isNull())
        co_await elements.waitForKeysTaken(field);
    m_watchedText = field.isNull() ? std::nullopt : elements.readFocusedText(field);
    m_watchedSelection = field.isNull() ? std::nullopt : elements.selectedTextRange(field);
    co_return KeySent::Posted;
}

QCoro::Task<KeySent> RunKeyGate::posted(SpecialKey textKey)
{
    if (!m_gate || lineKey(textKey).verdict != Verdict::Unknown)
        co_return KeySent::Posted;
    co_return co_await watch(textKey);
}

QCoro::Task<KeySent> RunKeyGate::watch(SpecialKey key)
{
    ElementAccess &elements = m_engine.elements();
    const Element field = m_watched;
    if (field.isNull()) {
        lineKey(key).verdict = Verdict::Taken; // nothing to judge by
        co_return KeySent::Posted;
    }
    for (double waited = 0;; waited += kPollMs) {
        const Element now = elements.focusedElement();
        if (!now.isNull() && !(now == field)) {
            // The user switching applications meanwhile proves nothing.
            if (now.pid() != field.pid())
                co_return KeySent::Posted;
            lineKey(key) = {Verdict::LeftOut, Refusal::FocusLeft};
            const KeySent back = co_await refocus();
            co_return back == KeySent::Held ? KeySent::Held : KeySent::LeftOut;
        }
        if (m_watchedText) {
            const std::optional<QString> text = elements.readFocusedText(field);
            if (text && *text != *m_watchedText)
                break; // it landed in the field
        }
        if (waited >= kWatchMs) {
            if (m_watchedText) { // readable, and it never changed
                lineKey(key) = {Verdict::LeftOut, Refusal::NotTaken};
                co_return KeySent::LeftOut;
            }
            break; // nothing to judge by: taken, as far as anyone can tell
        }
        co_await m_engine.scheduler().sleep(kPollMs);
    }
    lineKey(key).verdict = Verdict::Taken;
    co_return KeySent::Posted;
}

QCoro::Task<KeySent> RunKeyGate::refocus()
{
    ElementAccess &elements = m_engine.elements();
    const Element field = m_watched;
    // Where the Tab took the focus: that box having it proves no click.
    Element tabbedTo = elements.focusedElement();
    bool waited = false;
    for (double elapsed = 0;; elapsed += kPollMs) {
        const Element now = elements.focusedElement();
        if (now == field)
            break;
        if (waited && !now.isNull() && !(now == tabbedTo)) {
            // The user clicked into another text box of the same
            // application: typing goes on there.
            if (now.pid() == field.pid() && elements.isTextInputElementRelaxed(now)) {
                m_followed = now;
                phase(m_resumePhase);
                co_return KeySent::Posted;
            }
            tabbedTo = {}; // the focus moved on: coming back to that box is the user's doing
        }
        if (elapsed < kRefocusMs) {
            if (int(elapsed) % 200 == 0)
                elements.focus(field);
        } else if (!waited) {
            // It does not come back by itself: wait for the user to click it.
            phase(RunPhase::Paused);
            waited = true;
        }
        if (waited && stopped()) {
            m_held = true;
            co_return KeySent::Held;
        }
        co_await m_engine.scheduler().sleep(waited ? 200 : kPollMs);
    }
    // Toolkits select a box's whole text when it gets the focus.
    if (m_watchedSelection)
        elements.setSelectionRange(*m_watchedSelection, field);
    if (waited)
        phase(m_resumePhase);
    co_return KeySent::Posted;
}

} // namespace qv::engine
