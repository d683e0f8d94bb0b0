#include "app/ProgramStart.h"

#include "common/Paths.h"
#include "common/Settings.h"
#include "mainwindow/MenuStartupWindow.h"
#include "mainwindow/frm_Menu.h"
#include "platform/TemporaryFolder.h"

namespace app {

std::unique_ptr<frm_Menu> startProgram(const QString& executableFolder)
{
    // What a copy killed midway (an export put together in a temporary folder) left behind.
    static_cast<void>(platform::removeLeftoverTemporaryFolders());
    common::setProgramFolder(common::defaultProgramFolder());
    common::reportSettingsStoreAtStart();
    common::takeOverEarlierTablesAtStart(executableFolder);

    auto menu = std::make_unique<frm_Menu>();
    mainwindow::MenuStartupWindow fenetre(*menu);
    if (mainwindow::runStartupSequence(fenetre).outcome == common::StartOutcome::Quit)
        return nullptr;
    return menu;
}

} // namespace app
