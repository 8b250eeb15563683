#include "model/RecordCoding.h"

#include "ModelFixtures.h"
#include "core/Random.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

// One random damage to a valid file: flip, insert, delete, duplicate or cut.
QByteArray corrupt(QByteArray data, Random &random)
{
    const int edits = int(random.uniformInt(1, 4));
    static const char kInteresting[] = "[]{}\",:\\0-9eE.+ntfu";
    for (int e = 0; e < edits && !data.isEmpty(); ++e) {
        const qsizetype at = random.uniformInt(0, data.size() - 1);
        switch (random.uniformInt(0, 5)) {
        case 0:
            data[at] = char(random.uniformInt(0, 255));
            break;
        case 1:
            data.insert(at, kInteresting[random.uniformInt(0, sizeof kInteresting - 2)]);
            break;
        case 2:
            data.remove(at, random.uniformInt(1, 8));
            break;
        case 3:
            data.truncate(at);
            break;
        case 4: {
            const qsizetype len = random.uniformInt(1, 40);
            data.insert(at, data.mid(random.uniformInt(0, data.size() - 1), len));
            break;
        }
        default:
            data[at] = kInteresting[random.uniformInt(0, sizeof kInteresting - 2)];
            break;
        }
    }
    return data;
}

// Decodes `damaged`: a failure must say why, and what is accepted must be
// written and read back to the same bytes. Answers whether it was accepted.
template <typename Decode, typename Encode>
bool acceptedWhole(const QByteArray &damaged, Decode decode, Encode encode, const QDateTime &now)
{
    const auto first = decode(damaged, now);
    if (!first.ok()) {
        EXPECT_FALSE(first.error.isEmpty());
        return false;
    }
    const auto written = encode(*first.records, nullptr);
    EXPECT_TRUE(written);
    const auto again = decode(written.value_or(QByteArray()), now);
    EXPECT_TRUE(again.ok());
    EXPECT_EQ(again.ok() ? encode(*again.records, nullptr) : std::nullopt, written);
    return true;
}

} // namespace

// Whatever the damage, decoding either fails with a message or gives records
// that can be written, and what is written reads back to the same bytes; it
// never crashes or half-reads.
TEST(DecoderCorruption, RandomDamageNeverCrashesAndNeverHalfReads)
{
    const QDateTime now = utc(2026, 12, 6, 10, 15, 0);
    Project other = essayOne();
    other.id = uuid("11111111-2222-3333-4444-555555555555");
    other.text = QString::fromUtf8("π \xF0\x9F\x98\x80 \"x\"\n");
    const QByteArray projects = *coding::encodeProjects({essayOne(), other});
    StudyProject empty;
    empty.id = uuid("66666666-2222-3333-4444-555555555555");
    empty.updatedAt = now;
    const QByteArray sets = *coding::encodeStudyProjects({cellsSet(), empty});

    SeededRandom random(20261206);
    int accepted = 0;
    for (int round = 0; round < 4000 && !HasFailure(); ++round) {
        accepted += acceptedWhole(corrupt(projects, random), coding::decodeProjects, coding::encodeProjects, now);
        accepted += acceptedWhole(corrupt(sets, random), coding::decodeStudyProjects, coding::encodeStudyProjects, now);
    }
    // Some damage (inside a string, say) leaves a readable file: both paths ran.
    EXPECT_GT(accepted, 0);
}

TEST(DecoderCorruption, DeepNestingIsRejectedWithoutExhaustingTheStack)
{
    const QByteArray deep = QByteArray(200000, '[') + QByteArray(200000, ']');
    EXPECT_FALSE(coding::decodeProjects(deep, QDateTime::currentDateTimeUtc()).ok());
    const QByteArray deepObject = "[{\"id\":" + QByteArray(200000, '[') + QByteArray(200000, ']') + "}]";
    EXPECT_FALSE(coding::decodeStudyProjects(deepObject, QDateTime::currentDateTimeUtc()).ok());
}
