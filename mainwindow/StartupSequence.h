#pragma once
// The start-up sequence of the program, run once by the main window before the user can do
// anything: settings of the sibling program copied, starter tables installed, first start and
// data folder, species learning mode, start counter and update-check frequency, option marks,
// the workbook writer's presence, captions, the main window and its logo shown, reminders about
// the correspondents' addresses, the documentation menu, and the export log and squares table
// loaded into hidden grids. The window's own part stands behind an interface, so that every
// flow runs in a test.

#include "common/FirstStart.h"

#include <QString>
#include <QStringList>

namespace grid {
class Grid;
}

namespace mainwindow {

// What the sequence asks of the main window.
class StartupWindow
{
public:
    virtual ~StartupWindow() = default;
    // The identification items of this program only (Gadrel_SHOC shown, the other two hidden).
    virtual void showIdentificationItems() = 0;
    // The items this program does not offer: disabled and hidden, with their marks.
    virtual void hideItemsNotOffered() = 0;
    // Captions and visible items of this program, and the administrator mode.
    virtual void sub_Adapte_Affichage() = 0;
    // Shows the main window with its logo window centred in it.
    virtual void showWindow() = 0;
    // The click of the "mail" item: the correspondents' address editor opens beside the window.
    virtual void openAddressBook() = 0;
    // Fills the documentation menu from the PDF files of a folder.
    virtual void fillDocumentationMenu(const QString& folder) = 0;
    // Enables the one-shot automatic update check. Called last, once every box of the
    // start-up has been answered and the window shows.
    virtual void startAutoCheck() = 0;
    // The hourglass pointer on or off.
    virtual void setHourglass(bool on) = 0;
    // The end-of-action beep (when the "bing" option is checked).
    virtual void sub_Bing() = 0;
    // The data-folder chooser; "" when the user left it without a choice.
    virtual QString chooseFolder(const QString& title, const QString& folder) = 0;
    // The hidden work grids.
    virtual grid::Grid& Flx_Carrés() = 0;
    virtual grid::Grid& flx_Work() = 0;
};

// The addresses of the correspondents' table: rows whose "Adresse" (column 2) is not blank,
// and among them those whose "Sélection" box (column 1) is checked.
struct AddressCounts
{
    int addresses = 0;
    int selected = 0;
};
AddressCounts countAddresses(const grid::Grid& table);

struct StartupSequenceResult
{
    common::StartOutcome outcome = common::StartOutcome::Continue;
    // True when a step of the sequence failed (it was skipped); the automatic update check is
    // then not enabled.
    bool failed = false;
    // Why each failed step was skipped, in order. The sequence passes over a failing step without
    // a box, unless the step itself tells the user.
    QStringList reasons;
    bool autoCheckEnabled = false;
};

// Runs the sequence. Quit when the user cancelled the first start: the program must end.
StartupSequenceResult runStartupSequence(StartupWindow& window);

} // namespace mainwindow
