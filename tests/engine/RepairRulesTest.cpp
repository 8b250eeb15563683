// The diff, safety and count rules of the end-of-run repairs.

#include "engine/RepairRules.h"

#include "TestPrinters.h"

#include <gtest/gtest.h>

using namespace qv::engine;

namespace {
QString units(int n, QChar c = 'a') { return QString(n, c); }
QString u8(const char *s) { return QString::fromUtf8(s); }
} // namespace

TEST(RepairRules, MiddleDiffsAndThePathTheyTake)
{
    QString longTarget = units(100);
    longTarget[50] = 'x';
    longTarget[51] = 'y';
    QString longLive = longTarget;
    std::swap(longLive[50], longLive[51]);
    const struct {
        const char *what;
        QString live;
        QString target;
        MiddleDiff diff;
        bool wholeField;
    } cases[] = {
        // The common prefix ends at the first difference.
        {"short, pair 8-9", "abcdefghjik", "abcdefghijk", {8, 1, 2, 2, "ij", 2, 2.0 / 11}, true},
        {"short swap", "abcdefgihjk", "abcdefghijk", {7, 2, 2, 2, "hi", 2, 2.0 / 11}, true},
        {"long swap", longLive, longTarget, {50, 48, 2, 2, "xy", 2, 0.02}, false},
        {"strict prefix", units(90), units(90) + "0123456789", {90, 0, 0, 10, "0123456789", 10, 0.10}, false},
        {"empty field", "", "hello", {0, 0, 0, 5, "hello", 5, 1.0}, true},
    };
    for (const auto &c : cases) {
        const MiddleDiff d = diffMiddle(c.live, c.target);
        EXPECT_EQ(d, c.diff) << c.what << ": prefix " << d.prefix << " suffix " << d.suffix << " ratio " << d.ratio;
        EXPECT_EQ(takesWholeFieldPath(d), c.wholeField) << c.what;
    }
    EXPECT_FALSE(tailFixLikely("", "hello"));
}

TEST(RepairRules, MismatchOf120StaysInPlaceAnd121DoesNot)
{
    const QString target = units(1000, 'b');
    QString live = target;
    live.replace(100, 120, units(120, 'c'));
    EXPECT_EQ(diffMiddle(live, target).mismatch, 120);
    EXPECT_FALSE(takesWholeFieldPath(diffMiddle(live, target)));
    live = target;
    live.replace(100, 121, units(121, 'c'));
    EXPECT_EQ(diffMiddle(live, target).mismatch, 121);
    EXPECT_TRUE(takesWholeFieldPath(diffMiddle(live, target)));
    // Exactly 0.15 stays in place.
    QString t20 = units(20, 'b');
    QString l20 = t20;
    l20.replace(5, 3, "ccc");
    EXPECT_NEAR(diffMiddle(l20, t20).ratio, 0.15, 1e-12);
    EXPECT_FALSE(takesWholeFieldPath(diffMiddle(l20, t20)));
}

TEST(RepairRules, DiffBoundariesNeverSplitACharacter)
{
    // Two emoji that share their high surrogate: the middle is the whole pair.
    const MiddleDiff faces = diffMiddle(u8("I feel 😀 today"), u8("I feel 😃 today"));
    EXPECT_EQ(faces.prefix, 7);
    EXPECT_EQ(faces.liveMid, 2);
    EXPECT_EQ(faces.targetMiddle, u8("😃"));
    // A skin tone added after an emoji: the base joins the middle.
    const MiddleDiff tone = diffMiddle(u8("ok 👍 go"), u8("ok 👍🏽 go"));
    EXPECT_EQ(tone.prefix, 3);
    EXPECT_EQ(tone.liveMid, 2);
    EXPECT_EQ(tone.targetMiddle, u8("👍🏽"));
    // A combining accent in the target only: the base letter is retyped.
    const MiddleDiff accent = diffMiddle("cafe!", u8("cafe\u0301!"));
    EXPECT_EQ(accent.prefix, 3);
    EXPECT_EQ(accent.liveMid, 1);
    EXPECT_EQ(accent.targetMiddle, u8("e\u0301"));
    // Emoji at the end of the suffix side: the low surrogates match but the
    // suffix may not start inside a pair.
    const MiddleDiff tail = diffMiddle(u8("x😀"), u8("y😀"));
    EXPECT_EQ(tail.suffix, 2);
    EXPECT_EQ(tail.liveMid, 1);
    const MiddleDiff lowOnly = diffMiddle(u8("a😀"), u8("a🙀")); // U+1F600 / U+1F640
    EXPECT_EQ(lowOnly.prefix, 1);
    EXPECT_EQ(lowOnly.suffix, 0);
    EXPECT_EQ(commonPrefixLength(u8("😀x"), u8("😃x")), 0);
}

