#include "mainwindow/DemarrageMenu.h"

#include "common/GridWidgets.h"
#include "mainwindow/Frm_Selection_dossier.h"
#include "mainwindow/frm_Menu.h"

#include <QAction>

namespace mainwindow {

DemarrageMenu::~DemarrageMenu() = default;

void DemarrageMenu::sub_Items_Identification()
{
    for (const auto& [name, visible] : {std::pair{"Gadrel_EPS_SITES", false}, std::pair{"Gadrel_STOC_EPS", false},
                                        std::pair{"Gadrel_SHOC", true}})
        if (QAction* a = m_menu.item(QString::fromUtf8(name)))
            a->setVisible(visible);
}

void DemarrageMenu::sub_Items_Non_Offerts()
{
    for (const char* name : {"Saisie_Commentaires", "Saisie_Mammiferes"}) {
        if (QAction* a = m_menu.item(QString::fromUtf8(name))) {
            a->setEnabled(false);
            a->setVisible(false);
        }
    }
}

void DemarrageMenu::sub_Adapte_Affichage() { m_menu.sub_Adapte_Affichage(); }

void DemarrageMenu::sub_Afficher() { m_menu.show(); }

void DemarrageMenu::sub_Ouvrir_Adresses()
{
    if (QAction* a = m_menu.item(QStringLiteral("mail")); a && a->isEnabled())
        a->trigger();
}

void DemarrageMenu::sub_Remplir_Documentation(const QString& dossier) { m_menu.sub_Remplir_Documentation(dossier); }

void DemarrageMenu::sub_Activer_Verif_Auto() { m_menu.sub_Activer_Verif_Auto(); }

void DemarrageMenu::sub_Sablier(bool actif)
{
    if (actif && !m_sablier)
        m_sablier.emplace(platform::PointerShape::Hourglass);
    else if (!actif)
        m_sablier.reset();
}

void DemarrageMenu::sub_Bing() { ::sub_Bing(); }

QString DemarrageMenu::fun_Choisir_Dossier(const QString& titre, const QString& dossier)
{
    // The chooser is modal: no hourglass over it.
    const bool sablier = m_sablier.has_value();
    sub_Sablier(false);
    const QString choix = Frm_Selection_dossier::choisir(&m_menu, titre, dossier);
    sub_Sablier(sablier);
    return choix;
}

grid::Grid& DemarrageMenu::Flx_Carrés() { return m_menu.Flx_Carrés(); }
grid::Grid& DemarrageMenu::flx_Work() { return m_menu.flx_Work(); }

} // namespace mainwindow
