#pragma once

#include <QString>

namespace qv {

// Where the data files live. `dataFolderPath` is the folder used when it can
// be made; `fallbackFolderPath` is used when it cannot (for example when a
// regular file has taken its name).
struct AppConfig {
    QString dataFolderPath;
    QString fallbackFolderPath;

    // "QuorvelData" in the user's desktop folder, falling back to
    // "QuorvelData" in the user's data folder (~/.local/share).
    static AppConfig defaultConfig();

    // The same layout under given base folders (tests use temporary ones).
    static AppConfig inFolders(const QString &desktopFolder, const QString &dataFolder);

    // One folder decided beforehand, with none other to fall back to: what
    // the launch hands on once it has chosen (and locked) the folder.
    static AppConfig only(const QString &folder) { return AppConfig{folder, folder}; }

    friend bool operator==(const AppConfig &, const AppConfig &) = default;
};

} // namespace qv
