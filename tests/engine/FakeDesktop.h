#pragma once

// Small hand-made desktop for the engine's unit tests: elements are bags of
// attribute values (of any type, so tests can hand out wrong types), and
// every read, write and key is counted or logged.

#include "core/VirtualScheduler.h"
#include "platform/Platform.h"
#include "platform/sim/SimDesktop.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace qv::test {

using platform::Attribute;

struct FakeNode {
    quint64 id = 0;
    qint64 pid = 0;
    std::map<Attribute, QVariant> values; // missing: the read fails
    QSet<Attribute> settable;
    QSet<Attribute> settableQueryFails;
    std::map<Attribute, int> reads;
    // Set by setParent: a weak link, so that a parent holding its children
    // and children naming their parent never keep each other alive. A
    // Parent entry in `values` wins over it.
    std::weak_ptr<FakeNode> parent;
};

class FakeRef final : public platform::ElementRef {
public:
    explicit FakeRef(std::shared_ptr<FakeNode> node) : node(std::move(node)) {}
    bool sameElement(const platform::ElementRef &other) const override
    {
        auto o = dynamic_cast<const FakeRef *>(&other);
        return o && o->node == node;
    }
    qint64 pid() const override { return node->pid; }
    QString describe() const override { return QStringLiteral("fake#%1").arg(node->id); }
    std::shared_ptr<FakeNode> node;
};

class FakeAccessibility final : public platform::Accessibility {
public:
    // A new element of process `pid`.
    platform::Element make(qint64 pid = 2001);
    FakeNode &node(const platform::Element &e);
    // A plain text field with the given value.
    platform::Element textField(const QString &value = {}, qint64 pid = 2001);
    void setParent(const platform::Element &child, const platform::Element &parent);
    void setChildren(const platform::Element &parent, const QList<platform::Element> &children);

    platform::Element systemFocusedElement() override
    {
        ++systemFocusReads;
        return systemFocus;
    }
    platform::Element applicationElement(qint64 pid) override;
    platform::Element elementAtPoint(QPoint global) override;
    std::optional<QVariant> read(const platform::Element &element, Attribute attribute) override;
    std::optional<bool> isSettable(const platform::Element &element, Attribute attribute) override;
    bool write(const platform::Element &element, Attribute attribute, const QVariant &value) override;
    bool isTerminal(const platform::Element &) override { return false; }
    platform::SubscriptionPtr observeFocus(qint64 pid, std::function<void()> changed) override;

    // Calls the live focus observer of `pid` (as a notification would).
    void notifyFocus(qint64 pid);
    int liveObservers() const;

    platform::Element systemFocus;
    int systemFocusReads = 0;
    std::map<qint64, platform::Element> apps; // application elements by pid
    QSet<qint64> unobservable;
    int observeCalls = 0;
    std::map<std::pair<int, int>, platform::Element> atPoint;
    QList<QPoint> pointLookups;
    struct Write {
        platform::Element element;
        Attribute attribute;
        QVariant value;
    };
    QList<Write> writes;

private:
    quint64 m_nextId = 1;
    std::map<qint64, std::shared_ptr<std::function<void()>>> m_observers;
};

// Keys are logged as "text", "<Backspace>", "<Left>", "^A", "^C", "^V" with the
// virtual time they were sent at.
class FakeKeyboard final : public platform::Keyboard {
public:
    explicit FakeKeyboard(Scheduler &scheduler) : m_scheduler(scheduler) {}
    enum class Unit { Grapheme, CodePoint };

    QCoro::Task<> prepare(const QString &) override { co_return; }
    QCoro::Task<> typeGrapheme(const QString &grapheme) override;
    QCoro::Task<> press(platform::Key key) override;
    QCoro::Task<> shortcut(platform::Shortcut shortcut) override;
    void finish() override {}
    void releaseAll() override {}
    int backspacePresses(const QString &stretch) override;
    int arrowPresses(const QString &stretch) override;

    Unit unit = Unit::Grapheme;
    QStringList keys;
    QList<double> timesMs;
    QStringList asked; // stretches the engine asked about

private:
    void log(const QString &key);
    Scheduler &m_scheduler;
};

class FakeWorkspace final : public platform::Workspace {
public:
    std::optional<platform::AppInfo> frontmostApplication() override { return frontmost; }
    qint64 ownPid() const override { return 1000; }
    std::optional<QPoint> pointerLocation() override { return pointer; }
    bool openUrl(const QUrl &) override { return true; }

    void activate(qint64 pid)
    {
        frontmost = platform::AppInfo{pid, QStringLiteral("App%1").arg(pid), QString()};
        emit applicationActivated(*frontmost);
    }

    std::optional<platform::AppInfo> frontmost;
    std::optional<QPoint> pointer;
};

// The fakes above, and the simulated desktop's parts for what the engine's
// unit tests never look at (clipboard, mouse, permissions, badge).
class FakePlatform final : public platform::Platform {
public:
    explicit FakePlatform(VirtualScheduler &scheduler) : kb(scheduler), m_rest(scheduler) {}
    platform::Accessibility &accessibility() override { return ax; }
    platform::Keyboard &keyboard() override { return kb; }
    platform::Pasteboard &pasteboard() override { return m_rest.pasteboard(); }
    platform::Workspace &workspace() override { return ws; }
    platform::InputMonitor &input() override { return m_rest.input(); }
    platform::Permissions &permissions() override { return m_rest.permissions(); }
    platform::Desktop &desktop() override { return m_rest.desktop(); }

    FakeAccessibility ax;
    FakeKeyboard kb;
    FakeWorkspace ws;

private:
    sim::SimDesktop m_rest;
};

} // namespace qv::test
