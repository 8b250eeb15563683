#pragma once

#include "platform/Permissions.h"

namespace qv::sim {

class SimDesktop;

// Permission answers set by the test; requests and settings openings are
// logged. As on a real desktop, without accessibility every query answers
// nothing, and without input synthesis keys reach no application.
class SimPermissions final : public platform::Permissions {
public:
    explicit SimPermissions(SimDesktop &desktop) : m_desktop(desktop) {}

    bool accessibilityReady() override { return m_accessibility; }
    bool inputSynthesisReady() override { return m_input; }
    void requestAccessibility() override;
    void requestInputSynthesis() override;
    void openAccessibilitySettings() override;
    void openInputSettings() override;

    void setAccessibilityReady(bool ready) { m_accessibility = ready; }
    void setInputSynthesisReady(bool ready) { m_input = ready; }

private:
    void logCall(const char *what);

    SimDesktop &m_desktop;
    bool m_accessibility = true;
    bool m_input = true;
};

} // namespace qv::sim
