#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace qv::platform {

// What to ask the user for: one existing file of the listed kinds.
struct FileChooserRequest {
    QString title;
    // Qt name filters, e.g. "Images (*.png *.jpg *.jpeg *.tiff)".
    QStringList nameFilters;
    // When not empty, an existing file with another suffix (no dot, any
    // case) is refused in the chooser with `refusal`, and it stays open.
    QStringList suffixes = {};
    QString refusal = {};
};

// Asks the user to pick a file without blocking: the call returns at once
// and `done` runs later, once, with the chosen path or nothing when the
// user cancelled. When `context` is given and goes away first, `done` never
// runs (the asker is gone).
class FileChooser {
public:
    using Done = std::function<void(std::optional<QString> path)>;
    virtual ~FileChooser() = default;
    virtual void chooseFile(const FileChooserRequest &request, QObject *context, Done done) = 0;
};

} // namespace qv::platform
