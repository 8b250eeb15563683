#include "UnreadableTextPlatform.h"

namespace qv::e2e {

using platform::Attribute;
using platform::Element;

class UnreadableTextPlatform::HidingAccessibility final : public platform::Accessibility {
public:
    HidingAccessibility(platform::Accessibility &real, qint64 pid) : m_real(real), m_pid(pid) {}

    Element systemFocusedElement() override { return m_real.systemFocusedElement(); }
    Element applicationElement(qint64 pid) override { return m_real.applicationElement(pid); }
    Element elementAtPoint(QPoint global) override { return m_real.elementAtPoint(global); }

    std::optional<QVariant> read(const Element &element, Attribute attribute) override
    {
        if (element.pid() == m_pid && (attribute == Attribute::Value || attribute == Attribute::SelectedText)) {
            ++refused;
            return std::nullopt;
        }
        return m_real.read(element, attribute);
    }

    std::optional<bool> isSettable(const Element &element, Attribute attribute) override
    {
        return m_real.isSettable(element, attribute);
    }
    bool write(const Element &element, Attribute attribute, const QVariant &value) override
    {
        return m_real.write(element, attribute, value);
    }
    QCoro::Task<bool> writeAndConfirm(const Element &element, Attribute attribute, const QVariant &value) override
    {
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
    qint64 m_pid;
};

UnreadableTextPlatform::UnreadableTextPlatform(platform::Platform &real, qint64 pid)
    : m_real(real), m_accessibility(std::make_unique<HidingAccessibility>(real.accessibility(), pid))
{
}

UnreadableTextPlatform::~UnreadableTextPlatform() = default;

platform::Accessibility &UnreadableTextPlatform::accessibility()
{
    return *m_accessibility;
}

int UnreadableTextPlatform::refusedReads() const
{
    return m_accessibility->refused;
}

} // namespace qv::e2e
