#pragma once

// Small hand-made desktop for the engine's unit tests: elements are bags of
// attribute values (of any type, so tests can hand out wrong types), and
// every read, write and key is counted or logged.

#include "core/Scheduler.h"
#include "platform/Platform.h"

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

    platform::Element systemFocusedElement() override { ++systemFocusReads; return systemFocus; }
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

// Keys are logged as "text", "<Backspace>", "<Left>", "^A", "^C" with the
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

// Holds what is written; the engine's clipboard work is tested on the
// simulated desktop.
class FakePasteboard final : public platform::Pasteboard {
public:
    QList<platform::TypedData> items() override { return m_items; }
    platform::TypedData directData() override { return m_direct; }
    void clear() override { m_items.clear(), m_direct.clear(), ++m_changeCount; }
    void writeItems(const QList<platform::TypedData> &items) override { m_items = items, ++m_changeCount; }
    void setDirectData(const QString &type, const QByteArray &data) override
    {
        m_direct.append({type, data});
        ++m_changeCount;
    }
    std::optional<QString> plainText() override { return std::nullopt; }
    qint64 changeCount() override { return m_changeCount; }

private:
    QList<platform::TypedData> m_items;
    platform::TypedData m_direct;
    qint64 m_changeCount = 0;
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

class FakeInput final : public platform::InputMonitor {
public:
    platform::SubscriptionPtr addGlobalLeftMouseUp(Handler) override { return nullptr; }
    platform::SubscriptionPtr addLocalLeftMouseUp(Handler) override { return nullptr; }
};

class FakePermissions final : public platform::Permissions {
public:
    bool accessibilityReady() override { return true; }
    bool inputSynthesisReady() override { return true; }
    void requestAccessibility() override {}
    void requestInputSynthesis() override {}
    void openAccessibilitySettings() override {}
    void openInputSettings() override {}
};

class FakeDesktopSettings final : public platform::Desktop {
public:
    void setBadgeLabel(const QString &label) override { m_badge = label; }
    QString badgeLabel() const override { return m_badge; }
    bool reduceMotion() override { return false; }

private:
    QString m_badge;
};

class FakePlatform final : public platform::Platform {
public:
    explicit FakePlatform(Scheduler &scheduler) : kb(scheduler) {}
    platform::Accessibility &accessibility() override { return ax; }
    platform::Keyboard &keyboard() override { return kb; }
    platform::Pasteboard &pasteboard() override { return pb; }
    platform::Workspace &workspace() override { return ws; }
    platform::InputMonitor &input() override { return in; }
    platform::Permissions &permissions() override { return perms; }
    platform::Desktop &desktop() override { return settings; }

    FakeAccessibility ax;
    FakeKeyboard kb;
    FakePasteboard pb;
    FakeWorkspace ws;
    FakeInput in;
    FakePermissions perms;
    FakeDesktopSettings settings;
};

} // namespace qv::test
