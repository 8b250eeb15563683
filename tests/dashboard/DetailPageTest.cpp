#include "DashboardTestSupport.h"

#include "dashboard/ProjectRow.h"
#include "dashboard/UndoBanner.h"
#include "dashboard/WriterDetailView.h"
#include "dashboard/WriterFilters.h"
#include "dashboard/WriterWorkspace.h"
#include "theme/QVButton.h"

#include <QLabel>
#include <QLayout>
#include <QScrollArea>

using namespace qv;
using namespace qv::dashboard;

namespace {
class DetailPageTest : public test::DashboardFixture {
protected:
    void SetUp() override
    {
        project = test::makeProject("Climate essay", 5, "12", "medium", true);
        openWriter({project, test::makeProject("Other", 1)});
    }
    WriterWorkspace *writer() const { return view->workspace()->writer(); }
    WriterDetailView *detail() const { return writer()->detailView(); }
    void openPage() { click(writer()->row(project.id), {10, 10}); }
    QStringList chips() const
    {
        QStringList out;
        for (QLabel *c : detail()->chips())
            out << c->text();
        return out;
    }

    Project project;
};
} // namespace

TEST_F(DetailPageTest, ARowClickOpensThePageWithItsTextsAndHidesTheTopBarWhichANewDashboardShowsAgain)
{
    openPage();
    ASSERT_TRUE(detail()->isVisible());
    EXPECT_FALSE(writer()->filters()->isVisible());
    EXPECT_TRUE(app->suppressTopBar());
    EXPECT_FALSE(view->workspace()->header()->isVisible());
    EXPECT_EQ(detail()->titleLabel()->text(), "Climate essay");
    EXPECT_EQ(chips(), (QStringList{"Grade 12", "Medium", "AI", "WPM 45"}));
    EXPECT_TRUE(detail()->updatedLabel()->text().startsWith("Updated "));
    EXPECT_EQ(detail()->previewLabel()->text(), "Text of Climate essay");

    click(detail()->backButton());
    EXPECT_FALSE(detail()->isVisible());
    EXPECT_FALSE(app->suppressTopBar());
    EXPECT_TRUE(view->workspace()->header()->isVisible());

    // A new dashboard shows its top bar even if the last one went with a page open.
    openPage();
    ASSERT_TRUE(app->suppressTopBar());
    makeView(); // signed out with the page open, then in again
    enterWriter();
    EXPECT_FALSE(app->suppressTopBar());
    EXPECT_TRUE(view->workspace()->header()->isVisible());
}

TEST_F(DetailPageTest, EmptyAndLongTextsInThePreview)
{
    project.text.clear();
    project.wpm = 0;
    project.review = "HEAVY";
    EXPECT_TRUE(app->saveProject(project));
    openPage();
    EXPECT_EQ(detail()->previewLabel()->text(), "No draft text yet.");
    EXPECT_EQ(chips()[1], "Heavy");
    EXPECT_EQ(chips()[3], "WPM 0");
    const int shortHeight = detail()->previewArea()->height();
    EXPECT_LT(shortHeight, 100);
    project.text = QString("A long line of text that wraps. ").repeated(400);
    EXPECT_TRUE(app->saveProject(project));
    settle();
    EXPECT_EQ(detail()->previewArea()->height(), WriterDetailView::kPreviewMaxHeight);
}

TEST_F(DetailPageTest, ThePageShowsAndActsOnTheStoredProjectNotACopy)
{
    openPage();
    // Saved by the editor: the page shows the new version at once.
    Project edited = project;
    edited.title = "Climate essay, revised";
    edited.text = "Revised text";
    EXPECT_TRUE(app->saveProject(edited));
    settle();
    EXPECT_EQ(detail()->titleLabel()->text(), "Climate essay, revised");
    EXPECT_EQ(detail()->previewLabel()->text(), "Revised text");

    click(detail()->editButton());
    ASSERT_EQ(editorsOpened.size(), 1);
    ASSERT_TRUE(editorsOpened[0]);
    EXPECT_EQ(editorsOpened[0]->text, "Revised text");
    EXPECT_EQ(view->draftProject()->text, "Revised text");

    click(detail()->typeButton());
    ASSERT_EQ(panelsOpened.size(), 1);
    EXPECT_EQ(panelsOpened[0].text, "Revised text");
}

