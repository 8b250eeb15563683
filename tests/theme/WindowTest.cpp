#include "ThemeTestSupport.h"

#include "theme/AnimatedValue.h"
#include "theme/CustomWindow.h"
#include "theme/LayerPaint.h"
#include "theme/QVBackground.h"
#include "theme/WindowControlsIsland.h"
#include "theme/WindowFrame.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWindow>

#include <gtest/gtest.h>

using namespace qv;
using qv::test::colorNear;

class CustomWindowTest : public qv::test::ThemeTest {};

TEST_F(CustomWindowTest, AnOutsideCloseGoesToTheOpenersCloseAction)
{
    CustomWindow plain;
    plain.show();
    EXPECT_TRUE(plain.close()) << "without a close action it closes normally";
    EXPECT_FALSE(plain.isVisible());

    CustomWindow window(new QVBackground);
    window.resize(400, 300);
    window.show();
    int asked = 0;
    bool agree = false; // an opener may keep it open, e.g. to ask to save first
    window.setCloseAction([&] {
        ++asked;
        if (agree)
            window.closeFromOpener();
    });
    QSignalSpy requested(&window, &CustomWindow::closeRequested);
    // What the window manager's close (Alt+F4) delivers.
    EXPECT_FALSE(window.close());
    QApplication::processEvents();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(window.isVisible());
    agree = true;
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(requested.count(), 2);
    QApplication::processEvents();
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(CustomWindowTest, IsFramelessAndTakesKeyboardFocus)
{
    auto *field = new QLineEdit;
    CustomWindow window(field);
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::Tool));
    EXPECT_FALSE(window.testAttribute(Qt::WA_ShowWithoutActivating));
    window.show();
    QApplication::setActiveWindow(&window);
    field->setFocus();
    EXPECT_TRUE(field->hasFocus());
    QTest::keyClicks(field, QStringLiteral("abc"));
    EXPECT_EQ(field->text(), QStringLiteral("abc"));
}

TEST_F(CustomWindowTest, WithoutACompositorTheCornersAreMaskedAndTheBorderDrawn)
{
    CustomWindow window(new QVBackground, 20);
    window.resize(300, 200);
    window.show();
    ASSERT_FALSE(window.frame()->compositing());
    const QRegion mask = window.mask();
    EXPECT_FALSE(mask.contains(QPoint(1, 1)));
    EXPECT_FALSE(mask.contains(QPoint(298, 198)));
    EXPECT_TRUE(mask.contains(QPoint(150, 100)));
    EXPECT_TRUE(mask.contains(QPoint(150, 0)));
    const QImage img = qv::test::grabImage(window);
    // The hairline border is brighter than the background inside it.
    EXPECT_GT(img.pixelColor(150, 0).red(), img.pixelColor(150, 5).red());
    // A later resize follows with a new mask, and the border is drawn anew
    // along the new edges.
    window.resize(500, 400);
    EXPECT_TRUE(window.mask().contains(QPoint(450, 200)));
    const QImage larger = qv::test::grabImage(window);
    EXPECT_GT(larger.pixelColor(250, 399).red(), larger.pixelColor(250, 394).red());
    EXPECT_GT(larger.pixelColor(499, 200).red(), larger.pixelColor(494, 200).red());
}

