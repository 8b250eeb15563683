// A 300-word essay (tabs, quotes, an em dash, an accented word and an
// emoji) typed by the engine into the GTK text view, the Qt plain-text
// editor and the Chromium textarea, with the review at its
// heaviest and humanize on, into an empty field and between existing text,
// and light without humanize into an empty field. Key and caret traffic is real, only the long
// pauses are shortened. Each run must leave exactly the intended text, as
// the target itself reports it, and end with a collapsed caret right after
// the typed text, as the target itself reports it too.
//
// Each case is a ctest entry of its own, in a desktop session of its own,
// so the cases run side by side.
#include "EngineRunFixture.h"

#include "EssayText.h"

namespace qv::e2e {
namespace {

using Kind = TargetApp::Kind;
using platform::TextRange;

struct LengthCase {
    Kind kind;
    bool heavy;   // review heavy with humanize, else light without
    bool segment; // between existing text, else into an empty field
};

std::string caseName(const ::testing::TestParamInfo<LengthCase> &info)
{
    return std::string(kindName(info.param.kind)) + (info.param.heavy ? "HeavyHumanized" : "LightPlain")
           + (info.param.segment ? "BetweenText" : "Empty");
}

class RealLength : public EngineRunTest, public ::testing::WithParamInterface<LengthCase> {};

TEST_P(RealLength, EndsExactWithTheCaretCollapsedAfterTheTypedText)
{
    const LengthCase c = GetParam();
    const QString text = realEssay(300);
    ASSERT_GE(text.split(QLatin1Char(' ')).size(), 300);
    const QString prefix = c.segment ? QStringLiteral("Notes — “before” 🇫🇷: ") : QString();
    const QString suffix = c.segment ? QStringLiteral(" …and the line after it.") : QString();

    auto target = startTarget(c.kind);
    ASSERT_TRUE(target->pid() > 0);
    if (c.segment) {
        ASSERT_TRUE(target->set(QStringLiteral("view"), prefix + suffix));
    }
    const Element view = focusView(*target);
    ASSERT_TRUE(view);
    if (c.segment) {
        ASSERT_TRUE(writeRange(view, {prefix.size(), 0}));
    }

    const RunResult r = type({.text = text,
                              .humanize = c.heavy,
                              .review = c.heavy ? QStringLiteral("heavy") : QStringLiteral("light"),
                              .wpm = 250,
                              .target = view,
                              .seed = c.heavy ? 20261207u : 20261208u,
                              .limitMs = 600000});
    ASSERT_TRUE(r.finished) << "the run did not end in time";
    EXPECT_EQ(r.phases.last(), QStringLiteral("done")) << phasesText(r.phases).toStdString();
    // A text area that passes Tab on leaves the tabs out, and says so.
    if (!c.heavy && r.leftOut.total() == 0) {
        EXPECT_EQ(r.intended.toStdString(), text.toStdString());
    }
    ASSERT_FALSE(r.intended.isEmpty());
    const QString expected = prefix + r.intended + suffix;
    expectViewHolds(*target, expected);

    // No selection left behind: the next key the user presses goes on after
    // the typed text, right after the run and once late writes have landed.
    const qint64 end = prefix.size() + r.intended.size();
    for (int wait : {0, 1000}) {
        SCOPED_TRACE(wait ? "a second later" : "right after the run");
        pump(wait);
        EXPECT_EQ(target->selection(QStringLiteral("view")), (std::pair{end, end})) << "as the target reports it";
        const auto range = ax().read(view, Attribute::SelectedTextRange).value_or(QVariant()).value<TextRange>();
        EXPECT_EQ(std::pair(range.location, range.end()), (std::pair{end, end})) << "as accessibility reads it";
    }
}

INSTANTIATE_TEST_SUITE_P(Essays, RealLength,
                         // Between existing text only with the heavy review:
                         // the light one finds the segment the same way.
                         ::testing::Values(LengthCase{Kind::Gtk, false, false}, LengthCase{Kind::Gtk, true, false},
                                           LengthCase{Kind::Gtk, true, true}, LengthCase{Kind::Qt, false, false},
                                           LengthCase{Kind::Qt, true, false}, LengthCase{Kind::Qt, true, true},
                                           LengthCase{Kind::Chromium, false, false},
                                           LengthCase{Kind::Chromium, true, false},
                                           LengthCase{Kind::Chromium, true, true}),
                         caseName);

} // namespace
} // namespace qv::e2e
