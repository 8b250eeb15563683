#include "EditorFixture.h"

#include "state/PreferenceKeys.h"

using namespace qv;
using namespace qv::editor;
using namespace qv::test;
using Outcome = EditorModel::SaveOutcome;

namespace {

// A text whose non-whitespace characters number `n`, in ten-letter words.
QString textOfCharacters(int n)
{
    QString out;
    for (int i = 0; i < n; ++i) {
        if (i > 0 && i % 10 == 0)
            out += u' ';
        out += u'a';
    }
    return out;
}

} // namespace

TEST_F(EditorFixture, ANewProjectStartsFromTheStoredDefaultsAndTheAppModeAndLoadingAgainKeepsTheEdits)
{
    auto m = model();
    EXPECT_EQ(form(*m), "12/medium/wpm/77/30");
    EXPECT_EQ(m->headerTitle(), "New Project");
    EXPECT_EQ(m->tab(), 0);
    EXPECT_FALSE(m->hasManualGrade() || m->hasManualReview() || m->hasManualTitle() || m->hasManualSpeed());
    // A blank text still gets a suggestion, without a hint line.
    ASSERT_TRUE(m->smartPreview());
    EXPECT_EQ(m->smartPreview()->essayType, "Draft");
    EXPECT_EQ(m->smartHint(), "");

    // The first editor left a draft, which would win over the defaults.
    prefs.remove(EditorDraft::key);
    prefs.setString(state::keys::defaultGrade, "10");
    prefs.setString(state::keys::defaultReview, "heavy");
    app->setDefaultMode("time");
    EXPECT_EQ(form(*model()), "10/heavy/time/77/30");

    m->editTitle("Mine");
    m->chooseTab(1);
    m->load();
    EXPECT_EQ(m->title(), "Mine");
    EXPECT_EQ(m->tab(), 1);
}

TEST_F(EditorFixture, AnEditedProjectFillsTheFormAndMarksEverythingChosen)
{
    app->setDefaultMode("time");
    auto m = model(storedProject(words(230), 77));
    EXPECT_EQ(m->title(), "Stored");
    EXPECT_EQ(m->headerTitle(), "Stored");
    EXPECT_EQ(form(*m), "10/heavy/wpm/77/3"); // not the app's default mode
    EXPECT_TRUE(m->humanize());
    EXPECT_EQ(m->tab(), 0); // also for a project made from the outline tab
    EXPECT_TRUE(m->hasManualGrade() && m->hasManualReview() && m->hasManualTitle() && m->hasManualSpeed());
    EXPECT_FALSE(m->smartPreview());
    EXPECT_EQ(m->smartHint(), "");

    EXPECT_EQ(model(storedProject(words(250), 100))->totalMinutes(), 3);
    EXPECT_EQ(model(storedProject("", 77))->totalMinutes(), 1);
    EXPECT_EQ(model(storedProject(words(5), 0))->totalMinutes(), 5);
    EXPECT_EQ(model(storedProject(words(5), -3))->totalMinutes(), 5);
}

TEST_F(EditorFixture, ABlankTitleOrTextSavesNothing)
{
    auto m = model();
    m->editText("Some text");
    m->editTitle(" \n ");
    EXPECT_EQ(m->save(), Outcome::incomplete);
    m->editTitle("Title");
    m->editText("\n\t ");
    EXPECT_EQ(m->save(), Outcome::incomplete);
    EXPECT_TRUE(app->projects().isEmpty());
    EXPECT_EQ(closes, 0);
    EXPECT_TRUE(draft());
    EXPECT_EQ(m->saveError(), "");
}

TEST_F(EditorFixture, ANewProjectIsStoredAsTypedAndItsDraftRemoved)
{
    auto m = model();
    m->editText("  Body text here.  ");
    m->editTitle("  Padded  ");
    m->chooseGrade("9");
    m->setHumanize(true);
    m->moveSlider(120);
    ASSERT_TRUE(draft());
    EXPECT_EQ(m->save(), Outcome::saved);
    ASSERT_EQ(app->projects().size(), 1);
    const Project p = app->projects().first();
    EXPECT_FALSE(p.id.isNull());
    EXPECT_EQ(p,
              (Project{p.id, "  Padded  ", "  Body text here.  ", 120, false, true, "9", m->review(), clock.nowUtc()}));
    EXPECT_FALSE(draft());
    EXPECT_EQ(closes, 1);
    // The file holds it too.
    Storage file(AppConfig::inFolders(dir.filePath("Desktop"), dir.filePath("share")), clock);
    EXPECT_EQ(file.loadProjects(), QList<Project>{p});
}

