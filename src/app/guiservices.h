#pragma once
// The GUI's message boxes, input dialogs, file choosers and wait window,
// put in place of the console ones for the whole process.

namespace orvan {

// Needs a QApplication; calling it again changes nothing.
void InstallGuiServices();

}  // namespace orvan
