#include "Stage.h"
#include "ThemeTestSupport.h"

#include "theme/FocusRing.h"
#include "theme/QVLineEdit.h"
#include "theme/QVTextEditor.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

#include <gtest/gtest.h>

using namespace qv;
using qv::test::colorNear;
using qv::test::over;

namespace {
class InputTest : public qv::test::ThemeTest {
protected:
    qv::test::Stage stage{{400, 260}};
    QLineEdit *other = new QLineEdit(&stage);

    void SetUp() override
    {
        other->move(0, 220);
        stage.show();
        QApplication::setActiveWindow(&stage);
    }
    QColor at(QWidget *w, QPoint local) { return qv::test::grabImage(stage).pixelColor(w->mapTo(&stage, local)); }
    QColor fieldFill() { return over(Theme::withOpacity(Theme::surfaceAlt(), 0.92), Theme::bg()); }
};
} // namespace

TEST_F(InputTest, LineEditOutlineTurnsAccentWithAGlowWhileFocused)
{
    auto *field = new QVLineEdit(&stage);
    field->setGeometry(40, 40, 260, field->sizeHint().height());
    field->show();
    const QPoint topMiddle(field->width() / 2, 0);
    const QPoint justAbove(field->width() / 2, -4);
    EXPECT_TRUE(colorNear(at(field, topMiddle), over(Theme::border(), fieldFill()), 4));
    EXPECT_TRUE(colorNear(at(field, justAbove), Theme::bg(), 1)); // no glow
    EXPECT_FALSE(field->showsFocusRing());

    field->setFocus();
    EXPECT_TRUE(field->hasFocus());
    EXPECT_TRUE(field->showsFocusRing());
    EXPECT_TRUE(colorNear(at(field, topMiddle), Theme::accent(), 4));
    const QColor glow = at(field, justAbove);
    EXPECT_GT(glow.blue(), Theme::bg().blue() + 10);

    other->setFocus();
    EXPECT_FALSE(field->showsFocusRing());
    EXPECT_TRUE(colorNear(at(field, topMiddle), over(Theme::border(), fieldFill()), 4));

    // A field that does not follow focus keeps the plain outline.
    field->setShowsFocus(false);
    field->setFocus();
    EXPECT_TRUE(field->hasFocus());
    EXPECT_FALSE(field->showsFocusRing());
    EXPECT_TRUE(colorNear(at(field, topMiddle), over(Theme::border(), fieldFill()), 4));
}

TEST_F(InputTest, LineEditIsAtLeastFortyHighWithItsPaddingAndPasswordsLookTheSame)
{
    QVLineEdit field;
    EXPECT_GE(field.sizeHint().height(), 40);
    EXPECT_GE(field.minimumSizeHint().height(), 40);
    field.resize(240, 40);
    // The caret of an empty field stands 12 pixels in from the leading edge.
    EXPECT_NEAR(field.inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x(), 12, 3);

    auto *plain = new QVLineEdit(&stage);
    auto *secure = new QVLineEdit(&stage);
    secure->setEchoMode(QLineEdit::Password);
    plain->setGeometry(20, 20, 200, 40);
    secure->setGeometry(20, 100, 200, 40);
    plain->show();
    secure->show();
    EXPECT_EQ(qv::test::grabImage(*plain), qv::test::grabImage(*secure));
    EXPECT_TRUE(colorNear(at(secure, {20, 20}), fieldFill(), 3));
}

TEST_F(InputTest, TextEditorTakesTheSameLookWithTenOfPadding)
{
    auto *editor = new QVTextEditor(&stage);
    editor->setGeometry(40, 40, 260, 120);
    editor->show();
    EXPECT_EQ(editor->editor()->geometry().topLeft(), QPoint(10, 10));
    EXPECT_TRUE(colorNear(at(editor, {5, 60}), fieldFill(), 3));

    QSignalSpy changed(editor, &QVTextEditor::textChanged);
    editor->setPlainText(QStringLiteral("line one\nline two"));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("line one\nline two"));

    editor->setFocus();
    EXPECT_TRUE(editor->editor()->hasFocus());
    EXPECT_TRUE(editor->showsFocusRing());
    EXPECT_TRUE(colorNear(at(editor, {130, 0}), Theme::accent(), 4));
    other->setFocus();
    EXPECT_FALSE(editor->showsFocusRing());
}

TEST_F(InputTest, FocusRingOnAnyWidgetDrawsOverItsContent)
{
    auto *content = new qv::test::Stage({120, 60});
    content->setParent(&stage);
    content->move(50, 50);
    content->show();
    FocusRing ring(content, 12);
    EXPECT_TRUE(colorNear(at(content, {60, 0}), over(Theme::border(), Theme::bg()), 3));
    ring.setFocused(true);
    EXPECT_TRUE(colorNear(at(content, {60, 0}), Theme::accent(), 3));
}

TEST_F(InputTest, WrappedTextNeverScrollsSideways)
{
    // The small editors of the application: the live preview (70 high) and
    // taller ones, typed into line by line as a user does.
    const QString sample = QStringLiteral(
        "Rivers shape the towns that grow beside them. In this essay I argue that the river is the "
        "town's memory.\nA third line follows. Floccinaucinihilipilificationlongwordwithoutabreak "
        "and more words.\nAnd a fourth.");
    for (const QSize size : {QSize(300, 70), QSize(200, 70), QSize(360, 160)}) {
        auto *editor = new QVTextEditor(&stage);
        editor->setGeometry(10, 10, size.width(), size.height());
        editor->show();
        editor->setFocus();
        for (const QString &line : sample.split(u'\n')) {
            if (!editor->toPlainText().isEmpty())
                QTest::keyClick(editor->editor(), Qt::Key_Return);
            QTest::keyClicks(editor->editor(), line);
        }
        QApplication::processEvents();
        ASSERT_EQ(editor->toPlainText(), sample);
        QScrollBar *sideways = editor->editor()->horizontalScrollBar();
        EXPECT_EQ(sideways->value(), 0) << size.width() << "x" << size.height();
        EXPECT_FALSE(sideways->isVisible());
        // The first letter of every line stays at the left edge.
        const QTextBlock first = editor->editor()->document()->firstBlock();
        EXPECT_EQ(editor->editor()->cursorRect(QTextCursor(first)).left(), 0) << size.width();
        delete editor;
    }
}