TEST_F(EditorFixture, TimeModeStoresTheDerivedSpeed)
{
    // Saves a new project of `text` after `edit`, and returns what was stored.
    auto saved = [&](const QString &title, const QString &text, const std::function<void(EditorModel &)> &edit) {
        auto m = model();
        m->editTitle(title);
        m->editText(text);
        edit(*m);
        EXPECT_EQ(m->save(), Outcome::saved);
        for (const Project &p : app->projects())
            if (p.title == title)
                return p;
        return Project{};
    };
    const Project a = saved("a", words(100), [](EditorModel &m) { m.applyPreset(SpeedPreset::shortResponse); });
    EXPECT_EQ(a.wpm, 13); // 8 minutes
    EXPECT_FALSE(a.isAI);
    const Project b = saved("b", words(3), [](EditorModel &m) {
        m.chooseMode("time"); // 30 minutes
        m.chooseTab(1);       // made from the outline tab: marked AI
    });
    EXPECT_EQ(b.wpm, 1);
    EXPECT_TRUE(b.isAI);
    // A total of 0 is stored as given and divides as 1.
    EXPECT_EQ(saved("c", words(5),
                    [](EditorModel &m) {
                        m.chooseMode("time");
                        m.moveSlider(0);
                    })
                  .wpm,
              5);
    EXPECT_EQ(saved("d", words(500), [](EditorModel &m) { m.moveSlider(201); }).wpm, 201);
}

TEST_F(EditorFixture, AnEditedProjectKeepsItsIdAndFlagAndLeavesTheDraftAlone)
{
    const Project original = storedProject(words(10), 60);
    EXPECT_TRUE(app->saveProject(original));
    const QJsonObject someDraft{{"title", "Draft title"}, {"text", "draft"}};
    prefs.setDictionary(EditorDraft::key, someDraft);

    auto m = model(original);
    m->editText(words(12));
    m->editTitle("");
    m->editText(words(13)); // a suggestion may now fill the title; still no draft write
    m->chooseReview("light");
    m->chooseGrade("9");
    m->setHumanize(false);
    m->applyPreset(SpeedPreset::essay);
    m->chooseMode("time");
    m->moveSlider(50);
    EXPECT_EQ(draft(), someDraft);
    // A failed write keeps the editor open with its line.
    breakProjectsFile();
    EXPECT_EQ(m->save(), Outcome::failed);
    EXPECT_EQ(closes, 0);
    EXPECT_TRUE(m->saveError().startsWith(EditorModel::kSaveFailedMessage)) << m->saveError().toStdString();
    repairProjectsFile();
    EXPECT_EQ(m->save(), Outcome::saved);
    ASSERT_EQ(app->projects().size(), 1);
    EXPECT_EQ(app->projects().first().id, original.id);
    EXPECT_TRUE(app->projects().first().isAI);
    EXPECT_EQ(app->projects().first().review, "medium");
    EXPECT_EQ(app->projects().first().wpm, 1); // 13 words over 50 minutes
    EXPECT_EQ(draft(), someDraft);

    // The next new-project editor restores that draft.
    EXPECT_EQ(model()->text(), "draft");
}

TEST_F(EditorFixture, AFailedWriteKeepsTheEditorAndDraftAndARetryReplacesTheSameProject)
{
    auto m = model();
    m->editTitle("Essay");
    m->editText("The text.");
    breakProjectsFile();
    EXPECT_EQ(m->save(), Outcome::failed);
    // The line gives the reason and what is kept.
    EXPECT_EQ(m->saveError().section(u' ', 0, 4), "Could not save the project.");
    EXPECT_TRUE(m->saveError().contains(app->storage().projectsFilePath())) << m->saveError().toStdString();
    EXPECT_TRUE(m->saveError().endsWith("Your text stays in this window; saving again writes it."));
    EXPECT_EQ(closes, 0);
    ASSERT_TRUE(draft());
    EXPECT_EQ(draft()->value("text").toString(), "The text.");
    ASSERT_EQ(app->projects().size(), 1);
    const QUuid firstId = app->projects().first().id;

    // Failing again shows the line again; a blank title clears it and stops.
    EXPECT_EQ(m->save(), Outcome::failed);
    EXPECT_EQ(app->projects().size(), 1);
    m->editTitle(" ");
    EXPECT_EQ(m->save(), Outcome::incomplete);
    EXPECT_EQ(m->saveError(), "");
    m->editTitle("Essay");

    repairProjectsFile();
    EXPECT_EQ(m->save(), Outcome::saved);
    EXPECT_EQ(m->saveError(), "");
    ASSERT_EQ(app->projects().size(), 1);
    EXPECT_EQ(app->projects().first().id, firstId);
    EXPECT_FALSE(draft());
    EXPECT_EQ(closes, 1);
}

