#include "ThemeTestSupport.h"

#include "theme/AnimatedValue.h"
#include "theme/Easing.h"

#include <gtest/gtest.h>

using namespace qv;
using qv::test::ThemeTest;

TEST(Easing, EaseInOutIsTheStandardCurveAndAutoreverseRunsForwardThenBack)
{
    // Known value of cubic-bezier(0.42, 0, 0.58, 1) at t = 0.25; clamped outside [0, 1].
    for (auto [t, want] : {std::pair{0.0, 0.0}, {1.0, 1.0}, {0.5, 0.5}, {0.25, 0.1291}, {-3.0, 0.0}, {7.0, 1.0}})
        EXPECT_NEAR(easing::easeInOut(t), want, 5e-4) << t;
    EXPECT_NEAR(easing::easeInOut(0.25) + easing::easeInOut(0.75), 1.0, 1e-9);
    for (int i = 1; i <= 100; ++i)
        EXPECT_GE(easing::easeInOut(i / 100.0), easing::easeInOut((i - 1) / 100.0));

    for (auto [ms, want] :
         {std::pair{0.0, 0.0}, {500.0, 0.5}, {1000.0, 1.0}, {1500.0, 0.5}, {2000.0, 0.0}, {2250.0, 0.25}})
        EXPECT_DOUBLE_EQ(easing::autoreverseFraction(ms, 1000), want) << ms;
    EXPECT_DOUBLE_EQ(easing::autoreverseFraction(5, 0), 1);
    EXPECT_DOUBLE_EQ(easing::repeatFraction(1250, 1000), 0.25);
}

class AnimatedValueTest : public ThemeTest {};

TEST_F(AnimatedValueTest, MovesOnTheVirtualClockRetargetsFromWhereItIsAndSettles)
{
    QWidget owner;
    owner.show();
    AnimatedValue v(0, &owner);
    v.set(1, Animation::easeInOut(200));
    EXPECT_DOUBLE_EQ(v.value(), 0);
    EXPECT_TRUE(v.isAnimating());
    scheduler.advance(100);
    EXPECT_NEAR(v.value(), 0.5, 1e-9);
    scheduler.advance(100);
    EXPECT_DOUBLE_EQ(v.value(), 1);
    EXPECT_FALSE(v.isAnimating());
    scheduler.advance(50);
    EXPECT_FALSE(scheduler.hasPending());

    v.set(0, Animation{100, Animation::Repeat::Once, Animation::Curve::Linear});
    scheduler.advance(40);
    v.set(1, Animation{100, Animation::Repeat::Once, Animation::Curve::Linear});
    EXPECT_NEAR(v.value(), 0.6, 1e-9);
    scheduler.advance(50);
    EXPECT_NEAR(v.value(), 0.8, 1e-9);
    scheduler.advance(100);
    ASSERT_FALSE(scheduler.hasPending());

    // A value that goes cancels its tick.
    auto *other = new AnimatedValue(0, &owner);
    other->set(1, Animation::easeInOut(200));
    EXPECT_TRUE(scheduler.hasPending());
    delete other;
    EXPECT_FALSE(scheduler.hasPending());
}

TEST_F(AnimatedValueTest, WithoutAnimationChangesAtOnce)
{
    QWidget owner;
    AnimatedValue v(0, &owner);
    int changes = 0;
    QObject::connect(&v, &AnimatedValue::changed, [&] { ++changes; });
    v.set(3, Animation::none());
    EXPECT_DOUBLE_EQ(v.value(), 3);
    EXPECT_FALSE(v.isAnimating());
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(scheduler.hasPending());
}

TEST_F(AnimatedValueTest, ForeverAutoreverseSwingsAndTicksOnlyWhileTheOwnerShows)
{
    QWidget owner;
    AnimatedValue v(0, &owner);
    v.set(1, Animation::easeInOutForeverAutoreverse(1000));
    EXPECT_FALSE(scheduler.hasPending()) << "a hidden owner does not tick";
    scheduler.advance(1000);
    EXPECT_NEAR(v.value(), 1, 1e-9); // reading still gives the right frame
    owner.show();
    EXPECT_TRUE(scheduler.hasPending());
    scheduler.advance(1000);
    EXPECT_NEAR(v.value(), 0, 1e-9);
    scheduler.advance(500);
    EXPECT_NEAR(v.value(), 0.5, 1e-9);
    EXPECT_TRUE(v.isAnimating());
    owner.hide();
    scheduler.advance(100); // one last tick finds the owner hidden
    EXPECT_FALSE(scheduler.hasPending());
}

TEST(MotionSettingsTest, EitherSwitchReducesMotion)
{
    qv::test::FakeDesktop desktop;
    desktop.reduce = true;
    MotionSettings m(&desktop);
    EXPECT_TRUE(m.systemReduceMotion());
    EXPECT_FALSE(m.appReduceMotion());
    EXPECT_TRUE(m.reduceMotion());

    int changes = 0;
    QObject::connect(&m, &MotionSettings::changed, [&] { ++changes; });
    desktop.reduce = false;
    m.refreshSystem();
    EXPECT_FALSE(m.reduceMotion());
    m.setAppReduceMotion(true);
    EXPECT_TRUE(m.reduceMotion());
    EXPECT_FALSE(m.systemReduceMotion());
    m.setAppReduceMotion(true);
    m.refreshSystem();
    EXPECT_EQ(changes, 2);

    MotionSettings none;
    EXPECT_FALSE(none.reduceMotion());
}
