#pragma once

#include <QCoro/QCoroTask>
#include <QString>

#include <functional>

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

// The non-character keys the engine presses. `A` and `C` are only sent with
// the command modifier (select all, copy); `Left`, `Up` and `Down` exist for
// completeness, the caret moves press their arrows through ElementAccess.
enum class SpecialKey { Delete, ReturnKey, Tab, Left, Right, Up, Down, A, C };

// Key output to the frontmost application and the engine's fixed-spacing
// waits. Every operation is awaited: a backend may need time before a press
// reaches the application. Parameters of the coroutines are taken by value so
// that nothing dangles across a suspension.
class KeyOutput {
public:
    KeyOutput(platform::Keyboard &keyboard, Scheduler &scheduler, Random &random);

    // One press of a special key, no modifiers. `A` and `C` type the letter.
    QCoro::Task<> sendKey(SpecialKey key);
    // One grapheme cluster as one key event: "\n" is Return, "\t" is Tab,
    // anything else (also "\r\n" or an emoji sequence) goes out whole.
    QCoro::Task<> sendKey(QString grapheme);
    // `A` with the command modifier selects all, `C` copies; other keys send
    // nothing.
    QCoro::Task<> sendCommandShortcut(SpecialKey key);

    // Deletes `stretch`, the text right before the caret, with Backspace
    // presses 83 ms apart (the wait follows the last press too). The number
    // of presses comes from the platform: editors remove a grapheme or a code
    // point per press, never a UTF-16 unit. The stop flag is asked before
    // every press; an empty stretch sends nothing and does not ask it.
    QCoro::Task<> backspaceChars(QString stretch, StopFlag stopFlag);

    // Waits `ms` in slices of at most 200 ms, asking the stop flag before
    // each slice (never after the last). Zero, negative and NaN return at
    // once without asking. Callers that need to know whether it was stopped
    // ask the flag themselves.
    QCoro::Task<> sleepWithStop(double ms, StopFlag stopFlag);

    // Types `text` grapheme by grapheme as it stands, each followed by a
    // fresh 30–70 ms wait; the stop flag is asked before every key.
    QCoro::Task<> retypeText(QString text, StopFlag stopFlag);

    // Presses needed to delete or cross a stretch in the focused element.
    int backspacePresses(const QString &stretch);
    int arrowPresses(const QString &stretch);

    platform::Keyboard &keyboard() { return m_keyboard; }

    static constexpr double kBackspaceSpacingMs = 83;
    static constexpr double kStopSliceMs = 200;

private:
    platform::Keyboard &m_keyboard;
    Scheduler &m_scheduler;
    Random &m_random;
};

} // namespace qv::engine