TEST_F(EditorFixture, SummaryPills)
{
    auto m = model();
    EXPECT_EQ(m->summaryPills(), QStringList({"Grade 12", "Medium", "WPM 77", "Exact Copy", "Manual Draft"}));
    m->applyPreset(SpeedPreset::shortResponse);
    m->setHumanize(true);
    m->chooseTab(1);
    EXPECT_EQ(m->summaryPills(), QStringList({"Grade 12", "Light", "8m", "Humanize", "AI Outline"}));

    // A grade outside the options and an unknown mode, as an old draft may hold.
    prefs.setDictionary(EditorDraft::key, QJsonObject{{"grade", "7"}, {"mode", "turbo"}, {"totalMinutes", 45}});
    prefs.setString(state::keys::defaultGrade, "7"); // so the suggestion keeps it
    auto odd = model();
    EXPECT_EQ(odd->summaryPills().at(0), "Grade 7");
    EXPECT_EQ(odd->summaryPills().at(2), "45m");
    EXPECT_EQ(odd->speedLabel(), "45m TOTAL");
    EXPECT_EQ(odd->sliderRange().minimum, 5);
}

TEST_F(EditorFixture, PresetsSetModeSpeedAndReview)
{
    auto m = model();
    m->moveSlider(100);
    m->applyPreset(SpeedPreset::shortResponse);
    EXPECT_EQ(form(*m), "12/light/time/100/8");
    m->applyPreset(SpeedPreset::essay);
    EXPECT_EQ(form(*m), "12/medium/wpm/77/8");
    m->applyPreset(SpeedPreset::timedExam);
    EXPECT_EQ(form(*m), "12/light/wpm/95/8");
    EXPECT_TRUE(m->hasManualSpeed() && m->hasManualReview());

    // A later text keeps the preset's speed and review.
    prefs.setString(state::keys::defaultPreset, "accurate");
    m->editText(textOfCharacters(6000));
    EXPECT_EQ(m->wpm(), 95);
    EXPECT_EQ(m->review(), "light");
}

TEST_F(EditorFixture, ModeButtonsMarkTheSpeedAndKeepBothValuesAndTheSliderTruncates)
{
    auto m = model();
    m->chooseMode("time");
    EXPECT_EQ(m->speedLabel(), "30m TOTAL");
    EXPECT_TRUE(m->showsHumanAverage());
    EXPECT_EQ(m->sliderRange().maximum, 360);
    m->chooseMode("wpm");
    EXPECT_EQ(m->speedLabel(), "77 WPM");
    EXPECT_FALSE(m->showsHumanAverage());

    auto again = model();
    again->chooseMode("wpm"); // already chosen: only the flag changes
    EXPECT_EQ(again->mode(), "wpm");
    EXPECT_EQ(again->wpm(), 77);
    EXPECT_TRUE(again->hasManualSpeed());
    prefs.setString(state::keys::defaultPreset, "timed");
    again->editText("new text");
    EXPECT_EQ(again->wpm(), 77);

    // The slider truncates and edits the mode's field.
    m = model();
    m->moveSlider(55.9);
    EXPECT_EQ(m->wpm(), 55);
    EXPECT_EQ(m->totalMinutes(), 30);
    EXPECT_TRUE(m->hasManualSpeed());
    m->chooseMode("time");
    m->moveSlider(59.99);
    EXPECT_EQ(m->totalMinutes(), 59);
    EXPECT_EQ(m->wpm(), 55);
    EXPECT_EQ(m->speedLabel(), "59m TOTAL");
}

