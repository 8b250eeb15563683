// Line breaks and tabs typed into real fields that cannot take them: a
// browser text area whose Tab moves to the page's next field, and a GTK
// one-line entry. No key reaches another field, the field ends with the
// text without the characters left out, and the run says how many.
#include "EngineRunFixture.h"

namespace qv::e2e {
namespace {

using Kind = TargetApp::Kind;
using Refusal = engine::RunKeyGate::Refusal;

const QString kText = QStringLiteral("Tabs:\tone\ttwo\nLines: three\tfour\nend.");

QString without(QString text, const QString &characters)
{
    for (const QChar c : characters)
        text.remove(c);
    return text;
}

using FieldKeys = EngineRunTest;

TEST_F(FieldKeys, ABrowserTextAreaWhoseTabMovesOnKeepsEveryKeyAndLeavesTheTabsOut)
{
    auto page = startTarget(Kind::Chromium);
    const Element area = focusView(*page);
    ASSERT_TRUE(area);

    const RunResult r = type({.text = kText, .target = area, .seed = 24});
    ASSERT_TRUE(r.finished);
    expectPlainPhases(r);
    const QString expected = without(kText, QStringLiteral("\t"));
    EXPECT_EQ(r.intended.toStdString(), expected.toStdString());
    EXPECT_EQ(settledDump(*page, QStringLiteral("view"), expected), expected);
    // The Tab that moved on reached the input, which the run left at once.
    EXPECT_EQ(page->dump(QStringLiteral("entry")), QString());
    EXPECT_EQ(page->dump(QStringLiteral("rich")), QString());
    EXPECT_EQ(r.leftOut.tabs, 3);
    EXPECT_EQ(r.leftOut.tabsWhy, Refusal::FocusLeft);
    EXPECT_EQ(r.leftOut.returns, 0);
    EXPECT_TRUE(r.debug.contains(QStringLiteral("leftOut: returns=0 tabs=3 spaces=0")));
}

// GTK says its entry has one line; Qt does not say, but its edits of
// several lines do: in both, neither key is typed.
struct OneLineCase {
    Kind kind;
    Refusal tabsWhy;
    Refusal returnsWhy;
};

class OneLineEntry : public FieldKeys, public ::testing::WithParamInterface<OneLineCase> {};

TEST_P(OneLineEntry, TakesNoLineBreakOrTabAndNoOtherFieldGetsAKey)
{
    const OneLineCase c = GetParam();
    auto app = startTarget(c.kind);
    const Element entry = focusView(*app, QStringLiteral("entry"), platform::Roles::TextField);
    ASSERT_TRUE(entry);

    const RunResult r = type({.text = kText, .target = entry, .seed = 24});
    ASSERT_TRUE(r.finished);
    expectPlainPhases(r);
    // Each line break a space, so the words around it stay apart.
    const QString expected = without(kText, QStringLiteral("\t")).replace(QLatin1Char('\n'), QLatin1Char(' '));
    EXPECT_EQ(r.intended.toStdString(), expected.toStdString());
    EXPECT_EQ(settledDump(*app, QStringLiteral("entry"), expected), expected);
    EXPECT_EQ(app->dump(QStringLiteral("view")), QString());
    EXPECT_EQ(r.leftOut.tabs, 3);
    EXPECT_EQ(r.leftOut.returns, 2);
    EXPECT_EQ(r.leftOut.tabsWhy, c.tabsWhy);
    EXPECT_EQ(r.leftOut.returnsWhy, c.returnsWhy);
}

INSTANTIATE_TEST_SUITE_P(Toolkits, OneLineEntry,
                         ::testing::Values(OneLineCase{Kind::Gtk, Refusal::OneLineBox, Refusal::OneLineBox},
                                           OneLineCase{Kind::Qt, Refusal::OneLineBox, Refusal::OneLineBox}),
                         [](const ::testing::TestParamInfo<OneLineCase> &info) {
                             return std::string(info.param.kind == Kind::Gtk ? "Gtk" : "Qt");
                         });

} // namespace
} // namespace qv::e2e
