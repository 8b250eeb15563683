// The Linux backend against real GTK 3 and Qt 6 text boxes, inside the
// desktop session (scripts/desktop-session). Everything runs on the real
// clock; each target program reports its own text as ground truth.
#include "DesktopFixture.h"

#include "core/Text.h"
#include "platform/linux/X11InputMonitor.h"
#include "platform/linux/XTestKeyboard.h"

#include <QElapsedTimer>

namespace qv::e2e {
namespace {

using platform::Attribute;
using platform::Element;
using platform::TextRange;

const QString kParagraphs = QStringLiteral(
    "Café déjà vu — “quoted” and ‘single’ naïve résumé. A family 👨‍👩‍👧 and a flag 🇫🇷, then "
    "e\u0301 "
    "combined.\n"
    "Second paragraph: the piñata’s crème brûlée costs 5 € — “done”! 👍🏽 Straße, Ærø, ŽŠČ.");
const QString kLine = QStringLiteral("Entry: naïve — “x” 🇫🇷 👨‍👩‍👧 e\u0301 ok");

class DesktopBackend : public DesktopFixture, public ::testing::WithParamInterface<TargetApp::Kind> {
protected:
    void SetUp() override
    {
        DesktopFixture::SetUp();
        if (IsSkipped())
            return;
        target = startTarget(GetParam());
        ASSERT_TRUE(bringToFront(*target)) << "the target never came to the front";
    }

    // The element with focus once the target focused `which`.
    Element focus(const QString &which)
    {
        EXPECT_EQ(target->command(QStringLiteral("focus ") + which), QStringLiteral("ok"));
        const QString wanted = which == QLatin1String("entry") ? platform::Roles::TextField : platform::Roles::TextArea;
        Element found;
        waitUntil(
            [&] {
                found = ax().systemFocusedElement();
                return found && role(found) == wanted;
            },
            5000);
        return found;
    }

    QString role(const Element &e) { return ax().read(e, Attribute::Role).value_or(QVariant()).toString(); }

    std::optional<QString> value(const Element &e)
    {
        const auto v = ax().read(e, Attribute::Value);
        return v ? std::optional<QString>(v->toString()) : std::nullopt;
    }

    std::optional<TextRange> selection(const Element &e)
    {
        const auto v = ax().read(e, Attribute::SelectedTextRange);
        if (!v || !v->canConvert<TextRange>())
            return std::nullopt;
        return v->value<TextRange>();
    }

    void press(platform::Key key, int times)
    {
        auto job = [&]() -> QCoro::Task<> {
            for (int i = 0; i < times; ++i) {
                co_await platform->keyboard().press(key);
                co_await scheduler.sleep(4);
            }
        };
        ASSERT_TRUE(runReal(job()));
    }

    std::optional<QString> settled(const QString &which, const QString &expected)
    {
        return settledDump(*target, which, expected);
    }