TEST_F(EditorFixture, SuggestionsFillOnlyWhatTheUserHasNotChosen)
{
    prefs.setString(state::keys::defaultPreset, "timed");
    auto m = model();
    EXPECT_EQ(m->wpm(), 95);

    const QString text = textOfCharacters(2000); // review "medium"
    m->chooseGrade("9");
    m->editText("Therefore the first line is here\n" + text);
    EXPECT_EQ(m->grade(), "9");
    EXPECT_EQ(m->review(), "medium");
    EXPECT_EQ(m->title(), "Therefore the first line is here");
    EXPECT_EQ(m->headerTitle(), "Therefore the first line is here");
    EXPECT_FALSE(m->hasManualReview());
    EXPECT_FALSE(m->hasManualTitle());
    EXPECT_FALSE(m->hasManualSpeed());
    // The hint shows the suggestion even where the user's choice kept it out.
    EXPECT_TRUE(m->smartHint().startsWith("Suggested: Grade "));
    EXPECT_NE(m->smartHint(), QString("Suggested: Grade 9 \u2022 Medium \u2022 Timed"));
    EXPECT_TRUE(m->smartHint().endsWith(QString::fromUtf8(" \u2022 Medium \u2022 Timed")));
    EXPECT_EQ(m->smartPreview()->essayType, "Argumentative");

    // The preset table, and neither minutes nor mode ever change.
    for (auto [preset, speed] :
         {std::pair{"accurate", 62}, {"balanced", 77}, {"other", 77}, {"Timed", 77}, {"timed", 95}}) {
        prefs.setString(state::keys::defaultPreset, preset);
        m->editText(m->text() + "x");
        EXPECT_EQ(m->wpm(), speed) << preset;
    }
    EXPECT_EQ(m->totalMinutes(), 30);
    EXPECT_EQ(m->mode(), "wpm");
}

TEST_F(EditorFixture, TheTitleFollowsTheTextUntilTheUserTypesOne)
{
    auto m = model();
    m->editText("First words\nbody");
    EXPECT_EQ(m->title(), "First words");
    m->editTitle("  Mine  ");
    EXPECT_EQ(m->headerTitle(), "Mine");
    EXPECT_EQ(m->title(), "  Mine  ");
    EXPECT_TRUE(m->hasManualTitle());
    m->editText("Other words\nbody");
    EXPECT_EQ(m->title(), "  Mine  ");

    m->editTitle("   ");
    EXPECT_EQ(m->headerTitle(), "New Project");
    EXPECT_EQ(m->title(), "   ");
    EXPECT_FALSE(m->hasManualTitle());
    m->editText("Third words\nbody");
    EXPECT_EQ(m->title(), "Third words");

    // A blank text suggests no title: the title stays.
    m->editText(" \n ");
    EXPECT_EQ(m->title(), "Third words");
    EXPECT_EQ(m->headerTitle(), "Third words");
}

TEST_F(EditorFixture, LongSessionWarningStartsAt120PredictedMinutes)
{
    auto m = model();
    m->editText(textOfCharacters(47647)); // 118.998 minutes at 400.4 characters a minute
    EXPECT_EQ(m->smartPreview()->predictedMinutes, 119);
    EXPECT_FALSE(m->showsLongSessionWarning());
    m->editText(textOfCharacters(47648));
    EXPECT_EQ(m->smartPreview()->predictedMinutes, 120);
    EXPECT_TRUE(m->showsLongSessionWarning());
}

TEST_F(EditorFixture, OnlyAPdfCanBePicked)
{
    auto m = model();
    m->pdfChosen(QUrl::fromLocalFile("/tmp/notes.txt"));
    EXPECT_FALSE(m->pdfUrl());
    EXPECT_EQ(m->status(), "Only PDF files can be chosen."); // said, not dropped silently
    m->pdfChosen(QUrl::fromLocalFile("/tmp/Reading List.PDF"));
    EXPECT_EQ(m->pdfUrl(), QUrl::fromLocalFile("/tmp/Reading List.PDF"));
    EXPECT_EQ(m->status(), "PDF selected: Reading List.PDF");
    m->pdfChosen(QUrl::fromLocalFile("/tmp/Reading List.pdf.txt"));
    EXPECT_EQ(m->pdfUrl(), QUrl::fromLocalFile("/tmp/Reading List.PDF")); // the earlier pick stays
    EXPECT_EQ(m->status(), "Only PDF files can be chosen.");
    m->pdfChosen(std::nullopt);
    EXPECT_FALSE(m->pdfUrl());
    EXPECT_EQ(m->status(), "PDF selected: ");

    m->editNotes("notes");
    m->chooseTab(0);
    m->chooseTab(1);
    EXPECT_EQ(m->notes(), "notes");
}
