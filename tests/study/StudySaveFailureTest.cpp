#include "SetPageFixture.h"

#include "model/ModelFixtures.h"
#include "model/RecordCoding.h"
#include "model/Storage.h"
#include "state/Library.h"
#include "study/views/StudyDeleteOffer.h"
#include "study/views/StudyImportView.h"
#include "study/views/StudyUndoBanner.h"
#include "theme/NoticeBanner.h"
#include "theme/QVButton.h"
#include "theme/QVLineEdit.h"

#include <QDir>
#include <QFile>

#include <functional>

using namespace qv;
using namespace qv::study;

namespace {

using FullPage = qv::test::Recorder<StudyHostedPage>;

// Creates a set of one card in the set window, as the user does.
void saveNewSetFromWindow(StudyRootView &root, const QString &title)
{
    root.openStudyWindow(std::nullopt);
    StudyImportView *view = root.importView();
    ASSERT_NE(view, nullptr);
    view->titleField()->setText(title);
    view->termField()->setText("F");
    view->definitionField()->setText("force");
    view->addButton()->click();
    view->saveButton()->click();
}

// The study workspace with the real set page (fake inline panes) and
// full-page session and test pages that keep their callbacks, over a data
// folder a test can put out of reach.
class StudySaveFailureTest : public qv::test::SetPageTest {
protected:
    StudySessionActions fullSession;
    StudyQuizActions fullQuiz;

    StudySetPage *openWorkspace(const StudyProject &set)
    {
        EXPECT_TRUE(app->saveStudyProject(set));
        StudyPageFactories f = StudyPageFactories::standIns();
        f.detail = makeStudySetPage(*app, clock, fakePanes());
        f.session = [this](const StudyProject &p, StudySessionActions a, QWidget *parent) -> StudyHostedPage * {
            fullSession = std::move(a);
            return new FullPage(p, parent);
        };
        f.quiz = [this](const StudyProject &p, StudyQuizActions a, QWidget *parent) -> StudyHostedPage * {
            fullQuiz = std::move(a);
            return new FullPage(p, parent);
        };
        root = std::make_unique<StudyRootView>(*app, scheduler, clock, f);
        root->resize(960, 1600);
        root->show();
        root->setViewState(StudyViewState::detail(set));
        settle();
        return qobject_cast<StudySetPage *>(root->currentPage());
    }

    QString folder() const { return app->storage().folderPath(); }

    // A file where the data folder was: no save can write, whatever the user.
    void blockDataFolder()
    {
        ASSERT_TRUE(QDir(folder()).removeRecursively());
        QFile blocker(folder());
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }

    QString failureText() const
    {
        return QStringLiteral("Could not save your study sets: a file is in the place of the data folder (%1). The "
                              "change is kept while Quorvel stays open and is written with the next save that "
                              "succeeds.")
            .arg(folder());
    }

    QList<StudyProject> onDisk() const
    {
        return Storage(AppConfig::inFolders(dir.filePath("Desktop"), dir.filePath("share")), clock).loadStudyProjects();
    }

    bool inMemory(const QString &title) const
    {
        for (const StudyProject &p : app->studyProjects())
            if (p.title == title)
                return true;
        return false;
    }
};

} // namespace

