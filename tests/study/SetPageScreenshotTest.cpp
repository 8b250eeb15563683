#include "SetPageFixture.h"

#include "theme/Theme.h"

#include <QImage>

using namespace qv;
using namespace qv::study;

namespace {

class SetPageScreenshotTest : public qv::test::SetPageTest {
protected:
    void save(QWidget &w, const QString &name, qint64 advanceMs = 1000)
    {
        settle();
        scheduler.advance(advanceMs); // by default past every slide, turn and fade
        // On the window's background, as the dashboard hosts the workspace.
        QImage image(w.size(), QImage::Format_ARGB32);
        image.fill(Theme::bg());
        w.render(&image, {}, {}, QWidget::DrawChildren);
        EXPECT_TRUE(image.save(screenshotDir() + "/" + name + ".png")) << name.toStdString();
    }
};

TEST_F(SetPageScreenshotTest, EveryMode)
{
    StudyProject set = makeSet("Cell biology: membranes, organelles & transport", 1,
                               {card("Mitochondrion", "The organelle that makes most of the cell's ATP", 2),
                                card("Osmosis", "Diffusion of water through a selectively permeable membrane", 1, 2),
                                card("Ribosome", "Builds proteins from amino acids", 1),
                                card("Lysosome", QString("Holds digestive enzymes that break down waste. ").repeated(24))});
    set.options.questionTypes = {StudyQuestionType::written, StudyQuestionType::multipleChoice,
                                 StudyQuestionType::trueFalse};
    StudySetPage *page = open(set, true);
    root->resize(960, 1500);
    save(*root, "setpage-flashcards");

    click(page->carousel()->nextButton());
    save(*root, "setpage-card-weak");
    click(page->carousel()->toggleButton());
    save(*root, "setpage-card-turning", 160);
    save(*root, "setpage-card-turned");
    click(page->carousel()->nextButton());
    click(page->carousel()->nextButton());
    click(page->carousel()->toggleButton());
    save(*root, "setpage-card-long");

    click(page->setMenuButton());
    click(page->cardList()->cardRow(0)->menuButton());
    click(page->setMenuButton());
    save(*root, "setpage-set-menu");
    click(page->setMenuButton());
    click(page->cardList()->cardRow(1)->menuButton());
    save(*root, "setpage-row-menu");
    click(page->cardList()->cardRow(1)->editButton());
    save(*root, "setpage-card-editor");

    for (StudyMode mode : {StudyMode::learn, StudyMode::review, StudyMode::test}) {
        click(page->modeButton(mode));
        save(*root, "setpage-" + rawValue(mode).toLower());
    }

    StudySetPage *empty = open(makeSet("Empty set", 2), true);
    ASSERT_NE(empty, nullptr);
    save(*root, "setpage-empty");
}

} // namespace
