#include "engine/EndOfRun.h"

#include "engine/EndReview.h"
#include "engine/RepairRules.h"
#include "engine/ResumedPrefixRepair.h"
#include "engine/SegmentVerifier.h"
#include "engine/TypingEngine.h"

namespace qv::engine {

namespace {
// The procedures read the clipboard permission from the engine; it is the
// caller's for their duration and given back afterwards.
class ClipboardPermission {
public:
    ClipboardPermission(TypingEngine &engine, bool allowed) : m_engine(engine), m_before(engine.allowClipboardOps)
    {
        engine.allowClipboardOps = allowed;
    }
    ~ClipboardPermission() { m_engine.allowClipboardOps = m_before; }
    ClipboardPermission(const ClipboardPermission &) = delete;
    ClipboardPermission &operator=(const ClipboardPermission &) = delete;

private:
    TypingEngine &m_engine;
    bool m_before;
};

bool stopped(const StopFlag &stopFlag) { return stopFlag && stopFlag(); }

// The field as the repairs left it, compared with what it should hold.
void checkWholeField(TypingEngine &engine, const QString &live, const QString &intended)
{
    if (live != intended)
        engine.reportFieldDiffers(QStringLiteral("the text box holds %1 units where the project has %2")
                                      .arg(live.size())
                                      .arg(intended.size()),
                                  differingCharacters(live, intended));
}

// The run's segment and the text that stood after the insertion point.
void checkSegment(TypingEngine &engine, const QString &live, qint64 start, const QString &target,
                  const std::optional<QString> &after)
{
    const QString from = live.mid(start);
    const QString wanted = target + after.value_or(QString());
    const QString have = after ? from : from.left(target.size());
    if (have != wanted)
        engine.reportFieldDiffers(QStringLiteral("the typed segment at %1 does not read as the project").arg(start),
                                  differingCharacters(have, wanted));
}

void unreadable(TypingEngine &engine)
{
    engine.debug(QStringLiteral("finalCheck: the field cannot be read, not verified"));
}
} // namespace

QCoro::Task<> endReview(TypingEngine &engine, EndReviewArgs args)
{
    const ClipboardPermission permission(engine, args.allowClipboardOps);
    const StopFlag stopFlag = args.stopFlag;
    const platform::Element element = args.element;
    const QString intended = args.intendedText;
    EndReview review(engine, std::move(args));
    co_await review.run();
    if (stopped(stopFlag))
        co_return;
    ExactMatchRepair reader(engine);
    const std::optional<QString> live = co_await reader.readLiveText(element);
    if (!live) {
        unreadable(engine);
        co_return;
    }
    checkWholeField(engine, *live, intended);
}

QCoro::Task<> finalizeInsertedSegment(TypingEngine &engine, SegmentArgs args)
{
    const ClipboardPermission permission(engine, args.allowClipboardOps);
    // The earlier text stands in front of the segment: fixing it first keeps
    // the segment's start true (moved by any change of length) and leaves
    // the caret to the segment check, as on every other run.
    if (!args.earlierText.isEmpty()) {
        ResumedPrefixRepair prefix(engine, args);
        const qint64 moved = co_await prefix.run();
        if (args.insertionStartHint)
            *args.insertionStartHint += moved;
    }
    const StopFlag stopFlag = args.stopFlag;
    const platform::Element element = args.element;
    const QString target = args.targetText;
    const std::optional<QString> after = args.textAfter;
    SegmentVerifier verifier(engine, std::move(args));
    co_await verifier.run();
    if (stopped(stopFlag) || !verifier.segmentStart())
        co_return;
    ExactMatchRepair reader(engine);
    const std::optional<QString> live = co_await reader.readLiveText(element);
    if (!live) {
        unreadable(engine);
        co_return;
    }
    checkSegment(engine, *live, *verifier.segmentStart(), target, after);
}

} // namespace qv::engine
