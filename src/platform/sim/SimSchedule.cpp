#include "platform/sim/SimSchedule.h"

#include "core/Text.h"
#include "platform/sim/SimDesktop.h"

namespace qv::sim {

SimSchedule &SimSchedule::run(std::function<void()> action)
{
    m_desktop.scheduleAtNs(m_dueNs, std::move(action));
    return *this;
}

SimSchedule &SimSchedule::switchTo(SimApp &app)
{
    return run([&app] { app.activate(); });
}

SimSchedule &SimSchedule::click(QPoint global)
{
    SimDesktop *d = &m_desktop;
    return run([d, global] { d->click(global); });
}

SimSchedule &SimSchedule::clickInto(SimElement &element)
{
    SimDesktop *d = &m_desktop;
    return run([d, &element] { d->clickInto(element); });
}

SimSchedule &SimSchedule::focus(SimElement &element)
{
    return run([&element] { element.focus(); });
}

SimSchedule &SimSchedule::type(SimElement &field, const QString &text, double perGraphemeMs)
{
    SimDesktop *d = &m_desktop;
    if (perGraphemeMs <= 0)
        return run([d, &field, text] { d->userType(field, text); });
    const qint64 step = Scheduler::msToNs(perGraphemeMs);
    qint64 due = m_dueNs;
    for (const QString &g : text::graphemes(text)) {
        m_desktop.scheduleAtNs(due, [d, &field, g] { d->userType(field, g); });
        due += step;
    }
    return *this;
}

SimSchedule &SimSchedule::setText(SimElement &field, const QString &text)
{
    return run([&field, text] { field.setText(text); });
}

SimSchedule &SimSchedule::setPasteboardText(const QString &text)
{
    SimDesktop *d = &m_desktop;
    return run([d, text] { d->userSetPasteboardText(text); });
}

SimSchedule &SimSchedule::setPasteboardItems(const QList<platform::TypedData> &items)
{
    SimDesktop *d = &m_desktop;
    return run([d, items] { d->userSetPasteboardItems(items); });
}

SimSchedule &SimSchedule::movePointer(QPoint global)
{
    SimDesktop *d = &m_desktop;
    return run([d, global] { d->setPointer(global); });
}

SimSchedule &SimSchedule::hang(SimApp &app)
{
    return run([&app] { app.setHung(true); });
}

SimSchedule &SimSchedule::unhang(SimApp &app)
{
    return run([&app] { app.setHung(false); });
}

SimSchedule &SimSchedule::quit(SimApp &app)
{
    return run([&app] { app.quit(); });
}

} // namespace qv::sim