TEST(RepairRules, WipeSafetyLimits)
{
    EXPECT_TRUE(isSafeToWipeAndReplaceAll("", ""));
    EXPECT_FALSE(isSafeToWipeAndReplaceAll("abc", ""));
    EXPECT_FALSE(isSafeToWipeAndReplaceAll("", "abc"));
    const QString intended220 = units(100) + units(120, 'z');
    EXPECT_TRUE(isSafeToWipeAndReplaceAll(units(100), intended220));
    EXPECT_FALSE(isSafeToWipeAndReplaceAll(units(100), intended220 + "z"));
    EXPECT_TRUE(isSafeToWipeAndReplaceAll(units(1000), units(1000) + units(150, 'z')));
    // Little in common at the start: never safe.
    EXPECT_FALSE(isSafeToWipeAndReplaceAll("The user's own letter", "Typed essay text here"));
    // The shared start must cover 84 % of the shorter text.
    EXPECT_TRUE(isSafeToWipeAndReplaceAll(units(84) + units(16, 'q'), units(100)));
    EXPECT_FALSE(isSafeToWipeAndReplaceAll(units(83) + units(17, 'q'), units(100)));
    EXPECT_TRUE(isSafeToWipeAndReplaceAll(units(84) + units(16, 'q'), units(200)));
}

TEST(RepairRules, TailFixNeedsMostOfTheTargetInCommon)
{
    EXPECT_TRUE(tailFixLikely(units(72) + "xx", units(100)));
    EXPECT_FALSE(tailFixLikely(units(71) + "xx", units(100)));
}

TEST(RepairRules, SegmentOverwriteRefusals)
{
    const QString target40 = units(40, 't');
    // Nothing in common at the start and a difference of 30 or of 18.
    EXPECT_TRUE(segmentOverwriteRefused(units(10, 'q'), target40));
    // Difference 18 passes the old rule, but the differing middle is the
    // whole segment: refused too.
    EXPECT_TRUE(segmentOverwriteRefused(units(22, 'q'), target40));
    // One wrong unit, three extra units, an empty segment: repaired.
    QString one = target40;
    one[20] = 'q';
    EXPECT_FALSE(segmentOverwriteRefused(one, target40));
    EXPECT_FALSE(segmentOverwriteRefused(target40.left(20) + "qqq" + target40.mid(20), target40));
    EXPECT_FALSE(segmentOverwriteRefused("", target40));
    // Four units are refused only when above 15 % of the target.
    QString four = target40;
    four.replace(10, 4, "qqqq");
    EXPECT_FALSE(segmentOverwriteRefused(four, target40)); // 4 <= 6
    EXPECT_TRUE(segmentOverwriteRefused(" world", " there"));
    // At the boundary: 6 units are 15 % of 40 and still repaired; 7 are not.
    QString six = target40, seven = target40;
    six.replace(10, 6, units(6, 'q'));
    seven.replace(10, 7, units(7, 'q'));
    EXPECT_FALSE(segmentOverwriteRefused(six, target40));
    EXPECT_TRUE(segmentOverwriteRefused(seven, target40));
    // Above 120 units always refused.
    const QString big = units(2000, 't');
    QString changed = big;
    changed.replace(500, 121, units(121, 'q'));
    EXPECT_TRUE(segmentOverwriteRefused(changed, big));
    changed = big;
    changed.replace(500, 120, units(120, 'q'));
    EXPECT_FALSE(segmentOverwriteRefused(changed, big));
}

