#include "ThemeTestSupport.h"

#include "theme/ComingSoonView.h"
#include "theme/CustomWindow.h"
#include "theme/GradientLogoMark.h"
#include "theme/QVBackground.h"
#include "theme/QVButton.h"
#include "theme/QVLineEdit.h"
#include "theme/QVPillPicker.h"
#include "theme/QVTextEditor.h"
#include "theme/QVToggle.h"
#include "theme/ShimmerTitle.h"
#include "theme/Symbols.h"
#include "theme/Theme.h"
#include "theme/Typography.h"
#include "theme/WindowControlsIsland.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace qv;

namespace {
QLabel *caption(const QString &text)
{
    auto *l = new QLabel(text);
    l->setFont(Typography::font(TextStyle::Caption, QFont::Bold));
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, Theme::secondaryLabel());
    l->setPalette(pal);
    return l;
}

// Every symbol we ship, tinted, in one row.
class SymbolRow : public QWidget {
public:
    SymbolRow() { setMinimumSize(18 * 28, 24); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        int x = 0;
        for (const char *name : {"checkmark", "exclamationmark", "exclamationmark.triangle", "pencil.tip",
                                 "book.closed", "clock.arrow.circlepath", "arrow.right", "text.cursor",
                                 "cursorarrow.click", "app.badge", "star", "star.fill", "xmark", "plus", "trash",
                                 "magnifyingglass", "chevron.left", "chevron.right"}) {
            Symbols::paint(p, QString::fromLatin1(name), QRectF(x, 2, 20, 20), Theme::text());
            x += 28;
        }
    }
};

class GalleryTest : public qv::test::ThemeTest {};
} // namespace

