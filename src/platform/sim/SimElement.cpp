#include "platform/sim/SimElement.h"

#include "platform/sim/SimApp.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimElementRef.h"

#include <algorithm>

namespace qv::sim {

using platform::Attribute;
using platform::Element;
using platform::TextRange;
namespace Roles = platform::Roles;

SimElement::SimElement(SimApp &app, SimElement *parent, QString role, QRect frame)
    : m_app(app), m_parent(parent), m_id(app.desktop().nextElementId()), m_role(std::move(role)), m_frame(frame)
{
}

// --- Building ---

SimElement &SimElement::adopt(std::shared_ptr<SimElement> child)
{
    m_children.push_back(std::move(child));
    return *m_children.back();
}

SimElement &SimElement::addElement(const QString &role, QRect frame)
{
    return adopt(std::make_shared<SimElement>(m_app, this, role, frame));
}

SimElement &SimElement::addTextField(QRect frame, const QString &text)
{
    return addElement(Roles::TextField, frame).makeTextInput(false).setText(text);
}

SimElement &SimElement::addTextArea(QRect frame, const QString &text)
{
    return addElement(Roles::TextArea, frame).makeTextInput(true).setText(text);
}

SimElement &SimElement::addSearchField(QRect frame, const QString &text)
{
    return addElement(Roles::SearchField, frame).makeTextInput(false).setText(text);
}

SimElement &SimElement::addSecureField(QRect frame)
{
    return addElement(Roles::SecureTextField, frame).makeTextInput(false);
}

SimElement &SimElement::addWebArea(QRect frame, bool editable)
{
    SimElement &area = addElement(Roles::WebArea, frame);
    if (editable)
        area.makeTextInput(true).setEditable(true);
    return area;
}

SimElement &SimElement::addTerminal(QRect frame, const QString &text)
{
    SimElement &term = addElement(Roles::Terminal, frame).makeTextInput(true).setTerminal(true).setText(text);
    term.m_tab = TabBehaviour::InsertTab;
    term.m_quirks.selectionNotSettable = true;
    term.m_quirks.backspaceUnit = BackspaceUnit::CodePoint;
    return term;
}

SimElement &SimElement::addButton(QRect frame, const QString &title)
{
    return addElement(Roles::Button, frame).setTitle(title).setFocusable(true);
}

SimElement &SimElement::addStaticText(QRect frame, const QString &text)
{
    SimElement &label = addElement(Roles::StaticText, frame);
    label.m_staticValue = text;
    return label;
}

SimElement &SimElement::addGroup(QRect frame) { return addElement(Roles::Group, frame); }

void SimElement::remove()
{
    if (!m_parent || !m_attached)
        return;
    auto &siblings = m_parent->m_children;
    auto it = std::find_if(siblings.begin(), siblings.end(), [this](const auto &c) { return c.get() == this; });
    if (it == siblings.end())
        return;
    std::shared_ptr<SimElement> self = *it;
    siblings.erase(it);
    m_attached = false;
    m_app.desktop().keepRemoved(self);
    if (role() == Roles::Window)
        m_app.desktop().focusChanged(m_app, nullptr);
    else if (SimElement *win = m_parent->window(); win && win->m_windowFocus) {
        // Losing the focused element leaves its window without focus.
        for (SimElement *f = win->m_windowFocus; f; f = f->m_parent) {
            if (f == this) {
                win->m_windowFocus = nullptr;
                m_app.desktop().focusChanged(m_app, win);
                break;
            }
        }
    }
}

// --- Identity ---

Element SimElement::element() const
{
    auto self = std::const_pointer_cast<SimElement>(shared_from_this());
    return Element(std::make_shared<SimElementRef>(self));
}

SimElement *SimElement::window()
{
    for (SimElement *e = this; e; e = e->m_parent) {
        if (e->m_parent && !e->m_parent->m_parent)
            return e;
    }
    return nullptr;
}

bool SimElement::isLive() const
{
    if (!m_app.isRunning())
        return false;
    const SimElement *e = this;
    for (; e->m_parent; e = e->m_parent) {
        if (!e->m_attached)
            return false;
    }
    return e == &m_app.applicationElement();
}

QString SimElement::describe() const
{
    QString out = m_role + QStringLiteral(" #") + QString::number(m_id) + QStringLiteral(" of ") + m_app.name();
    if (m_title && !m_title->isEmpty())
        out += QStringLiteral(" \"") + *m_title + QLatin1Char('"');
    return out;
}

// --- Attributes ---

SimElement &SimElement::setRole(const QString &role)
{
    m_role = role;
    return *this;
}

SimElement &SimElement::setSubrole(std::optional<QString> subrole)
{
    m_subrole = std::move(subrole);
    return *this;
}

SimElement &SimElement::setTitle(std::optional<QString> title)
{
    m_title = std::move(title);
    return *this;
}

SimElement &SimElement::setRoleDescription(std::optional<QString> description)
{
    m_roleDescription = std::move(description);
    return *this;
}

SimElement &SimElement::setDomRole(std::optional<QString> domRole)
{
    m_domRole = std::move(domRole);
    return *this;
}

SimElement &SimElement::setEnabled(std::optional<bool> enabled)
{
    m_enabled = enabled;
    return *this;
}

SimElement &SimElement::setEditable(std::optional<bool> editable)
{
    m_editable = editable;
    return *this;
}

SimElement &SimElement::setFrame(QRect frame)
{
    m_frame = frame;
    return *this;
}

SimElement &SimElement::setFocusable(bool focusable)
{
    m_focusable = focusable;
    return *this;
}

SimElement &SimElement::setTerminal(bool terminal)
{
    m_terminal = terminal;
    return *this;
}

// --- Text ---

SimElement &SimElement::makeTextInput(bool multiLine)
{
    m_holdsText = true;
    m_focusable = true;
    m_multiLine = multiLine;
    m_tab = multiLine ? TabBehaviour::InsertTab : TabBehaviour::MoveFocus;
    return *this;
}

SimElement &SimElement::setMultiLine(bool multiLine)
{
    m_multiLine = multiLine;
    return *this;
}

SimElement &SimElement::setTabBehaviour(TabBehaviour behaviour)
{
    m_tab = behaviour;
    return *this;
}

SimElement &SimElement::setText(const QString &text)
{
    m_edit.text = text;
    m_edit.selection = {text.size(), 0};
    return *this;
}

SimElement &SimElement::setSelection(TextRange range)
{
    m_edit.selection = editing::clampRange(range, m_edit.text.size());
    return *this;
}

// --- Overrides ---

SimElement &SimElement::overrideRead(Attribute attribute, std::optional<QVariant> answer)
{
    m_readOverrides.insert(int(attribute), std::move(answer));
    return *this;
}

SimElement &SimElement::overrideReadWith(Attribute attribute, ReadHook answer)
{
    m_readHooks.insert(int(attribute), std::move(answer));
    return *this;
}

SimElement &SimElement::overrideSettable(Attribute attribute, std::optional<bool> answer)
{
    m_settableOverrides.insert(int(attribute), answer);
    return *this;
}

SimElement &SimElement::overrideWrite(Attribute attribute, WriteAnswer answer)
{
    m_writeOverrides.insert(int(attribute), answer);
    return *this;
}

SimElement &SimElement::clearOverrides(Attribute attribute)
{
    m_readOverrides.remove(int(attribute));
    m_readHooks.remove(int(attribute));
    m_settableOverrides.remove(int(attribute));
    m_writeOverrides.remove(int(attribute));
    return *this;
}

// --- Focus ---

void SimElement::focus()
{
    SimElement *win = window();
    if (!win || win->m_windowFocus == this)
        return;
    win->m_windowFocus = this;
    m_app.desktop().focusChanged(m_app, win);
}

bool SimElement::isFocused() const { return isLive() && m_app.focusedElement() == this; }

// --- Accessibility answers ---

bool SimElement::hidesText() const { return m_role == Roles::SecureTextField || m_quirks.onlyCharacterCount; }

std::optional<QVariant> SimElement::read(Attribute attribute) const
{
    if (auto it = m_readOverrides.constFind(int(attribute)); it != m_readOverrides.constEnd())
        return *it;
    if (auto it = m_readHooks.constFind(int(attribute)); it != m_readHooks.constEnd())
        return (*it)(naturalRead(attribute));
    return naturalRead(attribute);
}

std::optional<QVariant> SimElement::naturalRead(Attribute attribute) const
{
    const auto str = [](const std::optional<QString> &s) -> std::optional<QVariant> {
        return s ? std::optional<QVariant>(*s) : std::nullopt;
    };
    switch (attribute) {
    case Attribute::Role:
        return m_role.isEmpty() ? std::nullopt : std::optional<QVariant>(m_role);
    case Attribute::Subrole:
        return str(m_subrole);
    case Attribute::Title:
        return str(m_title);
    case Attribute::RoleDescription:
        return str(m_roleDescription);
    case Attribute::DomRole:
        return str(m_domRole);
    case Attribute::Enabled:
        return m_enabled ? std::optional<QVariant>(*m_enabled) : std::nullopt;
    case Attribute::Editable:
        return m_editable ? std::optional<QVariant>(*m_editable) : std::nullopt;
    case Attribute::Focused:
        return QVariant(isFocused());
    case Attribute::Value:
        if (m_holdsText)
            return (hidesText() || m_quirks.valueUnreadable) ? std::nullopt : std::optional<QVariant>(m_edit.text);
        return str(m_staticValue);
    case Attribute::NumberOfCharacters:
        if (m_holdsText)
            return QVariant(qint64(m_edit.text.size()));
        return m_staticValue ? std::optional<QVariant>(qint64(m_staticValue->size())) : std::nullopt;
    case Attribute::SelectedTextRange:
        if (!m_holdsText || m_quirks.onlyCharacterCount)
            return std::nullopt;
        return QVariant::fromValue(m_edit.selection);
    case Attribute::SelectedText:
        if (!m_holdsText || hidesText() || m_quirks.selectedTextUnreadable)
            return std::nullopt;
        return QVariant(selectedText());
    case Attribute::Parent:
        return m_parent ? std::optional<QVariant>(QVariant::fromValue(m_parent->element())) : std::nullopt;
    case Attribute::Children: {
        QList<Element> children;
        for (const auto &c : m_children)
            children.append(c->element());
        return QVariant::fromValue(children);
    }
    case Attribute::MultiLine:
        return m_holdsText ? std::optional<QVariant>(m_multiLine) : std::nullopt;
    case Attribute::TextIsWhole:
        return (m_holdsText && m_quirks.textNotWhole) ? std::optional<QVariant>(false) : std::nullopt;
    case Attribute::FocusedElement:
        if (m_parent)
            return std::nullopt;
        if (SimElement *f = m_app.focusedElement())
            return QVariant::fromValue(f->element());
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<bool> SimElement::isSettable(Attribute attribute) const
{
    if (auto it = m_settableOverrides.constFind(int(attribute)); it != m_settableOverrides.constEnd())
        return *it;
    return naturalSettable(attribute);
}

std::optional<bool> SimElement::naturalSettable(Attribute attribute) const
{
    switch (attribute) {
    case Attribute::SelectedTextRange:
        return m_holdsText && !m_quirks.selectionNotSettable;
    case Attribute::Value:
        return m_holdsText && m_editable != false && m_role != Roles::SecureTextField;
    case Attribute::Focused:
        return m_focusable;
    default:
        return false;
    }
}

SimElement::WriteOutcome SimElement::evaluateWrite(Attribute attribute, const QVariant &value) const
{
    const WriteAnswer answer = m_writeOverrides.value(int(attribute), WriteAnswer::Natural);
    if (answer == WriteAnswer::Refuse)
        return WriteOutcome::Refused;
    if (answer == WriteAnswer::AcceptIgnore)
        return WriteOutcome::Ignored;
    switch (attribute) {
    case Attribute::Focused:
        if (!m_focusable || value.typeId() != QMetaType::Bool)
            return WriteOutcome::Refused;
        // Giving up the focus is accepted and does nothing, as in most toolkits.
        if (m_quirks.focusWritesIgnored || !value.toBool())
            return WriteOutcome::Ignored;
        return WriteOutcome::Apply;
    case Attribute::SelectedTextRange: {
        if (!m_holdsText || m_quirks.selectionNotSettable || !value.canConvert<TextRange>()
            || value.metaType() != QMetaType::fromType<TextRange>())
            return WriteOutcome::Refused;
        const TextRange r = value.value<TextRange>();
        if (m_quirks.rangeWrites == RangeWrites::RejectOutOfRange
            && (r.location < 0 || r.length < 0 || r.end() > m_edit.text.size()))
            return WriteOutcome::Refused;
        if (m_quirks.rangeWrites == RangeWrites::WithinParagraph
            && m_edit.text.mid(r.location, r.length).contains(QLatin1Char('\n')))
            return WriteOutcome::Refused;
        if (m_quirks.selectionWritesIgnored || (m_quirks.caretWritesIgnored && r.length == 0))
            return WriteOutcome::Ignored;
        return WriteOutcome::Apply;
    }
    default:
        return WriteOutcome::Refused;
    }
}

void SimElement::applyWrite(Attribute attribute, const QVariant &value)
{
    if (!isLive())
        return;
    if (attribute == Attribute::Focused) {
        focus();
    } else if (attribute == Attribute::SelectedTextRange) {
        // Checked again here: a delayed write meets the text as it is by then.
        const TextRange r = value.value<TextRange>();
        if (m_quirks.rangeWrites == RangeWrites::SnapToGraphemes)
            m_edit.selection = editing::snapToGraphemes(m_edit.text, r);
        else if (m_quirks.rangeWrites == RangeWrites::Exact || r.end() <= m_edit.text.size())
            m_edit.selection = editing::clampRange(r, m_edit.text.size());
    }
}

} // namespace qv::sim
