#include "EditorFixture.h"

#include "state/PreferenceKeys.h"

#include <QJsonArray>

using namespace qv;
using namespace qv::editor;
using namespace qv::test;

namespace {

const QJsonObject kFullDraft{{"title", "Kept title"}, {"text", "kept text"}, {"wpm", 130},        {"totalMinutes", 45},
                             {"mode", "time"},        {"grade", "9"},        {"review", "heavy"}, {"humanize", true}};

} // namespace

TEST(EditorDraftCoding, WritesAllEightEntriesAndIgnoresWrongTypes)
{
    const EditorDraft d{"  t ", "x", 80, 20, "time", "10", "light", true};
    const QJsonObject json = d.toJson();
    EXPECT_EQ(json.size(), 8);
    EXPECT_EQ(EditorDraft::restored(json, EditorDraft{}), d);

    const EditorDraft current{"old", "old text", 77, 30, "wpm", "12", "medium", false};
    const QJsonObject wrong{
        {"title", 5},  {"text", QJsonValue()},   {"wpm", "90"},  {"totalMinutes", 12.5}, {"mode", false},
        {"grade", 11}, {"review", QJsonArray()}, {"humanize", 1}};
    // Wrong types keep the current values; the texts come back empty.
    EXPECT_EQ(EditorDraft::restored(wrong, current), (EditorDraft{"", "", 77, 30, "wpm", "12", "medium", false}));

    // Whole numbers stored as 20.0 count; values are not range-checked.
    const EditorDraft odd = EditorDraft::restored(QJsonObject{{"wpm", 20.0}, {"totalMinutes", -4}}, current);
    EXPECT_EQ(odd.wpm, 20);
    EXPECT_EQ(odd.totalMinutes, -4);
}

TEST_F(EditorFixture, TheDraftIsWrittenAtEachMoment)
{
    auto m = model(std::nullopt, false);
    EXPECT_FALSE(draft());
    m->load();
    ASSERT_TRUE(draft());
    EXPECT_EQ(draft()->value("grade").toString(), "12");

    auto lastDraft = [&] { return EditorDraft::restored(*draft(), EditorDraft{}); };
    m->editTitle("T");
    EXPECT_EQ(lastDraft().title, "T");
    m->editText("Body");
    EXPECT_EQ(lastDraft().text, "Body");
    m->chooseGrade("10");
    EXPECT_EQ(lastDraft().grade, "10");
    m->chooseReview("heavy");
    EXPECT_EQ(lastDraft().review, "heavy");
    m->setHumanize(true);
    EXPECT_TRUE(lastDraft().humanize);
    m->applyPreset(SpeedPreset::timedExam);
    EXPECT_EQ(lastDraft().wpm, 95);
    m->chooseMode("time");
    EXPECT_EQ(lastDraft().mode, "time");
    m->moveSlider(44);
    EXPECT_EQ(lastDraft().totalMinutes, 44);
    // Not part of the draft.
    m->editNotes("notes");
    m->chooseTab(1);
    EXPECT_EQ(draft()->size(), 8);
    EXPECT_FALSE(draft()->contains("notes"));
}

TEST_F(EditorFixture, ARestoredDraftIsThenOverriddenByTheSuggestionWhereUnchosen)
{
    prefs.setString(state::keys::defaultPreset, "accurate");
    prefs.setDictionary(EditorDraft::key, kFullDraft);
    auto m = model();
    // Text "kept text": short, so grade 9 and review light; title from the first line.
    EXPECT_EQ(m->text(), "kept text");
    EXPECT_EQ(m->title(), "kept text");
    EXPECT_EQ(m->headerTitle(), "kept text");
    EXPECT_EQ(form(*m), "9/light/time/62/45");
    EXPECT_TRUE(m->humanize());
    EXPECT_FALSE(m->hasManualTitle() || m->hasManualGrade() || m->hasManualReview() || m->hasManualSpeed());
    // The stored record now holds the suggested values.
    EXPECT_EQ(draft()->value("wpm").toInt(), 62);
    EXPECT_EQ(draft()->value("review").toString(), "light");
}

TEST_F(EditorFixture, AnEmptyOrForeignDraftRestoresSafely)
{
    prefs.setDictionary(EditorDraft::key, QJsonObject{});
    auto m = model();
    EXPECT_EQ(m->title(), "");
    EXPECT_EQ(m->headerTitle(), "New Project");
    EXPECT_EQ(form(*m), "12/medium/wpm/77/30");
    EXPECT_FALSE(m->humanize());

    prefs.setString(EditorDraft::key, "not a dictionary");
    auto s = model();
    EXPECT_EQ(s->text(), "");
    EXPECT_EQ(s->mode(), "wpm");
}

TEST_F(EditorFixture, ClosingWithoutSavingKeepsEverythingForTheNextEditor)
{
    {
        auto m = model();
        m->editText("\n  ");
        m->editTitle("Named");
        m->chooseGrade("11");
        m->chooseReview("heavy");
        m->setHumanize(true);
        m->chooseMode("time");
        m->moveSlider(90);
        m->close();
    }
    EXPECT_EQ(closes, 1);
    auto next = model();
    EXPECT_EQ(next->title(), "Named");
    EXPECT_EQ(next->headerTitle(), "Named");
    EXPECT_EQ(next->text(), "\n  ");
    EXPECT_TRUE(next->humanize());
    // Grade and review were the user's before, but the flags are not kept:
    // the suggestion for the restored (blank) text, the stored defaults, replaces them.
    EXPECT_EQ(form(*next), "12/medium/time/77/90");
}
