#include "EditorFixture.h"
#include "theme/ThemeTestSupport.h" // FakeDesktop, screenshotDir

#include "editor/AiOutlineTab.h"
#include "editor/EditorHeader.h"
#include "editor/GlyphButton.h"
#include "editor/NewEssayTab.h"
#include "editor/ProjectEditorView.h"
#include "editor/ProjectEditorWindow.h"
#include "editor/SlideFadeEffect.h"
#include "editor/SmartBriefCard.h"
#include "editor/SmartWhyBubble.h"
#include "editor/SpeedControl.h"
#include "platform/ChooserFolder.h"
#include "state/PreferenceKeys.h"
#include "theme/MotionSettings.h"
#include "theme/NoticeBanner.h"
#include "theme/QVButton.h"
#include "theme/QVLineEdit.h"
#include "theme/QVPillPicker.h"
#include "theme/QVTextEditor.h"
#include "theme/QVToggle.h"
#include "theme/Theme.h"
#include "theme/ThemeEnvironment.h"

#include <QApplication>
#include <QFileDialog>
#include <QGraphicsEffect>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

using namespace qv;
using namespace qv::editor;
using namespace qv::test;

namespace {

// The editor's widgets on the virtual clock, with a scripted file chooser.
struct EditorViewFixture : EditorFixture {
    FakeDesktop desktop;
    MotionSettings motion{&desktop};
    ThemeEnvironment themeEnvironment{scheduler, motion};
    QList<std::function<void(std::optional<QUrl>)>> pendingChoosers;

    EditorServices services()
    {
        EditorServices s;
        s.clock = &clock;
        s.choosePdf = [this](QWidget *, std::function<void(std::optional<QUrl>)> chosen) {
            pendingChoosers << std::move(chosen);
        };
        return s;
    }

    std::unique_ptr<ProjectEditorView> view(std::optional<Project> project = std::nullopt)
    {
        auto v = std::make_unique<ProjectEditorView>(
            *app, std::move(project), [this] { ++closes; }, services());
        v->resize(820, 860);
        return v;
    }

    static void click(QAbstractButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }
};

// A slide-fade takes 0.25 s: about halfway after 0.1 s.
void runFade(VirtualScheduler &scheduler, SlideFadeEffect *effect)
{
    scheduler.advance(100);
    EXPECT_NEAR(effect->progress(), 0.5, 0.05);
    scheduler.advance(150);
}

QVButton *pillOf(QVPillPicker *picker, const QString &label)
{
    for (int i = 0; i < picker->options().size(); ++i)
        if (picker->pill(i)->text() == label)
            return picker->pill(i);
    return nullptr;
}

} // namespace

TEST_F(EditorViewFixture, ANewEditorShowsTheDefaults)
{
    auto v = view();
    const QStringList shown{v->header()->gradePicker()->selection().toString(),
                            v->header()->reviewPicker()->selection().toString(),
                            v->header()->closeButton()->accessibleName(),
                            v->header()->minimizeButton()->accessibleName()};
    EXPECT_EQ(shown, (QStringList{"12", "medium", "Close", "Minimize"}));
    EXPECT_EQ(v->newEssayTab()->speedControl()->slider()->value(), 77);
    EXPECT_FALSE(v->newEssayTab()->speedControl()->humanLabel()->isVisibleTo(v.get()));
    EXPECT_TRUE(v->aiOutlineTab()->isHidden());
}

TEST_F(EditorViewFixture, TypedTitlesAreTheUsersAndSuggestedOnesAreNot)
{
    auto v = view();
    NewEssayTab *tab = v->newEssayTab();
    tab->textEditor()->editor()->setFocus();
    QTest::keyClicks(tab->textEditor()->editor(), "Suggested heading words");
    EXPECT_EQ(v->model().text(), "Suggested heading words");
    EXPECT_EQ(tab->titleField()->text(), "Suggested heading words");
    EXPECT_EQ(v->header()->heading()->text(), "Suggested heading words");
    EXPECT_FALSE(v->model().hasManualTitle());

    tab->titleField()->selectAll();
    QTest::keyClicks(tab->titleField(), " Mine ");
    EXPECT_EQ(v->model().title(), " Mine ");
    EXPECT_EQ(v->header()->heading()->text(), "Mine");
    EXPECT_TRUE(v->model().hasManualTitle());
    // The cursor stays where the user typed.
    EXPECT_EQ(tab->titleField()->cursorPosition(), 6);
}

