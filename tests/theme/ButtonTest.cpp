#include "Stage.h"
#include "ThemeTestSupport.h"

#include "theme/DropShadow.h"
#include "theme/QVButton.h"

#include <QHBoxLayout>

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace qv;
using qv::test::colorNear;
using qv::test::over;

namespace {
class ButtonTest : public qv::test::ThemeTest {
protected:
    qv::test::Stage stage{{400, 600}};
    int m_nextY = 40;

    QVButton *place(QVButtonVariant variant, bool compact = false, const QString &text = QStringLiteral("Save"))
    {
        auto *b = new QVButton(text, variant, compact, &stage);
        b->show();
        b->resize(b->sizeHint().width() + 40, b->sizeHint().height());
        b->move(40, m_nextY);
        m_nextY += b->height() + 20;
        stage.show();
        return b;
    }
    // A point on the face, clear of the label and the rounded corners.
    QColor faceAt(QVButton *b)
    {
        const QImage img = qv::test::grabImage(stage);
        const QPointF p = b->mapTo(&stage, QPointF(b->faceRect().left() + 14, b->faceRect().center().y()));
        return img.pixelColor(p.toPoint());
    }
    // The middle of the face's top edge, where the outline runs.
    QColor topEdgeAt(QVButton *b)
    {
        const QImage img = qv::test::grabImage(stage);
        const QPoint p = b->mapTo(&stage, QPoint(int(b->faceRect().center().x()), int(b->faceRect().top())));
        return img.pixelColor(p);
    }
};
} // namespace

TEST_F(ButtonTest, CompactIsSmallerAndTheFaceHoldsTheLabelAndBothPaddings)
{
    auto *regular = place(QVButtonVariant::primary);
    auto *compact = place(QVButtonVariant::primary, true);
    EXPECT_LT(compact->sizeHint().height(), regular->sizeHint().height());
    const int label = QFontMetrics(buttonMetrics(false).font).horizontalAdvance(QStringLiteral("Save"));
    EXPECT_GE(regular->sizeHint().width(), label + 30);
}

TEST_F(ButtonTest, EachVariantPaintsItsFillOutlineAndShadowAtRest)
{
    const QColor bg = Theme::bg();
    const QColor secondaryFill = over(Theme::withOpacity(Theme::surfaceAlt(), 0.45), bg);
    const QColor tertiaryFill = over(Theme::withOpacity(Theme::surface(), 0.75), bg);
    auto *primary = place(QVButtonVariant::primary);
    auto *secondary = place(QVButtonVariant::secondary);
    auto *tertiary = place(QVButtonVariant::tertiary);
    EXPECT_TRUE(colorNear(faceAt(primary), Theme::accent()));
    EXPECT_TRUE(colorNear(faceAt(place(QVButtonVariant::destructive)), Theme::danger()));
    EXPECT_TRUE(colorNear(faceAt(secondary), secondaryFill));
    EXPECT_TRUE(colorNear(faceAt(tertiary), tertiaryFill));

    // Only secondary and tertiary have an outline.
    EXPECT_TRUE(colorNear(topEdgeAt(primary), Theme::accent()));
    EXPECT_TRUE(colorNear(topEdgeAt(tertiary), over(Theme::border(), tertiaryFill), 4));
    EXPECT_TRUE(colorNear(topEdgeAt(secondary), over(Theme::withOpacity(Qt::white, 0.18), secondaryFill), 4));

    // Just below the face the soft shadow darkens the background a little.
    const QPoint below = primary->mapTo(&stage, QPoint(int(primary->faceRect().center().x()), primary->height() + 3));
    EXPECT_LT(qv::test::grabImage(stage).pixelColor(below).blue(), bg.blue());
}

TEST_F(ButtonTest, PressedWhileHoveredSinksAndDarkens)
{
    auto *b = place(QVButtonVariant::primary);
    qv::test::sendEnter(*b, b->rect().center());
    scheduler.advance(80);
    EXPECT_GT(b->look().scale, 1.0);
    EXPECT_LT(b->look().scale, 1.02);
    scheduler.advance(80);
    EXPECT_DOUBLE_EQ(b->look().scale, 1.02);

    QTest::mousePress(b, Qt::LeftButton, {}, b->rect().center());
    scheduler.advance(120);
    EXPECT_LT(b->look().scale, 1.02);
    EXPECT_DOUBLE_EQ(b->look().offsetY, 1);
    EXPECT_TRUE(colorNear(faceAt(b), over(Theme::withOpacity(Theme::accentPressed(), 0.92), Theme::bg())));

    QSignalSpy clicked(b, &QAbstractButton::clicked);
    QTest::mouseRelease(b, Qt::LeftButton, {}, b->rect().center());
    EXPECT_EQ(clicked.count(), 1);
    scheduler.advance(120);
    EXPECT_DOUBLE_EQ(b->look().offsetY, 0);
    qv::test::sendLeave(*b);
    scheduler.advance(160);
    EXPECT_DOUBLE_EQ(b->look().scale, 1.0);
}

