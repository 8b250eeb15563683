#pragma once

#include <QCoro/QCoroTask>
#include <QString>

#include <functional>
#include <optional>

namespace qv {
class Random;
class Scheduler;
namespace platform {
class Keyboard;
}
} // namespace qv

namespace qv::engine {

// Polled by every stop-aware wait; true ends the wait or the key run.
using StopFlag = std::function<bool()>;

// The non-character keys the engine presses. `A`, `C` and `V` are only sent
// with the command modifier (select all, copy, paste); `Left`, `Up` and `Down` exist for
// completeness, the caret moves press their arrows through ElementAccess.
enum class SpecialKey { Delete, ReturnKey, Tab, Left, Right, Up, Down, A, C, V };

// What became of one key.
enum class KeySent {
    Posted,  // it went out
    LeftOut, // a Return or Tab the field cannot take: not typed, or taken back by focus
    Held,    // a stop came while the gate held it: the run ends
};

// Asked around every key the engine posts (KeyOutput owns no policy).
class KeyGate {
public:
    virtual ~KeyGate() = default;
    // Right before a key: Posted lets it out. `textKey` is Return or Tab
    // when the key types a line break or a tab, else absent.
    virtual QCoro::Task<KeySent> admit(std::optional<SpecialKey> textKey) = 0;
    // Right after a Return or Tab typed as text went out: LeftOut when the
    // field did not take it (focus left and was put back).
    virtual QCoro::Task<KeySent> posted(SpecialKey textKey) = 0;
};

// Told around every line break typed as text, to take out what the
// application adds of its own when a line ends (the indentation of the
// line carried to the next). `before` comes right before the key, `after`
// once it went out; both only when the line ended may carry indentation.
class LineBreakWatch {
public:
    virtual ~LineBreakWatch() = default;
    virtual QCoro::Task<> before() = 0;
    virtual QCoro::Task<> after() = 0;
};

// Told around a grapheme cluster joined by U+200D from several code points
// (a family emoji), typed as one key: `before` right before it, `after`
// once it went out, to put it back whole where the field took its parts
// apart.
class ClusterWatch {
public:
    virtual ~ClusterWatch() = default;
    virtual QCoro::Task<> before() = 0;
    virtual QCoro::Task<> after(QString cluster) = 0;
};

// Key output to the frontmost application and the engine's fixed-spacing
// waits. Every operation is awaited: a backend may need time before a press
// reaches the application. Parameters of the coroutines are taken by value so
// that nothing dangles across a suspension.
//
// Every key goes through the gate, when one is set: this is the one path
// by which the engine's keys reach another application.
class KeyOutput {
public:
    KeyOutput(platform::Keyboard &keyboard, Scheduler &scheduler, Random &random);

    // The gate every key passes from now on (null: none); it must outlive
    // its use here.
    void setGate(KeyGate *gate) { m_gate = gate; }
    // The watch told around line breaks (null: none); it must outlive its use.
    void setLineBreakWatch(LineBreakWatch *watch) { m_lineBreakWatch = watch; }
    // The watch told around joined emoji sequences (null: none); it must
    // outlive its use.
    void setClusterWatch(ClusterWatch *watch) { m_clusterWatch = watch; }

    // One press of a special key, no modifiers. `A`, `C` and `V` type the letter.
    // `ReturnKey` and `Tab` count as typed text (a line break, a tab).
    QCoro::Task<KeySent> sendKey(SpecialKey key);
    // One grapheme cluster as one key event: "\n" is Return, "\t" is Tab,
    // anything else (also "\r\n" or an emoji sequence) goes out whole.
    QCoro::Task<KeySent> sendKey(QString grapheme);
    // `A` with the command modifier selects all, `C` copies, `V` pastes;
    // other keys send nothing.
    QCoro::Task<KeySent> sendCommandShortcut(SpecialKey key);

    // Deletes `stretch`, the text right before the caret, with Backspace
    // presses 83 ms apart (the wait follows the last press too). The number
    // of presses comes from the platform: editors remove a grapheme or a code
    // point per press, never a UTF-16 unit. The stop flag is asked before
    // every press; an empty stretch sends nothing and does not ask it. A
    // press the gate held ends it.
    QCoro::Task<> backspaceChars(QString stretch, StopFlag stopFlag);

    // Waits `ms` in slices of at most 200 ms, asking the stop flag before
    // each slice (never after the last). Zero, negative and NaN return at
    // once without asking. Callers that need to know whether it was stopped
    // ask the flag themselves.
    QCoro::Task<> sleepWithStop(double ms, StopFlag stopFlag);

    // Types `text` grapheme by grapheme as it stands, each followed by a
    // fresh 30–70 ms wait; the stop flag is asked before every key, and a
    // key the gate held ends it.
    QCoro::Task<> retypeText(QString text, StopFlag stopFlag);

    // The keys that follow are typed after `before`, the field's text in
    // front of the caret (an edit inside the text): whether a Return there
    // may carry indentation is judged from the lines it holds, not from the
    // keys typed last.
    void typingAfter(QStringView before);

    // Presses needed to delete or cross a stretch in the focused element.
    int backspacePresses(const QString &stretch);
    int arrowPresses(const QString &stretch);

    platform::Keyboard &keyboard() { return m_keyboard; }

    static constexpr double kBackspaceSpacingMs = 83;
    static constexpr double kStopSliceMs = 200;

private:
    QCoro::Task<> press(SpecialKey key);
    // Whether the line a Return ends may have its indentation carried to
    // the next one: it starts with a space or a tab, or it is empty after
    // one that did. Judged from the keys typed since the last line break.
    bool lineMayCarryIndent() const;
    void noteTyped(const QString &grapheme);

    platform::Keyboard &m_keyboard;
    KeyGate *m_gate = nullptr;
    LineBreakWatch *m_lineBreakWatch = nullptr;
    ClusterWatch *m_clusterWatch = nullptr;
    // The first character typed on the current line (empty: none yet), and
    // whether the last line with text began with white space.
    QString m_lineStart;
    bool m_lastLineIndented = false;
    Scheduler &m_scheduler;
    Random &m_random;
};

} // namespace qv::engine
