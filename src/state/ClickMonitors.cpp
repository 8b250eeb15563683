#include "state/ClickMonitors.h"

#include "platform/InputMonitor.h"

namespace qv::state {

void ClickMonitors::install(platform::InputMonitor &input, const Handler &handler)
{
    remove();
    m_global = input.addGlobalLeftMouseUp([handler](QPoint at) { handler(at, false); });
    m_local = input.addLocalLeftMouseUp([handler](QPoint at) { handler(at, true); });
}

void ClickMonitors::remove()
{
    m_global.reset();
    m_local.reset();
}

} // namespace qv::state
