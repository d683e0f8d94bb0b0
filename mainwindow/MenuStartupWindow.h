#pragma once
// The main window's part of the start-up sequence.

#include "mainwindow/StartupSequence.h"
#include "platform/MousePointer.h"

#include <optional>

class frm_Menu;

namespace mainwindow {

class MenuStartupWindow : public StartupWindow
{
public:
    explicit MenuStartupWindow(frm_Menu& menu) : m_menu(menu) {}
    ~MenuStartupWindow() override;

    void showIdentificationItems() override;
    void hideItemsNotOffered() override;
    void sub_Adapte_Affichage() override;
    void showWindow() override;
    void openAddressBook() override;
    void fillDocumentationMenu(const QString& folder) override;
    void startAutoCheck() override;
    void setHourglass(bool on) override;
    void sub_Bing() override;
    QString chooseFolder(const QString& title, const QString& folder) override;
    grid::Grid& Flx_Carrés() override;
    grid::Grid& flx_Work() override;

private:
    frm_Menu& m_menu;
    std::optional<platform::PointerGuard> m_hourglass; // the start-up's hourglass while it shows
};

} // namespace mainwindow
