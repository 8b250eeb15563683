#pragma once

#include "platform/Accessibility.h"
#include "platform/Desktop.h"
#include "platform/InputMonitor.h"
#include "platform/Keyboard.h"
#include "platform/Pasteboard.h"
#include "platform/Permissions.h"
#include "platform/Workspace.h"

namespace qv::platform {

// Everything Quorvel asks of the desktop. Code above this folder sees only
// this, never which backend runs.
class Platform {
public:
    virtual ~Platform() = default;
    virtual Accessibility &accessibility() = 0;
    virtual Keyboard &keyboard() = 0;
    virtual Pasteboard &pasteboard() = 0;
    virtual Workspace &workspace() = 0;
    virtual InputMonitor &input() = 0;
    virtual Permissions &permissions() = 0;
    virtual Desktop &desktop() = 0;
};

} // namespace qv::platform
