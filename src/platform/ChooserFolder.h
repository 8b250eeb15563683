#pragma once

#include <QString>

namespace qv::platform {

// Where the application's file choosers open: the folder of the file last
// chosen in this run, while it still exists, else the user's home folder,
// never the folder the program happened to be started from.
QString chooserStartFolder();
// Notes the folder of a chosen file for the next chooser.
void rememberChosenFile(const QString &path);

} // namespace qv::platform
