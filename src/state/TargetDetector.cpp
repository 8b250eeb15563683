#include "state/TargetDetector.h"

#include "core/Scheduler.h"
#include "engine/ElementAccess.h"
#include "platform/Accessibility.h"
#include "platform/Workspace.h"

#include <algorithm>

namespace qv::state {

using platform::Attribute;

TargetDetector::TargetDetector(platform::Accessibility &accessibility, platform::Workspace &workspace,
                               Scheduler &scheduler, engine::ElementAccess &elements)
    : m_accessibility(accessibility), m_workspace(workspace), m_scheduler(scheduler), m_elements(elements)
{
}

TargetDetector::~TargetDetector() = default;

TargetDetector::Element TargetDetector::focusedElement()
{
    if (const Element focused = m_accessibility.systemFocusedElement(); !focused.isNull())
        return focused;
    // Some desktops cannot say which element has the focus system-wide, but
    // the frontmost application still knows its own.
    const auto front = m_workspace.frontmostApplication();
    if (!front)
        return {};
    const Element app = m_accessibility.applicationElement(front->pid);
    if (app.isNull())
        return {};
    const std::optional<QVariant> focused = m_accessibility.read(app, Attribute::FocusedElement);
    if (!focused || focused->metaType() != QMetaType::fromType<Element>())
        return {};
    return focused->value<Element>();
}

TargetDetector::Element TargetDetector::elementAtMouseLocation() { return m_elements.elementAtMouseLocation(); }

bool TargetDetector::isTextInput(const Element &element) { return m_elements.isTextInputElementRelaxed(element); }

TargetDetector::Element TargetDetector::resolveTextInput(const Element &element)
{
    if (element.isNull())
        return {};
    if (isTextInput(element))
        return element;
    if (const Element ancestor = m_elements.editableAncestor(element); !ancestor.isNull() && isTextInput(ancestor))
        return ancestor;
    return m_elements.editableDescendant(element);
}

TargetDetector::Element TargetDetector::detectOnce(std::optional<QPoint> clickPoint)
{
    // A focused text box wins over whatever lies under the click.
    if (const Element found = resolveTextInput(focusedElement()); !found.isNull())
        return found;
    if (!clickPoint)
        return {};
    return resolveTextInput(m_accessibility.elementAtPoint(*clickPoint));
}

double TargetDetector::nextRetryDelay(double currentMs) { return std::min(currentMs * 1.35 + 10, kMaxRetryDelayMs); }

QCoro::Task<TargetDetector::Element> TargetDetector::detectAfterClick(double maxWaitMs,
                                                                      std::optional<QPoint> clickPoint)
{
    const std::weak_ptr<bool> alive = m_alive;
    Scheduler &scheduler = m_scheduler;
    const qint64 startNs = scheduler.nowNs();
    double delay = kFirstRetryDelayMs;
    while (true) {
        if (double(scheduler.nowNs() - startNs) / 1e6 >= maxWaitMs)
            co_return Element();
        if (const Element found = detectOnce(clickPoint); !found.isNull())
            co_return found;
        co_await scheduler.sleep(delay);
        if (alive.expired())
            co_return Element();
        delay = nextRetryDelay(delay);
    }
}

QString TargetDetector::summary(const Element &element)
{
    const auto front = m_workspace.frontmostApplication();
    QString line = front ? front->name : QString();
    line += QStringLiteral(" role=")
            + m_elements.readStringAttribute(element, Attribute::Role).value_or(QStringLiteral("?"));
    if (const auto subrole = m_elements.readStringAttribute(element, Attribute::Subrole);
        subrole && !subrole->isEmpty())
        line += QStringLiteral(" subrole=") + *subrole;
    const std::optional<bool> enabled = m_elements.readBoolAttribute(element, Attribute::Enabled);
    line += enabled ? (*enabled ? QStringLiteral(" enabled") : QStringLiteral(" disabled"))
                    : QStringLiteral(" unknown");
    if (const auto title = m_elements.readStringAttribute(element, Attribute::Title); title && !title->isEmpty())
        line += QStringLiteral(" title=\"") + *title + QLatin1Char('"');
    return line;
}

} // namespace qv::state
