#include "engine/WholeCluster.h"

#include "core/Scheduler.h"
#include "engine/RepairRules.h"
#include "engine/TypingEngine.h"

namespace qv::engine {

WholeCluster::WholeCluster(TypingEngine &engine) : m_engine(engine) {}

QCoro::Task<> WholeCluster::before()
{
    m_before.reset();
    ElementAccess &elements = m_engine.elements();
    // Keys still on their way would land after this read and be taken for
    // part of the cluster.
    co_await elements.waitForKeysTaken({});
    const std::optional<QString> text = elements.readFocusedText();
    const std::optional<platform::TextRange> range = elements.selectedTextRange();
    if (!text || !range || range->length != 0 || range->location < 0 || range->location > text->size())
        co_return;
    m_before = text;
    m_caret = range->location;
}

QCoro::Task<> WholeCluster::after(QString cluster)
{
    if (!m_before)
        co_return;
    const QString before = *m_before;
    const qint64 caret = m_caret;
    m_before.reset();
    ElementAccess &elements = m_engine.elements();
    // A field may also drop every part: then the text stays as it was.
    for (double waited = 0; waited < kLandMs && elements.readFocusedText() == before; waited += kPollMs)
        co_await m_engine.scheduler().sleep(kPollMs);
    // The parts may come one after another.
    co_await elements.waitForKeysTaken({});
    const std::optional<QString> now = elements.readFocusedText();
    const QString wanted = before.left(caret) + cluster + before.mid(caret);
    if (!now || *now == wanted)
        co_return;
    // Only what this key typed is touched: the text on both sides of it
    // must read as it did.
    const qint64 landedLength = now->size() - before.size();
    if (landedLength < 0 || !now->startsWith(QStringView(before).left(caret))
        || !now->endsWith(QStringView(before).mid(caret)))
        co_return;
    // Compared on its own: never a character the key did not type.
    const std::optional<QList<BrokenClusters>> broken = brokenClusters(now->mid(caret, landedLength), cluster);
    if (!broken || broken->size() != 1)
        co_return;
    if (!m_engine.allowClipboardOps) {
        m_engine.debug(QStringLiteral("joinedCluster: taken apart as keys, left for the end check (no clipboard use)"));
        co_return;
    }
    const BrokenClusters &stretch = broken->first();
    const qint64 at = caret + stretch.at;
    const bool placed = stretch.length == 0 ? co_await elements.placeCaretConfirmed(at, {})
                                            : co_await elements.writeSelectionConfirmed({at, stretch.length}, {});
    const QString fixed = now->left(at) + stretch.clusters + now->mid(at + stretch.length);
    const bool pasted = placed
                        && co_await m_engine.pasteText(stretch.clusters, fixed, {}, at + stretch.clusters.size(), {});
    m_engine.debug(pasted ? QStringLiteral("joinedCluster: taken apart as keys, pasted whole")
                          : QStringLiteral("joinedCluster: taken apart as keys, the paste did not take"));
}

} // namespace qv::engine
