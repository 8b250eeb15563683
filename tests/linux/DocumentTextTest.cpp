#include "platform/linux/DocumentText.h"

#include <gtest/gtest.h>

namespace qv::linuxdesktop {
namespace {

using Break = DocumentText::Break;
using platform::TextRange;

// A word processor's paragraphs: every paragraph, empty ones too, is a line.
DocumentText paragraphs()
{
    return DocumentText({{QStringLiteral("Title"), Break::None},
                         {QString(), Break::Always},
                         {QStringLiteral("First."), Break::Always},
                         {QStringLiteral("Second."), Break::Always}});
}

TEST(DocumentText, JoinsTheTextAsTheDocumentsOwnCopyGivesIt)
{
    struct Case {
        const char *name;
        QList<DocumentText::Part> parts;
        QString whole;
    };
    const QList<Case> cases = {
        {"paragraphs, with an empty one",
         {{QStringLiteral("Title"), Break::None},
          {QString(), Break::Always},
          {QStringLiteral("First."), Break::Always},
          {QStringLiteral("Second."), Break::Always}},
         QStringLiteral("Title\n\nFirst.\nSecond.")},
        // A rich-text field: the first line is the field's own text, each
        // further line a block; a blank line is a block holding one break.
        {"blocks of a rich-text field",
         {{QStringLiteral("Title"), Break::None},
          {QStringLiteral("\n"), Break::IfNeeded},
          {QStringLiteral("First."), Break::IfNeeded},
          {QStringLiteral("Second."), Break::IfNeeded}},
         QStringLiteral("Title\n\nFirst.\nSecond.")},
        {"a first block adds no break", {{QStringLiteral("Only"), Break::IfNeeded}}, QStringLiteral("Only")},
        {"inline objects run on",
         {{QStringLiteral("see "), Break::None},
          {QStringLiteral("link"), Break::None},
          {QStringLiteral(" here"), Break::None}},
         QStringLiteral("see link here")},
        {"an empty document", {{QString(), Break::None}}, QString()},
    };
    for (const Case &c : cases) {
        const DocumentText document(c.parts);
        EXPECT_EQ(document.text(), c.whole) << c.name;
        for (int i = 0; i < document.partCount(); ++i)
            EXPECT_EQ(document.text().mid(document.partStart(i), document.partLength(i)), c.parts.at(i).text)
                << c.name << " part " << i;
    }
}

TEST(DocumentText, MapsPositionsBothWays)
{
    const DocumentText document = paragraphs(); // "Title\n\nFirst.\nSecond."
    EXPECT_EQ(document.toWhole(2, 3), 10);
    EXPECT_EQ(document.toWhole(3, 99), document.text().size()) << "clamped to the part";

    const auto at = [&](qint64 offset) { return document.toPart(offset); };
    ASSERT_TRUE(at(0));
    EXPECT_EQ(at(0)->part, 0);
    ASSERT_TRUE(at(5)) << "the end of a paragraph is in it";
    EXPECT_EQ(at(5)->part, 0);
    EXPECT_EQ(at(5)->offset, 5);
    ASSERT_TRUE(at(6)) << "the empty paragraph";
    EXPECT_EQ(at(6)->part, 1);
    ASSERT_TRUE(at(7));
    EXPECT_EQ(at(7)->part, 2);
    EXPECT_EQ(at(7)->offset, 0);
    ASSERT_TRUE(at(document.text().size())) << "the end of the text is in the last part";
    EXPECT_EQ(at(document.text().size())->part, 3);
    EXPECT_FALSE(at(-1));
    EXPECT_FALSE(at(document.text().size() + 1));

    // Parts that touch: the boundary belongs to the later part.
    const DocumentText inline_({{QStringLiteral("ab"), Break::None}, {QStringLiteral("cd"), Break::None}});
    ASSERT_TRUE(inline_.toPart(2));
    EXPECT_EQ(inline_.toPart(2)->part, 1);
}

TEST(DocumentText, SelectsOnlyWithinOnePart)
{
    const DocumentText document = paragraphs();
    const auto first = document.rangeInOnePart(TextRange{8, 4}); // "irst"
    ASSERT_TRUE(first);
    EXPECT_EQ(first->first, 2);
    EXPECT_EQ(first->second, (TextRange{1, 4}));
    const auto caret = document.rangeInOnePart(TextRange{14, 0});
    ASSERT_TRUE(caret) << "a caret at a paragraph's start";
    EXPECT_EQ(caret->first, 3);
    EXPECT_FALSE(document.rangeInOnePart(TextRange{3, 6})) << "spans two paragraphs";
    EXPECT_FALSE(document.rangeInOnePart(TextRange{0, document.text().size()})) << "the whole document";
    EXPECT_FALSE(document.rangeInOnePart(TextRange{-1, 2}));

    const DocumentText blocks({{QStringLiteral("a"), Break::None}, {QStringLiteral("b"), Break::IfNeeded}});
    EXPECT_FALSE(blocks.rangeInOnePart(TextRange{1, 1})) << "the added line break belongs to no part";
}

// A document kept between reads is used again only while no event says it
// changed in a way its next read does not catch.
TEST(DocumentChanges, KeepsADocumentOnlyWhileEventsSayNothingItsNextReadMisses)
{
    struct Case {
        const char *name;
        bool duringAssembly;
        QByteArray type;
        std::optional<int> wholePart;
        bool outdated;
        QList<int> reread;
    };
    const QList<Case> cases = {
        {"a caret move", false, "object:text-caret-moved", 2, true, {}},
        {"the focus moves", false, "object:state-changed:focused", std::nullopt, false, {}},
        {"a window is activated", false, "window:activate", std::nullopt, false, {}},
        // Typed before the caret moved on to another paragraph.
        {"a paragraph's text", false, "object:text-changed:insert", 2, false, {2}},
        {"the root's text", false, "object:text-changed:delete", std::nullopt, true, {}},
        {"paragraphs come or go", false, "object:children-changed:add", 2, true, {}},
        {"an event not known", false, "object:bounds-changed", 2, true, {}},
        // Which part it was cannot be told yet: one already read may have changed.
        {"a paragraph's text while it is put together", true, "object:text-changed:insert", 2, true, {}},
        {"a caret move while it is put together", true, "object:text-caret-moved", std::nullopt, true, {}},
        {"the focus moves while it is put together", true, "object:state-changed:focused", std::nullopt, false, {}},
    };
    for (const Case &c : cases) {
        DocumentChanges changes;
        EXPECT_TRUE(changes.outdated()) << "nothing is kept yet";
        changes.startAssembly();
        if (c.duringAssembly)
            changes.note(c.type, c.wholePart);
        changes.finishAssembly();
        if (!c.duringAssembly)
            changes.note(c.type, c.wholePart);
        EXPECT_EQ(changes.outdated(), c.outdated) << c.name;
        if (!c.outdated) {
            EXPECT_EQ(changes.takeChangedParts(), c.reread) << c.name;
        }
    }
}

// A large document is put together at most once per turn of the event
// loop: what events say meanwhile waits for the next turn.
TEST(DocumentChanges, PutsADocumentTogetherAtMostOncePerTurn)
{
    DocumentChanges changes;
    EXPECT_FALSE(changes.assembledThisTurn());
    changes.startAssembly();
    changes.note("object:text-caret-moved", std::nullopt); // the review's own caret write
    changes.finishAssembly();
    EXPECT_TRUE(changes.assembledThisTurn());
    changes.note("object:children-changed:add", 1);
    EXPECT_TRUE(changes.outdated()) << "kept for the next turn";
    changes.nextTurn();
    EXPECT_FALSE(changes.assembledThisTurn());
    EXPECT_TRUE(changes.outdated());
    changes.startAssembly();
    changes.finishAssembly();
    EXPECT_TRUE(changes.assembledThisTurn());
    EXPECT_FALSE(changes.outdated());
}

TEST(DocumentChanges, RereadsEachChangedPartOnceAndForgetsThemOnAFreshAssembly)
{
    DocumentChanges changes;
    changes.startAssembly();
    changes.finishAssembly();
    for (const int part : {3, 1, 3})
        changes.note("object:text-changed:insert", part);
    EXPECT_EQ(changes.takeChangedParts(), (QList<int>{3, 1}));
    EXPECT_TRUE(changes.takeChangedParts().isEmpty()) << "taken once";

    changes.note("object:text-changed:insert", 4);
    changes.startAssembly(); // the new document reads every part
    changes.finishAssembly();
    EXPECT_TRUE(changes.takeChangedParts().isEmpty());
    EXPECT_FALSE(changes.outdated());
}

} // namespace
} // namespace qv::linuxdesktop
