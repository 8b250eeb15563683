#include "engine/EndOfRun.h"

#include "engine/TypingEngine.h"

namespace qv::engine {

// Stand-ins until the review and the segment verification land: the field
// is left as typed.
QCoro::Task<> endReview(TypingEngine &engine, EndReviewArgs args)
{
    engine.debug(QStringLiteral("endReview: not available, field left as typed"));
    (void)args;
    co_return;
}

QCoro::Task<> finalizeInsertedSegment(TypingEngine &engine, SegmentArgs args)
{
    engine.debug(QStringLiteral("finalizeInsertedSegment: not available, field left as typed"));
    (void)args;
    co_return;
}

} // namespace qv::engine
