#include "SessionFixture.h"

#include "study/Counters.h"
#include "study/SessionStats.h"
#include "study/StudySetMerge.h"
#include "study/StudySetOrder.h"
#include "study/StudyStats.h"

#include <gtest/gtest.h>

#include <limits>

using namespace qv;
using namespace qv::study;
using qv::study::test::dated;
using qv::study::test::makeSet;

namespace {
StudyItem card(qint64 right, qint64 wrong) { return test::makeCard("t", "d", right, wrong); }

QStringList titles(const QList<StudyProject> &sets)
{
    QStringList out;
    for (const StudyProject &p : sets)
        out << p.title;
    return out;
}
} // namespace

TEST(StudyStatsTest, ClassesCountsAndRatiosByCountersAlone)
{
    EXPECT_EQ(masteryClass(card(5, 1)), MasteryClass::weak);
    EXPECT_EQ(masteryClass(card(-3, 0)), MasteryClass::none);
    const StudyItem weak = card(1, 2);
    const SessionStats s(makeSet({card(2, 0), card(3, 0), card(1, 0), weak, card(0, 0)}));
    EXPECT_EQ(s.masteredCount, 2);
    EXPECT_EQ(s.learningCount, 1);
    EXPECT_EQ(s.weakCount, 1);
    EXPECT_EQ(s.weakIds, QSet<QUuid>{weak.id});
    EXPECT_DOUBLE_EQ(s.progress, 0.4);
    EXPECT_EQ(s.progressPercent(), 40);
    EXPECT_EQ(SessionStats(makeSet({})).progressPercent(), 0);
    EXPECT_EQ(SessionStats(makeSet({card(2, 0)})).progressPercent(), 100);

    // The library's figures: a weak card's right answers still set the streak.
    EXPECT_EQ(StudyStats(makeSet({})).ratio, 0.0);
    const StudyStats mixed(makeSet({card(7, 1), card(3, 0), card(0, 0)}));
    EXPECT_EQ(mixed.mastered, 1);
    EXPECT_EQ(mixed.streak, 7);
    EXPECT_DOUBLE_EQ(mixed.ratio, 1.0 / 3.0);
}

TEST(StudyStatsTest, PercentagesAreComputedInIntegers)
{
    // 29 × 100 / 50 is 58; the floating-point product 57.99… would give 57.
    QList<StudyItem> items;
    for (int i = 0; i < 50; ++i)
        items << card(i < 29 ? 2 : 0, 0);
    EXPECT_EQ(SessionStats(makeSet(items)).progressPercent(), 58);
    for (qint64 n = 1; n <= 200; ++n)
        for (qint64 k = 0; k <= n; ++k)
            ASSERT_EQ(percentOf(k, n), int(k * 100 / n));
    EXPECT_EQ(percentOf(2, 3), 66);
    EXPECT_EQ(percentOf(5, 0), 0);
    EXPECT_EQ(percentOf(std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::max()), 100);
}

TEST(StudySetOrderTest, NewestFirstAndStable)
{
    const QList<StudyProject> sets{dated("a", "2025-01-01T10:00:00Z"), dated("b", "2025-03-01T10:00:00Z"),
                                   dated("c", "2025-01-01T10:00:00Z"), dated("d", "2025-03-01T10:00:00Z"),
                                   dated("e", "2025-02-01T10:00:00Z")};
    EXPECT_EQ(titles(newestFirst(sets)), (QStringList{"b", "d", "e", "a", "c"}));
    EXPECT_EQ(resumeCandidate(sets)->title, QString("b"));
    EXPECT_FALSE(resumeCandidate({}));
    const QList<StudyProject> tied{dated("x", "2025-01-01T10:00:00Z"), dated("y", "2025-01-01T10:00:00Z")};
    EXPECT_EQ(resumeCandidate(tied)->title, QString("x"));
}

TEST(StudySetMergeTest, SessionCopyBringsOnlyProgress)
{
    StudyProject stored = makeSet({card(0, 0), card(1, 0), card(0, 0)});
    stored.title = "Edited title";
    stored.grade = "12";
    stored.items[0].term = "new term";
    StudyProject session = stored;
    session.title = "Old title";
    session.grade = "9";
    session.items[0].term = "old term";
    session.items[0].correctCount = 3;
    session.items[0].isStarred = true;
    session.items[0].lastReviewedAt = QDateTime::fromString("2025-05-05T05:05:05Z", Qt::ISODate);
    session.items[1].incorrectCount = 4;
    session.items.removeAt(2);      // the session doesn't know a new card
    StudyItem deleted = card(9, 9); // and holds one deleted meanwhile
    session.items.append(deleted);
    session.updatedAt = QDateTime::fromString("2025-06-01T00:00:00Z", Qt::ISODate);

    const StudyProject merged = mergeSessionCopy(stored, session);
    EXPECT_EQ(merged.title, QString("Edited title"));
    EXPECT_EQ(merged.grade, QString("12"));
    ASSERT_EQ(merged.items.size(), 3);
    EXPECT_EQ(merged.items[0].term, QString("new term"));
    EXPECT_EQ(merged.items[0].correctCount, 3);
    EXPECT_TRUE(merged.items[0].isStarred);
    EXPECT_EQ(merged.items[0].lastReviewedAt, session.items[0].lastReviewedAt);
    EXPECT_EQ(merged.items[1].incorrectCount, 4);
    EXPECT_EQ(merged.items[2], stored.items[2]);
    EXPECT_EQ(merged.updatedAt, session.updatedAt);
}
