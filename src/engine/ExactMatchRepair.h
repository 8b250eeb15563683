#pragma once

#include "engine/ClipboardRead.h"
#include "engine/FieldCheck.h"
#include "engine/KeyOutput.h"
#include "platform/Element.h"

#include <QCoro/QCoroTask>
#include <QString>

#include <optional>

namespace qv::engine {

class TypingEngine;

// Makes a field that the run owns hold exactly an intended text, with the
// smallest visible edit: the differing middle retyped in place, else the
// field's end rewritten from the keyboard, else the whole text replaced
// (only when the field still holds about what it should).
//
// Every select-then-delete checks the selection first (read back through
// accessibility, and through the clipboard when allowed), and every
// delete-then-type pair asks the stop flag once before its first key and
// then runs to its end, so a stop never leaves text deleted and not retyped.
// `expectedCurrent` is what the caller believes the field holds; a whole
// text is wiped only when the field's real content is close to it.
class ExactMatchRepair {
public:
    explicit ExactMatchRepair(TypingEngine &engine);

    QCoro::Task<> finalizeExactMatch(QString targetText, StopFlag stopFlag, platform::Element element,
                                     std::optional<QString> expectedCurrent);
    // True when the field's end was rewritten (and not found wrong).
    QCoro::Task<bool> keyboardTailFixIfLikely(QString currentText, QString targetText, StopFlag stopFlag);
    QCoro::Task<> replaceAllText(QString newText, StopFlag stopFlag, platform::Element element,
                                 std::optional<QString> expectedCurrent);
    // True when the replacement was made and not found wrong.
    QCoro::Task<bool> replaceAllTextViaKeyboard(QString newText, StopFlag stopFlag,
                                                std::optional<QString> expectedCurrent);

    // The field's text through accessibility: three reads of the element,
    // then the focused element, then the focused element after asking it to
    // take the focus.
    QCoro::Task<std::optional<QString>> readLiveText(platform::Element element);
    // The whole field through select-all and copy; the text stays selected.
    QCoro::Task<ClipboardRead> readAll(StopFlag stopFlag);
    // Sets the selection and reads it back until it holds (writes may land
    // late); false when it cannot be set or never shows.
    QCoro::Task<bool> selectConfirmed(platform::TextRange range, platform::Element element);

    // Whether the last select-all may still stand (no key has collapsed it).
    bool wholeFieldMaySelected() const { return m_wholeSelected; }
    // Whether the last exact-match repair replaced (or tried to replace)
    // the whole text: the caller does not try it a second time, its cost
    // grows with the text.
    bool wholeTextReplaced() const { return m_wholeReplaced; }

    // A stretch repaired on its own costs at most this many keys, and at
    // most this many stretches are repaired one by one; beyond either the
    // field is repaired as a whole.
    static constexpr int kStretchKeyLimit = 40;
    static constexpr int kStretchLimit = 24;
    // Stretches that do not take before the rest are given up.
    static constexpr int kStretchFailureLimit = 2;
    // At most this many characters the field left out of (or broke up in)
    // one edit are pasted in; more is not a character the keys cannot give.
    static constexpr int kDroppedLimit = 4;

private:
    bool stopped(const StopFlag &stopFlag) const { return stopFlag && stopFlag(); }
    // Whether the field's differences can be repaired stretch by stretch.
    static bool stretchesFit(const FieldComparison &compared);
    // Each differing stretch selected and retyped in place, the last first
    // so the earlier ones keep their offsets, each read back before the
    // next. True when every one landed; one that does not is not tried
    // again, and a second ends it.
    QCoro::Task<bool> repairStretches(QString live, FieldComparison compared, StopFlag stopFlag,
                                      platform::Element element);
    enum class RangeEdit { Landed, NotLanded, NotSelected, Mismatch, Stopped };
    // `range` of the field (read as `now`) selected, checked through the
    // clipboard when allowed, deleted and `replacement` typed in its place;
    // Landed when the field reads back with the edit made.
    QCoro::Task<RangeEdit> replaceRange(QString now, platform::TextRange range, QString replacement, StopFlag stopFlag,
                                        platform::Element element);
    // After keys typed over [from, to) of `expected` were not read back:
    // waits until the field's text stops changing (keys may still be on
    // their way); when it then holds `expected` with only whole characters
    // of that stretch left out or broken up (a field that refuses some
    // characters as keys, or takes the parts of a joined emoji apart), each
    // is put in whole by paste, over the parts that landed, and read back.
    // True when the field then reads `expected`.
    QCoro::Task<bool> settleOrPasteDropped(QString expected, qsizetype from, qsizetype to, StopFlag stopFlag,
                                           platform::Element element);
    QCoro::Task<> tailFixOrReplace(QString live, QString targetText, StopFlag stopFlag, platform::Element element,
                                   std::optional<QString> expectedCurrent, QString note);

    TypingEngine &m_engine;
    bool m_wholeSelected = false;
    bool m_wholeReplaced = false;
};

} // namespace qv::engine
