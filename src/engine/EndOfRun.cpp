#include "engine/EndOfRun.h"

#include "engine/EndReview.h"
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
} // namespace

QCoro::Task<> endReview(TypingEngine &engine, EndReviewArgs args)
{
    const ClipboardPermission permission(engine, args.allowClipboardOps);
    EndReview review(engine, std::move(args));
    co_await review.run();
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
    SegmentVerifier verifier(engine, std::move(args));
    co_await verifier.run();
}

} // namespace qv::engine