TEST_F(DetailPageTest, AConfirmedDeleteOrOneElsewhereClosesThePageAndUndoDoesNotReopenIt)
{
    openPage();
    click(detail()->deleteButton());
    EXPECT_TRUE(detail()->isVisible()); // the button only asks
    answerDelete("Delete");
    EXPECT_FALSE(detail()->isVisible());
    EXPECT_FALSE(writer()->activeProjectId());
    EXPECT_FALSE(app->suppressTopBar());
    EXPECT_TRUE(writer()->filters()->isVisible());

    click(view->overlays().undoBanner()->undoButton());
    EXPECT_EQ(app->projects().size(), 2);
    EXPECT_FALSE(detail()->isVisible());
    EXPECT_FALSE(app->suppressTopBar());

    // Deleted from another window: the page closes just the same.
    openPage();
    EXPECT_TRUE(app->deleteProject(project));
    settle();
    EXPECT_FALSE(detail()->isVisible());
    EXPECT_FALSE(app->suppressTopBar());
    EXPECT_EQ(writer()->rows().size(), 1);
}

TEST_F(DetailPageTest, TheTitleShowsWholeWhetherItFitsOnOneLineOrWraps)
{
    for (const QString &title : {QString("The tour writes a line. Then"), QString("A long title ").repeated(20)}) {
        project.title = title;
        EXPECT_TRUE(app->saveProject(project));
        settle();
        openPage();
        settle();
        QLabel *label = detail()->titleLabel();
        // Tall enough for every line it wraps to at the width it got.
        EXPECT_GE(label->height(), label->heightForWidth(label->width())) << title.toStdString();
        EXPECT_LE(label->width(), detail()->width());
        click(detail()->backButton());
    }
}

namespace {
// Collects the warnings Qt prints while alive.
struct WarningLog {
    WarningLog() { previous = qInstallMessageHandler(&WarningLog::handle); }
    ~WarningLog() { qInstallMessageHandler(previous); }
    static void handle(QtMsgType type, const QMessageLogContext &, const QString &text)
    {
        if (type == QtWarningMsg)
            lines << text;
    }
    static inline QStringList lines;
    QtMessageHandler previous;
};
} // namespace

TEST_F(DetailPageTest, ThePageFollowsTheWindowAndTheCardIsAsTallAsItsContentAtEverySize)
{
    WarningLog log;
    QScrollArea *scroll = view->workspace()->scrollView();
    QWidget *card = detail()->infoCard();
    const auto contentHeight = [&] { return card->layout()->totalHeightForWidth(card->width()); };
    const auto checkWhole = [&](const char *when) {
        settle();
        QLabel *title = detail()->titleLabel();
        // Inside the page and the page inside the window: nothing cut.
        EXPECT_LE(detail()->width(), scroll->viewport()->width()) << when;
        EXPECT_LE(card->width(), detail()->width()) << when;
        EXPECT_GE(title->height(), title->heightForWidth(title->width())) << when;
        EXPECT_EQ(card->height(), contentHeight()) << when;
        const QRect preview(detail()->previewArea()->mapTo(scroll->viewport(), QPoint()),
                            detail()->previewArea()->size());
        EXPECT_LE(preview.right(), scroll->viewport()->width()) << when;
    };

    // A long title, then a smaller window and a larger one again.
    project.title = QString("A long title that wraps ").repeated(8).trimmed();
    EXPECT_TRUE(app->saveProject(project));
    settle();
    openPage();
    checkWhole("long title, default size");
    for (const QSize size : {QSize(820, 640), QSize(600, 640), QSize(1400, 900)}) {
        view->resize(size);
        checkWhole(qPrintable(QString("long title at %1").arg(size.width())));
    }

    // A one-line title: one line high, no band above or below, after the
    // window shrank and grew as well.
    project.title = "Climate essay";
    EXPECT_TRUE(app->saveProject(project));
    for (const QSize size : {QSize(1100, 900), QSize(600, 640), QSize(1100, 900)}) {
        view->resize(size);
        checkWhole("one-line title");
        QLabel *title = detail()->titleLabel();
        EXPECT_EQ(title->height(), title->heightForWidth(title->fontMetrics().horizontalAdvance(title->text()) + 1));
        EXPECT_LT(card->height(), 3 * title->height() + 80);
    }
    EXPECT_FALSE(log.lines.join('\n').contains("Negative sizes")) << log.lines.join('\n').toStdString();
}
