#pragma once

#include "platform/Accessibility.h"
#include "platform/Element.h"
#include "platform/Keyboard.h"

#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariant>

#include <vector>

namespace qv::sim {

// One synthetic key event as the desktop handled it.
struct KeyEvent {
    enum class Kind { Grapheme, Key, Shortcut };
    qint64 sentNs = 0; // when the program sent it
    qint64 timeNs = 0; // when it reached an application (queued keys: when sent)
    Kind kind = Kind::Grapheme;
    QString text;                                                // the grapheme (Kind::Grapheme)
    platform::Key key = platform::Key::Backspace;                // Kind::Key
    platform::Shortcut shortcut = platform::Shortcut::SelectAll; // Kind::Shortcut
    platform::Element target;                                    // the focused element it went to (null when none)
    qint64 pid = 0;                                              // the frontmost application it went to (0 when none)
    bool inTextField = false;                                    // it reached an element that holds text
    bool queued = false;                                         // the application hung and kept it for later
    double timeMs() const { return double(timeNs) / 1e6; }
};

// One accessibility write.
struct WriteEvent {
    qint64 timeNs = 0;
    platform::Element element;
    platform::Attribute attribute = platform::Attribute::Focused;
    QVariant value;
    bool accepted = false;
    double timeMs() const { return double(timeNs) / 1e6; }
};

// One accessibility read or settable query.
struct ReadEvent {
    qint64 timeNs = 0;
    platform::Element element;
    platform::Attribute attribute = platform::Attribute::Role;
    bool settableQuery = false; // an isSettable query rather than a read
    bool answered = false;      // a value (or a settable answer) came back
    double timeMs() const { return double(timeNs) / 1e6; }
};

// One use of the clipboard, by the program, an application or the user.
struct ClipboardEvent {
    enum class Kind {
        ReadItems,
        ReadDirectData,
        ReadPlainText,
        ReadChangeCount, // the program reads
        Clear,
        WriteItems,
        SetDirectData, // the program writes
        AppCopy,       // a copy in an application
        UserChange,    // the user copied elsewhere
    };
    qint64 timeNs = 0;
    Kind kind = Kind::ReadItems;
    qint64 changeCountAfter = 0;
    double timeMs() const { return double(timeNs) / 1e6; }
};

// One call of the program that is no key, a write or a clipboard use.
struct CallEvent {
    qint64 timeNs = 0;
    QString what; // "prepare", "finish", "releaseAll", "openUrl", "requestAccessibility", …
    QString detail;
};

// Everything the desktop saw the program do, for assertions.
struct SimLog {
    std::vector<KeyEvent> keys;
    std::vector<WriteEvent> writes;
    std::vector<ReadEvent> reads;
    std::vector<ClipboardEvent> clipboard;
    std::vector<CallEvent> calls;

    // The graphemes typed, in order, as one text (Return and Tab as "\n", "\t").
    QString typedText() const;
    std::vector<KeyEvent> keysOf(KeyEvent::Kind kind) const;
    int count(platform::Key key) const;
    int count(platform::Shortcut shortcut) const;
    int countClipboard(ClipboardEvent::Kind kind) const;
    // Reads of one attribute (of any element, or of one).
    int countReads(platform::Attribute attribute, const platform::Element &of = {}) const;
    QStringList callsNamed(const QString &what) const; // their details
    void clear();
};

} // namespace qv::sim
