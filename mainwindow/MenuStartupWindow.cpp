#include "mainwindow/MenuStartupWindow.h"

#include "common/Frm_Selection_dossier.h"
#include "common/GridWidgets.h"
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

void MenuStartupWindow::fillDocumentationMenu(const QString& folder) { m_menu.fillDocumentationMenu(folder); }

void MenuStartupWindow::startAutoCheck() { m_menu.startAutoCheck(); }

void MenuStartupWindow::setHourglass(bool on)
{
    if (on && !m_hourglass)
        m_hourglass.emplace(platform::PointerShape::Hourglass);
    else if (!on)
        m_hourglass.reset();
}

void MenuStartupWindow::sub_Bing() { ::sub_Bing(); }

QString MenuStartupWindow::chooseFolder(const QString& title, const QString& folder)
{
    // The chooser is modal: no hourglass over it.
    const bool sablier = m_hourglass.has_value();
    setHourglass(false);
    const QString choix = Frm_Selection_dossier::choose(&m_menu, title, folder);
    setHourglass(sablier);
    return choix;
}

grid::Grid& MenuStartupWindow::Flx_Carrés() { return m_menu.Flx_Carrés(); }
grid::Grid& MenuStartupWindow::flx_Work() { return m_menu.flx_Work(); }

} // namespace mainwindow
