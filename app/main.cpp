// Mirelot: entry point. Installs the platform services and shows the main window.

#include "common/Paths.h"
#include "mainwindow/Options.h"
#include "mainwindow/frm_Menu.h"
#include "platform/Clock.h"
#include "platform/DesktopMail.h"
#include "platform/DesktopShell.h"
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

    sub_Set_Dossier_Programme(QApplication::applicationDirPath());
    platform::Registry registry(platform::Registry::defaultStoreFile());
    platform::WidgetDialogs dialogs;
    platform::DesktopShell shell;
    platform::SystemClock clock;
    platform::DesktopMail mail;
    platform::installServices({&registry, &dialogs, &shell, &clock, &mail});

    // TODO(start-up sequence): the start-up class takes these steps over, with the rest of its
    // sequence, once it exists.
    frm_Menu menu;
    menu.item(QStringLiteral("Gadrel_EPS_SITES"))->setVisible(false);
    menu.item(QStringLiteral("Gadrel_STOC_EPS"))->setVisible(false);
    menu.item(QStringLiteral("Gadrel_SHOC"))->setVisible(true);
    for (const char* notOffered : {"Saisie_Commentaires", "Saisie_Mammiferes"}) {
        QAction* item = menu.item(QString::fromUtf8(notOffered));
        item->setEnabled(false);
        item->setVisible(false);
    }
    mainwindow::sub_Option(mainwindow::Option::Saisie_Commentaires, false);
    mainwindow::sub_Option(mainwindow::Option::Saisie_Mammiferes, true);
    mainwindow::sub_Charger_Options();
    menu.sub_Adapte_Affichage();
    menu.sub_Remplir_Documentation(fun_Dossier_Programme());
    menu.show();
    return app.exec();
}
