// The Linux backend against a real Chromium page (targets/ChromiumTarget.html):
// a <textarea>, an <input> and a contenteditable div. The page reports its
// own text and selection, which are the ground truth here. Chromium applies
// caret and selection writes late and its first hit test stops at the whole
// document; the backend's answers to both are checked against the page.
#include "DesktopFixture.h"

#include "core/Text.h"

namespace qv::e2e {
namespace {

using platform::Attribute;
using platform::Element;
using platform::TextRange;

const QString kText = QStringLiteral("Café — “déjà vu” 🇫🇷 👨‍👩‍👧 e\u0301 naïve.\nSecond line 👍🏽 ends here.");

class ChromiumPage : public DesktopFixture {
protected:
    void SetUp() override
    {
        DesktopFixture::SetUp();
        if (IsSkipped())
            return;
        page = startTarget(TargetApp::Kind::Chromium);
        ASSERT_TRUE(page->pid() > 0);
        ASSERT_TRUE(bringToFront(*page)) << "the browser window never came to the front";
    }

    // The accessible element of a field once the page focused it.
    Element focus(const QString &which)
    {
        EXPECT_EQ(page->command(QStringLiteral("focus ") + which), QStringLiteral("ok"));
        Element found;
        waitUntil(
            [&] {
                found = ax().systemFocusedElement();
                return found && found.pid() == page->pid()
                       && ax().read(found, Attribute::Editable).value_or(QVariant()).toBool();
            },
            5000);
        return found;
    }

    void type(const QString &text)
    {
        auto &keyboard = platform->keyboard();
        auto job = [&]() -> QCoro::Task<> {
            co_await keyboard.prepare(text);
            for (const QString &g : text::graphemes(text)) {
                co_await keyboard.typeGrapheme(g);
                co_await scheduler.sleep(4);
            }
            keyboard.finish();
        };
        ASSERT_TRUE(runReal(job(), 60000));
    }

    std::optional<QString> settled(const QString &which, const QString &expected)
    {
        return settledDump(*page, which, expected);
    }

    std::unique_ptr<TargetApp> page;
};

TEST_F(ChromiumPage, KeysReachEveryKindOfFieldAndThePageReportsThem)
{
    struct Field {
        QString which;
        QString role;
        QString text;
    };
    const QString line = QStringLiteral("one line — “x” 🇫🇷 e\u0301 ok");
    for (const Field &f : {Field{QStringLiteral("view"), platform::Roles::TextArea, kText},
                           Field{QStringLiteral("entry"), platform::Roles::TextField, line},
                           Field{QStringLiteral("rich"), QString(), line}}) {
        SCOPED_TRACE(f.which.toStdString());
        const Element e = focus(f.which);
        ASSERT_TRUE(e) << "no focused editable element";
        if (!f.role.isEmpty()) {
            EXPECT_EQ(ax().read(e, Attribute::Role), QVariant(f.role));
        }
        type(f.text);
        EXPECT_EQ(settled(f.which, f.text), f.text);
        // Accessibility reads what the page holds, once it has caught up.
        EXPECT_TRUE(waitUntil([&] { return ax().read(e, Attribute::Value) == QVariant(f.text); }, 3000))
            << ax().read(e, Attribute::Value).value_or(QVariant()).toString().toStdString();
    }
}

} // namespace
} // namespace qv::e2e
