#include "engine/TypingRun.h"

#include "core/Text.h"
#include "engine/StoppedRunAccount.h"

// The end of a run stopped while it typed, apart from the loop and the end
// of the text.

namespace qv::engine {

QCoro::Task<> TypingRun::settleStop()
{
    const RunParams &p = m_params;
    ElementAccess &elements = m_engine.elements();
    if (m_state.buffer.isEmpty() && m_state.typedCount == p.start && !m_state.strayKey) {
        // Not a key typed: the job stands where it stood, its typos with it.
        m_engine.m_lastStop = StoppedRun{p.start, p.options.earlierTypos};
        co_return;
    }
    if (p.probeElement.isNull())
        co_return;
    // A key still on its way lands (or is lost to another window) before
    // the field is read: only what stands there counts as typed.
    co_await elements.waitForKeysTaken(p.probeElement);
    const std::optional<QString> live = elements.readFocusedText(p.probeElement);
    if (!live || !elements.isTextWhole(p.probeElement))
        co_return;
    StopFacts facts{.live = *live,
                    .insertionStart = p.insertionStartHint,
                    .textBefore = p.textBeforeInsertion,
                    .textAfter = p.textAfterInsertion,
                    .buffer = m_state.buffer,
                    .deferredErrors = m_state.deferredErrors,
                    .start = p.start,
                    .typedCount = m_state.typedCount,
                    .earlierTypos = p.options.earlierTypos,
                    .strayKey = m_state.strayKey,
                    .earlierLength = withoutLeftOut(text::graphemes(p.text).mid(0, p.start).join(QString())).size()};
    for (const DeferredError &typo : facts.earlierTypos)
        facts.earlierLength += typo.wrong.size() - typo.correct.size();
    const std::optional<StoppedRun> stopped = accountForStop(facts);
    if (!stopped) {
        m_engine.debug(QStringLiteral("stop: the text around the typed keys changed, where they stand is not known"));
        co_return;
    }
    m_engine.debug(QStringLiteral("stop: landed=%1 counted=%2 typos=%3")
                       .arg(stopped->resumeIndex)
                       .arg(m_state.typedCount)
                       .arg(stopped->typos.size()));
    m_engine.m_lastStop = stopped;
    if (stopped->resumeIndex != m_state.typedCount) {
        m_state.typedCount = stopped->resumeIndex;
        progress();
    }
}

} // namespace qv::engine