TEST_F(StudySaveFailureTest, EverySaveTheWorkspaceMakesSaysWhenItFailsAndTheNextSaveWritesEverything)
{
    StudyProject bio = makeSet("Biology", 1, cards(3));
    const StudyProject chem = makeSet("Chemistry", 2, cards(1));
    EXPECT_TRUE(app->saveStudyProject(chem));
    StudySetPage *page = openWorkspace(bio);
    ASSERT_NE(page, nullptr);
    NoticeBanner *notice = root->saveNotice();
    EXPECT_FALSE(notice->isVisible());
    blockDataFolder();

    const auto answered = [this, &bio](int card, qint64 right, qint64 wrong) {
        StudyProject copy = storedSet(bio.id);
        copy.items[card].correctCount = right;
        copy.items[card].incorrectCount = wrong;
        return copy;
    };
    struct Step {
        const char *name;
        std::function<void()> act;
        std::function<bool()> kept; // the change, in memory
    };
    const QList<Step> steps{
        {"a card edited on the set page",
         [&] {
             const StudyItem first = storedSet(bio.id).items[0];
             page->openCardEditor(first);
             page->setDraftTerm("edited");
             page->setDraftDefinition("meaning");
             page->saveCardEdit(first);
         },
         [&] { return storedSet(bio.id).items[0].term == "edited"; }},
        {"a card deleted on the set page", [&] { page->deleteCard(storedSet(bio.id).items[2]); },
         [&] { return storedSet(bio.id).items.size() == 2; }},
        {"an answer in the set page's session",
         [&] {
             click(page->modeButton(StudyMode::learn));
             ASSERT_FALSE(sessions.isEmpty());
             sessions.last()->session.onUpdate(answered(0, 1, 0));
         },
         [&] { return storedSet(bio.id).items[0].correctCount == 1; }},
        {"the set page session's reset", [&] { sessions.last()->session.onReset(); },
         [&] { return storedSet(bio.id).items[0].correctCount == 0; }},
        {"the set page test's results",
         [&] {
             click(page->modeButton(StudyMode::test));
             ASSERT_FALSE(tests.isEmpty());
             tests.last()->quiz.onUpdate(answered(1, 0, 2));
         },
         [&] { return storedSet(bio.id).items[1].incorrectCount == 2; }},
        {"an answer in the full-page session",
         [&] {
             root->setViewState(StudyViewState::study(storedSet(bio.id)));
             fullSession.onUpdate(answered(1, 3, 2));
         },
         [&] { return storedSet(bio.id).items[1].correctCount == 3; }},
        {"the full-page session's reset", [&] { fullSession.onReset(); },
         [&] { return storedSet(bio.id).items[1].correctCount == 0; }},
        {"the full-page test's results",
         [&] {
             root->setViewState(StudyViewState::quiz(storedSet(bio.id)));
             fullQuiz.onUpdate(answered(0, 4, 0));
         },
         [&] { return storedSet(bio.id).items[0].correctCount == 4; }},
        {"a new set from the set window", [&] { saveNewSetFromWindow(*root, "Physics"); },
         [&] { return inMemory("Physics"); }},
        {"a deletion",
         [&] {
             root->deleteOffer()->request(chem);
             click(buttonIn(root->deleteAlert(), "Delete"));
         },
         [&] { return !inMemory("Chemistry"); }},
        {"its undo", [&] { click(root->undoBanner()->undoButton()); }, [&] { return inMemory("Chemistry"); }},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.name);
        notice->dismiss();
        step.act();
        settle();
        EXPECT_TRUE(notice->isVisible());
        EXPECT_EQ(notice->text(), failureText());
        EXPECT_TRUE(step.kept());
    }
    EXPECT_EQ(qv::test::readAll(folder()), QByteArray()); // the file in the way is left alone

    // Once the way is clear, the next save writes every change since the
    // failure, and the notice goes.
    ASSERT_TRUE(QFile::remove(folder()));
    fullQuiz.onUpdate(storedSet(bio.id));
    EXPECT_FALSE(notice->isVisible());
    EXPECT_EQ(qv::test::readAll(app->storage().studyProjectsFilePath()),
              *coding::encodeStudyProjects(app->studyProjects()));
    EXPECT_EQ(onDisk().size(), 3);
}

namespace {

class UnreadableSetsTest : public qv::test::SetPageTest {
protected:
    void SetUp() override
    {
        const QString folder = AppConfig::inFolders(dir.filePath("Desktop"), dir.filePath("share")).dataFolderPath;
        ASSERT_TRUE(QDir().mkpath(folder));
        path = QDir(folder).filePath("study_projects.json");
        ASSERT_TRUE(qv::test::writeAll(path, "[{\"id\":1}]"));
        SetPageTest::SetUp();
    }
    QString path;
};

} // namespace

TEST_F(UnreadableSetsTest, TheKeptFileIsNamedInTheWorkspaceUntilDismissed)
{
    root = std::make_unique<StudyRootView>(*app, scheduler, clock);
    root->show();
    NoticeBanner *notice = root->keptFileNotice();
    ASSERT_TRUE(notice->isVisible());
    EXPECT_TRUE(notice->text().startsWith(u"Your study sets file could not be read (")) << notice->text().toStdString();
    EXPECT_TRUE(notice->text().endsWith(QStringLiteral("the file is kept as %1.").arg(path)));
    EXPECT_FALSE(root->saveNotice()->isVisible());
    click(notice->dismissButton());
    EXPECT_FALSE(notice->isVisible());

    // The first save of a set moves it aside and says where.
    saveNewSetFromWindow(*root, "Physics");
    settle();
    const std::optional<Storage::KeptFile> kept = app->library().keptStudyProjectsFile();
    ASSERT_TRUE(kept);
    EXPECT_EQ(qv::test::readAll(kept->path), QByteArray("[{\"id\":1}]"));
    ASSERT_TRUE(notice->isVisible());
    EXPECT_TRUE(notice->text().endsWith(QStringLiteral("the file is kept as %1.").arg(kept->path)));
    EXPECT_FALSE(root->saveNotice()->isVisible());
}

TEST_F(StudySaveFailureTest, TheNoticeGoesWhenALaterSaveWritesTheSetsWhoeverSaved)
{
    const StudyProject bio = makeSet("Biology", 1, cards(2));
    openWorkspace(bio);
    NoticeBanner *notice = root->saveNotice();
    // Only the sets file cannot be written.
    const QString setsFile = app->storage().studyProjectsFilePath();
    QFile::remove(setsFile);
    ASSERT_TRUE(QDir().mkpath(setsFile));
    root->showSaveResult(app->saveStudyProject(makeSet("Chemistry", 2, cards(1))));
    ASSERT_TRUE(notice->isVisible());

    // A project saved meanwhile writes the sets again, and they still fail.
    Project essay = test::essayOne();
    EXPECT_FALSE(app->saveProject(essay));
    EXPECT_TRUE(notice->isVisible());

    ASSERT_TRUE(QDir(setsFile).removeRecursively());
    essay.title = QStringLiteral("Edited");
    EXPECT_TRUE(app->saveProject(essay));
    EXPECT_FALSE(notice->isVisible());
    EXPECT_EQ(onDisk().size(), 2);
}