    std::unique_ptr<TargetApp> target;
};

TEST_P(DesktopBackend, FindsTheFocusedElementAndReadsAndWritesTextInUtf16Units)
{
    const QString text = QStringLiteral("a😀e\u0301b 👨‍👩‍👧 z");
    ASSERT_TRUE(target->set(QStringLiteral("view"), text));
    const Element view = focus(QStringLiteral("view"));
    ASSERT_TRUE(view) << "no focused text view";
    EXPECT_EQ(view.pid(), target->pid());
    EXPECT_EQ(ax().read(view, Attribute::Editable), QVariant(true));
    EXPECT_EQ(ax().read(view, Attribute::Enabled), QVariant(true));
    EXPECT_EQ(ax().read(view, Attribute::Focused), QVariant(true));
    EXPECT_EQ(ax().isSettable(view, Attribute::SelectedTextRange), true);
    EXPECT_FALSE(ax().isTerminal(view));

    EXPECT_EQ(value(view), text);
    EXPECT_EQ(ax().read(view, Attribute::NumberOfCharacters), QVariant(qint64(text.size())));

    // Caret after the emoji (UTF-16 offset 3), then selections across the
    // emoji, the combining mark and the family.
    ASSERT_TRUE(writeRange(view, {3, 0}));
    EXPECT_EQ(selection(view), (TextRange{3, 0}));
    ASSERT_TRUE(writeRange(view, {1, 2}));
    EXPECT_EQ(selection(view), (TextRange{1, 2}));
    EXPECT_EQ(ax().read(view, Attribute::SelectedText), QVariant(QStringLiteral("😀")));
    ASSERT_TRUE(writeRange(view, {3, 3}));
    EXPECT_EQ(ax().read(view, Attribute::SelectedText), QVariant(QStringLiteral("e\u0301b")));
    const qint64 family = text.indexOf(QStringLiteral("👨"));
    ASSERT_TRUE(writeRange(view, {family, 8}));
    EXPECT_EQ(ax().read(view, Attribute::SelectedText), QVariant(QStringLiteral("👨‍👩‍👧")));
    ASSERT_TRUE(writeRange(view, {qint64(text.size()), 0}));
    EXPECT_EQ(selection(view), (TextRange{qint64(text.size()), 0}));

    // An offset inside a surrogate pair is refused and changes nothing.
    EXPECT_FALSE(ax().write(view, Attribute::SelectedTextRange, QVariant::fromValue(TextRange{2, 0})));
    EXPECT_FALSE(ax().write(view, Attribute::SelectedTextRange, QVariant::fromValue(TextRange{0, 2})));
    EXPECT_EQ(selection(view), (TextRange{qint64(text.size()), 0}));
    EXPECT_EQ(target->dump(QStringLiteral("view")), text);

    // The single-line field too.
    ASSERT_TRUE(target->set(QStringLiteral("entry"), kLine));
    const Element entry = focus(QStringLiteral("entry"));
    ASSERT_TRUE(entry) << "no focused entry";
    EXPECT_FALSE(entry == view);
    EXPECT_EQ(value(entry), kLine);
    const qint64 flag = kLine.indexOf(QStringLiteral("🇫🇷"));
    ASSERT_TRUE(writeRange(entry, {flag, 4}));
    EXPECT_EQ(ax().read(entry, Attribute::SelectedText), QVariant(QStringLiteral("🇫🇷")));
    EXPECT_EQ(selection(entry), (TextRange{flag, 4}));
}

TEST_P(DesktopBackend, FocusObserverHearsFocusMovesOfItsApplication)
{
    const Element view = focus(QStringLiteral("view"));
    ASSERT_TRUE(view);
    int calls = 0;
    auto observer = ax().observeFocus(target->pid(), [&] { ++calls; });
    ASSERT_TRUE(observer);
    const Element entry = focus(QStringLiteral("entry"));
    ASSERT_TRUE(entry);
    EXPECT_TRUE(waitUntil([&] { return calls > 0; }, 3000)) << "no focus notification";
    // The focus lookup follows the move without walking the window again.
    EXPECT_TRUE(ax().systemFocusedElement() == entry);
    EXPECT_EQ(ax().read(ax().applicationElement(target->pid()), Attribute::FocusedElement)
                  .value_or(QVariant())
                  .value<Element>(),
              entry);
    observer.reset();
    calls = 0;
    focus(QStringLiteral("view"));
    pump(200);
    EXPECT_EQ(calls, 0) << "an ended subscription stays silent";
}

TEST_P(DesktopBackend, ElementAtPointLeadsToTheEditableElement)
{
    const Element view = focus(QStringLiteral("view"));
    ASSERT_TRUE(view);
    const QRect rect = target->geometry(QStringLiteral("view"));
    ASSERT_FALSE(rect.isEmpty());
    const Element hit = ax().elementAtPoint(rect.center());
    ASSERT_TRUE(hit) << "nothing at " << rect.center().x() << "," << rect.center().y();
    // The hit may be the text box or (Qt) its viewport: the editable element
    // is the element itself or one of its nearest ancestors.
    const auto within = [&](Element e, const Element &box) {
        for (int i = 0; i < 8 && e && !(e == box); ++i)
            e = ax().read(e, Attribute::Parent).value_or(QVariant()).value<Element>();
        return e == box;
    };
    EXPECT_TRUE(within(hit, view)) << "hit " << role(hit).toStdString() << " is not inside the focused text box";

    // Over the entry the entry answers.
    const Element entry = focus(QStringLiteral("entry"));
    EXPECT_TRUE(within(ax().elementAtPoint(target->geometry(QStringLiteral("entry")).center()), entry));

    // Nothing of ours is ever returned, and a point on no window gives none.
    EXPECT_FALSE(ax().elementAtPoint(QPoint(1270, 1010)));
}

TEST_P(DesktopBackend, TypesUnicodeTextKeyByKeyExactly)
{
    ASSERT_TRUE(focus(QStringLiteral("view")));
    typeKeys(kParagraphs);
    EXPECT_EQ(settled(QStringLiteral("view"), kParagraphs), kParagraphs);

    ASSERT_TRUE(focus(QStringLiteral("entry")));
    typeKeys(kLine);
    EXPECT_EQ(settled(QStringLiteral("entry"), kLine), kLine);
    // Keys typed through the accessibility view match too.
    EXPECT_EQ(value(ax().systemFocusedElement()), kLine);
}

TEST_P(DesktopBackend, BackspaceCountDeletesExactlyTheStretch)
{
    ASSERT_TRUE(focus(QStringLiteral("view")));
    const QString keep = QStringLiteral("keep ");
    const QString stretch = QStringLiteral("x👨‍👩‍👧e\u0301🇫🇷y👍🏽");
    typeKeys(keep + stretch);
    ASSERT_EQ(settled(QStringLiteral("view"), keep + stretch), keep + stretch);
    const int presses = platform->keyboard().backspacePresses(stretch);
    if (GetParam() == TargetApp::Kind::Qt)
        EXPECT_EQ(presses, text::codePointCount(stretch));
    else
        EXPECT_EQ(presses, text::graphemeCount(stretch));
    press(platform::Key::Backspace, presses);
    EXPECT_EQ(settled(QStringLiteral("view"), keep), keep);

    // Arrows move one grapheme in both.
    typeKeys(stretch);
    press(platform::Key::Left, platform->keyboard().arrowPresses(stretch));
    typeKeys(QStringLiteral("<"));
    EXPECT_EQ(settled(QStringLiteral("view"), keep + "<" + stretch), keep + "<" + stretch);
}

TEST_P(DesktopBackend, SelectAllAndCopyReadTheFieldThroughTheClipboard)
{
    const QString text = QStringLiteral("copy me — “all” 🇫🇷\nsecond line");
    ASSERT_TRUE(target->set(QStringLiteral("view"), text));
    ASSERT_TRUE(focus(QStringLiteral("view")));
    auto &pasteboard = platform->pasteboard();
    const qint64 before = pasteboard.changeCount();
    auto job = [&]() -> QCoro::Task<> {
        co_await platform->keyboard().shortcut(platform::Shortcut::SelectAll);
        co_await scheduler.sleep(110);
        co_await platform->keyboard().shortcut(platform::Shortcut::Copy);
        for (int i = 0; i < 100 && pasteboard.changeCount() == before; ++i)
            co_await scheduler.sleep(10);
    };
    ASSERT_TRUE(runReal(job()));
    EXPECT_GT(pasteboard.changeCount(), before);
    EXPECT_EQ(pasteboard.plainText(), text);
}

TEST_P(DesktopBackend, HungTargetCostsOneTimeoutThenAnswersAbsentAtOnce)
{
    const Element view = focus(QStringLiteral("view"));
    ASSERT_TRUE(view);
    ASSERT_EQ(target->command(QStringLiteral("hang 6")), QStringLiteral("ok"));
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(value(view).has_value());
    const qint64 first = clock.restart();
    EXPECT_LE(first, linuxdesktop::AtspiAccessibility::kCallTimeoutMs + 300);
    EXPECT_TRUE(platform->atspi().isBackedOff(target->pid()));
    EXPECT_FALSE(value(view).has_value());
    EXPECT_FALSE(ax().systemFocusedElement());
    EXPECT_FALSE(ax().applicationElement(target->pid()));
    EXPECT_LT(clock.elapsed(), 200) << "calls to a backed-off application must not wait";
}

TEST_P(DesktopBackend, KilledTargetAnswersAbsentQuickly)
{
    const Element view = focus(QStringLiteral("view"));
    ASSERT_TRUE(view);
    target->kill();
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(value(view).has_value());
    EXPECT_FALSE(selection(view).has_value());
    EXPECT_FALSE(ax().write(view, Attribute::SelectedTextRange, QVariant::fromValue(TextRange{0, 0})));
    EXPECT_FALSE(ax().applicationElement(target->pid()));
    EXPECT_LT(clock.elapsed(), 1000);
}

INSTANTIATE_TEST_SUITE_P(Toolkits, DesktopBackend, ::testing::Values(TargetApp::Kind::Gtk, TargetApp::Kind::Qt),
                         toolkitName);

} // namespace
} // namespace qv::e2e
