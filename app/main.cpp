// Mirelot: entry point. Installs the platform services and shows the main window.

#include "common/Paths.h"
#include "common/Settings.h"
#include "mainwindow/MenuStartupWindow.h"
#include "mainwindow/ProgramWaitWindow.h"
#include "mainwindow/frm_Menu.h"
#include "platform/Clock.h"
#include "platform/DesktopMail.h"
#include "platform/DesktopShell.h"
#include "platform/MdbRowSource.h"
#include "platform/OverrideCursorPointer.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "platform/WidgetDialogs.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mirelot"));
    QApplication::setOrganizationName(QStringLiteral("Mirelot"));
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));

    common::setProgramFolder(common::defaultProgramFolder());
    platform::Registry registry(platform::Registry::defaultStoreFile());
    platform::WidgetDialogs dialogs;
    platform::DesktopShell shell;
    platform::SystemClock clock;
    platform::OverrideCursorPointer pointer;
    mainwindow::ProgramWaitWindow programWait;
    platform::DesktopMail mail;
    mail.setWaitObserver(&programWait);
    platform::MdbRowSource siblingDatabase;
    platform::installServices({&registry, &dialogs, &shell, &clock, &mail, &pointer, &siblingDatabase});

    common::reportSettingsStoreAtStart();
    common::takeOverEarlierTablesAtStart(QApplication::applicationDirPath());

    frm_Menu menu;
    mainwindow::MenuStartupWindow fenetre(menu);
    if (mainwindow::runStartupSequence(fenetre).fin == ResultatDemarrage::Quitter)
        return 0;
    return app.exec();
}
