// The project editor at its smallest size on the desktop session, by the
// real wheel and real clicks: a turn of the wheel over the speed slider
// scrolls the form and leaves the speed alone until the slider has the
// keyboard focus, and the window's close and minimise stay where they are
// while the form scrolls.

#include "AppFixture.h"

#include <QDir>
#include <QImage>

#include <iostream>

namespace qv::e2e {
namespace {

const QString kEmail = QStringLiteral("wheel@example.com");
const QString kPassword = QStringLiteral("wheel-pass-5");
const QString kRole = QStringLiteral("slider");
constexpr QSize kEditorMinimum{720, 760};

class FormScroll : public AppFixture {
protected:
    using Element = UiProbe::Element;

    FormScroll() : AppFixture(kEmail, kPassword) {}

    void SetUp() override
    {
        AppFixture::SetUp();
        QDir().mkpath(QStringLiteral(QUORVEL_SCREENSHOT_DIR));
    }

    void TearDown() override
    {
        if (HasFailure()) {
            shoot(QStringLiteral("failure"));
            std::cerr << "the program's last words:\n" << errors.right(2000).toStdString() << std::endl;
        }
        AppFixture::TearDown();
    }

    // The editor as the screen shows it now: its window, the speed slider,
    // the speed read out above the slider, close and minimise.
    struct Editor {
        QRect window;
        QRect slider;
        QString speed;
        QRect close;
        QRect minimize;
    };

    std::optional<Editor> editor() const
    {
        const QList<Element> all = ui->all();
        const Element *text = look::named(all, QStringLiteral("Text"));
        if (!text)
            return std::nullopt;
        Editor e;
        e.window = look::windowOf(all, *text);
        for (const Element &el : all) {
            if (el.window != text->window)
                continue;
            if (el.role == kRole && el.name == QStringLiteral("Speed"))
                e.slider = el.extents;
            else if (el.role == kLabel && el.name.endsWith(QStringLiteral(" WPM")))
                e.speed = el.name;
            else if (el.role == kButton && el.name == QStringLiteral("Close"))
                e.close = el.extents;
            else if (el.role == kButton && el.name == QStringLiteral("Minimize"))
                e.minimize = el.extents;
        }
        if (e.slider.isEmpty() || e.speed.isEmpty() || e.close.isEmpty() || e.minimize.isEmpty())
            return std::nullopt;
        return e;
    }

    // Waits until the editor stands still (a scroll or a resize settling).
    std::optional<Editor> editorAtRest()
    {
        std::optional<Editor> last;
        std::optional<Editor> now;
        waitUntil(
            [&] {
                now = editor();
                const bool still = now && last && now->window == last->window && now->slider == last->slider
                                   && now->speed == last->speed;
                last = now;
                return still;
            },
            5000);
        return now;
    }

    void shoot(const QString &name)
    {
        if (!ui || !running())
            return;
        const auto e = editor();
        const QImage shot = input::grabScreen(e ? e->window : look::mainWindow(ui->all()));
        shot.save(QStringLiteral(QUORVEL_SCREENSHOT_DIR "/form-scroll-%1.png").arg(name));
    }
};

TEST_F(FormScroll, TheWheelOverTheSpeedSliderScrollsTheEditorAndItsWindowControlsStayPut)
{
    ASSERT_NO_FATAL_FAILURE(startQuorvel());
    ASSERT_NO_FATAL_FAILURE(signIn());
    ASSERT_NO_FATAL_FAILURE(enterWorkspace(QStringLiteral("Quorvel"), QStringLiteral("+ NEW PROJECT"), kButton));
    ASSERT_TRUE(press(QStringLiteral("+ NEW PROJECT")));
    ASSERT_TRUE(waitFor(QStringLiteral("Text"), {}, 10000)) << "no editor";
    // A text long enough for the smart brief: the form is at its tallest.
    ASSERT_TRUE(ui->setText(QStringLiteral("Text"), QStringLiteral("Why libraries matter\n")
                                                        + QStringLiteral("A line to type. ").repeated(300)));
    auto before = editorAtRest();
    ASSERT_TRUE(before) << "no speed slider in the editor";
    shoot(QStringLiteral("default"));

    // The editor keeps the keys: the window manager resizes the active window.
    ASSERT_TRUE(input::click({before->window.center().x(), before->window.top() + 8}));
    ASSERT_TRUE(input::resizeActiveWindow(kEditorMinimum));
    ASSERT_TRUE(waitUntil([&] { return editor() && editor()->window.size() == kEditorMinimum; }, 5000))
        << "the editor did not take its minimum size";
    before = editorAtRest();
    ASSERT_TRUE(before);
    ASSERT_TRUE(before->window.contains(before->slider)) << look::describe(before->slider);
    shoot(QStringLiteral("minimum"));

    // Eight notches down, each with the pointer on the slider where it is now.
    int turns = 0;
    for (int i = 0; i < 8; ++i) {
        const auto now = editorAtRest();
        ASSERT_TRUE(now);
        if (!now->window.contains(now->slider.center()))
            break;
        ASSERT_TRUE(input::wheel(now->slider.center(), 1));
        ++turns;
    }
    const auto after = editorAtRest();
    ASSERT_TRUE(after);
    shoot(QStringLiteral("minimum-scrolled"));
    EXPECT_EQ(turns, 8);
    EXPECT_EQ(after->speed, before->speed) << "the wheel changed the speed";
    EXPECT_LT(after->slider.top(), before->slider.top()) << "the form did not scroll";
    EXPECT_EQ(after->window, before->window);
    EXPECT_EQ(after->close, before->close) << look::describe(before->close) << " to " << look::describe(after->close);
    EXPECT_EQ(after->minimize, before->minimize);
    EXPECT_TRUE(after->window.contains(after->close) && after->window.contains(after->minimize));

    // Once the slider has the focus (a click on it), the wheel sets the speed.
    ASSERT_TRUE(input::click(after->slider.center()));
    const auto focused = editorAtRest();
    ASSERT_TRUE(focused);
    ASSERT_TRUE(input::wheel(focused->slider.center(), 1));
    ASSERT_TRUE(waitUntil([&] { return editor() && editor()->speed != focused->speed; }, 5000))
        << "the focused slider did not take the wheel: " << focused->speed.toStdString();
    EXPECT_EQ(editor()->slider, focused->slider) << "the form scrolled as well";
}

} // namespace
} // namespace qv::e2e
