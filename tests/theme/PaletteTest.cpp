#include "theme/QVBackground.h"
#include "theme/Symbols.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QGuiApplication>
#include <QPalette>

#include <gtest/gtest.h>

using qv::Theme;

namespace {
void expectRgb(const QColor &c, int r, int g, int b, double alpha)
{
    EXPECT_EQ(c.red(), r);
    EXPECT_EQ(c.green(), g);
    EXPECT_EQ(c.blue(), b);
    EXPECT_NEAR(c.alphaF(), alpha, 1e-4); // colours keep 16 bits per channel
}
} // namespace

TEST(Palette, ColoursHaveTheirComponentsAndIgnoreTheDesktopPalette)
{
    expectRgb(Theme::bg(), 13, 18, 28, 1);
    expectRgb(Theme::surface(), 19, 27, 42, 1);
    expectRgb(Theme::surfaceAlt(), 24, 34, 52, 1);
    expectRgb(Theme::accent(), 68, 131, 255, 1);
    expectRgb(Theme::accentPressed(), 49, 111, 230, 1);
    expectRgb(Theme::text(), 244, 247, 252, 1);
    expectRgb(Theme::subtext(), 184, 198, 218, 1);
    expectRgb(Theme::secondaryLabel(), 136, 153, 178, 1);
    expectRgb(Theme::success(), 34, 197, 94, 1);
    expectRgb(Theme::danger(), 239, 83, 80, 1);
    expectRgb(Theme::accentSoft(), 36, 96, 219, 0.22);
    expectRgb(Theme::border(), 255, 255, 255, 0.1);
    expectRgb(Theme::shadow(), 0, 0, 0, 0.38);
    EXPECT_EQ(Theme::borderNS(), Theme::border());

    // Further opacity multiplies and is clamped.
    EXPECT_NEAR(Theme::withOpacity(Theme::shadow(), 0.24).alphaF(), 0.38 * 0.24, 1e-4);
    EXPECT_NEAR(Theme::withOpacity(Theme::accent(), 0.18).alphaF(), 0.18, 1e-4);
    EXPECT_EQ(Theme::withOpacity(Theme::accent(), 0.18).rgb(), Theme::accent().rgb());
    EXPECT_NEAR(Theme::withOpacity(Theme::accent(), 2.0).alphaF(), 1.0, 1e-6);
    EXPECT_NEAR(Theme::withOpacity(Theme::accent(), -1.0).alphaF(), 0.0, 1e-6);

    // Created once, whatever the desktop palette.
    const QColor *first = &Theme::accent();
    QPalette light(Qt::white);
    QGuiApplication::setPalette(light);
    EXPECT_EQ(first, &Theme::accent());
    expectRgb(Theme::accent(), 68, 131, 255, 1);
    QGuiApplication::setPalette(QPalette());
}

TEST(Typography, TextStylesUsePixelSizes)
{
    using qv::TextStyle;
    using qv::Typography;
    EXPECT_EQ(Typography::font(TextStyle::Body).pixelSize(), 13);
    EXPECT_EQ(Typography::font(TextStyle::Callout).pixelSize(), 12);
    EXPECT_EQ(Typography::font(TextStyle::Caption).pixelSize(), 10);
    EXPECT_EQ(Typography::font(TextStyle::Caption2).weight(), QFont::Medium);
    EXPECT_EQ(Typography::font(TextStyle::Headline).weight(), QFont::Bold);
    EXPECT_EQ(Typography::font(TextStyle::Headline, QFont::DemiBold).weight(), QFont::DemiBold);
    EXPECT_EQ(Typography::font(TextStyle::Subheadline).pixelSize(), 11);
    EXPECT_EQ(Typography::font(TextStyle::Title3).pixelSize(), 15);
    EXPECT_EQ(Typography::font(TextStyle::Title2).pixelSize(), 17);
    EXPECT_EQ(Typography::font(TextStyle::Title).pixelSize(), 22);
    EXPECT_EQ(Typography::font(TextStyle::LargeTitle).pixelSize(), 26);
    EXPECT_EQ(Typography::font(TextStyle::Body).families().value(0), QStringLiteral("Inter"));
    EXPECT_EQ(Typography::systemFont(56, QFont::DemiBold).pixelSize(), 56);
}

TEST(Symbols, NamedGlyphsAreOurOwnAndTinted)
{
    for (const char *name : {"checkmark", "exclamationmark", "pencil.tip", "book.closed", "clock.arrow.circlepath",
                             "arrow.right", "text.cursor", "cursorarrow.click", "exclamationmark.triangle",
                             "app.badge"})
        EXPECT_TRUE(qv::Symbols::has(QString::fromLatin1(name))) << name;
    EXPECT_FALSE(qv::Symbols::has(QStringLiteral("no.such.symbol")));
    EXPECT_FALSE(qv::Symbols::has(QStringLiteral("../symbols/checkmark")));
    EXPECT_TRUE(qv::Symbols::pixmap(QStringLiteral("nothing"), {16, 16}, Qt::red).isNull());

    const QImage img =
        qv::Symbols::pixmap(QStringLiteral("exclamationmark"), {24, 24}, Theme::accent()).toImage();
    // The bar of the mark runs down the middle, in the tint.
    const QColor mid = img.pixelColor(12, 9);
    EXPECT_EQ(mid.rgb(), Theme::accent().rgb());
    EXPECT_EQ(img.pixelColor(2, 2).alpha(), 0);
}

TEST(Background, GlowsFromTheTopRightAndBottomLeftCorners)
{
    qv::QVBackground bg;
    bg.resize(1180, 760);
    const QImage img = bg.grab().toImage();
    const QColor middle = img.pixelColor(590, 380);
    const QColor topRight = img.pixelColor(1175, 5);
    const QColor bottomLeft = img.pixelColor(5, 755);
    EXPECT_EQ(middle.rgb(), Theme::bg().rgb());
    // Inside the start radius the accent glow is at its full 0.18.
    const double a = 0.18;
    EXPECT_NEAR(topRight.blue(), 255 * a + Theme::bg().blue() * (1 - a), 2);
    EXPECT_NEAR(topRight.red(), 68 * a + Theme::bg().red() * (1 - a), 2);
    EXPECT_GT(bottomLeft.blue(), Theme::bg().blue() + 10);
    EXPECT_LT(bottomLeft.blue(), topRight.blue());
}