TEST(RepairRules, TailRetypeCounts)
{
    EXPECT_EQ(tailRetypeCount(120, 400), 12);
    EXPECT_EQ(tailRetypeCount(90, 400), 12);
    EXPECT_EQ(tailRetypeCount(2000, 2200), 80);
    EXPECT_EQ(tailRetypeCount(2000, 40), 40);
    EXPECT_EQ(tailRetypeCount(600, 800), 50);
}

TEST(RepairRules, DifferingCharactersCountEachTypoOnceWhereverItStands)
{
    const struct {
        const char *live;
        const char *intended;
        int characters;
    } cases[] = {
        {"same text", "same text", 0},
        {"the qu0ck br0wn f0x", "the quick brown fox", 3},  // scattered swaps, not the stretch between
        {"the quick brwn fox", "the quick brown fox", 1},   // one missing
        {"the quicck brown fox", "the quick brown fox", 1}, // one extra
        {"", "abc", 3},
        {"abc", "", 3},
        {"caf\u00e9 \U0001F44D\U0001F3FD", "cafe \U0001F44D", 2}, // whole characters, never units
    };
    for (const auto &c : cases)
        EXPECT_EQ(differingCharacters(QString::fromUtf8(c.live), QString::fromUtf8(c.intended)), c.characters)
            << c.live;
}

// The segment's start found again after the user typed (or deleted) text in
// front of the insertion point during the run; set-up read "Hi. " + "|" +
// " Bye." with the run typing "Text".
TEST(RepairRules, TheSegmentStartFollowsTextChangedInFrontOfIt)
{
    const QString before = "Hi. ";
    const QString after = " Bye.";
    struct Case {
        const char *name;
        QString live;
        std::optional<QString> before, after;
        qint64 start;
    };
    const Case cases[] = {
        {"unchanged", "Hi. Text Bye.", before, after, 4},
        {"typed at the field's start", "Oh! Hi. Text Bye.", before, after, 8},
        {"typed right before the segment", "Hi. wow Text Bye.", before, after, 8},
        {"deleted in front", "i. Text Bye.", before, after, 3},
        // A typo in the segment: found again after what is left of the text before it.
        {"typed at the start, a typo in the segment", "Oh! Hi. Txet Bye.", before, after, 8},
        {"typed at the start, the text after it changed too", "Oh! Hi. Text Bye!", before, after, 8},
        {"nothing read at set-up", "Oh! Hi. Text Bye.", std::nullopt, after, 4},
    };
    for (const Case &c : cases)
        EXPECT_EQ(anchoredSegmentStart(c.live, 4, c.before, c.after, "Text"), c.start) << c.name;
}

