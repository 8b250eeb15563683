#include "Stage.h"
#include "ThemeTestSupport.h"

#include "theme/QVButton.h"
#include "theme/QVPillPicker.h"
#include "theme/QVToggle.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace qv;
using qv::test::colorNear;

class ToggleTest : public qv::test::ThemeTest {
protected:
    qv::test::Stage stage;
};

TEST_F(ToggleTest, OnlyTheSwitchFlipsTheValueAndTrackAndKnobShowItWithoutAnimation)
{
    auto *t = new QVToggle(QStringLiteral("Humanize"), &stage);
    t->resize(260, t->sizeHint().height());
    stage.show();
    const QRectF track = t->trackRect();
    auto sample = [&](double x) {
        return qv::test::grabImage(*t).pixelColor(int(track.left() + x), int(track.center().y()));
    };
    // Off: the knob sits 3 pixels inside the leading end; the track is dark.
    EXPECT_TRUE(colorNear(sample(3 + 9), Qt::white, 6));
    EXPECT_TRUE(colorNear(sample(34), Theme::surfaceAlt(), 6));

    QSignalSpy toggled(t, &QAbstractButton::toggled);
    QTest::mouseClick(t, Qt::LeftButton, {}, QPoint(10, t->height() / 2));
    QTest::mouseClick(t, Qt::LeftButton, {}, QPoint(t->width() / 2, t->height() / 2)); // the gap
    EXPECT_FALSE(t->isChecked());
    EXPECT_EQ(toggled.count(), 0);
    QTest::mouseClick(t, Qt::LeftButton, {}, track.center().toPoint());
    EXPECT_TRUE(t->isChecked());
    EXPECT_FALSE(scheduler.hasPending());
    EXPECT_TRUE(colorNear(sample(track.width() - 3 - 9), Qt::white, 6));
    EXPECT_TRUE(colorNear(sample(10), Theme::accent(), 6));
    EXPECT_DOUBLE_EQ(t->knobRect().right(), track.right() - 3);
    QTest::mouseClick(t, Qt::LeftButton, {}, track.center().toPoint());
    EXPECT_FALSE(t->isChecked());
    EXPECT_EQ(toggled.count(), 2);
}

class PillPickerTest : public qv::test::ThemeTest {
protected:
    qv::test::Stage stage{{500, 120}};
};

TEST_F(PillPickerTest, TheChosenOptionIsPrimaryAPressChoosesAnotherAndAnOutsideSelectionMarksNone)
{
    auto *picker = new QVPillPicker(QStringLiteral("Grade"), &stage);
    picker->setOptions<int>({9, 10, 11}, [](const int &g) { return QString::number(g); });
    picker->setSelection(10);
    picker->resize(picker->sizeHint());
    stage.show();
    EXPECT_EQ(picker->pill(0)->text(), QStringLiteral("9"));
    EXPECT_EQ(picker->pill(0)->variant(), QVButtonVariant::secondary);
    EXPECT_EQ(picker->pill(1)->variant(), QVButtonVariant::primary);
    EXPECT_TRUE(picker->pill(1)->compact());

    QSignalSpy changed(picker, &QVPillPicker::selectionChanged);
    QTest::mouseClick(picker->pill(2), Qt::LeftButton, {}, picker->pill(2)->rect().center());
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toInt(), 11);
    EXPECT_EQ(picker->selectionAs<int>(), 11);
    EXPECT_EQ(picker->pill(1)->variant(), QVButtonVariant::secondary);
    EXPECT_EQ(picker->pill(2)->variant(), QVButtonVariant::primary);

    // A selection outside the options marks no pill.
    auto *untitled = new QVPillPicker(std::nullopt, &stage);
    untitled->setOptions<QString>({QStringLiteral("light"), QStringLiteral("heavy")},
                                  [](const QString &s) { return s; });
    untitled->setSelection(QStringLiteral("medium"));
    EXPECT_EQ(untitled->titleLabel(), nullptr);
    EXPECT_EQ(untitled->pill(0)->variant(), QVButtonVariant::secondary);
    EXPECT_EQ(untitled->pill(1)->variant(), QVButtonVariant::secondary);
    // Setting the selection from outside is not a press.
    QSignalSpy untouched(untitled, &QVPillPicker::selectionChanged);
    untitled->setSelection(QStringLiteral("light"));
    EXPECT_EQ(untouched.count(), 0);
    EXPECT_EQ(untitled->pill(0)->variant(), QVButtonVariant::primary);
}

TEST_F(PillPickerTest, NoOptionsShowOnlyTheTitleAndNewOptionsReplaceTheOldPills)
{
    QVPillPicker titled(QStringLiteral("Options"));
    titled.setOptions(QList<QVariant>{}, [](const QVariant &v) { return v.toString(); });
    EXPECT_EQ(titled.pill(0), nullptr);
    EXPECT_NE(titled.titleLabel(), nullptr);
    QVPillPicker bare;
    bare.setOptions(QList<QVariant>{}, [](const QVariant &v) { return v.toString(); });
    EXPECT_LE(bare.sizeHint().height(), 4);

    // Replacing the options drops the old pills.
    bare.setOptions<int>({1, 2, 3}, [](const int &g) { return QString::number(g); });
    bare.setOptions<int>({7}, [](const int &g) { return QString::number(g); });
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(bare.findChildren<QVButton *>().size(), 1);
    EXPECT_EQ(bare.pill(0)->text(), QStringLiteral("7"));
}

TEST_F(PillPickerTest, OptionsMayBeReplacedInAnswerToAPress)
{
    auto *picker = new QVPillPicker(std::nullopt, &stage);
    picker->setOptions<int>({1, 2}, [](const int &g) { return QString::number(g); });
    stage.show();
    QObject::connect(picker, &QVPillPicker::selectionChanged, picker, [picker](const QVariant &v) {
        picker->setOptions<int>({v.toInt(), 3}, [](const int &g) { return QString::number(g); });
    });
    QTest::mouseClick(picker->pill(1), Qt::LeftButton, {}, picker->pill(1)->rect().center());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(picker->pill(1)->text(), QStringLiteral("3"));
    EXPECT_EQ(picker->selectionAs<int>(), 2);
    EXPECT_EQ(picker->pill(0)->variant(), QVButtonVariant::primary);
}