TEST_F(EditorViewFixture, PickingTheChosenPillMarksNothingAndThePresetAndModeButtonsSetTheSpeed)
{
    auto v = view();
    click(pillOf(v->header()->gradePicker(), "12"));
    click(pillOf(v->header()->reviewPicker(), "Medium"));
    EXPECT_FALSE(v->model().hasManualGrade());
    EXPECT_FALSE(v->model().hasManualReview());
    click(pillOf(v->header()->gradePicker(), "10"));
    EXPECT_TRUE(v->model().hasManualGrade());
    EXPECT_EQ(v->header()->pillTexts().first(), "Grade 10");

    v->show();
    QVToggle *toggle = v->header()->humanizeSwitch();
    QTest::mouseClick(toggle, Qt::LeftButton, {}, toggle->trackRect().center().toPoint());
    EXPECT_TRUE(v->model().humanize());

    NewEssayTab *tab = v->newEssayTab();
    click(tab->presetButton(SpeedPreset::shortResponse));
    EXPECT_EQ(v->header()->pillTexts().at(2), "8m");
    EXPECT_EQ(tab->timeModeButton()->variant(), QVButtonVariant::primary);
    EXPECT_EQ(tab->wpmModeButton()->variant(), QVButtonVariant::secondary);
    EXPECT_EQ(tab->speedControl()->slider()->maximum(), 360);
    click(tab->wpmModeButton());
    EXPECT_EQ(v->model().mode(), "wpm");
    EXPECT_EQ(tab->speedControl()->slider()->maximum(), 250);
}

TEST_F(EditorViewFixture, AClampedSliderNeverWritesItsValueBackNorARestoredOutOfRangeTotal)
{
    auto edited = view(storedProject(words(230), 20));
    SpeedControl *s = edited->newEssayTab()->speedControl();
    EXPECT_EQ(s->slider()->value(), 40);
    EXPECT_EQ(s->valueLabel()->text(), "20 WPM");
    EXPECT_EQ(edited->model().wpm(), 20);
    edited->model().chooseMode("time"); // 230 words at 20 WPM: 12 minutes
    edited->model().moveSlider(3);
    EXPECT_EQ(s->slider()->value(), 5);
    EXPECT_EQ(s->valueLabel()->text(), "3m TOTAL");
    EXPECT_TRUE(s->humanLabel()->isVisibleTo(edited.get()));
    EXPECT_EQ(s->humanLabel()->text(), "Human avg: 3m");

    // A move by the user goes through.
    edited->model().chooseMode("wpm");
    s->slider()->setValue(140);
    EXPECT_EQ(edited->model().wpm(), 140);
    EXPECT_EQ(s->valueLabel()->text(), "140 WPM");

    // A restored total out of range stays in the draft: suggestions never touch it.
    prefs.setDictionary(EditorDraft::key, QJsonObject{{"mode", "time"}, {"totalMinutes", 2}});
    auto restored = view();
    EXPECT_EQ(restored->newEssayTab()->speedControl()->slider()->value(), 5);
    EXPECT_EQ(restored->newEssayTab()->speedControl()->valueLabel()->text(), "2m TOTAL");
    EXPECT_EQ(draft()->value("totalMinutes").toInt(), 2);
    EXPECT_FALSE(restored->model().hasManualSpeed());
}

