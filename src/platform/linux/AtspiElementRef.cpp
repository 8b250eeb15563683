#include <atspi/atspi.h>

#include "platform/linux/AtspiElementRef.h"

#include <cstring>

namespace qv::linuxdesktop {

namespace {
const char *busOf(AtspiAccessible *a)
{
    const AtspiObject *o = ATSPI_OBJECT(a);
    return (o && o->app && o->app->bus_name) ? o->app->bus_name : "";
}
const char *pathOf(AtspiAccessible *a)
{
    const AtspiObject *o = ATSPI_OBJECT(a);
    return (o && o->path) ? o->path : "";
}
} // namespace

AtspiElementRef::AtspiElementRef(Owned<AtspiAccessible> accessible, qint64 pid)
    : m_accessible(std::move(accessible)), m_pid(pid)
{
}

bool AtspiElementRef::same(AtspiAccessible *a, AtspiAccessible *b)
{
    if (a == b)
        return true;
    if (!a || !b)
        return false;
    return std::strcmp(busOf(a), busOf(b)) == 0 && std::strcmp(pathOf(a), pathOf(b)) == 0;
}

bool AtspiElementRef::sameElement(const platform::ElementRef &other) const
{
    const auto *o = dynamic_cast<const AtspiElementRef *>(&other);
    return o && same(m_accessible.get(), o->m_accessible.get());
}

QString AtspiElementRef::busName() const { return QString::fromUtf8(busOf(m_accessible.get())); }

QString AtspiElementRef::path() const { return QString::fromUtf8(pathOf(m_accessible.get())); }

QString AtspiElementRef::describe() const { return QStringLiteral("%1%2 pid=%3").arg(busName(), path()).arg(m_pid); }

} // namespace qv::linuxdesktop
