#include "Stage.h"
#include "ThemeTestSupport.h"

#include "theme/QVButton.h"
#include "theme/QVPillPicker.h"
#include "theme/WheelFocusGuard.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QVBoxLayout>
#include <QtTest/qtestspontaneevent.h>

#include <gtest/gtest.h>

#include <functional>

using namespace qv;

namespace {

// One notch of the wheel, down, as the window system delivers it: to the
// widget under the pointer, handed on to its parents while nobody takes it.
void turnWheel(QWidget *over)
{
    const QPointF at = QRectF(over->rect()).center();
    QWheelEvent wheel(at, over->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    // Straight to notify: sendEvent would mark the turn as the program's own,
    // and those are not handed on.
    qApp->notify(over, &wheel);
}

class WheelFocusTest : public qv::test::ThemeTest {
protected:
    qv::test::Stage stage{{360, 240}};
    QScrollArea *area = new QScrollArea(&stage);
    QWidget *form = new QWidget;
    QSlider *slider = new QSlider(Qt::Horizontal, form);
    QSpinBox *spin = new QSpinBox(form);
    QVPillPicker *picker = new QVPillPicker(QStringLiteral("Grade"), form);

    WheelFocusTest()
    {
        WheelFocusGuard::ensureInstalled();
        auto *column = new QVBoxLayout(form);
        slider->setRange(40, 250);
        slider->setValue(77);
        spin->setRange(0, 100);
        spin->setValue(50);
        picker->setOptions<int>({9, 10, 11}, [](const int &g) { return QString::number(g); });
        picker->setSelection(10);
        column->addWidget(slider);
        column->addWidget(spin);
        column->addWidget(picker);
        column->addSpacing(900); // taller than the area: the form scrolls
        area->setWidget(form);
        area->setWidgetResizable(true);
        area->setGeometry(stage.rect());
        stage.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&stage));
    }
};

} // namespace

// A turn of the wheel over a value control scrolls the form around it while
// the control lacks the keyboard focus, and changes the value once the
// control has it. A pill picker, which takes no focus, always scrolls.
TEST_F(WheelFocusTest, TheWheelScrollsTheFormUntilTheControlHasTheFocus)
{
    const struct {
        const char *name;
        QWidget *over;
        QWidget *focus;
        std::function<QVariant()> value;
        bool changes;
    } cases[] = {
        {"slider without focus", slider, nullptr, [&] { return QVariant(slider->value()); }, false},
        {"slider with focus", slider, slider, [&] { return QVariant(slider->value()); }, true},
        {"spin box without focus", spin, nullptr, [&] { return QVariant(spin->value()); }, false},
        {"spin box with focus", spin, spin, [&] { return QVariant(spin->value()); }, true},
        {"pill picker", picker->pill(1), nullptr, [&] { return picker->selection(); }, false},
    };
    QScrollBar *bar = area->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    // Nor does a turn hand a spin box the focus on its way.
    EXPECT_EQ(spin->focusPolicy(), Qt::StrongFocus);
    for (const auto &c : cases) {
        bar->setValue(0);
        stage.setFocus();
        if (c.focus)
            c.focus->setFocus();
        QApplication::processEvents();
        const QVariant before = c.value();
        const QPoint placed = c.over->mapTo(&stage, QPoint());
        turnWheel(c.over);
        QApplication::processEvents();
        EXPECT_EQ(c.value() != before, c.changes) << c.name;
        EXPECT_EQ(bar->value() > 0, !c.changes) << c.name << ": the form did not scroll as it should";
        EXPECT_EQ(c.over->mapTo(&stage, QPoint()) != placed, !c.changes) << c.name;
        EXPECT_EQ(c.focus != nullptr, c.over->hasFocus()) << c.name << ": the wheel moved the focus";
    }
}
