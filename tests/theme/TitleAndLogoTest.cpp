#include "ThemeTestSupport.h"

#include "theme/ComingSoonView.h"
#include "theme/GradientLogoMark.h"
#include "theme/ShimmerTitle.h"

#include <QLabel>

#include <gtest/gtest.h>

using namespace qv;

class ShimmerTitleTest : public qv::test::ThemeTest {};

TEST_F(ShimmerTitleTest, ARunTurnsTheGradientAndSweepsForSixSeconds)
{
    ShimmerTitle title(QStringLiteral("Quorvel"), 56);
    EXPECT_EQ(title.accessibleName(), QStringLiteral("Quorvel"));
    EXPECT_FALSE(title.shimmer());
    title.show();
    EXPECT_TRUE(title.shimmer());
    EXPECT_TRUE(title.shouldAnimate());
    EXPECT_TRUE(title.isSweeping());
    scheduler.advance(ShimmerTitle::kSweepMs / 2);
    EXPECT_NEAR(title.direction(), 0.5, 1e-9);
    scheduler.advance(ShimmerTitle::kSweepMs / 2);
    EXPECT_NEAR(title.direction(), 1.0, 1e-9);
    scheduler.advance(ShimmerTitle::kSweepMs / 2); // swinging back
    EXPECT_NEAR(title.direction(), 0.5, 1e-9);

    scheduler.advance(6000 - 1.5 * ShimmerTitle::kSweepMs);
    EXPECT_FALSE(title.shouldAnimate());
    EXPECT_FALSE(title.isSweeping());
    EXPECT_DOUBLE_EQ(title.direction(), 1.0); // rests in the run's direction
    scheduler.advance(100);
    EXPECT_FALSE(scheduler.hasPending());
}

TEST_F(ShimmerTitleTest, ASecondAppearanceDuringARunChangesNothing)
{
    ShimmerTitle title(QStringLiteral("Quorvel"), 56);
    title.show();
    scheduler.advance(2000);
    title.hide();
    title.show();
    title.setApplicationActive(true);
    EXPECT_TRUE(title.shimmer());
    scheduler.advance(4000);
    EXPECT_FALSE(title.shouldAnimate());
    // After the run a new appearance turns the gradient back.
    title.hide();
    title.show();
    EXPECT_FALSE(title.shimmer());
    EXPECT_TRUE(title.shouldAnimate());
}

TEST_F(ShimmerTitleTest, LeavingTheActiveStateEndsARunAndTheFirstResetEndsTheNext)
{
    ShimmerTitle title(QStringLiteral("Quorvel"), 56);
    title.show(); // run 1 at 0 s
    scheduler.advance(2000);
    title.setApplicationActive(false);
    EXPECT_FALSE(title.shouldAnimate());
    EXPECT_DOUBLE_EQ(title.direction(), 1.0);
    scheduler.advance(1000);
    title.setApplicationActive(true); // run 2 at 3 s turns the gradient again
    EXPECT_TRUE(title.shouldAnimate());
    EXPECT_FALSE(title.shimmer());
    scheduler.advance(2999);
    EXPECT_TRUE(title.shouldAnimate());
    scheduler.advance(1); // 6 s: run 1's reset
    EXPECT_FALSE(title.shouldAnimate());
    EXPECT_DOUBLE_EQ(title.direction(), 0.0);
}

TEST_F(ShimmerTitleTest, EitherReduceMotionSwitchStillTurnsTheGradientWithoutSweeping)
{
    motion.setAppReduceMotion(true);
    ShimmerTitle title(QStringLiteral("Quorvel"), 56);
    title.show();
    EXPECT_TRUE(title.shimmer());
    EXPECT_FALSE(title.isSweeping());
    EXPECT_DOUBLE_EQ(title.direction(), 1.0);

    motion.setAppReduceMotion(false);
    setSystemReduceMotion(true);
    ShimmerTitle other(QStringLiteral("Lexmoor"), 68);
    other.show();
    EXPECT_FALSE(other.isSweeping());
    EXPECT_DOUBLE_EQ(other.direction(), 1.0);
}

TEST_F(ShimmerTitleTest, TheLettersCarryTheGradientAtTheLeadingEdgeAndAnEmptyTitleOnlyTakesTheWidth)
{
    ShimmerTitle title(QStringLiteral("II"), 56);
    title.resize(400, 80);
    motion.setAppReduceMotion(true);
    title.show();
    QImage img = qv::test::grabImage(title);
    int inked = 0;
    for (int x = 0; x < 400; ++x)
        for (int y = 0; y < 80; ++y)
            if (img.pixelColor(x, y).blue() > 200 && x < 100)
                ++inked;
    EXPECT_GT(inked, 50); // the letters stand at the leading edge

    ShimmerTitle empty(QString(), 44);
    EXPECT_EQ(empty.sizeHint().width(), 0);
    EXPECT_EQ(empty.sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    empty.resize(200, 60);
    img = qv::test::grabImage(empty);
    EXPECT_EQ(img.pixelColor(10, 30), img.pixelColor(100, 30)); // invisible
}

class LogoMarkTest : public qv::test::ThemeTest {};

TEST_F(LogoMarkTest, FallbackSymbolIsCentredAndSweepsUnlessMotionIsReduced)
{
    GradientLogoMark mark(46, QStringLiteral("pencil.tip"));
    ASSERT_TRUE(mark.usesFallbackSymbol());
    const QRectF r = mark.logoRect();
    EXPECT_NEAR(r.left(), (46 - r.width()) / 2, 1e-9);
    EXPECT_NEAR(r.top(), (46 - r.height()) / 2, 1e-9);
    EXPECT_FALSE(mark.shimmer());
    mark.show();
    EXPECT_TRUE(mark.shimmer());
    const QImage img = qv::test::grabImage(mark);
    int shaped = 0;
    for (int x = 0; x < 46; ++x)
        for (int y = 0; y < 46; ++y)
            shaped += img.pixelColor(x, y).blue() > 150;
    EXPECT_GT(shaped, 20);

    // It sweeps forever, until motion is reduced or it is hidden.
    scheduler.advance(GradientLogoMark::kSweepMs);
    EXPECT_NEAR(mark.direction(), 1.0, 1e-9);
    scheduler.advance(GradientLogoMark::kSweepMs);
    EXPECT_NEAR(mark.direction(), 0.0, 1e-9);
    EXPECT_TRUE(mark.isSweeping());
    setSystemReduceMotion(true);
    EXPECT_FALSE(mark.isSweeping());
    EXPECT_DOUBLE_EQ(mark.direction(), 1.0);
    mark.hide();
    scheduler.advance(100);
    EXPECT_FALSE(scheduler.hasPending());
}

class ComingSoonTest : public qv::test::ThemeTest {};

TEST_F(ComingSoonTest, TheDetailWrapsCentredWhenNarrow)
{
    ComingSoonView card(QStringLiteral("Trivane"), QStringLiteral("Trivane is coming soon."));
    EXPECT_LE(card.maximumWidth(), 380);
    // The detail stays on one line at full width and wraps, centred, when narrow.
    card.resize(380, card.heightForWidth(380));
    const int wide = card.heightForWidth(380);
    EXPECT_GT(card.heightForWidth(180), wide);
    EXPECT_TRUE(card.detail()->alignment() & Qt::AlignHCenter);
}
