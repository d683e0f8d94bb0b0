// The record list's prospection view: the table of sites by winter, its copy, the circular and
// the reminders. The table and the mails are the core's (ProspectionTable, ProspectionMail); the
// view reads the data folder, shows the table and the boxes the core words.
#include "recordlist/frm_Liste_Releves_SHOC.h"

#include "common/Globals.h"
#include "platform/Dialogs.h"
#include "platform/KeyCodes.h"
#include "platform/MousePointer.h"
#include "platform/Services.h"
#include "record/RecordStore.h"
#include "recordlist/ProspectionMail.h"
#include "recordlist/ProspectionTable.h"

#include <QGroupBox>
#include <QPushButton>

using namespace recordlist;

namespace {

// Extra width of each fitted column, in twips.
constexpr int kColumnMarginTwips = 240;

void showOutcome(const MailingOutcome& outcome)
{
    if (!outcome.message.isEmpty())
        platform::dialogs().ask(outcome.message, outcome.style, common::kProgramName);
}

} // namespace

void frm_Liste_Releves_SHOC::buildProspectionView()
{
    flx_Prospection = new grid::GridView(&m_prospectionGrid, fra_Grille);
    flx_Prospection->setObjectName(QStringLiteral("flx_Prospection"));
    m_prospectionGrid.setObjectName(QStringLiteral("flx_Prospection"));
    // One block of cells, as the coordinator copies it; its rows are those the circular goes to.
    m_prospectionGrid.setSelectionMode(grid::Grid::SelectionMode::Free);
}

void frm_Liste_Releves_SHOC::connectProspection()
{
    connect(cmd_Prospection, &QPushButton::clicked, this, &frm_Liste_Releves_SHOC::cmd_Prospection_Click);
    connect(cmd_Email, &QPushButton::clicked, this, &frm_Liste_Releves_SHOC::cmd_Email_Click);
    for (int k = 0; k < 3; ++k)
        connect(cmd_Email_Relance[k], &QPushButton::clicked, this, [this, k] { cmd_Email_Relance_Click(k); });

    // Ctrl+C copies the selected cells, as "Copier la liste des relevés" does.
    connect(flx_Prospection, &grid::GridView::keyDown, this, [this](int* key, int shift) {
        if (*key == platform::kKeyC && shift == platform::kCtrlMask) {
            cmd_Copier_Click();
            *key = 0;
        }
    });
    // Over a winter column the tip gives the winter's summary; over the site, observer and
    // address columns it is cleared.
    connect(flx_Prospection, &grid::GridView::mouseMove, this, [this](int, int, int, int) {
        const int col = flx_Prospection->mouseCol();
        if (col < 0)
            return;
        const QString tip = prospectionToolTip(m_prospectionGrid, col);
        if (tip != flx_Prospection->toolTipText())
            flx_Prospection->setToolTipText(tip);
    });
}

void frm_Liste_Releves_SHOC::cmd_Prospection_Click()
{
    showView(View::Prospection);
    sub_Refresh_Prospection_EPS();
}

void frm_Liste_Releves_SHOC::sub_Refresh_Prospection_EPS()
{
    ProspectionTable table;
    {
        const platform::PointerGuard hourglass;
        const record::RecordStore store = record::RecordStore::fromSettings();
        table = readProspection(store.folder(), m_list.cache());
        fillProspectionGrid(table, m_prospectionGrid);
        flx_Prospection->setToolTipText(QString());
        flx_Prospection->fitColumnWidths(0, -1, kColumnMarginTwips);
        flx_Prospection->fitRowHeights();
    }
    platform::dialogs().ask(table.closingText(), platform::mb::OKOnly, common::kProgramName);
    if (const QString unread = table.unreadableText(); !unread.isEmpty())
        platform::dialogs().ask(unread, platform::mb::OKOnly | platform::mb::Exclamation,
                                common::kProgramName);
}

void frm_Liste_Releves_SHOC::cmd_Email_Click() { showOutcome(sendCircular(m_prospectionGrid)); }

void frm_Liste_Releves_SHOC::cmd_Email_Relance_Click(int index)
{
    if (index < 0 || index >= int(cmd_Email_Relance.size()))
        return;
    // The run keeps the hourglass while it sends; the box comes after it.
    showOutcome(sendReminders(m_prospectionGrid, static_cast<ReminderKind>(index)));
}
