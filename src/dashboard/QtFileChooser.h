#pragma once

#include "platform/FileChooser.h"

namespace qv::dashboard {

// The desktop's file dialog, opened window-modal without blocking: the
// answer comes through the dialog's own signal.
class QtFileChooser final : public platform::FileChooser {
public:
    void chooseFile(const platform::FileChooserRequest &request, QObject *context, Done done) override;
};

} // namespace qv::dashboard
