#pragma once

#include <QCoro/QCoroTask>
#include <QString>

namespace qv::platform {

enum class Key { Backspace, Return, Tab, Left, Right, Up, Down };
enum class Shortcut { SelectAll, Copy, Paste };

// Synthetic key events to the frontmost application. Every call is awaited:
// a real backend may have to wait (for a keymap change to take) before a
// press reaches the application.
class Keyboard {
public:
    virtual ~Keyboard() = default;

    // A hint at the start of a run: the characters this text will need.
    virtual QCoro::Task<> prepare(const QString &text) = 0;
    // Types one grapheme cluster as it stands ("\n" is a Return, "\t" a Tab).
    virtual QCoro::Task<> typeGrapheme(const QString &grapheme) = 0;
    virtual QCoro::Task<> press(Key key) = 0;
    virtual QCoro::Task<> shortcut(Shortcut shortcut) = 0;
    // The run is over: a backend may release what it set up for it.
    virtual void finish() = 0;
    // Releases every key still held and undoes temporary keymap changes
    // (quit, crash, stop).
    virtual void releaseAll() = 0;

    // Backspace presses that delete `stretch`, the text right before the
    // caret, in the focused element. Editors differ: some remove a grapheme
    // per press, others one code point.
    virtual int backspacePresses(const QString &stretch) = 0;
    // Left or Right presses that cross `stretch` (one per grapheme).
    virtual int arrowPresses(const QString &stretch) = 0;
};

} // namespace qv::platform
