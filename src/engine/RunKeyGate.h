#pragma once

#include "engine/EditGate.h"
#include "engine/EndOfRun.h"
#include "engine/KeyOutput.h"
#include "platform/Element.h"

#include <QCoro/QCoroTask>
#include <QString>

#include <functional>
#include <optional>

namespace qv::engine {

class TypingEngine;

// The gate of a typing run, asked before every key the engine posts: the
// run's application must be in front and (while the run checks the focus)
// the focused element must take text; otherwise the key waits as the edits
// do (EditGate: Paused, then the resume phase) and a stop during that wait
// holds it and every later key of the run.
//
// It also keeps line breaks and tabs out of a field that cannot take them:
// a one-line box never gets Return or Tab (Return would submit, Tab would
// leave it); a box whose role is a one-line entry is one, also when it does
// not say so. Where neither tells, the first Tab (and the first Return) is
// watched: when the focus left the field, it is put back, with
// the caret where it was, before any other key, and that character is left
// out for the rest of the run; so it is when the field's text stayed as it
// was. While the run waits for the user to put the focus back, a click into
// another text box of the same application lets it go on there.
//
// Between begin() and end() the run's rules hold; otherwise every key passes.
class RunKeyGate final : public KeyGate {
public:
    struct Run {
        std::optional<qint64> requiredPid; // absent: no application check
        StopFlag stopFlag;
        PauseFlag pauseFlag;
        PhaseSink onPhase;
        // Whether the focus is judged (absent: always).
        std::function<bool()> focusChecks;
    };
    // Why the field does not take a character.
    enum class Refusal {
        None,
        OneLineBox, // the platform says the field has one line
        FocusLeft,  // the key moved the focus out of the field
        NotTaken,   // the key left the field's text as it was
    };

    explicit RunKeyGate(TypingEngine &engine);

    void begin(Run run);
    void end();
    // Whether a stop held a key: no later key of the run goes out.
    bool held() const { return m_held; }
    // The run's application (absent outside a run or when none was in front).
    std::optional<qint64> requiredPid() const { return m_run.requiredPid; }
    // The phase reported when a held key goes out (Typing at first).
    void setResumePhase(RunPhase phase);

    // Whether the run leaves this character ("\n" or "\t") out, and why.
    Refusal refusal(const QString &character) const;
    // The text box the run went on in after the user clicked into another
    // box of the same application, while typing or after a Tab left the
    // field (null: none). The run's text is then split between two boxes.
    const platform::Element &followedTo() const { return m_followed; }
    // Typing follows a click into another box of the same application.
    void follow(const platform::Element &box) { m_followed = box; }

    QCoro::Task<KeySent> admit(std::optional<SpecialKey> textKey) override;
    QCoro::Task<KeySent> posted(SpecialKey textKey) override;

    // How long a watched key may take to show in the field or move the focus.
    static constexpr double kWatchMs = 600;
    static constexpr double kPollMs = 20;
    // How long the focus may take to come back before the run pauses for it.
    static constexpr double kRefocusMs = 1000;

private:
    enum class Verdict { Unknown, Taken, LeftOut };
    struct LineKey {
        Verdict verdict = Verdict::Unknown;
        Refusal why = Refusal::None;
    };
    LineKey &lineKey(SpecialKey key) { return key == SpecialKey::Tab ? m_tab : m_return; }
    bool stopped() const { return m_run.stopFlag && m_run.stopFlag(); }
    void phase(RunPhase name);
    QCoro::Task<KeySent> watch(SpecialKey key);
    // Puts the focus back on the watched field; Held when a stop came first.
    QCoro::Task<KeySent> refocus();

    TypingEngine &m_engine;
    Run m_run;
    std::optional<EditGate> m_gate; // present between begin() and end()
    RunPhase m_resumePhase = RunPhase::Typing;
    bool m_held = false;

    LineKey m_tab;
    LineKey m_return;
    // The field a watched key went to, as it was before the key.
    platform::Element m_watched;
    platform::Element m_followed;
    std::optional<QString> m_watchedText;
    std::optional<platform::TextRange> m_watchedSelection;
};

} // namespace qv::engine
