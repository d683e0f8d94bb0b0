// Mirelot: entry point. Installs the platform services and shows the main window.

#include "app/ProgramStart.h"
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

    const std::unique_ptr<frm_Menu> menu = app::startProgram(QApplication::applicationDirPath());
    if (!menu)
        return 0;
    return app.exec();
}
