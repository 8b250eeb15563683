#include "app/AccessibleScrollArea.h"

#include <QAccessible>
#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace qv::app {
namespace {

class AccessibleScrollAreaTest : public ::testing::Test {
protected:
    void SetUp() override { installScrollAreaAccessibility(); }
};

// A client reads the child count, the page shrinks and its scroll bar goes,
// then the client asks for the index it was told about: it gets nothing,
// never a pointer from past the end of the list.
TEST_F(AccessibleScrollAreaTest, ChildrenFollowTheScrollBarAndAnIndexPastTheEndIsNothing)
{
    QScrollArea area;
    auto *content = new QWidget;
    content->setMinimumHeight(2000);
    area.setWidget(content);
    area.setWidgetResizable(true);
    area.resize(300, 300);
    area.show();
    QApplication::processEvents();

    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&area);
    ASSERT_NE(iface, nullptr);
    ASSERT_EQ(iface->childCount(), 2);
    EXPECT_EQ(iface->child(0)->object(), area.viewport());
    QAccessibleInterface *bar = iface->child(1);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->object(), area.verticalScrollBar()->parentWidget());
    EXPECT_EQ(iface->indexOfChild(bar), 1);

    content->setMinimumHeight(10);
    QApplication::processEvents();
    ASSERT_FALSE(area.verticalScrollBar()->isVisible());
    EXPECT_EQ(iface->childCount(), 1);
    // Past the end of a one-entry list lies whatever the heap held last: here
    // a pointer to a deleted widget, as after a page's rows were rebuilt.
    auto *gone = new QWidget;
    delete gone;
    {
        QList<QWidget *> stale{&area, gone};
    }
    EXPECT_EQ(iface->child(1), nullptr);
    EXPECT_EQ(iface->child(-1), nullptr);
    EXPECT_EQ(iface->indexOfChild(bar), -1);
}

// Text boxes are scroll areas too and keep the interface that gives their text.
TEST_F(AccessibleScrollAreaTest, TextBoxesKeepTheirOwnInterface)
{
    QTextEdit edit;
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&edit);
    ASSERT_NE(iface, nullptr);
    EXPECT_NE(iface->textInterface(), nullptr);
    EXPECT_EQ(iface->role(), QAccessible::EditableText);
}

} // namespace
} // namespace qv::app
