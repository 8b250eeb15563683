#pragma once

#include <QString>

#include <optional>

namespace qv::engine {

// What a read through the clipboard (select, copy, read the plain text)
// found. A copy that did not change the clipboard is told apart from a
// clipboard without plain text: the former would otherwise hand back the
// user's own clipboard text as if it were the field's.
struct ClipboardRead {
    enum class Outcome {
        NotRead,   // stopped, or clipboard use not allowed: no key was sent
        Unchanged, // the copy left the clipboard as it was
        NoText,    // the clipboard changed but holds no plain text
        Text,      // the copied plain text is in `text`
        Withheld,  // no key was sent: an earlier copy may still land
    };
    Outcome outcome = Outcome::NotRead;
    QString text;

    // The text read, for whole-field reads: only a copy that changed the
    // clipboard counts; anything else is "nothing read".
    std::optional<QString> value() const
    {
        return outcome == Outcome::Text ? std::optional<QString>(text) : std::nullopt;
    }

    // For the selection check right before a Delete: true when the read
    // shows the selection is not `expected`. A copy that changed nothing
    // counts as a mismatch, so a selection that did not take never turns into
    // a Delete at the caret. Not read or no plain text: no evidence either
    // way (false). A read withheld while an earlier copy may land counts as
    // a mismatch too: the selection it would have checked is unconfirmed.
    bool contradicts(const QString &expected) const
    {
        return outcome == Outcome::Unchanged || outcome == Outcome::Withheld
               || (outcome == Outcome::Text && text != expected);
    }
};

} // namespace qv::engine
