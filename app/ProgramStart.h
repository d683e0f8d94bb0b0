#pragma once
// The program's start once its services are installed: the temporary folders a killed copy left
// removed, the program's own folder, the notices about the settings store, the tables an earlier
// version left beside the executable taken over, then the main window and its start-up sequence.
// main() runs it; the whole-program test runs it too, with the test's services, so that both
// start the same way.

#include <QString>
#include <memory>

class frm_Menu;

namespace app {

// The main window, shown, its start-up sequence run; null when the user cancelled the first
// start (the program then ends). `executableFolder` is where an earlier version kept its tables.
std::unique_ptr<frm_Menu> startProgram(const QString& executableFolder);

} // namespace app
