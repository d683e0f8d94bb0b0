#pragma once
// The main window's part of the start-up sequence.

#include "mainwindow/StartupSequence.h"
#include "platform/MousePointer.h"

#include <optional>

class frm_Menu;

namespace mainwindow {

class DemarrageMenu : public FenetreDemarrage
{
public:
    explicit DemarrageMenu(frm_Menu& menu) : m_menu(menu) {}
    ~DemarrageMenu() override;

    void sub_Items_Identification() override;
    void sub_Items_Non_Offerts() override;
    void sub_Adapte_Affichage() override;
    void sub_Afficher() override;
    void sub_Ouvrir_Adresses() override;
    void sub_Remplir_Documentation(const QString& dossier) override;
    void sub_Activer_Verif_Auto() override;
    void sub_Sablier(bool actif) override;
    void sub_Bing() override;
    QString fun_Choisir_Dossier(const QString& titre, const QString& dossier) override;
    grid::Grid& Flx_Carrés() override;
    grid::Grid& flx_Work() override;

private:
    frm_Menu& m_menu;
    std::optional<platform::PointerGuard> m_sablier; // the start-up's hourglass while it shows
};

} // namespace mainwindow
