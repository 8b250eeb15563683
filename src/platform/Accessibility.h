#pragma once

#include "platform/Element.h"
#include "platform/Subscription.h"

#include <QCoro/QCoroTask>
#include <QList>
#include <QPoint>
#include <QVariant>

#include <functional>
#include <optional>

namespace qv::platform {

// Attributes of an element, in the vocabulary the typing engine and the
// application state reason in.
enum class Attribute {
    Role,               // QString, one of the Roles below or a backend's own name
    Subrole,            // QString
    Title,              // QString
    RoleDescription,    // QString, not localised
    DomRole,            // QString (web content)
    Enabled,            // bool
    Editable,           // bool
    Focused,            // bool
    Value,              // QString (the whole text)
    NumberOfCharacters, // qint64, UTF-16 units
    SelectedTextRange,  // TextRange, UTF-16 units
    SelectedText,       // QString
    Parent,             // Element
    Children,           // QList<Element>
    FocusedElement,     // Element (of an application element)
    MultiLine,          // bool: true for a box of several lines, false for a one-line
                        // box (where Return submits and Tab leaves); absent: not told
    // bool: false when Value is not all of the editable text the element
    // belongs to (a part of a document that could not be assembled, objects
    // the text cannot spell out); absent means it is.
    TextIsWhole,
};

namespace Roles {
inline const QString TextField = QStringLiteral("textField");
inline const QString TextArea = QStringLiteral("textArea");
inline const QString TextView = QStringLiteral("textView");
inline const QString SearchField = QStringLiteral("searchField");
inline const QString SecureTextField = QStringLiteral("secureTextField");
inline const QString WebArea = QStringLiteral("webArea");
inline const QString Terminal = QStringLiteral("terminal");
inline const QString Window = QStringLiteral("window");
inline const QString Application = QStringLiteral("application");
inline const QString Button = QStringLiteral("button");
inline const QString StaticText = QStringLiteral("staticText");
inline const QString Group = QStringLiteral("group");
inline const QString Unknown = QStringLiteral("unknown");
} // namespace Roles

// The desktop's accessibility interface. Every call is synchronous and short
// (a backend bounds it with a time-out); a read that fails answers nullopt,
// a write that fails answers false. Nothing throws.
class Accessibility {
public:
    virtual ~Accessibility() = default;

    // The element with keyboard focus anywhere on the desktop.
    virtual Element systemFocusedElement() = 0;
    // The application element of a process (null when it has none).
    virtual Element applicationElement(qint64 pid) = 0;
    // The topmost element at a global point (top-left origin, logical pixels).
    virtual Element elementAtPoint(QPoint global) = 0;

    // The value of an attribute: nullopt when the read fails or gives no
    // value. A value may be of another type than the attribute's usual one;
    // callers check.
    virtual std::optional<QVariant> read(const Element &element, Attribute attribute) = 0;
    // Whether the attribute can be written; nullopt when the query fails.
    virtual std::optional<bool> isSettable(const Element &element, Attribute attribute) = 0;
    // Writes Focused (bool) or SelectedTextRange (TextRange). Answers whether
    // the application accepted the write (which it may still ignore).
    virtual bool write(const Element &element, Attribute attribute, const QVariant &value) = 0;
    // Writes like write() and then waits (briefly, on the scheduler) until
    // the element shows the new value: some applications apply a caret or
    // selection write only later. False when the write fails or never shows.
    virtual QCoro::Task<bool> writeAndConfirm(const Element &element, Attribute attribute, const QVariant &value)
    {
        co_return write(element, attribute, value);
    }

    // Whether the element is a terminal, where select-all and copy shortcuts
    // must never be sent.
    virtual bool isTerminal(const Element &element) = 0;

    // Calls `changed` whenever the focused element, the focused window of
    // the application `pid` changes, or the application is activated.
    // Null when the application cannot be observed.
    virtual SubscriptionPtr observeFocus(qint64 pid, std::function<void()> changed) = 0;
};

} // namespace qv::platform