TEST(LayerPaint, EdgeRegionsAndLayersDrawnOncePerSizeAndKey)
{
    const QRect all(0, 0, 100, 60);
    const QRegion strip = edgeRegion(all, 3);
    EXPECT_TRUE(strip.contains(QPoint(2, 30)));
    EXPECT_FALSE(strip.contains(QPoint(3, 30)));
    EXPECT_TRUE(strip.contains(QPoint(50, 57)));
    const QRegion cornered = edgeRegion(all, 3, 10);
    EXPECT_TRUE(cornered.contains(QPoint(9, 9)));
    EXPECT_TRUE(cornered.contains(QPoint(90, 50)));
    EXPECT_FALSE(cornered.contains(QPoint(10, 10)));
    EXPECT_EQ(edgeRegion(all, 0, 10).rectCount(), 4);

    CachedLayer layer;
    int draws = 0;
    const auto draw = [&](QPainter &p) {
        ++draws;
        p.fillRect(QRect(0, 0, 4, 4), Qt::red);
    };
    struct Call {
        QSize size;
        quint64 key;
        int drawsAfter;
    };
    const Call calls[] = {
        {{20, 10}, 1, 1}, {{20, 10}, 1, 1}, {{20, 10}, 2, 2}, {{30, 10}, 2, 3}, {{30, 10}, 2, 3},
    };
    for (const Call &c : calls) {
        const QPixmap &pixmap = layer.get(c.size, 1.0, c.key, draw);
        EXPECT_EQ(draws, c.drawsAfter);
        EXPECT_EQ(pixmap.size(), c.size);
        const QImage image = pixmap.toImage();
        EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::red));
        EXPECT_EQ(image.pixelColor(10, 5).alpha(), 0) << "not cleared before drawing";
    }
}

TEST_F(CustomWindowTest, WithACompositorTheCornersAreCutSoftlyWithoutAMask)
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QVBackground);
    WindowFrame frame(&window, 20, true, true);
    window.resize(300, 200);
    window.show();
    EXPECT_TRUE(window.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_TRUE(window.mask().isEmpty());
    const QImage img = window.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(img.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(img.pixelColor(299, 199).alpha(), 0);
    EXPECT_EQ(img.pixelColor(150, 100).alpha(), 255);
    // Along the curve the edge is partly transparent, not stepped.
    bool soft = false;
    for (int i = 0; i < 10; ++i) {
        const int a = img.pixelColor(i, i).alpha(); // the curve crosses the diagonal near 5.9
        soft = soft || (a > 0 && a < 255);
    }
    EXPECT_TRUE(soft);
}

TEST_F(CustomWindowTest, TheBackgroundMovesTheWindowOnlyOnceThePointerTravelsWithTheButtonHeld)
{
    // Offscreen has no window manager move, so the frame follows the
    // pointer itself: where the window goes shows when a move started.
    QWidget window;
    WindowFrame frame(&window, 20, true, false);
    window.setGeometry(200, 150, 400, 300);
    window.show();
    QWindow *handle = window.windowHandle();
    const QPoint start = window.pos();
    const QPoint press(100, 100);

    // A tap: press and release at once, then the pointer wanders off.
    QTest::mousePress(handle, Qt::LeftButton, {}, press);
    QTest::mouseRelease(handle, Qt::LeftButton, {}, press);
    QTest::mouseMove(handle, press + QPoint(60, 40));
    EXPECT_EQ(window.pos(), start) << "a tap is no drag";

    // A press that jitters by less than the drag distance stays put.
    QTest::mousePress(handle, Qt::LeftButton, {}, press);
    QTest::mouseMove(handle, press + QPoint(1, 1));
    EXPECT_EQ(window.pos(), start);
    // A real drag moves it by what the pointer travelled.
    QTest::mouseMove(handle, press + QPoint(40, 30));
    EXPECT_EQ(window.pos(), start + QPoint(40, 30));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, press + QPoint(40, 30));
    const QPoint dropped = window.pos();
    QTest::mouseMove(handle, press + QPoint(90, 90));
    EXPECT_EQ(window.pos(), dropped) << "the move ends with the release";
}

TEST(WindowFrameEdges, PointsNearTheBorderGrabTheirEdges)
{
    for (auto [p, edges] : {std::pair{QPoint(100, 50), Qt::Edges()},
                            {QPoint(0, 50), Qt::Edges(Qt::LeftEdge)},
                            {QPoint(199, 50), Qt::Edges(Qt::RightEdge)},
                            {QPoint(100, 4), Qt::Edges(Qt::TopEdge)},
                            {QPoint(100, 95), Qt::Edges(Qt::BottomEdge)},
                            {QPoint(2, 98), Qt::BottomEdge | Qt::LeftEdge},
                            {QPoint(199, 0), Qt::TopEdge | Qt::RightEdge},
                            {QPoint(5, 50), Qt::Edges()},
                            {QPoint(-1, 50), Qt::Edges()}})
        EXPECT_EQ(WindowFrame::edgesAt(p, QSize(200, 100)), edges) << p.x() << "," << p.y();
}

