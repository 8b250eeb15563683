#include "EditorFixture.h"
#include "support/LayoutCheck.h"
#include "theme/ThemeTestSupport.h" // FakeDesktop, screenshotDir

#include "editor/AiOutlineTab.h"
#include "editor/EditorHeader.h"
#include "editor/GlyphButton.h"
#include "editor/NewEssayTab.h"
#include "editor/ProjectEditorView.h"
#include "editor/ProjectEditorWindow.h"
#include "editor/SmartBriefCard.h"
#include "editor/SmartWhyBubble.h"
#include "theme/MotionSettings.h"
#include "theme/QVButton.h"
#include "theme/QVPillPicker.h"
#include "theme/ThemeEnvironment.h"

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

using namespace qv;
using namespace qv::editor;
using namespace qv::test;

namespace {

struct EditorLayoutTest : EditorFixture {
    FakeDesktop desktop;
    MotionSettings motion{&desktop};
    ThemeEnvironment themeEnvironment{scheduler, motion};

    ProjectEditorWindow *open()
    {
        EditorServices s;
        s.clock = &clock;
        s.choosePdf = [](QWidget *, std::function<void(std::optional<QUrl>)>) {};
        auto *window = new ProjectEditorWindow(
            *app, std::nullopt, [] {}, s);
        window->show();
        return window;
    }

    static void close(ProjectEditorWindow *window)
    {
        window->closeFromOpener();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The bubble floats over the form on purpose.
    static bool floating(const QWidget *w)
    {
        for (const QWidget *a = w; a; a = a->parentWidget())
            if (qobject_cast<const SmartWhyBubble *>(a))
                return true;
        return false;
    }
};

QString longEssay()
{
    // Long enough for the long-session warning in the brief card.
    QString text = QStringLiteral("Why Libraries Still Matter To Every Student In The District\n");
    for (int i = 0; i < 1400; ++i)
        text += QStringLiteral("Libraries give every student a quiet place to read and they must be protected. ");
    return text;
}

} // namespace

// At the editor's default and minimum sizes, with the text, hint line,
// "Smart:" row, brief card and warning all showing, in both speed modes and
// on both tabs, no two controls overlap and none is squashed or cut.
TEST_F(EditorLayoutTest, NothingOverlapsOrIsCutAtTheDefaultAndMinimumSizes)
{
    ProjectEditorWindow *window = open();
    ProjectEditorView *v = window->view();
    v->model().editText(longEssay());
    v->model().editTitle(QStringLiteral("A Rather Long Project Name For A Long Essay About Libraries"));
    ASSERT_TRUE(v->newEssayTab()->smartBrief()->warningLabel()->isVisibleTo(v));

    const struct {
        const char *name;
        QSize size;
        QString mode;
        int tab;
    } cases[] = {
        {"default-wpm", ProjectEditorWindow::kContentSize, "wpm", 0},
        {"minimum-wpm", ProjectEditorWindow::kMinimumSize, "wpm", 0},
        {"minimum-time", ProjectEditorWindow::kMinimumSize, "time", 0},
        {"default-time", ProjectEditorWindow::kContentSize, "time", 0},
        {"minimum-outline", ProjectEditorWindow::kMinimumSize, "time", 1},
    };
    for (const auto &c : cases) {
        v->model().chooseMode(c.mode);
        v->model().chooseTab(c.tab);
        window->resize(c.size);
        scheduler.advance(500);
        QApplication::processEvents();
        EXPECT_EQ(window->size(), c.size) << c.name;
        EXPECT_EQ(lines(overlaps(window, floating)), "") << c.name;
        EXPECT_EQ(lines(cutControls(window, floating)), "") << c.name;
        window->grab().save(screenshotDir() + QStringLiteral("/editor-layout-%1.png").arg(c.name));
        // Scrolled to its end, the form shows its last buttons whole, and
        // the window's close and minimise stay where they were, in reach.
        const auto controlsAt = [&] {
            return QList<QRect>{{v->header()->closeButton()->mapTo(window, QPoint()), v->header()->closeButton()->size()},
                                {v->header()->minimizeButton()->mapTo(window, QPoint()),
                                 v->header()->minimizeButton()->size()}};
        };
        const QList<QRect> controls = controlsAt();
        QScrollBar *bar = v->scrollArea()->verticalScrollBar();
        bar->setValue(bar->maximum());
        QApplication::processEvents();
        if (c.size == ProjectEditorWindow::kMinimumSize && c.tab == 0) {
            EXPECT_GT(bar->value(), 0) << c.name << ": the form fits; nothing here scrolls";
        }
        EXPECT_EQ(controlsAt(), controls) << c.name;
        window->grab().save(screenshotDir() + QStringLiteral("/editor-layout-%1-scrolled.png").arg(c.name));
        EXPECT_EQ(window->childAt(controls[0].center()), v->header()->closeButton()) << c.name;
        EXPECT_EQ(window->childAt(controls[1].center()), v->header()->minimizeButton()) << c.name;
        for (QWidget *last : {static_cast<QWidget *>(v->newEssayTab()->saveButton()),
                              static_cast<QWidget *>(v->aiOutlineTab()->generateButton())}) {
            if (!last->isVisibleTo(v))
                continue;
            const QRect shown(last->mapTo(v->scrollArea()->viewport(), QPoint(0, 0)), last->size());
            EXPECT_TRUE(v->scrollArea()->viewport()->rect().contains(shown)) << c.name;
        }
        EXPECT_EQ(lines(overlaps(window, floating)), "") << c.name << " scrolled";
        bar->setValue(0);
    }
    // The window cannot be made smaller than its minimum.
    window->resize(600, 600);
    QApplication::processEvents();
    EXPECT_EQ(window->size(), ProjectEditorWindow::kMinimumSize);
    close(window);
}

// A title far wider than the window wraps in the heading: the form keeps the
// window's width, so Save stays inside it.
TEST_F(EditorLayoutTest, ALongTitleWrapsAndKeepsTheFormInsideTheWindow)
{
    ProjectEditorWindow *window = open();
    ProjectEditorView *v = window->view();
    v->model().editTitle(QStringLiteral("Incomprehensibilities counterrevolutionaries electroencephalographically "
                                        "uncharacteristically institutionalisation internationalization"));
    for (const QSize size : {ProjectEditorWindow::kContentSize, ProjectEditorWindow::kMinimumSize}) {
        window->resize(size);
        scheduler.advance(500);
        QApplication::processEvents();
        QScrollBar *bar = v->scrollArea()->verticalScrollBar();
        bar->setValue(bar->maximum());
        QApplication::processEvents();
        QWidget *save = v->newEssayTab()->saveButton();
        const QRect shown(save->mapTo(v->scrollArea()->viewport(), QPoint(0, 0)), save->size());
        EXPECT_TRUE(v->scrollArea()->viewport()->rect().contains(shown)) << size.width() << "x" << size.height();
        EXPECT_EQ(lines(cutControls(window, floating)), "") << size.width() << "x" << size.height();
        window->grab().save(screenshotDir()
                            + QStringLiteral("/editor-long-title-%1x%2.png").arg(size.width()).arg(size.height()));
        bar->setValue(0);
    }
    close(window);
}
