#include "FakeDesktop.h"

#include "core/Text.h"

namespace qv::test {

using platform::Element;

Element FakeAccessibility::make(qint64 pid)
{
    auto node = std::make_shared<FakeNode>();
    node->id = m_nextId++;
    node->pid = pid;
    return Element(std::make_shared<FakeRef>(node));
}

FakeNode &FakeAccessibility::node(const Element &e) { return *static_cast<const FakeRef *>(e.ref())->node; }

Element FakeAccessibility::textField(const QString &value, qint64 pid)
{
    Element e = make(pid);
    FakeNode &n = node(e);
    n.values[Attribute::Role] = platform::Roles::TextField;
    n.values[Attribute::Value] = value;
    n.values[Attribute::SelectedTextRange] = QVariant::fromValue(platform::TextRange{value.size(), 0});
    n.settable.insert(Attribute::SelectedTextRange);
    return e;
}

void FakeAccessibility::setParent(const Element &child, const Element &parent)
{
    FakeNode &n = node(child);
    n.values.erase(Attribute::Parent);
    if (const auto *ref = static_cast<const FakeRef *>(parent.ref()))
        n.parent = ref->node;
    else
        n.parent.reset();
}

void FakeAccessibility::setChildren(const Element &parent, const QList<Element> &children)
{
    node(parent).values[Attribute::Children] = QVariant::fromValue(children);
    for (const Element &c : children)
        setParent(c, parent);
}

Element FakeAccessibility::applicationElement(qint64 pid)
{
    auto it = apps.find(pid);
    if (it == apps.end()) {
        Element app = make(pid);
        node(app).values[Attribute::Role] = platform::Roles::Application;
        it = apps.emplace(pid, app).first;
    }
    return it->second;
}

Element FakeAccessibility::elementAtPoint(QPoint global)
{
    pointLookups.append(global);
    auto it = atPoint.find({global.x(), global.y()});
    return it == atPoint.end() ? Element() : it->second;
}

std::optional<QVariant> FakeAccessibility::read(const Element &element, Attribute attribute)
{
    if (element.isNull())
        return std::nullopt;
    FakeNode &n = node(element);
    ++n.reads[attribute];
    auto it = n.values.find(attribute);
    if (it != n.values.end())
        return it->second;
    if (attribute == Attribute::Parent) {
        if (std::shared_ptr<FakeNode> parent = n.parent.lock())
            return QVariant::fromValue(Element(std::make_shared<FakeRef>(std::move(parent))));
    }
    return std::nullopt;
}

std::optional<bool> FakeAccessibility::isSettable(const Element &element, Attribute attribute)
{
    if (element.isNull())
        return std::nullopt;
    FakeNode &n = node(element);
    if (n.settableQueryFails.contains(attribute))
        return std::nullopt;
    return n.settable.contains(attribute);
}

bool FakeAccessibility::write(const Element &element, Attribute attribute, const QVariant &value)
{
    writes.append({element, attribute, value});
    if (element.isNull())
        return false;
    node(element).values[attribute] = value;
    return true;
}

namespace {
class FakeSubscription final : public platform::Subscription {
public:
    FakeSubscription(std::function<void()> onEnd) : m_onEnd(std::move(onEnd)) {}
    ~FakeSubscription() override { m_onEnd(); }

private:
    std::function<void()> m_onEnd;
};
} // namespace

platform::SubscriptionPtr FakeAccessibility::observeFocus(qint64 pid, std::function<void()> changed)
{
    ++observeCalls;
    if (unobservable.contains(pid))
        return nullptr;
    auto callback = std::make_shared<std::function<void()>>(std::move(changed));
    m_observers[pid] = callback;
    return std::make_unique<FakeSubscription>([this, pid, callback] {
        auto it = m_observers.find(pid);
        if (it != m_observers.end() && it->second == callback)
            m_observers.erase(it);
    });
}

void FakeAccessibility::notifyFocus(qint64 pid)
{
    auto it = m_observers.find(pid);
    if (it != m_observers.end())
        (*it->second)();
}

int FakeAccessibility::liveObservers() const { return int(m_observers.size()); }

void FakeKeyboard::log(const QString &key)
{
    keys.append(key);
    timesMs.append(m_scheduler.nowMs());
}

QCoro::Task<> FakeKeyboard::typeGrapheme(const QString &grapheme)
{
    log(grapheme);
    co_return;
}

QCoro::Task<> FakeKeyboard::press(platform::Key key)
{
    static const char *names[] = {"<Backspace>", "<Return>", "<Tab>", "<Left>", "<Right>", "<Up>", "<Down>"};
    log(QString::fromLatin1(names[int(key)]));
    co_return;
}

QCoro::Task<> FakeKeyboard::shortcut(platform::Shortcut shortcut)
{
    log(shortcut == platform::Shortcut::SelectAll ? QStringLiteral("^A")
        : shortcut == platform::Shortcut::Copy    ? QStringLiteral("^C")
                                                  : QStringLiteral("^V"));
    co_return;
}

int FakeKeyboard::backspacePresses(const QString &stretch)
{
    asked.append(stretch);
    return unit == Unit::Grapheme ? text::graphemeCount(stretch) : text::codePointCount(stretch);
}

int FakeKeyboard::arrowPresses(const QString &stretch)
{
    asked.append(stretch);
    return text::graphemeCount(stretch);
}

} // namespace qv::test