TEST_F(EditorViewFixture, TheSmartBriefFollowsItsPreferenceAndTheWhyBubbleDropsInStaysUntilClickedAndLeavesTheSameWay)
{
    auto v = view();
    v->show();
    NewEssayTab *tab = v->newEssayTab();
    v->model().editText("We remember the story of our trip. I think it was a great moment.");
    EXPECT_TRUE(tab->smartBrief()->isVisibleTo(v.get()));
    EXPECT_TRUE(tab->smartRow()->isVisibleTo(v.get()));
    EXPECT_EQ(tab->smartBrief()->essayTypeLabel()->text(), "Narrative");
    EXPECT_EQ(tab->smartRowType()->text(), "Smart: Narrative");
    EXPECT_EQ(tab->smartRowMinutes()->text(), QString::fromUtf8("\u2248 1m"));
    EXPECT_FALSE(tab->smartBrief()->warningLabel()->isVisibleTo(v.get()));
    EXPECT_TRUE(tab->hintLabel()->text().startsWith("Suggested: Grade "));

    // The why bubble drops in from the top.
    auto *effect = qobject_cast<SlideFadeEffect *>(v->whyBubble()->graphicsEffect());
    ASSERT_TRUE(effect);
    click(tab->smartBrief()->whyButton());
    ASSERT_TRUE(v->whyBubble()->isVisible());
    EXPECT_EQ(v->whyBubble()->reasonLabel()->text(), "Short response detected, so review is lighter.");
    EXPECT_DOUBLE_EQ(effect->progress(), 0);
    EXPECT_DOUBLE_EQ(effect->offsetFor(100), -100);
    runFade(scheduler, effect);
    EXPECT_DOUBLE_EQ(effect->progress(), 1);
    click(tab->smartBrief()->whyButton());
    EXPECT_TRUE(v->whyBubble()->isVisible());
    // Its top-right corner sits 10 right of and 36 below the button's.
    QVButton *why = tab->smartBrief()->whyButton();
    const QPoint anchor = why->mapTo(v->whyBubble()->parentWidget(), why->rect().topRight());
    EXPECT_EQ(v->whyBubble()->geometry().right() + 1, anchor.x() + 10);
    EXPECT_EQ(v->whyBubble()->geometry().top(), anchor.y() + 36);

    // Leaving, it takes no more taps and is gone once faded.
    QTest::mouseClick(v->whyBubble(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_TRUE(v->whyBubble()->isVisible());
    EXPECT_TRUE(v->whyBubble()->testAttribute(Qt::WA_TransparentForMouseEvents));
    runFade(scheduler, effect);
    EXPECT_FALSE(v->whyBubble()->isVisible());

    app->setReduceMotionEnabled(true);
    click(tab->smartBrief()->whyButton());
    EXPECT_DOUBLE_EQ(effect->progress(), 1);
    QTest::mouseClick(v->whyBubble(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_FALSE(v->whyBubble()->isVisible());

    app->setShowSmartBrief(false);
    EXPECT_FALSE(tab->smartBrief()->isVisibleTo(v.get()));
    EXPECT_FALSE(tab->smartRow()->isVisibleTo(v.get()));
    EXPECT_TRUE(tab->hintLabel()->isVisibleTo(v.get()));
}

// The bubble's shadow is painted beside it, so it is faded and slid with it:
// no dark block stands under a half-faded bubble, coming or going.
TEST_F(EditorViewFixture, TheWhyBubblesShadowTakesPartInItsTransition)
{
    auto v = view();
    v->show();
    v->model().editText("We remember the story of our trip. I think it was a great moment.");
    SmartWhyBubble *bubble = v->whyBubble();
    const double fullAlpha = Theme::shadow().alphaF();
    click(v->newEssayTab()->smartBrief()->whyButton());
    EXPECT_FALSE(bubble->shadowSpec().isVisible()); // nothing of the bubble shows yet

    struct Step {
        double ms, opacity;
    };
    for (const Step &step : {Step{100, 0.5}, Step{150, 1.0}}) {
        scheduler.advance(step.ms);
        const ShadowSpec spec = bubble->shadowSpec();
        EXPECT_NEAR(spec.color.alphaF(), fullAlpha * step.opacity, 0.05 * fullAlpha) << step.ms;
        // Only the part of the bubble that has slid in casts a shadow.
        EXPECT_NEAR(spec.rect.height(), bubble->height() * step.opacity, 0.05 * bubble->height()) << step.ms;
        EXPECT_EQ(spec.rect.top(), 0) << step.ms;
    }

    QTest::mouseClick(bubble, Qt::LeftButton, {}, QPoint(20, 20));
    scheduler.advance(100);
    EXPECT_NEAR(bubble->shadowSpec().color.alphaF(), fullAlpha * 0.5, 0.05 * fullAlpha);
    scheduler.advance(150);
    EXPECT_FALSE(bubble->shadowSpec().isVisible());
    EXPECT_FALSE(bubble->isVisible());
}

TEST_F(EditorViewFixture, AFailedSaveShowsOneLineAndTheEditorStays)
{
    auto v = view();
    v->show();
    v->model().editTitle("T");
    v->model().editText("Text");
    breakProjectsFile();
    click(v->newEssayTab()->saveButton());
    EXPECT_EQ(closes, 0);
    EXPECT_TRUE(v->newEssayTab()->saveErrorLabel()->isVisible());
    // The model's line, whose wording the model tests check.
    EXPECT_FALSE(v->model().saveError().isEmpty());
    EXPECT_EQ(v->newEssayTab()->saveErrorLabel()->text(), v->model().saveError());
    repairProjectsFile();
    click(v->newEssayTab()->saveButton());
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(v->newEssayTab()->saveErrorLabel()->isVisible());
}

TEST_F(EditorViewFixture, AFailedSaveLineWrapsWithinTheTabAndOpensItsReasonWithACapital)
{
    auto v = view();
    v->show();
    v->model().editTitle("T");
    v->model().editText("Text");
    // A file where the data folder was: the reason is the store's own words.
    const QString folder = app->storage().folderPath();
    ASSERT_TRUE(QDir(folder).removeRecursively());
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    click(v->newEssayTab()->saveButton());
    QApplication::processEvents();

    QLabel *line = v->newEssayTab()->saveErrorLabel();
    EXPECT_EQ(line->text(), QStringLiteral("Could not save the project. A file is in the place of the data folder "
                                           "(%1). Your text stays in this window; saving again writes it.")
                                .arg(folder));
    // All of it shows: wrapped inside the tab, on as many lines as it needs.
    EXPECT_TRUE(line->wordWrap());
    EXPECT_GE(line->x(), 0);
    EXPECT_LE(line->geometry().right(), v->newEssayTab()->width());
    EXPECT_GE(line->height(), line->heightForWidth(line->width()));
    EXPECT_GT(line->heightForWidth(line->width()), line->fontMetrics().height()) << "expected several lines";
}

// The draft is kept in the preferences: a write of them that fails while
// the draft waits is said in the editor, where the user types.
TEST_F(EditorViewFixture, ADraftThatCannotBeWrittenIsSaidInTheEditor)
{
    auto v = view();
    v->show();
    NoticeBanner *notice = v->preferencesNotice();
    const QString reason = QStringLiteral("No space left on device (/cfg/Quorvel/preferences.json)");

    // A failed write that holds none of the editor's values: not its notice.
    ASSERT_TRUE(prefs.flush());
    prefs.setBool(state::keys::reduceMotion, true);
    emit prefs.saveFailed(reason);
    EXPECT_FALSE(notice->isVisible());

    v->model().editTitle("Draft title");
    emit prefs.saveFailed(reason);
    ASSERT_TRUE(notice->isVisible());
    EXPECT_EQ(notice->text(), saveFailureText(QStringLiteral("your draft"), SaveResult::failure(reason)));
    EXPECT_TRUE(notice->text().startsWith(u"Could not save your draft: No space left on device"));
    EXPECT_LT(notice->geometry().bottom(), v->newEssayTab()->geometry().top() + 1);
}

TEST_F(EditorViewFixture, TheOutlineTabFadesInPicksAPdfAndCannotGenerate)
{
    auto v = view();
    v->show();
    click(pillOf(v->header()->tabPicker(), "AI Outline"));
    EXPECT_EQ(v->model().tab(), 1);
    EXPECT_TRUE(v->newEssayTab()->isHidden());
    EXPECT_FALSE(v->aiOutlineTab()->generateButton()->isEnabled());
    EXPECT_TRUE(v->aiOutlineTab()->fileNameLabel()->isHidden());
    // It rises from the bottom edge as it fades in.
    auto *effect = qobject_cast<SlideFadeEffect *>(v->aiOutlineTab()->graphicsEffect());
    ASSERT_TRUE(effect);
    EXPECT_DOUBLE_EQ(effect->progress(), 0);
    EXPECT_DOUBLE_EQ(effect->offsetFor(400), 400);
    scheduler.advance(100);
    EXPECT_NEAR(effect->offsetFor(400), 200, 20);
    scheduler.advance(150);
    EXPECT_DOUBLE_EQ(effect->progress(), 1);
    EXPECT_FALSE(effect->isEnabled());

    click(v->aiOutlineTab()->uploadButton());
    ASSERT_EQ(pendingChoosers.size(), 1);
    // Cancelled: the chooser never answers, nothing changes.
    EXPECT_FALSE(v->model().pdfUrl());
    click(v->aiOutlineTab()->uploadButton());
    pendingChoosers.last()(QUrl::fromLocalFile("/home/u/Reading.pdf"));
    EXPECT_FALSE(v->aiOutlineTab()->fileNameLabel()->isHidden());
    EXPECT_EQ(v->aiOutlineTab()->fileNameLabel()->text(), "PDF selected: Reading.pdf");

    v->aiOutlineTab()->notesEditor()->editor()->setFocus();
    QTest::keyClicks(v->aiOutlineTab()->notesEditor()->editor(), "notes");
    app->setReduceMotionEnabled(true);
    click(pillOf(v->header()->tabPicker(), "New Essay"));
    EXPECT_FALSE(v->newEssayTab()->graphicsEffect());
    click(pillOf(v->header()->tabPicker(), "AI Outline"));
    EXPECT_EQ(v->aiOutlineTab()->notesEditor()->toPlainText(), "notes");
    EXPECT_EQ(v->aiOutlineTab()->fileNameLabel()->text(), "PDF selected: Reading.pdf");

    // A chooser that answers after the editor is gone does no harm.
    click(v->aiOutlineTab()->uploadButton());
    auto late = pendingChoosers.last();
    v.reset();
    late(QUrl::fromLocalFile("/tmp/late.pdf"));
}

TEST_F(EditorViewFixture, CloseAndCancelRunTheOpenersActionAndTheWindowIsANormalTopLevelOne)
{
    auto v = view();
    click(v->header()->closeButton());
    click(v->newEssayTab()->cancelButton());
    EXPECT_EQ(closes, 2);

    // Without an action of the opener, the window closes itself.
    QPointer<ProjectEditorWindow> window = new ProjectEditorWindow(*app, std::nullopt, nullptr, services());
    window->show();
    click(window->view()->header()->closeButton());
    EXPECT_FALSE(window->isVisible());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());

    int opened = 0;
    auto *other = new ProjectEditorWindow(
        *app, std::nullopt, [&] { ++opened; }, services());
    EXPECT_EQ(other->windowType(), Qt::Window);
    // A close from the window manager runs the opener's action.
    other->show();
    other->close();
    QApplication::sendPostedEvents();
    EXPECT_EQ(opened, 1);
    other->closeFromOpener();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Pictures to look at, not checks.
TEST_F(EditorViewFixture, Screenshots)
{
    prefs.setString(state::keys::defaultPreset, "balanced");
    auto *window = new ProjectEditorWindow(
        *app, std::nullopt, [] {}, services());
    ProjectEditorView *v = window->view();
    v->model().editText("Why Libraries Still Matter\nLibraries give every student a quiet place to read, "
                        "and because they are free, they must be protected. The evidence shows that "
                        "students who visit them read more.");
    window->show();
    scheduler.advance(500);
    window->grab().save(screenshotDir() + "/editor-new-essay.png");

    click(v->newEssayTab()->smartBrief()->whyButton());
    scheduler.advance(500);
    window->grab().save(screenshotDir() + "/editor-smart-why.png");

    click(pillOf(v->header()->tabPicker(), "AI Outline"));
    pendingChoosers.clear();
    click(v->aiOutlineTab()->uploadButton());
    pendingChoosers.last()(QUrl::fromLocalFile("/home/u/Reading List.pdf"));
    v->model().editNotes("Compare the two readings; focus on access and cost.");
    scheduler.advance(500);
    window->grab().save(screenshotDir() + "/editor-ai-outline.png");
    window->closeFromOpener();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(EditorViewFixture, AFieldThatHoldsLessThanTheModelIsNotResetOnEveryChange)
{
    auto v = view();
    v->model().editText(QString(40000, u'a') + "\r\nbody");
    QVLineEdit *title = v->newEssayTab()->titleField();
    QPlainTextEdit *text = v->newEssayTab()->textEditor()->editor();
    title->setCursorPosition(3);
    text->moveCursor(QTextCursor::Start);
    v->model().chooseGrade("9");
    EXPECT_EQ(title->cursorPosition(), 3);
    EXPECT_EQ(text->textCursor().position(), 0);
    EXPECT_EQ(v->model().title().size(), 40000);
}

TEST_F(EditorViewFixture, TheFocusedFieldFollowsClicksAndTabAndAloneDrawsItsRing)
{
    std::unique_ptr<ProjectEditorWindow> window(new ProjectEditorWindow(
        *app, std::nullopt, [] {}, services()));
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ProjectEditorView *v = window->view();
    NewEssayTab *tab = v->newEssayTab();
    EXPECT_FALSE(v->focusedField());

    QTest::mouseClick(tab->titleField(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(v->focusedField(), ProjectEditorView::Field::title);
    EXPECT_TRUE(tab->titleField()->showsFocusRing());
    EXPECT_FALSE(tab->textEditor()->showsFocusRing());

    QTest::keyClick(tab->titleField(), Qt::Key_Tab);
    EXPECT_EQ(v->focusedField(), ProjectEditorView::Field::text);
    EXPECT_FALSE(tab->titleField()->showsFocusRing());
    EXPECT_TRUE(tab->textEditor()->showsFocusRing());

    click(pillOf(v->header()->tabPicker(), "AI Outline"));
    QPlainTextEdit *notes = v->aiOutlineTab()->notesEditor()->editor();
    QTest::mouseClick(notes->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(v->focusedField(), ProjectEditorView::Field::notes);
    EXPECT_TRUE(v->aiOutlineTab()->notesEditor()->showsFocusRing());
    EXPECT_FALSE(tab->textEditor()->showsFocusRing());
}

// The PDF chooser opens in the home folder, then in the folder of the last
// file chosen; a typed name of another kind of file is refused with a message
// and the chooser stays open; a PDF is taken.
TEST_F(EditorViewFixture, ThePdfChooserRefusesOtherFilesAndOpensWhereTheUserWas)
{
    QTemporaryDir folder;
    for (const char *name : {"notes.txt", "Reading.PDF", "brief.pdf.txt"}) {
        QFile f(folder.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(QDir(platform::chooserStartFolder()), QDir::home());

    std::unique_ptr<QFileDialog> made(EditorServices::pdfDialog(nullptr));
    QFileDialog &dialog = *made;
    EXPECT_EQ(dialog.directory(), QDir::home());
    dialog.setDirectory(folder.path());
    QStringList chosen;
    QObject::connect(&dialog, &QFileDialog::fileSelected, &dialog, [&](const QString &f) { chosen << f; });
    dialog.show();
    for (const char *refused : {"notes.txt", "brief.pdf.txt"}) {
        dialog.selectFile(QString::fromLatin1(refused));
        QMetaObject::invokeMethod(&dialog, "accept");
        auto *box = dialog.findChild<QMessageBox *>();
        ASSERT_TRUE(box) << refused;
        EXPECT_TRUE(box->isVisible());
        EXPECT_EQ(box->text(), "Only PDF files can be chosen.");
        EXPECT_TRUE(box->informativeText().contains(QString::fromLatin1(refused)));
        EXPECT_FALSE(box->informativeText().contains(folder.path())); // the name, not the whole path
        box->accept();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(dialog.isVisible()) << refused;
        EXPECT_TRUE(chosen.isEmpty()) << refused;
    }
    dialog.selectFile("Reading.PDF");
    QMetaObject::invokeMethod(&dialog, "accept");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(chosen, QStringList{QDir(folder.path()).filePath("Reading.PDF")});

    // The next chooser opens where the user was; a folder gone since, at home.
    EXPECT_EQ(std::unique_ptr<QFileDialog>(EditorServices::pdfDialog(nullptr))->directory(), QDir(folder.path()));
    folder.remove();
    EXPECT_EQ(std::unique_ptr<QFileDialog>(EditorServices::pdfDialog(nullptr))->directory(), QDir::home());
}
