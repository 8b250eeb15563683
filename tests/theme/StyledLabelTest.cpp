// Styled labels show their own colour and their text as typed, wherever they sit.
#include "ThemeTestSupport.h"

#include "theme/StyledLabel.h"

#include <QLabel>
#include <QPushButton>

#include <memory>

using namespace qv;

namespace {

QColor shownColour(const QLabel &label) { return label.palette().color(label.foregroundRole()); }

} // namespace

TEST(StyledLabelTest, KeepsItsColourInsideAButton)
{
    // A button gives its children the button background role, whose text
    // colour is the button's, not the label's.
    const QColor colour(200, 40, 90);
    const QColor later(20, 180, 60);
    QWidget window;
    auto *button = new QPushButton(&window);
    for (QWidget *parent : {&window, static_cast<QWidget *>(button)}) {
        SCOPED_TRACE(parent == button ? "button" : "window");
        QLabel *label = styledLabel(QStringLiteral("Title"), TextStyle::Body, std::nullopt, colour, parent);
        EXPECT_EQ(shownColour(*label), colour);
        setTextColor(label, later);
        EXPECT_EQ(shownColour(*label), later);
    }
}

TEST(StyledLabelTest, ShowsMarkupAsTyped)
{
    // A title typed as "<b>x</b>" must not turn into a bold "x".
    const QString typed = QStringLiteral("<b>x</b>");
    std::unique_ptr<QLabel> label(styledLabel(typed, TextStyle::Body, std::nullopt, Qt::white));
    std::unique_ptr<QLabel> bare(styledLabel(QStringLiteral("x"), TextStyle::Body, std::nullopt, Qt::white));
    EXPECT_EQ(label->text(), typed);
    EXPECT_GT(label->sizeHint().width(), 3 * bare->sizeHint().width());
}