class IslandTest : public qv::test::ThemeTest {
protected:
    QWidget host;
    void SetUp() override { host.resize(800, 500); }
    // The pointer moving over the window, as the platform reports it.
    void enter(WindowControlsIsland &) { QTest::mouseMove(host.windowHandle(), {40, 60}); }
    void leave(WindowControlsIsland &) { QTest::mouseMove(host.windowHandle(), {400, 300}); }
};

TEST_F(IslandTest, AlwaysVisibleShowsTheTwoDotsInTheCornerAtOnceAboveLaterViews)
{
    auto *island = new WindowControlsIsland(false, nullptr, 4, true, &host);
    auto *later = new QVBackground(&host);
    later->setGeometry(host.rect());
    host.show();
    EXPECT_EQ(host.childAt(island->cardGeometry().center()), later) << "the card's face lets presses through";
    EXPECT_EQ(host.childAt(island->closeButton()->geometry().center()), island->closeButton());
    EXPECT_EQ(host.childAt(island->minimizeButton()->geometry().center()), island->minimizeButton());
    EXPECT_TRUE(island->isCardShown());
    EXPECT_DOUBLE_EQ(island->cardOpacity(), 1);
    EXPECT_EQ(island->profileButton(), nullptr);
    EXPECT_EQ(island->closeButton()->accessibleName(), QStringLiteral("Close"));
    EXPECT_EQ(island->minimizeButton()->accessibleName(), QStringLiteral("Minimize"));
    leave(*island);
    EXPECT_TRUE(island->isCardShown());

    const QImage img = qv::test::grabImage(host);
    const QPoint closeCentre = island->closeButton()->mapTo(&host, QPoint(6, 6));
    const QPoint minCentre = island->minimizeButton()->mapTo(&host, QPoint(6, 6));
    EXPECT_TRUE(colorNear(img.pixelColor(closeCentre), QColor::fromRgbF(1.0f, 0.37f, 0.36f), 3));
    EXPECT_TRUE(colorNear(img.pixelColor(minCentre), QColor::fromRgbF(1.0f, 0.78f, 0.29f), 3));
}

TEST_F(IslandTest, PressesOutsideTheDotsReachTheViewBeneathWhileTheDotsKeepTheirOwn)
{
    // A page's Back button under the corner, added after the island as a
    // page would be; every press goes through the window's own hit testing.
    for (const bool alwaysVisible : {true, false}) {
        SCOPED_TRACE(alwaysVisible);
        QWidget page;
        page.resize(800, 500);
        auto *island = new WindowControlsIsland(true, nullptr, 4, alwaysVisible, &page);
        auto *back = new QPushButton(QStringLiteral("Back"), &page);
        back->setGeometry(0, 0, 320, 120);
        page.show();
        QSignalSpy backClicks(back, &QAbstractButton::clicked);
        QSignalSpy closes(island, &WindowControlsIsland::closeRequested);
        QTest::mouseMove(page.windowHandle(), {30, 40}); // hovering shows the card
        scheduler.advance(200);
        ASSERT_TRUE(island->isCardShown());
        ASSERT_TRUE(island->closeButton()->isVisible());

        const QRect card = island->cardGeometry();
        const QPoint close = island->closeButton()->geometry().center();
        const QPoint outside[] = {
            card.topLeft() + QPoint(2, 2),                                     // the card's padding
            island->minimizeButton()->geometry().bottomRight() + QPoint(3, 0), // between the dots
            card.bottomLeft() + QPoint(5, 10),                                 // under the card
            island->geometry().bottomRight() - QPoint(2, 2),                   // the region's far corner
        };
        for (const QPoint &p : outside) {
            SCOPED_TRACE(QStringLiteral("%1,%2").arg(p.x()).arg(p.y()).toStdString());
            const qsizetype before = backClicks.count();
            QTest::mouseClick(page.windowHandle(), Qt::LeftButton, {}, p);
            EXPECT_EQ(backClicks.count(), before + 1);
        }
        EXPECT_EQ(closes.count(), 0);
        QTest::mouseClick(page.windowHandle(), Qt::LeftButton, {}, close);
        EXPECT_EQ(closes.count(), 1) << "the dot itself still takes its press";
        EXPECT_EQ(backClicks.count(), 4);
        delete island;
        EXPECT_EQ(page.childAt(close), back) << "the dots go with their island";
    }
}

