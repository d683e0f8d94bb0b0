#include "mainwindow/MenuStartupWindow.h"

#include "common/GridWidgets.h"
#include "mainwindow/Frm_Selection_dossier.h"
#include "mainwindow/frm_Menu.h"

#include <QAction>

namespace mainwindow {

MenuStartupWindow::~MenuStartupWindow() = default;

void MenuStartupWindow::showIdentificationItems()
{
    for (const auto& [name, visible] : {std::pair{"Gadrel_EPS_SITES", false},
                                        std::pair{"Gadrel_STOC_EPS", false}, std::pair{"Gadrel_SHOC", true}})
        if (QAction* a = m_menu.item(QString::fromUtf8(name)))
            a->setVisible(visible);
}

void MenuStartupWindow::hideItemsNotOffered()
{
    for (const char* name : {"Saisie_Commentaires", "Saisie_Mammiferes"}) {
        if (QAction* a = m_menu.item(QString::fromUtf8(name))) {
            a->setEnabled(false);
            a->setVisible(false);
        }
    }
}

void MenuStartupWindow::sub_Adapte_Affichage() { m_menu.sub_Adapte_Affichage(); }

void MenuStartupWindow::showWindow() { m_menu.showOnScreen(); }

void MenuStartupWindow::openAddressBook()
{
    if (QAction* a = m_menu.item(QStringLiteral("mail")); a && a->isEnabled())
        a->trigger();
}

void MenuStartupWindow::fillDocumentationMenu(const QString& dossier)
{
    m_menu.fillDocumentationMenu(dossier);
}

void MenuStartupWindow::startAutoCheck() { m_menu.startAutoCheck(); }

void MenuStartupWindow::setHourglass(bool actif)
{
    if (actif && !m_sablier)
        m_sablier.emplace(platform::PointerShape::Hourglass);
    else if (!actif)
        m_sablier.reset();
}

void MenuStartupWindow::sub_Bing() { ::sub_Bing(); }

QString MenuStartupWindow::chooseFolder(const QString& titre, const QString& dossier)
{
    // The chooser is modal: no hourglass over it.
    const bool sablier = m_sablier.has_value();
    setHourglass(false);
    const QString choix = Frm_Selection_dossier::choisir(&m_menu, titre, dossier);
    setHourglass(sablier);
    return choix;
}

grid::Grid& MenuStartupWindow::Flx_Carrés() { return m_menu.Flx_Carrés(); }
grid::Grid& MenuStartupWindow::flx_Work() { return m_menu.flx_Work(); }

} // namespace mainwindow
