#include "TracingPlatform.h"

#include "core/Scheduler.h"

namespace qv::e2e {

using platform::Attribute;
using platform::Element;
using platform::TextRange;

class TracingPlatform::Trace {
public:
    Trace(Scheduler &clock, QStringList &lines) : m_clock(clock), m_lines(lines), m_originMs(clock.nowMs()) {}

    // A key pressed again and again shares one line, with its count.
    void line(const QString &text)
    {
        m_typing = false;
        if (text == m_lastText && text.startsWith(QLatin1String("press ")) && ownsLastLine()) {
            m_lines.last() = m_lastStamp + text + QStringLiteral(" ×%1").arg(++m_repeats);
            return;
        }
        m_lastText = text;
        m_lastStamp = stamp();
        m_repeats = 1;
        m_lines << m_lastStamp + text;
        m_ownLast = m_lines.size() - 1;
    }

    // Consecutive typed graphemes share one line.
    void typed(const QString &grapheme)
    {
        const QString shown = grapheme == QLatin1String("\n") ? QStringLiteral("⏎") : grapheme;
        m_lastText.clear();
        if (m_typing && ownsLastLine()) {
            QString &last = m_lines.last();
            last.insert(last.size() - 1, shown);
            return;
        }
        m_lines << stamp() + QStringLiteral("type \"") + shown + QLatin1Char('"');
        m_ownLast = m_lines.size() - 1;
        m_typing = true;
    }

private:
    // Others write to the same list: only our own last line is continued.
    bool ownsLastLine() const { return !m_lines.isEmpty() && m_ownLast == m_lines.size() - 1; }
    QString stamp() const { return QString::number(qint64(m_clock.nowMs() - m_originMs)) + QLatin1Char(' '); }

    Scheduler &m_clock;
    QStringList &m_lines;
    double m_originMs;
    bool m_typing = false;
    QString m_lastText;
    QString m_lastStamp;
    int m_repeats = 0;
    qsizetype m_ownLast = -1;
};

namespace {
QString attributeName(Attribute attribute)
{
    switch (attribute) {
    case Attribute::Value:
        return QStringLiteral("value");
    case Attribute::SelectedTextRange:
        return QStringLiteral("selection");
    case Attribute::SelectedText:
        return QStringLiteral("selectedText");
    case Attribute::Focused:
        return QStringLiteral("focused");
    default:
        return {};
    }
}

// Ranges as {location,length}; long texts by their end, where runs edit.
QString shown(const QVariant &value)
{
    if (value.userType() == qMetaTypeId<TextRange>()) {
        const TextRange r = value.value<TextRange>();
        return QStringLiteral("{%1,%2}").arg(r.location).arg(r.length);
    }
    const QString text = value.toString();
    return text.size() > 32 ? QStringLiteral("…") + text.right(32) : text;
}

QString keyName(platform::Key key)
{
    static const char *const names[] = {"Backspace", "Return", "Tab", "Left", "Right", "Up", "Down"};
    return QString::fromLatin1(names[int(key)]);
}
} // namespace

class TracingPlatform::TracedAccessibility final : public platform::Accessibility {
public:
    TracedAccessibility(platform::Accessibility &real, Trace &trace, qint64 unreadablePid)
        : m_real(real), m_trace(trace), m_unreadablePid(unreadablePid)
    {
    }

    Element systemFocusedElement() override { return m_real.systemFocusedElement(); }
    Element applicationElement(qint64 pid) override { return m_real.applicationElement(pid); }
    Element elementAtPoint(QPoint global) override { return m_real.elementAtPoint(global); }