TEST(RepairRules, BrokenClustersAreOnlyCharactersLeftOutOrTakenApart)
{
    using List = QList<BrokenClusters>;
    const QString family = u8("👨‍👩‍👧‍👦");
    const QString trio = u8("👩‍👩‍👧");
    const struct {
        const char *what;
        QString landed;
        QString typed;
        std::optional<List> broken;
    } cases[] = {
        {"an emoji left out", u8("a  b"), u8("a 😃 b"), List{{2, 0, u8("😃"), 1}}},
        {"two, at both ends", u8("ab"), u8("😃ab🙂"), List{{0, 0, u8("😃"), 1}, {2, 0, u8("🙂"), 1}}},
        {"a cluster of two code points, whole", u8("x"), u8("x👍🏽"), List{{1, 0, u8("👍🏽"), 1}}},
        {"its base without the modifier", u8("x👍"), u8("x👍🏽"), List{{1, 2, u8("👍🏽"), 1}}},
        // (Joiners left alone join the space before them into one cluster.)
        {"a family's emoji lost, its joiners kept", u8("a \u200D\u200D\u200D b"), u8("a ") + family + u8(" b"),
         List{{1, 4, u8(" ") + family, 2}}},
        {"a family's joiners moved behind its emoji", u8("a 👨👩👧👦\u200D\u200D\u200D b"), u8("a ") + family + u8(" b"),
         List{{2, 11, family, 1}}},
        {"two families side by side, one stretch", u8("\u200D\u200D\u200D\u200D\u200D."), trio + family + u8("."),
         List{{0, 5, trio + family, 2}}},
        {"nothing left out", u8("abc"), u8("abc"), std::nullopt},
        {"something else differs too", u8("abd"), u8("a😃bc"), std::nullopt},
        {"more landed than typed", u8("abcd"), u8("abc"), std::nullopt},
        {"a part the cluster does not hold", u8("a \u200Dx b"), u8("a ") + trio + u8(" b"), std::nullopt},
        {"more joiners than the cluster holds", u8("\u200D\u200D\u200D"), u8("👨\u200D👩\u200D👧"), std::nullopt},
        {"all of it left out", u8(""), u8("😃"), List{{0, 0, u8("😃"), 1}}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(brokenClusters(c.landed, c.typed), c.broken) << c.what;
}

// Where the segment stands at the end and whether it may be repaired there;
// set-up read "Hi. " + "|" + " Bye." with the run typing "Text".
TEST(RepairRules, ASegmentIsRepairedOnlyWhereTheTextAroundItTellsWhereItIs)
{
    const QString before = "Hi. ";
    const QString after = " Bye.";
    struct Case {
        const char *name;
        QString live;
        bool caretMoved; // the run saw its caret away from its text
        SegmentPlace place;
    };
    const Case cases[] = {
        {"unchanged", "Hi. Text Bye.", false, {4, 8, true, true}},
        {"a typo in the segment", "Hi. Txet Bye.", false, {4, 8, true, true}},
        {"keys missing: bounded by the text after it", "Hi. Te Bye.", false, {4, 6, true, true}},
        {"the application corrected a letter after it", "Hi. Txet Bqe.", false, {4, 8, true, true}},
        {"typed at the field's start, exact", "Oh! Hi. Text Bye.", false, {8, 12, false, true}},
        // The user's typing and the run's keys after a click look the same.
        {"typed at the field's start, a typo", "Oh! Hi. Txet Bye.", false, {8, 12, false, false}},
        {"keys after a click into the text in front", "Hxti. Te Bye.", true, {6, 8, false, false}},
        {"keys after a click at the field's start", "xtHi. Te Bye.", true, {6, 8, false, false}},
        {"keys after a click into the text behind", "Hi. Te Bxtye.", true, {4, std::nullopt, true, false}},
        {"a click into the run's own text", "Hi. Txte Bye.", true, {4, 8, true, true}},
        {"typed behind, exact", "Hi. Text Bye, Bo.", false, {4, std::nullopt, true, false}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(placeSegment(c.live, 4, before, after, "Text", c.caretMoved), c.place) << c.name;
    EXPECT_EQ(placeSegment("Oh! Hi. Txet Bye.", 4, std::nullopt, std::nullopt, "Text"),
              (SegmentPlace{4, std::nullopt, true, true}));

    // The report's field: the caret at 20, a click at 3, typing went on there.
    const QString dear = u8("Dear Ann 😀, notes: ");
    const QString yours = u8(" — Yours, Bo 🇫🇷");
    const QString live = "Dea" + QString("er was high.") + dear.mid(3) + "The riv" + yours;
    const SegmentPlace place = placeSegment(live, 20, dear, yours, "The river was high.");
    EXPECT_FALSE(place.mayRepair);
    EXPECT_FALSE(place.frontIntact);
}

// What the segment holds beyond what the run's keys typed is never taken
// by a repair; what the field lost of them is no such text.
TEST(RepairRules, ARepairNeverTakesTextTheKeysDidNotType)
{
    struct Case {
        const char *name;
        QString segment, typed, target;
        bool whole, touches;
    };
    const Case cases[] = {
        {"as typed, a typo to fix", "the win", "the win", "the wind", false, false},
        {"the user's word at the end", u8("the wind и вот"), "the wind", "the wind", false, true},
        {"the user's word in front, a typo the middle reaches back to it", u8("ой the wnd"), "the wnd", "the wind",
         false, true},
        {"the user's word behind, a typo in front", u8("the wnd ой"), "the wnd", "the wind", false, true},
        {"the user's word in front, the whole retyped", u8("ой the wnd"), "the wnd", "the wind", true, true},
        {"a character the field lost part of", u8("a 👨👩 b"), u8("a 👨‍👩 b"), u8("a 👨‍👩 b"), true, false},
        {"a stray key the run could not take back", "the wxind", "the wxind", "the wind", true, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(repairTouchesForeignText(c.segment, c.typed, c.target, c.whole), c.touches) << c.name;
}
