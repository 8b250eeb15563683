#pragma once

#include "platform/Element.h"
#include "platform/linux/GlibOwners.h"

#include <QString>

typedef struct _AtspiAccessible AtspiAccessible;

namespace qv::linuxdesktop {

// One element on the accessibility bus: an application's bus name and the
// object path there, with the process id found for that bus name.
class AtspiElementRef final : public platform::ElementRef {
public:
    AtspiElementRef(Owned<AtspiAccessible> accessible, qint64 pid);

    bool sameElement(const platform::ElementRef &other) const override;
    qint64 pid() const override { return m_pid; }
    QString describe() const override;

    AtspiAccessible *accessible() const { return m_accessible.get(); }
    QString busName() const;
    QString path() const;

    // Whether two accessibles are the same object of the same application.
    static bool same(AtspiAccessible *a, AtspiAccessible *b);

private:
    Owned<AtspiAccessible> m_accessible;
    qint64 m_pid;
};

} // namespace qv::linuxdesktop
