#include "app/ProgramStart.h"

#include "common/Paths.h"
#include "common/Settings.h"
#include "mainwindow/MenuStartupWindow.h"
#include "mainwindow/frm_Menu.h"

namespace app {

std::unique_ptr<frm_Menu> startProgram(const QString& executableFolder)
{
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
