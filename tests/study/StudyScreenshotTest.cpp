#include "StudyViewFixture.h"

#include "study/StudyImportView.h"
#include "study/StudyRootView.h"
#include "theme/QVButton.h"
#include "theme/QVLineEdit.h"

#include <QImage>
#include <QLabel>
#include <QTextCursor>
#include <QPlainTextEdit>

#include "theme/QVTextEditor.h"

using namespace qv;
using namespace qv::study;

namespace {
using qv::test::Backdrop;

class StudyScreenshotTest : public qv::test::StudyViewTest {
protected:
    void save(QWidget &w, const QString &name)
    {
        scheduler.advance(1000); // past every fade
        const QImage image = w.grab().toImage();
        EXPECT_FALSE(image.isNull());
        EXPECT_TRUE(image.save(screenshotDir() + "/" + name + ".png")) << name.toStdString();
    }
};

} // namespace

TEST_F(StudyScreenshotTest, Library)
{
    auto *root = new StudyRootView(*app, scheduler, clock);
    Backdrop backdrop(root);
    backdrop.show();
    save(backdrop, "study-library-empty");

    app->saveStudyProject(makeSet("Cell biology: the essentials of membranes, organelles and transport", 1,
                                  {card("cell", "unit", 2), card("atp", "energy", 3, 1), card("dna", "code", 1)}));
    app->saveStudyProject(makeSet("Spanish verbs", 2, {card("ser", "to be", 2), card("tener", "to have", 2)}));
    app->saveStudyProject(makeSet("Empty set", 3));
    settle();
    save(backdrop, "study-library-sets");
}

TEST_F(StudyScreenshotTest, ImportWindowTabs)
{
    StudyImportView view(*app, clock, std::nullopt, "11", [](const StudyProject &) {}, [] {});
    view.resize(880, 700);
    view.show();
    view.titleField()->setText("World capitals");
    for (auto [t, d] : {std::pair{"France", "Paris"}, std::pair{"Japan", "Tokyo"}}) {
        view.termField()->setText(t);
        view.definitionField()->setText(d);
        view.addManualCard();
    }
    settle();
    save(view, "study-import-manual");
    view.setImportMode(ImportMode::paste);
    QTextCursor(view.pasteEditor()->editor()->document()).insertText("Peru\tLima\nKenya - Nairobi\nChile, Santiago");
    save(view, "study-import-paste");
    view.setImportMode(ImportMode::pdf);
    save(view, "study-import-pdf");
    click(view.saveButton());
    EXPECT_TRUE(view.statusLabel()->isHidden());
}
