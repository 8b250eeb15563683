#include "platform/sim/TextEditing.h"
#include "platform/sim/TextTransforms.h"

#include <QList>

#include <gtest/gtest.h>

using qv::platform::TextRange;
using qv::sim::BackspaceUnit;
using qv::sim::EditState;
namespace ed = qv::sim::editing;

namespace {
const QString family = QString::fromUtf8(
    "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7"); // 3 people, 2 ZWJ
const QString flag = QString::fromUtf8("\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA");      // D E
const QString thumbs = QString::fromUtf8("\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD");    // thumbs up + skin tone
const QString eAcute = QString::fromUtf8("e\xCC\x81");                           // e + combining acute

EditState caretAtEnd(const QString &text) { return {text, {text.size(), 0}}; }

int pressesToEmpty(EditState s, BackspaceUnit unit)
{
    int n = 0;
    while (!s.text.isEmpty() && n < 100) {
        ed::backspace(s, unit);
        ++n;
    }
    return n;
}
} // namespace

TEST(TextEditing, GraphemeBackspaceRemovesWholeClusters)
{
    for (const QString &cluster : {family, flag, thumbs, eAcute, QStringLiteral("\r\n")}) {
        EditState s = caretAtEnd("a" + cluster);
        ed::backspace(s, BackspaceUnit::Grapheme);
        EXPECT_EQ(s, caretAtEnd("a")) << cluster.toStdString();
    }
}

TEST(TextEditing, CodePointBackspaceRemovesOneScalarAtATime)
{
    // family: 5 scalars (3 emoji, 2 joiners); flag 2; thumbs 2; e + accent 2.
    for (auto [cluster, presses] : {std::pair{family, 5}, {flag, 2}, {thumbs, 2}, {eAcute, 2}})
        EXPECT_EQ(pressesToEmpty(caretAtEnd(cluster), BackspaceUnit::CodePoint), presses) << cluster.toStdString();

    // One press never splits a surrogate pair.
    EditState s = caretAtEnd("x" + thumbs);
    ed::backspace(s, BackspaceUnit::CodePoint);
    EXPECT_EQ(s.text, QString("x") + thumbs.left(2));
    EXPECT_EQ(s.selection, (TextRange{3, 0}));

    // The accent goes first and leaves the bare letter.
    s = caretAtEnd(eAcute);
    ed::backspace(s, BackspaceUnit::CodePoint);
    EXPECT_EQ(s.text, "e");
}

TEST(TextEditing, BackspaceDeletesTheSelectionOrNothingAtTheStart)
{
    EditState s{"Hello world", {5, 6}};
    ed::backspace(s, BackspaceUnit::CodePoint);
    EXPECT_EQ(s, (EditState{"Hello", {5, 0}}));

    s = {"abc", {0, 0}};
    ed::backspace(s, BackspaceUnit::Grapheme);
    EXPECT_EQ(s, (EditState{"abc", {0, 0}}));

    // A caret in the middle deletes the cluster before it, not the last one.
    s = {"a" + flag + "b", {1 + flag.size(), 0}};
    ed::backspace(s, BackspaceUnit::Grapheme);
    EXPECT_EQ(s, (EditState{"ab", {1, 0}}));
}

TEST(TextEditing, TypingReplacesTheSelectionAndPutsTheCaretAfterIt)
{
    EditState s{"The cat sat", {4, 3}};
    ed::replaceSelection(s, "dog");
    EXPECT_EQ(s, (EditState{"The dog sat", {7, 0}}));
    ed::replaceSelection(s, family);
    EXPECT_EQ(s.text, "The dog" + family + " sat");
    EXPECT_EQ(s.selection.location, 7 + family.size());

    // A selection past the end is cut to the text before it is replaced.
    s = {"abc", {2, 10}};
    ed::replaceSelection(s, "Z");
    EXPECT_EQ(s, (EditState{"abZ", {3, 0}}));
}

TEST(TextEditing, ArrowsCollapseSelectionsAndStepOverClusters)
{
    const QString t = "a" + family + flag + eAcute;
    EditState s{t, {1, 3}};
    ed::moveLeft(s);
    EXPECT_EQ(s.selection, (TextRange{1, 0}));
    s.selection = {1, 3};
    ed::moveRight(s);
    EXPECT_EQ(s.selection, (TextRange{4, 0}));

    s.selection = {0, 0};
    QList<qint64> stops;
    for (int i = 0; i < 6; ++i) {
        ed::moveRight(s);
        stops.append(s.selection.location);
    }
    const qint64 f = family.size();
    EXPECT_EQ(stops, (QList<qint64>{1, 1 + f, 1 + f + 4, t.size(), t.size(), t.size()}));
    for (int i = 0; i < 3; ++i)
        ed::moveLeft(s);
    EXPECT_EQ(s.selection, (TextRange{1, 0}));

    // From inside a cluster (a caret written through accessibility), Left
    // goes to the cluster's start.
    s.selection = {3, 0};
    ed::moveLeft(s);
    EXPECT_EQ(s.selection, (TextRange{1, 0}));
}

TEST(TextEditing, UpAndDownByLineKind)
{
    EditState s{"one\ntwo long\nx", {6, 0}}; // "tw|o long"
    ed::moveUp(s, false);
    EXPECT_EQ(s.selection, (TextRange{0, 0}));
    ed::moveDown(s, false);
    EXPECT_EQ(s.selection, (TextRange{s.text.size(), 0}));

    s.selection = {6, 0};
    ed::moveUp(s, true);
    EXPECT_EQ(s.selection, (TextRange{2, 0}));
    ed::moveUp(s, true);
    EXPECT_EQ(s.selection, (TextRange{0, 0}));

    s.selection = {11, 0}; // "two lon|g": column 7, the last line has one character
    ed::moveDown(s, true);
    EXPECT_EQ(s.selection, (TextRange{s.text.size(), 0}));
    s.selection = {2, 0};
    ed::moveDown(s, true);
    EXPECT_EQ(s.selection, (TextRange{6, 0}));
}

TEST(TextEditing, RangesAreClampedOrWidenedToClusters)
{
    for (auto [in, out] : {std::pair{TextRange{-3, 5}, TextRange{0, 5}},
                           {TextRange{8, 5}, TextRange{8, 2}},
                           {TextRange{12, 1}, TextRange{10, 0}},
                           {TextRange{2, -1}, TextRange{2, 0}}})
        EXPECT_EQ(ed::clampRange(in, 10), out) << in.location << "+" << in.length;

    const QString t = "a" + family + "b";
    EXPECT_EQ(ed::snapToGraphemes(t, {2, 1}), (TextRange{1, family.size()}));
    EXPECT_EQ(ed::snapToGraphemes(t, {0, 1}), (TextRange{0, 1}));
}

TEST(TextTransforms, CapitalisesOnlyAtSentenceStarts)
{
    using qv::sim::transforms::capitalizeSentenceStart;
    // "Done." without a space yet could be "3.5" or "e.g".
    for (auto [before, typed, want] : {std::tuple{"", "h", "H"},
                                       {"Done. ", "t", "T"},
                                       {"Really?\n", "y", "Y"},
                                       {"  ", "a", "A"},
                                       {"Done.", "t", "t"},
                                       {"the ", "c", "c"},
                                       {"", ".", "."},
                                       {"", "E", "E"}})
        EXPECT_EQ(capitalizeSentenceStart(before, typed), want) << before << "|" << typed;
}