    std::optional<QVariant> read(const Element &element, Attribute attribute) override
    {
        const QString name = attributeName(attribute);
        if (m_unreadablePid && element.pid() == m_unreadablePid
            && (attribute == Attribute::Value || attribute == Attribute::SelectedText)) {
            ++refused;
            m_trace.line(QStringLiteral("read ") + name + QStringLiteral(" refused"));
            return std::nullopt;
        }
        std::optional<QVariant> value = m_real.read(element, attribute);
        if (!name.isEmpty())
            m_trace.line(QStringLiteral("read ") + name + QStringLiteral(" = ")
                         + (value ? shown(*value) : QStringLiteral("(none)")));
        return value;
    }
    std::optional<bool> isSettable(const Element &element, Attribute attribute) override
    {
        return m_real.isSettable(element, attribute);
    }
    bool write(const Element &element, Attribute attribute, const QVariant &value) override
    {
        const bool ok = m_real.write(element, attribute, value);
        m_trace.line(QStringLiteral("write ") + attributeName(attribute) + QLatin1Char(' ') + shown(value)
                     + (ok ? QString() : QStringLiteral(" FAILED")));
        return ok;
    }
    QCoro::Task<bool> writeAndConfirm(const Element &element, Attribute attribute, const QVariant &value) override
    {
        m_trace.line(QStringLiteral("write and confirm ") + attributeName(attribute) + QLatin1Char(' ') + shown(value));
        return m_real.writeAndConfirm(element, attribute, value);
    }
    bool isTerminal(const Element &element) override { return m_real.isTerminal(element); }
    platform::SubscriptionPtr observeFocus(qint64 pid, std::function<void()> changed) override
    {
        return m_real.observeFocus(pid, std::move(changed));
    }

    int refused = 0;

private:
    platform::Accessibility &m_real;
    Trace &m_trace;
    qint64 m_unreadablePid;
};

class TracingPlatform::TracedKeyboard final : public platform::Keyboard {
public:
    TracedKeyboard(platform::Keyboard &real, Trace &trace) : m_real(real), m_trace(trace) {}

    QCoro::Task<> prepare(const QString &text) override { return m_real.prepare(text); }
    QCoro::Task<> typeGrapheme(const QString &grapheme) override
    {
        ++keys;
        m_trace.typed(grapheme);
        return m_real.typeGrapheme(grapheme);
    }
    QCoro::Task<> press(platform::Key key) override
    {
        ++keys;
        m_trace.line(QStringLiteral("press ") + keyName(key));
        return m_real.press(key);
    }
    QCoro::Task<> shortcut(platform::Shortcut shortcut) override
    {
        ++keys;
        m_trace.line(shortcut == platform::Shortcut::SelectAll ? QStringLiteral("select all")
                     : shortcut == platform::Shortcut::Copy    ? QStringLiteral("copy")
                                                               : QStringLiteral("paste"));
        return m_real.shortcut(shortcut);
    }
    void finish() override { m_real.finish(); }
    void releaseAll() override { m_real.releaseAll(); }
    int backspacePresses(const QString &stretch) override { return m_real.backspacePresses(stretch); }
    int arrowPresses(const QString &stretch) override { return m_real.arrowPresses(stretch); }

    int keys = 0;

private:
    platform::Keyboard &m_real;
    Trace &m_trace;
};

TracingPlatform::TracingPlatform(platform::Platform &real, Scheduler &clock, QStringList &trace, qint64 unreadablePid)
    : m_real(real), m_trace(std::make_unique<Trace>(clock, trace)),
      m_accessibility(std::make_unique<TracedAccessibility>(real.accessibility(), *m_trace, unreadablePid)),
      m_keyboard(std::make_unique<TracedKeyboard>(real.keyboard(), *m_trace))
{
}

TracingPlatform::~TracingPlatform() = default;

platform::Accessibility &TracingPlatform::accessibility() { return *m_accessibility; }

platform::Keyboard &TracingPlatform::keyboard() { return *m_keyboard; }

int TracingPlatform::refusedReads() const { return m_accessibility->refused; }

int TracingPlatform::keyEvents() const { return m_keyboard->keys; }

} // namespace qv::e2e