TEST_F(GalleryTest, SavesScreenshotsOfTheControls)
{
    QVBackground root;
    root.resize(1180, 760);
    auto *island = new WindowControlsIsland(false, nullptr, 4, true, &root);
    auto *grid = new QGridLayout(&root);
    grid->setContentsMargins(40, 70, 40, 40);
    grid->setHorizontalSpacing(36);
    grid->setVerticalSpacing(18);

    auto *title = new ShimmerTitle(QStringLiteral("Quorvel"), 56);
    grid->addWidget(title, 0, 0, 1, 2);

    // Buttons: every variant, regular and compact, and the states.
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(caption(QStringLiteral("BUTTONS")));
    QVButton *pressed = nullptr;
    QVButton *hovered = nullptr;
    for (bool compact : {false, true}) {
        auto *row = new QHBoxLayout;
        row->setSpacing(10);
        row->addWidget(new QVButton(QStringLiteral("Primary"), QVButtonVariant::primary, compact));
        row->addWidget(new QVButton(QStringLiteral("Secondary"), QVButtonVariant::secondary, compact));
        row->addWidget(new QVButton(QStringLiteral("Tertiary"), QVButtonVariant::tertiary, compact));
        row->addWidget(new QVButton(QStringLiteral("Delete"), QVButtonVariant::destructive, compact));
        row->addStretch(1);
        buttons->addLayout(row);
    }
    auto *states = new QHBoxLayout;
    states->setSpacing(10);
    hovered = new QVButton(QStringLiteral("Hovered"), QVButtonVariant::primary);
    pressed = new QVButton(QStringLiteral("Pressed"), QVButtonVariant::primary);
    auto *disabled = new QVButton(QStringLiteral("Disabled"), QVButtonVariant::primary);
    disabled->setEnabled(false);
    auto *busy = new QVButton(QStringLiteral("Sign In"), QVButtonVariant::primary);
    busy->setBusy(true);
    auto *withIcon = new QVButton(QStringLiteral("Continue"), QVButtonVariant::secondary);
    withIcon->setIcon(Symbols::icon(QStringLiteral("arrow.right"), Theme::text(), {14, 14}));
    withIcon->setIconSize({14, 14});
    for (QVButton *b : {hovered, pressed, disabled, busy, withIcon})
        states->addWidget(b);
    states->addStretch(1);
    buttons->addLayout(states);
    grid->addLayout(buttons, 1, 0);

    auto *choices = new QVBoxLayout;
    choices->addWidget(caption(QStringLiteral("SWITCHES AND PICKERS")));
    auto *on = new QVToggle(QStringLiteral("Humanize"));
    on->setChecked(true);
    choices->addWidget(on);
    choices->addWidget(new QVToggle(QStringLiteral("Reduce motion")));
    auto *grades = new QVPillPicker(QStringLiteral("GRADE"));
    grades->setOptions<int>({9, 10, 11, 12}, [](const int &g) { return QString::number(g); });
    grades->setSelection(11);
    choices->addWidget(grades);
    auto *review = new QVPillPicker(QStringLiteral("REVIEW"));
    review->setOptions<QString>({QStringLiteral("light"), QStringLiteral("medium"), QStringLiteral("heavy")},
                                [](const QString &s) { return s; });
    review->setSelection(QStringLiteral("medium"));
    choices->addWidget(review);
    grid->addLayout(choices, 1, 1);

    auto *inputs = new QVBoxLayout;
    inputs->setSpacing(12);
    inputs->addWidget(caption(QStringLiteral("INPUTS")));
    auto *email = new QVLineEdit;
    email->setPlaceholderText(QStringLiteral("Email"));
    auto *focused = new QVLineEdit;
    focused->setText(QStringLiteral("student@example.com"));
    auto *password = new QVLineEdit;
    password->setEchoMode(QLineEdit::Password);
    password->setText(QStringLiteral("secret"));
    auto *editor = new QVTextEditor;
    editor->setPlainText(QStringLiteral("A multi-line editor\nwith the same look."));
    editor->setFixedHeight(90);
    for (QWidget *w : std::initializer_list<QWidget *>{email, focused, password, editor})
        inputs->addWidget(w);
    grid->addLayout(inputs, 2, 0);

    auto *cards = new QVBoxLayout;
    cards->addWidget(caption(QStringLiteral("MARKS AND CARDS")));
    auto *marks = new QHBoxLayout;
    marks->addWidget(new GradientLogoMark(46, QStringLiteral("pencil.tip")));
    marks->addWidget(new GradientLogoMark(46, QStringLiteral("book.closed")));
    marks->addWidget(new GradientLogoMark(46, QStringLiteral("clock.arrow.circlepath")));
    marks->addStretch(1);
    cards->addLayout(marks);
    cards->addWidget(new SymbolRow);
    cards->addWidget(new ComingSoonView(QStringLiteral("Trivane"), QStringLiteral("Trivane is coming soon.")), 0,
                     Qt::AlignHCenter);
    cards->addStretch(1);
    grid->addLayout(cards, 2, 1);

    root.show();
    QApplication::setActiveWindow(&root);
    focused->setFocus();
    qv::test::sendEnter(*hovered, hovered->rect().center());
    QTest::mousePress(pressed, Qt::LeftButton, {}, pressed->rect().center());
    scheduler.advance(700); // the title part-way through its sweep, hover and press settled
    EXPECT_TRUE(island->isCardShown());

    const QString dir = qv::test::screenshotDir();
    const QImage gallery = root.grab().toImage();
    ASSERT_TRUE(gallery.save(dir + QStringLiteral("/theme-gallery.png")));
    QTest::mouseRelease(pressed, Qt::LeftButton, {}, pressed->rect().center());

    // A secondary window with the frame's rounded corners and border.
    auto *content = new QVBackground;
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(28, 28, 28, 28);
    column->addWidget(new ShimmerTitle(QStringLiteral("Settings"), 44));
    column->addWidget(new QVToggle(QStringLiteral("Check for updates automatically")));
    column->addWidget(new QVLineEdit);
    auto *actions = new QHBoxLayout;
    actions->addStretch(1);
    actions->addWidget(new QVButton(QStringLiteral("Cancel"), QVButtonVariant::secondary));
    actions->addWidget(new QVButton(QStringLiteral("Save"), QVButtonVariant::primary));
    column->addLayout(actions);
    CustomWindow window(content);
    window.resize(460, 300);
    window.show();
    scheduler.advance(100);
    // Outside the mask the corners show nothing of the window.
    QImage shot(window.size(), QImage::Format_ARGB32);
    shot.fill(Qt::transparent);
    {
        QPainter p(&shot);
        p.setClipRegion(window.mask());
        window.render(&p, {}, {}, QWidget::DrawChildren | QWidget::DrawWindowBackground);
    }
    ASSERT_TRUE(shot.save(dir + QStringLiteral("/theme-custom-window.png")));
    EXPECT_EQ(shot.pixelColor(0, 0).alpha(), 0);
}
