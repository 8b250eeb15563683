// The Linux backend against a real Chromium page (targets/ChromiumTarget.html):
// a <textarea>, an <input> and a contenteditable div. The page reports its
// own text and selection, which are the ground truth here. Chromium applies
// caret and selection writes late and its first hit test stops at the whole
// document; the backend's answers to both are checked against the page.
#include "DesktopFixture.h"

namespace qv::e2e {
namespace {

using platform::Attribute;
using platform::Element;
using platform::TextRange;

const QString kText = QStringLiteral(
    "Café — “déjà vu” 🇫🇷 👨‍👩‍👧 e\u0301 naïve.\nSecond line 👍🏽 ends here.");

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

    // The accessible element of a field once the page focused it: the text
    // area, the text field, or (contenteditable) another editable element.
    Element focus(const QString &which)
    {
        EXPECT_EQ(page->command(QStringLiteral("focus ") + which), QStringLiteral("ok"));
        const QString role = which == QLatin1String("view")    ? platform::Roles::TextArea
                             : which == QLatin1String("entry") ? platform::Roles::TextField
                                                               : QString();
        Element found;
        waitUntil(
            [&] {
                found = ax().systemFocusedElement();
                if (!found || found.pid() != page->pid()
                    || !ax().read(found, Attribute::Editable).value_or(QVariant()).toBool())
                    return false;
                const QString now = ax().read(found, Attribute::Role).value_or(QVariant()).toString();
                return role.isEmpty() ? now != platform::Roles::TextArea && now != platform::Roles::TextField
                                      : now == role;
            },
            kSettleMs);
        return found;
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
        typeKeys(f.text);
        EXPECT_EQ(settled(f.which, f.text), f.text);
        // Accessibility reads what the page holds, once it has caught up.
        EXPECT_TRUE(waitUntil([&] { return ax().read(e, Attribute::Value) == QVariant(f.text); }, 3000))
            << ax().read(e, Attribute::Value).value_or(QVariant()).toString().toStdString();
    }
}

// A caret or selection write returns false or lands late; the confirmed
// write returns once the page itself holds the range.
TEST_F(ChromiumPage, ConfirmedCaretAndSelectionWritesHoldInThePageWhenTheyReturn)
{
    ASSERT_TRUE(page->set(QStringLiteral("view"), kText));
    const Element view = focus(QStringLiteral("view"));
    ASSERT_TRUE(view);
    ASSERT_TRUE(waitUntil([&] { return ax().read(view, Attribute::Value) == QVariant(kText); }, 3000));
    const qint64 flag = kText.indexOf(QStringLiteral("🇫🇷"));
    const qint64 family = kText.indexOf(QStringLiteral("👨"));
    const qint64 thumb = kText.indexOf(QStringLiteral("👍🏽"));
    const qint64 quoted = kText.indexOf(QStringLiteral("déjà"));
    const qint64 end = kText.size();
    struct Case {
        TextRange range;
        const char *what;
    };
    // Chromium reports a selection after an astral character miscounted, or
    // not at all: each is read back as written.
    for (const Case &c :
         {Case{{quoted, 7}, "two words selected"}, Case{{3, 0}, "a caret after the accent"},
          Case{{0, 5}, "the first word selected"}, Case{{end, 0}, "a caret at the end"},
          Case{{flag, 4}, "the flag selected"}, Case{{family, 8}, "the family selected"},
          Case{{0, end}, "the whole text selected"}, Case{{thumb, end - thumb}, "the tail from an emoji"},
          Case{{family + 9, 8}, "a selection after the family"}, Case{{flag + 4, 0}, "a caret after the flag"},
          Case{{0, 0}, "a caret at the start"}}) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(writeRange(view, c.range));
        // No settling: the page holds the range the moment the write returns.
        EXPECT_EQ(page->selection(QStringLiteral("view")), (std::pair{c.range.location, c.range.end()}));
        EXPECT_EQ(ax().read(view, Attribute::SelectedTextRange), QVariant::fromValue(c.range));
    }
    // A key typed right after a confirmed caret write lands there.
    ASSERT_TRUE(writeRange(view, {flag, 0}));
    typeKeys(QStringLiteral("<"));
    QString expected = kText;
    expected.insert(flag, QLatin1Char('<'));
    EXPECT_EQ(settled(QStringLiteral("view"), expected), expected);
    EXPECT_EQ(page->selection(QStringLiteral("view")), (std::pair{flag + 1, flag + 1}));
}

// A long text with astral characters on every line reads back exactly,
// whether or not it ends in line breaks (Chromium draws an empty last line
// after a final break and reads it as one more).
TEST_F(ChromiumPage, LongAstralTextReadsBackExactlyWhateverItsEnding)
{
    QString essay;
    for (int i = 0; i < 150; ++i)
        essay += QStringLiteral("Line %1: the tide 🌊 rose, 👍🏽 said Renée — “𝄞” %2\n")
                     .arg(i)
                     .arg(i % 7 ? "" : "\n");
    essay += QStringLiteral("Still counting. 🌊");
    struct Case {
        QString text;
        const char *what;
    };
    for (const Case &c : {Case{essay, "ending in an emoji"}, Case{essay + QLatin1Char('\n'), "ending in a line break"},
                          Case{essay + QStringLiteral("\n\n"), "ending in two line breaks"},
                          Case{QStringLiteral("\n"), "a single line break"}, Case{QString(), "empty"}}) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(page->set(QStringLiteral("view"), c.text));
        ASSERT_EQ(settled(QStringLiteral("view"), c.text), c.text);
        const Element view = focus(QStringLiteral("view"));
        ASSERT_TRUE(view);
        EXPECT_TRUE(waitUntil([&] { return ax().read(view, Attribute::Value) == QVariant(c.text); }, 3000))
            << "read " << ax().read(view, Attribute::Value).value_or(QVariant()).toString().size() << " units of "
            << c.text.size();
        // The end is where the value ends: a caret written there lands there.
        ASSERT_TRUE(writeRange(view, {c.text.size(), 0}));
        EXPECT_EQ(page->selection(QStringLiteral("view")), (std::pair{c.text.size(), c.text.size()}));
    }
}

// The first hit test of a browser window stops at the document; the backend
// asks again and reaches the field under the point.
TEST_F(ChromiumPage, ElementAtPointReachesTheFieldNotTheDocument)
{
    const auto within = [&](Element e, const Element &box) {
        for (int i = 0; i < 8 && e && !(e == box); ++i)
            e = ax().read(e, Attribute::Parent).value_or(QVariant()).value<Element>();
        return e == box;
    };
    for (const QString &which : {QStringLiteral("view"), QStringLiteral("entry")}) {
        SCOPED_TRACE(which.toStdString());
        const Element field = focus(which);
        ASSERT_TRUE(field);
        const QRect rect = page->geometry(which);
        ASSERT_FALSE(rect.isEmpty());
        const Element hit = ax().elementAtPoint(rect.center());
        ASSERT_TRUE(hit) << "nothing at " << rect.center().x() << "," << rect.center().y();
        EXPECT_NE(ax().read(hit, Attribute::Role), QVariant(platform::Roles::WebArea));
        EXPECT_TRUE(within(hit, field))
            << "hit " << ax().read(hit, Attribute::Role).value_or(QVariant()).toString().toStdString();
    }
}

} // namespace
} // namespace qv::e2e