TEST_F(IslandTest, CloseOnlyAsksAndMinimizeActsOnTheActiveWindowOnly)
{
    auto *island = new WindowControlsIsland(false, nullptr, 4, true, &host);
    host.show();
    QSignalSpy close(island, &WindowControlsIsland::closeRequested);
    QSignalSpy minimize(island, &WindowControlsIsland::minimizeRequested);
    QTest::mouseClick(island->closeButton(), Qt::LeftButton, {}, QPoint(6, 6));
    EXPECT_EQ(close.count(), 1);
    EXPECT_TRUE(host.isVisible());
    QApplication::setActiveWindow(nullptr);
    QTest::mouseClick(island->minimizeButton(), Qt::LeftButton, {}, QPoint(6, 6));
    EXPECT_EQ(minimize.count(), 1);
    EXPECT_FALSE(host.isMinimized());

    QApplication::setActiveWindow(&host);
    QTest::mouseClick(island->minimizeButton(), Qt::LeftButton, {}, QPoint(6, 6));
    EXPECT_TRUE(host.windowState() & Qt::WindowMinimized) << "the active window is minimised";
}

TEST_F(IslandTest, HoverRevealFadesInAndOutUnlessMotionIsReduced)
{
    auto *island = new WindowControlsIsland(false, nullptr, 4, false, &host);
    host.show();
    EXPECT_FALSE(island->isCardShown());
    EXPECT_DOUBLE_EQ(island->cardOpacity(), 0);

    enter(*island);
    EXPECT_TRUE(island->isCardShown());
    scheduler.advance(90);
    EXPECT_NEAR(island->cardOpacity(), 0.5, 1e-9);
    scheduler.advance(90);
    EXPECT_DOUBLE_EQ(island->cardOpacity(), 1);

    leave(*island);
    EXPECT_FALSE(island->isCardShown());
    scheduler.advance(180);
    EXPECT_DOUBLE_EQ(island->cardOpacity(), 0);
    scheduler.advance(AnimatedValue::kFrameMs); // the next frame removes it
    EXPECT_FALSE(island->closeButton()->isVisible());

    // Either reduce-motion switch shows and hides the card at once.
    motion.setAppReduceMotion(true);
    enter(*island);
    EXPECT_DOUBLE_EQ(island->cardOpacity(), 1);
    motion.setAppReduceMotion(false);
    setSystemReduceMotion(true);
    leave(*island);
    EXPECT_DOUBLE_EQ(island->cardOpacity(), 0);
}

TEST_F(IslandTest, ProfileButtonCallsBackOnlyWhenGivenACallback)
{
    auto *silent = new WindowControlsIsland(true, nullptr, 4, true, &host);
    host.show();
    ASSERT_NE(silent->profileButton(), nullptr);
    QTest::mouseClick(silent->profileButton(), Qt::LeftButton, {}, QPoint(14, 14)); // does nothing

    int calls = 0;
    auto *island = new WindowControlsIsland(
        true, [&] { ++calls; }, 4, true, &host);
    QTest::mouseClick(island->profileButton(), Qt::LeftButton, {}, QPoint(14, 14));
    EXPECT_EQ(calls, 1);
}
