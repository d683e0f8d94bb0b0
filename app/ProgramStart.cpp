#include "app/ProgramStart.h"

#include "common/Paths.h"
#include "common/Settings.h"
#include "mainwindow/MenuStartupWindow.h"
#include "mainwindow/frm_Menu.h"
#include "platform/SaveFile.h"
#include "platform/TemporaryFolder.h"
#include "record/RecordStore.h"

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
    // What a copy killed while it saved a file left in the data folder, now that it is known.
    if (const QString dataFolder = record::RecordStore::fromSettings().folder(); !dataFolder.isEmpty())
        static_cast<void>(platform::removeLeftoverSaveFiles(dataFolder));
    return menu;
}

} // namespace app
