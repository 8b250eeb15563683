#include "theme/QVBackground.h"
#include "theme/Symbols.h"
#include "theme/Theme.h"
#include "theme/Typography.h"

#include <QGuiApplication>
#include <QPalette>

#include <gtest/gtest.h>

using qv::Theme;

TEST(Palette, OpacityMultipliesAndClampsAndTheColoursIgnoreTheDesktopPalette)
{
    EXPECT_NEAR(Theme::withOpacity(Theme::shadow(), 0.24).alphaF(), Theme::shadow().alphaF() * 0.24, 1e-4);
    EXPECT_EQ(Theme::withOpacity(Theme::accent(), 0.18).rgb(), Theme::accent().rgb());
    EXPECT_NEAR(Theme::withOpacity(Theme::accent(), 2.0).alphaF(), 1.0, 1e-6);
    EXPECT_NEAR(Theme::withOpacity(Theme::accent(), -1.0).alphaF(), 0.0, 1e-6);

    // Created once, whatever the desktop palette.
    const QColor *first = &Theme::accent();
    const QRgb accent = Theme::accent().rgba();
    QGuiApplication::setPalette(QPalette(Qt::white));
    EXPECT_EQ(first, &Theme::accent());
    EXPECT_EQ(Theme::accent().rgba(), accent);
    QGuiApplication::setPalette(QPalette());
}

TEST(Typography, EveryStyleUsesPixelSizesAndTakesAWeightOverride)
{
    using qv::TextStyle;
    using qv::Typography;
    for (TextStyle s : {TextStyle::LargeTitle, TextStyle::Title, TextStyle::Title2, TextStyle::Title3,
                        TextStyle::Headline, TextStyle::Body, TextStyle::Callout, TextStyle::Subheadline,
                        TextStyle::Caption, TextStyle::Caption2, TextStyle::Footnote}) {
        SCOPED_TRACE(int(s));
        EXPECT_GT(Typography::font(s).pixelSize(), 0);
        EXPECT_EQ(Typography::font(s).pointSize(), -1);
        EXPECT_EQ(Typography::font(s, QFont::Black).weight(), QFont::Black);
    }
    EXPECT_EQ(Typography::systemFont(56, QFont::DemiBold).pixelSize(), 56);
}

TEST(Symbols, NamedGlyphsAreOurOwnAndTinted)
{
    for (const char *name :
         {"checkmark", "exclamationmark", "pencil.tip", "book.closed", "clock.arrow.circlepath", "arrow.right",
          "text.cursor", "cursorarrow.click", "exclamationmark.triangle", "app.badge"})
        EXPECT_TRUE(qv::Symbols::has(QString::fromLatin1(name))) << name;
    EXPECT_FALSE(qv::Symbols::has(QStringLiteral("no.such.symbol")));
    EXPECT_FALSE(qv::Symbols::has(QStringLiteral("../symbols/checkmark")));
    EXPECT_TRUE(qv::Symbols::pixmap(QStringLiteral("nothing"), {16, 16}, Qt::red).isNull());

    const QImage img = qv::Symbols::pixmap(QStringLiteral("exclamationmark"), {24, 24}, Theme::accent()).toImage();
    // The bar of the mark runs down the middle, in the tint.
    EXPECT_EQ(img.pixelColor(12, 9).rgb(), Theme::accent().rgb());
    EXPECT_EQ(img.pixelColor(2, 2).alpha(), 0);
}

TEST(Background, GlowsFromTheTopRightAndBottomLeftCorners)
{
    qv::QVBackground bg;
    bg.resize(1180, 760);
    const QImage img = bg.grab().toImage();
    const QColor topRight = img.pixelColor(1175, 5);
    const QColor bottomLeft = img.pixelColor(5, 755);
    EXPECT_EQ(img.pixelColor(590, 380).rgb(), Theme::bg().rgb());
    // Inside the start radius the accent glow is at its full 0.18.
    const double a = 0.18;
    EXPECT_NEAR(topRight.blue(), Theme::accent().blue() * a + Theme::bg().blue() * (1 - a), 2);
    EXPECT_NEAR(topRight.red(), Theme::accent().red() * a + Theme::bg().red() * (1 - a), 2);
    EXPECT_GT(bottomLeft.blue(), Theme::bg().blue() + 10);
    EXPECT_LT(bottomLeft.blue(), topRight.blue());
}
