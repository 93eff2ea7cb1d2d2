#pragma once
#include <QStringList>

namespace orvan {

// The program entry of Orvan: the start-up checks, the password, the
// splash, the data module and the main window; returns the exit code.
int RunOrvan(int argc, char** argv);

}  // namespace orvan
