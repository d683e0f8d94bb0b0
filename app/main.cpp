// Mirelot: entry point. Installs the platform services and shows the main window.

#include "common/Paths.h"
#include "platform/Clock.h"
#include "platform/DesktopShell.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "platform/WidgetDialogs.h"

#include <QApplication>
#include <QLocale>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mirelot"));
    QApplication::setOrganizationName(QStringLiteral("Mirelot"));
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));

    sub_Set_Dossier_Programme(QApplication::applicationDirPath());
    platform::Registry registry(platform::Registry::defaultStoreFile());
    platform::WidgetDialogs dialogs;
    platform::DesktopShell shell;
    platform::SystemClock clock;
    platform::installServices({&registry, &dialogs, &shell, &clock, nullptr});

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Mirelot"));
    window.resize(1024, 720);
    window.show();
    return app.exec();
}
