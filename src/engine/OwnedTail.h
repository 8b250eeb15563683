#pragma once

#include "platform/Element.h"

#include <QCoro/QCoroTask>
#include <QString>

#include <optional>

namespace qv {
class Scheduler;
}

namespace qv::engine {

class ElementAccess;

// Which end of the run's typed buffer its keys may still delete. Every edit
// of the run deletes with Backspace in front of the caret, so it is safe
// only while the caret stands right after the run's own keys. The user may
// click elsewhere (into their own text) at any time and typing goes on
// there: then nothing typed before that is within reach any more, and a
// Backspace would take the user's character instead.
//
// Before the run deletes, the field is read: the caret must be collapsed
// with the text after it as it was (the text that followed the insertion
// point) and the field as long as the run's keys made it; else (the user
// typed in front, behind or at the caret, or the caret moved) the units to
// delete must stand in front of the caret with a longer stretch of the
// run's own text before them. Failing both, the caret has moved: the
// deletion is refused and everything typed so far stays out of reach for
// the rest of the run; keys typed from there on may be taken back again.
//
// A field whose text or caret cannot be read gives no evidence either way
// (nothing is refused); nor does a run that is not watched (a field it owns
// whole holds no text of the user's to protect).
class OwnedTail {
public:
    OwnedTail(ElementAccess &elements, Scheduler &scheduler) : m_elements(elements), m_scheduler(scheduler) {}

    // Watches `field` for this run: `before` and `after` are the field's
    // text in front of and after the insertion point at set-up.
    void begin(platform::Element field, std::optional<QString> before, std::optional<QString> after);
    void end();
    bool watching() const { return m_watching; }

    // Whether the run may delete, with Backspace at the caret, `typed` (the
    // run's buffer as the field holds it now) from `from` to its end,
    // followed by `pending` (keys sent but not yet in the buffer). Keys
    // still on their way are waited for (bounded). Asked before every
    // character deleted: a click may come at any time. The caret alone is
    // read first: where the run's keys took it, nothing else is needed.
    QCoro::Task<bool> mayDelete(QString typed, int from, QString pending);

    // At the end of the typing: whether the run's text `typed` stands in
    // one piece with the caret after it: the text after the caret as it was
    // and the field as long as the run's keys made it, the caret never seen
    // away (keys on their way waited for). When not, the caret is recorded
    // as having left.
    QCoro::Task<bool> caretStillAfter(QString typed);

    // The first buffer offset the run may still delete.
    int ownedFrom() const { return m_ownedFrom; }
    // Whether the caret was seen away from the run's text.
    bool caretLeft() const { return m_caretLeft; }

    // Units of the run's own text that must stand in front of the caret
    // when the text after it changed.
    static constexpr int kContextUnits = 24;

private:
    enum class Verdict { Owned, NotYet, Moved };
    Verdict judge(const QString &buffer, int from, const QString &pending);

    ElementAccess &m_elements;
    Scheduler &m_scheduler;
    platform::Element m_field;
    bool m_watching = false;
    std::optional<QString> m_before;
    std::optional<QString> m_afterCaret;
    int m_ownedFrom = 0;
    bool m_caretLeft = false;
    // What a refusal found after the caret, taken as the new baseline.
    std::optional<QString> m_seenAfter;
    std::optional<qint64> m_seenCaret;
    std::optional<QString> m_seenText;
    // The field's length besides the run's text (buffer and pending keys)
    // while the caret stands after it.
    qsizetype m_lengthBesides = 0;
    // Where the caret stands, less the run's text in front of it (buffer
    // and pending keys), while it stands after that text; absent: unknown.
    std::optional<qint64> m_caretBase;
};

} // namespace qv::engine
