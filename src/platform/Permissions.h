#pragma once

namespace qv::platform {

// What the desktop must allow before Quorvel can read other applications and
// type into them.
class Permissions {
public:
    virtual ~Permissions() = default;
    virtual bool accessibilityReady() = 0;
    virtual bool inputSynthesisReady() = 0;
    // Ask the system for access where it can be asked (may do nothing).
    virtual void requestAccessibility() = 0;
    virtual void requestInputSynthesis() = 0;
    // Show the user where to grant it.
    virtual void openAccessibilitySettings() = 0;
    virtual void openInputSettings() = 0;
};

} // namespace qv::platform
