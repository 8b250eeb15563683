#pragma once

#include "engine/DeferredError.h"
#include "engine/EditGate.h"
#include "engine/EndOfRun.h"
#include "engine/ExactMatchRepair.h"

#include <QCoro/QCoroTask>
#include <QList>
#include <QString>

#include <algorithm>
#include <optional>

namespace qv::engine {

class TypingEngine;

// One character of the earlier text that the field holds as another one.
struct PrefixTypo {
    qint64 offset = 0; // UTF-16, from the start of the earlier text in the field
    QString wrong;     // the grapheme in the field
    QString correct;   // the grapheme of the text
    friend bool operator==(const PrefixTypo &, const PrefixTypo &) = default;
};

// How the stretch of the field in front of a resumed run compares with the
// text the earlier run should have left there.
struct PrefixComparison {
    bool repairable = false; // typos alone, few enough to fix in place
    QList<PrefixTypo> typos; // ascending; empty when the stretch is exact
    QString reason;          // why not repairable
};

// A run that resumes a job in a field that already holds the job's earlier
// text may find typos there that an earlier, stopped run left for a review
// it never reached. This puts them right, one character at a time, before
// the run's own segment is checked: only when the stretch right in front of
// the insertion point reads as the earlier text with a few single-character
// typos. The typos the stopped run handed on are its own and are put right
// whatever their number. Anything else is the user's text (or was edited
// since) and is left as it stands with one diagnostic line; the run then
// does not end Done: the field differs from the project there (said from
// which character), or could not be checked.
//
// Each fix selects exactly the wrong character, confirms the selection (read
// back, and through the clipboard when allowed; a selection that is not
// confirmed is never typed over) and types the right one; the edit gate is
// passed before each fix, and a fix whose key has begun is finished. The
// caret is put back where it stood, moved by any change of length.
class ResumedPrefixRepair {
public:
    // `args.earlierText` is what the field should hold in front of the
    // insertion point; `args` must outlive the repair.
    ResumedPrefixRepair(TypingEngine &engine, const SegmentArgs &args);

    // Answers the change of length (UTF-16) the fixes made in front of the
    // run's segment.
    QCoro::Task<qint64> run();

    // Compares `stretch` (the field in front of the insertion point) with
    // `earlier` grapheme by grapheme: the same number of graphemes, and at
    // most typoLimit(UTF-16 length) that differ besides the `known` typos
    // (offsets in the stretch), which are typos wherever they stand.
    static PrefixComparison compare(const QString &earlier, const QString &stretch,
                                    const QList<DeferredError> &known = {});
    // Units the earlier text takes in the field with the known typos in it.
    static qint64 stretchLength(const QString &earlier, const QList<DeferredError> &known);
    static int typoLimit(qint64 length) { return int(std::max<qint64>(3, length / 50)); }

private:
    QCoro::Task<> fixAll(const QList<PrefixTypo> &typos, qint64 stretchStart, qint64 fieldLength);
    // False when the fix could not be made safely (skipped); `stop` set when
    // the remaining fixes must not run.
    QCoro::Task<bool> fixOne(PrefixTypo typo, qint64 at, qint64 fieldLength, bool &stop);
    QCoro::Task<> restoreCaret();
    // Leaves the earlier text as it stands and tells the run; with the
    // field's text in front of the insertion point (`before`), it was read
    // and is not the earlier text, else it was not checked.
    void leave(const QString &why, const std::optional<QString> &before = std::nullopt);
    bool stopped() const { return m_args.stopFlag && m_args.stopFlag(); }

    TypingEngine &m_engine;
    const SegmentArgs &m_args;
    const QString &m_earlier;
    EditGate m_gate;
    ExactMatchRepair m_repair;
    platform::Element m_target;
    std::optional<platform::TextRange> m_caretBefore;
    bool m_selectionMoved = false;
    qint64 m_delta = 0;
    int m_fixed = 0;
};

} // namespace qv::engine