TEST_F(ButtonTest, OnlyTheSystemsReduceMotionAppliesChangesAtOnce)
{
    motion.setAppReduceMotion(true);
    auto *animated = place(QVButtonVariant::primary);
    qv::test::sendEnter(*animated, animated->rect().center());
    EXPECT_DOUBLE_EQ(animated->look().scale, 1.0) << "the application preference alone still animates";
    scheduler.advance(160);
    EXPECT_DOUBLE_EQ(animated->look().scale, 1.02);

    motion.setAppReduceMotion(false);
    setSystemReduceMotion(true);
    auto *b = place(QVButtonVariant::primary);
    qv::test::sendEnter(*b, b->rect().center());
    EXPECT_DOUBLE_EQ(b->look().scale, 1.02);
    QTest::mousePress(b, Qt::LeftButton, {}, b->rect().center());
    EXPECT_DOUBLE_EQ(b->look().offsetY, 1);
    EXPECT_EQ(b->look().fill.rgb(), Theme::accentPressed().rgb());
    QTest::mouseRelease(b, Qt::LeftButton, {}, b->rect().center());
}

TEST_F(ButtonTest, DisabledButtonIsHalfOpaqueAndClicksCountOnlyOnTheRoundedFace)
{
    auto *b = place(QVButtonVariant::primary);
    b->setEnabled(false);
    EXPECT_TRUE(colorNear(faceAt(b), over(Theme::withOpacity(Theme::accent(), 0.5), Theme::bg())));
    QSignalSpy clicked(b, &QAbstractButton::clicked);
    QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
    EXPECT_EQ(clicked.count(), 0);
    b->setEnabled(true);
    // A click outside the rounded face misses it.
    const QRectF face = b->faceRect();
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(int(face.left()) + 1, int(face.top()) + 1));
    EXPECT_EQ(clicked.count(), 0);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(int(face.left()) + 12, int(face.center().y())));
    EXPECT_EQ(clicked.count(), 1);
}

TEST_F(ButtonTest, BusyButtonShowsASpinnerBesideItsLabel)
{
    auto *b = place(QVButtonVariant::primary, false, QStringLiteral("Sign In"));
    const int before = b->sizeHint().width();
    b->setBusy(true);
    EXPECT_TRUE(b->isBusy());
    EXPECT_GT(b->sizeHint().width(), before);
    EXPECT_TRUE(scheduler.hasPending()); // it spins on the clock
    b->setBusy(false);
    EXPECT_EQ(b->sizeHint().width(), before);
}

TEST_F(ButtonTest, AShadowWhoseTargetIsHiddenOrShownBeforeTheWindowShowsFollowsIt)
{
    // Hidden while the window is not yet shown, the target gets no Hide:
    // its shadow must not come up with the window at the target's first place.
    QWidget window;
    window.resize(300, 200);
    auto *hidden = new QVButton(QStringLiteral("Hidden"), QVButtonVariant::primary, false, &window);
    hidden->hide();
    auto *shown = new QVButton(QStringLiteral("Shown"), QVButtonVariant::primary, false, &window);
    shown->hide();
    shown->show();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QList<DropShadow *> shadows = window.findChildren<DropShadow *>();
    ASSERT_EQ(shadows.size(), 2);
    for (DropShadow *shadow : shadows)
        EXPECT_EQ(shadow->isVisible(), shadow->target() == shown) << shadow->target()->objectName().toStdString();
}

TEST_F(ButtonTest, ShadowFollowsAButtonIntoALayoutAndOutOfSight)
{
    // Before the button has a parent its shadow is no window of its own.
    const auto windows = QApplication::topLevelWidgets().size();
    auto *b = new QVButton(QStringLiteral("Later"));
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windows + 1); // the button alone
    auto *container = new QWidget(&stage);
    auto *layout = new QHBoxLayout(container);
    layout->addWidget(b);
    container->resize(300, 80);
    stage.show();
    container->show();
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windows);
    auto *shadow = container->findChild<DropShadow *>();
    ASSERT_NE(shadow, nullptr);
    EXPECT_TRUE(shadow->isVisible());
    EXPECT_TRUE(shadow->geometry().contains(b->geometry()));
    b->hide();
    EXPECT_FALSE(shadow->isVisible());
    b->show();
    b->move(b->x() + 30, b->y());
    EXPECT_TRUE(shadow->isVisible());
    EXPECT_TRUE(shadow->geometry().contains(b->geometry()));
    delete b;
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(container->findChild<DropShadow *>(), nullptr);
}
