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
        for (const char *name :
             {"checkmark", "exclamationmark", "exclamationmark.triangle", "pencil.tip", "book.closed",
              "clock.arrow.circlepath", "arrow.right", "text.cursor", "cursorarrow.click", "app.badge", "star",
              "star.fill", "xmark", "plus", "trash", "magnifyingglass", "chevron.left", "chevron.right"}) {
            Symbols::paint(p, QString::fromLatin1(name), QRectF(x, 2, 20, 20), Theme::text());
            x += 28;
        }
    }
};

// A caption over a column of widgets and rows.
QVBoxLayout *column(const QString &title, std::initializer_list<QObject *> items)
{
    auto *l = new QVBoxLayout;
    l->setSpacing(12);
    l->addWidget(caption(title));
    for (QObject *o : items) {
        if (auto *w = qobject_cast<QWidget *>(o))
            l->addWidget(w);
        else
            l->addLayout(static_cast<QLayout *>(o));
    }
    return l;
}

QHBoxLayout *row(std::initializer_list<QWidget *> widgets)
{
    auto *r = new QHBoxLayout;
    r->setSpacing(10);
    for (QWidget *w : widgets)
        r->addWidget(w);
    r->addStretch(1);
    return r;
}

QHBoxLayout *variants(bool compact)
{
    return row({new QVButton(QStringLiteral("Primary"), QVButtonVariant::primary, compact),
                new QVButton(QStringLiteral("Secondary"), QVButtonVariant::secondary, compact),
                new QVButton(QStringLiteral("Tertiary"), QVButtonVariant::tertiary, compact),
                new QVButton(QStringLiteral("Delete"), QVButtonVariant::destructive, compact)});
}

class GalleryTest : public qv::test::ThemeTest {};
} // namespace

// Writes pictures of the controls to look at; what they show is checked elsewhere.
TEST_F(GalleryTest, SavesScreenshotsOfTheControls)
{
    QVBackground root;
    root.resize(1180, 760);
    new WindowControlsIsland(false, nullptr, 4, true, &root);
    auto *grid = new QGridLayout(&root);
    grid->setContentsMargins(40, 70, 40, 40);
    grid->setHorizontalSpacing(36);
    grid->setVerticalSpacing(18);
    grid->addWidget(new ShimmerTitle(QStringLiteral("Quorvel"), 56), 0, 0, 1, 2);

    // Buttons: every variant, regular and compact, and the states.
    auto *hovered = new QVButton(QStringLiteral("Hovered"), QVButtonVariant::primary);
    auto *pressed = new QVButton(QStringLiteral("Pressed"), QVButtonVariant::primary);
    auto *disabled = new QVButton(QStringLiteral("Disabled"), QVButtonVariant::primary);
    disabled->setEnabled(false);
    auto *busy = new QVButton(QStringLiteral("Sign In"), QVButtonVariant::primary);
    busy->setBusy(true);
    auto *withIcon = new QVButton(QStringLiteral("Continue"), QVButtonVariant::secondary);
    withIcon->setIcon(Symbols::icon(QStringLiteral("arrow.right"), Theme::text(), {14, 14}));
    withIcon->setIconSize({14, 14});
    grid->addLayout(column(QStringLiteral("BUTTONS"),
                           {variants(false), variants(true), row({hovered, pressed, disabled, busy, withIcon})}),
                    1, 0);

    auto *on = new QVToggle(QStringLiteral("Humanize"));
    on->setChecked(true);
    auto *grades = new QVPillPicker(QStringLiteral("GRADE"));
    grades->setOptions<int>({9, 10, 11, 12}, [](const int &g) { return QString::number(g); });
    grades->setSelection(11);
    auto *review = new QVPillPicker(QStringLiteral("REVIEW"));
    review->setOptions<QString>({QStringLiteral("light"), QStringLiteral("medium"), QStringLiteral("heavy")},
                                [](const QString &s) { return s; });
    review->setSelection(QStringLiteral("medium"));
    grid->addLayout(column(QStringLiteral("SWITCHES AND PICKERS"),
                           {on, new QVToggle(QStringLiteral("Reduce motion")), grades, review}),
                    1, 1);

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
    grid->addLayout(column(QStringLiteral("INPUTS"), {email, focused, password, editor}), 2, 0);

    auto *soon = new ComingSoonView(QStringLiteral("Trivane"), QStringLiteral("Trivane is coming soon."));
    auto *cards = column(QStringLiteral("MARKS AND CARDS"),
                         {row({new GradientLogoMark(46, QStringLiteral("pencil.tip")),
                               new GradientLogoMark(46, QStringLiteral("book.closed")),
                               new GradientLogoMark(46, QStringLiteral("clock.arrow.circlepath"))}),
                          new SymbolRow});
    cards->addWidget(soon, 0, Qt::AlignHCenter);
    cards->addStretch(1);
    grid->addLayout(cards, 2, 1);

    root.show();
    QApplication::setActiveWindow(&root);
    focused->setFocus();
    qv::test::sendEnter(*hovered, hovered->rect().center());
    QTest::mousePress(pressed, Qt::LeftButton, {}, pressed->rect().center());
    scheduler.advance(700); // the title part-way through its sweep, hover and press settled

    const QString dir = qv::test::screenshotDir();
    root.grab().toImage().save(dir + QStringLiteral("/theme-gallery.png"));
    QTest::mouseRelease(pressed, Qt::LeftButton, {}, pressed->rect().center());

    // A secondary window with the frame's rounded corners and border.
    auto *content = new QVBackground;
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(28, 28, 28, 28);
    layout->addWidget(new ShimmerTitle(QStringLiteral("Settings"), 44));
    layout->addWidget(new QVToggle(QStringLiteral("Check for updates automatically")));
    layout->addWidget(new QVLineEdit);
    auto *actions = row({new QVButton(QStringLiteral("Cancel"), QVButtonVariant::secondary),
                         new QVButton(QStringLiteral("Save"), QVButtonVariant::primary)});
    actions->insertStretch(0, 1);
    layout->addLayout(actions);
    CustomWindow window(content);
    window.resize(460, 300);
    window.show();
    scheduler.advance(100);
    // Clipped to the mask, as the screen shows it.
    QImage shot(window.size(), QImage::Format_ARGB32);
    shot.fill(Qt::transparent);
    {
        QPainter p(&shot);
        p.setClipRegion(window.mask());
        window.render(&p, {}, {}, QWidget::DrawChildren | QWidget::DrawWindowBackground);
    }
    shot.save(dir + QStringLiteral("/theme-custom-window.png"));
}
