#pragma once

#include "platform/Accessibility.h"
#include "platform/Element.h"
#include "platform/sim/FieldQuirks.h"
#include "platform/sim/TextEditing.h"

#include <QHash>
#include <QRect>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace qv::sim {

class SimApp;
class SimDesktop;

// How an element answers a write of one attribute, overriding its own rules.
enum class WriteAnswer {
    Natural,      // the element's own rules decide
    Refuse,       // the write fails
    AcceptIgnore, // the write is reported as done and does nothing
};

// One element of a simulated application's interface: the application
// element, a window, or anything inside a window. Elements are built through
// the add… calls and live as long as the desktop, so references stay valid
// after the element is removed or its application quits (it then answers
// every query as absent).
//
// An element that holds text (text fields, areas, editable web content,
// terminals) receives typed keys with real editing semantics when it has
// the keyboard focus.
class SimElement : public std::enable_shared_from_this<SimElement> {
public:
    SimElement(SimApp &app, SimElement *parent, QString role, QRect frame);
    SimElement(const SimElement &) = delete;
    SimElement &operator=(const SimElement &) = delete;

    // --- Building the tree (frames are global, top-left origin) ---
    SimElement &addTextField(QRect frame, const QString &text = {});
    SimElement &addTextArea(QRect frame, const QString &text = {});
    SimElement &addSearchField(QRect frame, const QString &text = {});
    SimElement &addSecureField(QRect frame);
    // Web content; editable (a text box of a page) or not.
    SimElement &addWebArea(QRect frame, bool editable);
    SimElement &addTerminal(QRect frame, const QString &text = {});
    SimElement &addButton(QRect frame, const QString &title);
    SimElement &addStaticText(QRect frame, const QString &text);
    SimElement &addGroup(QRect frame = {});
    // Any role; the element holds no text unless made a text input.
    SimElement &addElement(const QString &role, QRect frame = {});
    // Detaches the element (and its subtree) from the interface.
    void remove();

    // --- Identity and tree ---
    platform::Element element() const;
    SimApp &app() const { return m_app; }
    SimElement *parent() const { return m_parent; }
    const std::vector<std::shared_ptr<SimElement>> &children() const { return m_children; }
    // The window the element is in (itself for a window), null for the application element.
    SimElement *window();
    quint64 id() const { return m_id; }
    // Attached to its application's tree and the application still runs.
    bool isLive() const;
    QString describe() const;

    // --- Attributes ---
    SimElement &setRole(const QString &role);
    SimElement &setSubrole(std::optional<QString> subrole);
    SimElement &setTitle(std::optional<QString> title);
    SimElement &setRoleDescription(std::optional<QString> description);
    SimElement &setDomRole(std::optional<QString> domRole);
    // nullopt: the element does not report the attribute.
    SimElement &setEnabled(std::optional<bool> enabled);
    SimElement &setEditable(std::optional<bool> editable);
    SimElement &setFrame(QRect frame);
    // Whether a click or a focus write gives it the keyboard focus.
    SimElement &setFocusable(bool focusable);
    SimElement &setTerminal(bool terminal);
    QString role() const { return m_role; }
    QRect frame() const { return m_frame; }
    bool isFocusable() const { return m_focusable; }
    bool isTerminal() const { return m_terminal; }

    // --- Text ---
    // Makes the element hold text and take typed keys.
    SimElement &makeTextInput(bool multiLine);
    SimElement &setMultiLine(bool multiLine);
    SimElement &setTabBehaviour(TabBehaviour behaviour);
    // Replaces the text; the caret goes to its end.
    SimElement &setText(const QString &text);
    // Sets the selection as the user would (clamped to the text).
    SimElement &setSelection(platform::TextRange range);
    SimElement &setCaret(qint64 position) { return setSelection({position, 0}); }
    FieldQuirks &quirks() { return m_quirks; }
    bool holdsText() const { return m_holdsText; }
    bool isMultiLine() const { return m_multiLine; }
    TabBehaviour tabBehaviour() const { return m_tab; }
    QString text() const { return m_edit.text; }
    platform::TextRange selection() const { return m_edit.selection; }
    QString selectedText() const { return editing::selectedText(m_edit); }
    EditState &editState() { return m_edit; }

    // --- Overrides of single answers ---
    // The read answers `answer` whatever the element holds; nullopt makes it fail.
    SimElement &overrideRead(platform::Attribute attribute, std::optional<QVariant> answer);
    // The read answers what `answer` makes of the element's own answer, read
    // by read (for answers that change: "fails twice, then reads").
    using ReadHook = std::function<std::optional<QVariant>(const std::optional<QVariant> &natural)>;
    SimElement &overrideReadWith(platform::Attribute attribute, ReadHook answer);
    // The settable query answers `answer`; nullopt makes the query fail.
    SimElement &overrideSettable(platform::Attribute attribute, std::optional<bool> answer);
    SimElement &overrideWrite(platform::Attribute attribute, WriteAnswer answer);
    SimElement &clearOverrides(platform::Attribute attribute);

    // --- Focus ---
    // Gives the element the focus of its window (the application's focus when
    // the window is its key window). Does not activate the application.
    void focus();
    bool isFocused() const;

    // --- Accessibility answers (no hang or liveness checks: the desktop does those) ---
    std::optional<QVariant> read(platform::Attribute attribute) const;
    std::optional<bool> isSettable(platform::Attribute attribute) const;
    // What a write would do (overrides and quirks included); the desktop
    // then applies it, at once or after the element's write delay.
    enum class WriteOutcome { Refused, Ignored, Apply };
    WriteOutcome evaluateWrite(platform::Attribute attribute, const QVariant &value) const;
    void applyWrite(platform::Attribute attribute, const QVariant &value);

private:
    SimElement &adopt(std::shared_ptr<SimElement> child);
    std::optional<QVariant> naturalRead(platform::Attribute attribute) const;
    std::optional<bool> naturalSettable(platform::Attribute attribute) const;
    bool hidesText() const;

    SimApp &m_app;
    SimElement *m_parent;
    quint64 m_id;
    QString m_role;
    QRect m_frame;
    std::optional<QString> m_subrole, m_title, m_roleDescription, m_domRole;
    std::optional<bool> m_enabled = true;
    std::optional<bool> m_editable;
    bool m_focusable = false;
    bool m_terminal = false;
    bool m_attached = true;
    std::vector<std::shared_ptr<SimElement>> m_children;

    bool m_holdsText = false;
    bool m_multiLine = false;
    TabBehaviour m_tab = TabBehaviour::MoveFocus;
    std::optional<QString> m_staticValue;
    EditState m_edit;
    FieldQuirks m_quirks;

    QHash<int, std::optional<QVariant>> m_readOverrides;
    QHash<int, ReadHook> m_readHooks;
    QHash<int, std::optional<bool>> m_settableOverrides;
    QHash<int, WriteAnswer> m_writeOverrides;

    // A window remembers which of its elements has the focus.
    SimElement *m_windowFocus = nullptr;

    friend class SimApp;
};

} // namespace qv::sim
