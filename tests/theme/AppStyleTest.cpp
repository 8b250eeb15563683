// The parts Qt draws itself follow the theme's dark colours.
#include "ThemeTestSupport.h"

#include "theme/AppStyle.h"
#include "theme/ConfirmAlert.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>

using namespace qv;

namespace {
// Installs the application's style for one test and puts the previous one back.
class AppStyleTest : public qv::test::ThemeTest {
protected:
    QString previousStyle = QApplication::style()->name();
    QPalette previousPalette = QApplication::palette();
    void SetUp() override { applyAppStyle(); }
    void TearDown() override
    {
        QApplication::setStyle(previousStyle);
        QApplication::setPalette(previousPalette);
    }
    static bool isDark(const QColor &c) { return c.lightness() < 90; }
    // A picture to look at, not a check.
    static void save(QWidget &w, const QString &name)
    {
        const QString dir = qv::test::screenshotDir();
        w.grab().toImage().save(dir + QLatin1Char('/') + name);
    }
};
} // namespace

TEST_F(AppStyleTest, ScrollBarsAndWindowsAreDarkWithTheThemesColours)
{
    EXPECT_EQ(QApplication::style()->name().toLower(), QStringLiteral("fusion"));
    const QPalette p = QApplication::palette();
    EXPECT_EQ(p.color(QPalette::Window), Theme::bg());
    EXPECT_EQ(p.color(QPalette::WindowText), Theme::text());
    EXPECT_EQ(p.color(QPalette::Highlight), Theme::accent());
    // Every role Fusion shades with is opaque and dark, text roles light.
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::AlternateBase, QPalette::Button, QPalette::Light,
                      QPalette::Midlight, QPalette::Mid, QPalette::Dark, QPalette::Shadow, QPalette::ToolTipBase}) {
        SCOPED_TRACE(int(role));
        EXPECT_EQ(p.color(role).alpha(), 255);
        EXPECT_TRUE(isDark(p.color(role)));
    }
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::ToolTipText})
        EXPECT_FALSE(isDark(p.color(role)));
    EXPECT_NE(p.color(QPalette::Disabled, QPalette::Text), p.color(QPalette::Active, QPalette::Text));

    // A scroll area with more than it shows: its whole bar is dark.
    QScrollArea area;
    auto *tall = new QWidget;
    tall->setMinimumSize(200, 1200);
    area.setWidget(tall);
    area.resize(240, 300);
    area.show();
    QScrollBar *bar = area.verticalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    const QImage img = bar->grab().toImage();
    save(area, QStringLiteral("theme-scroll-bar.png"));
    // The handle at the top, the groove below it: both dark.
    EXPECT_TRUE(isDark(img.pixelColor(img.width() / 2, img.height() / 8)));
    EXPECT_TRUE(isDark(img.pixelColor(img.width() / 2, img.height() * 3 / 4)));
}

TEST_F(AppStyleTest, ConfirmationsAreDarkKeepTheirQuestionOnOneLineAndRoomForTheirTitle)
{
    const std::pair<QString, QString> boxes[] = {
        {"Delete Project?", "Are you sure you want to delete this project?"},
        {"Delete Study Set?", "Are you sure you want to delete this study set?"},
        {"Stop typing?", "This will stop typing and close this window."},
    };
    QWidget parent;
    parent.resize(900, 600);
    parent.show();
    int n = 0;
    for (const auto &[title, message] : boxes) {
        SCOPED_TRACE(title.toStdString());
        QMessageBox *box = openConfirmAlert(&parent, title, message, QStringLiteral("Delete"),
                                            [](QMessageBox *, bool) {});
        QApplication::processEvents();
        EXPECT_TRUE(isDark(box->palette().color(QPalette::Window)));
        EXPECT_GE(box->width(), kConfirmTextWidth);
        // The window manager's title bar needs the title's width and its buttons.
        EXPECT_GE(box->width(), box->fontMetrics().horizontalAdvance(title) + 160);
        auto *info = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_informativelabel"));
        ASSERT_NE(info, nullptr);
        EXPECT_LE(info->fontMetrics().horizontalAdvance(message), info->contentsRect().width())
            << "the question is not wrapped";
        auto *head = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        ASSERT_NE(head, nullptr);
        EXPECT_GT(head->font().weight(), QFont::Normal) << "the title reads as one";
        EXPECT_EQ(info->font().family(), Typography::font(TextStyle::Body).family());
        const QImage img = box->grab().toImage();
        EXPECT_TRUE(isDark(img.pixelColor(3, img.height() / 2))) << "the box's own background";
        save(*box, QStringLiteral("theme-confirm-%1.png").arg(++n));
        box->close();
        QApplication::processEvents();
    }
}
