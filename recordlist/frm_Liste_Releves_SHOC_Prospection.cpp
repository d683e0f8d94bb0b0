// The record list's prospection view: the table of sites by winter, its copy, the circular and
// the reminders. The table and the mails are the core's (ProspectionTable, ProspectionMail).
#include "recordlist/frm_Liste_Releves_SHOC.h"

#include "recordlist/ProspectionMail.h"
#include "recordlist/ProspectionTable.h"

#include <QGroupBox>
#include <QPushButton>

using namespace recordlist;

void frm_Liste_Releves_SHOC::buildProspectionView()
{
    flx_Prospection = new grid::GridView(&m_prospectionGrid, fra_Grille);
    flx_Prospection->setObjectName(QStringLiteral("flx_Prospection"));
    m_prospectionGrid.setObjectName(QStringLiteral("flx_Prospection"));
}

void frm_Liste_Releves_SHOC::connectProspection()
{
    connect(cmd_Prospection, &QPushButton::clicked, this, &frm_Liste_Releves_SHOC::cmd_Prospection_Click);
    connect(cmd_Email, &QPushButton::clicked, this, &frm_Liste_Releves_SHOC::cmd_Email_Click);
    for (int k = 0; k < 3; ++k)
        connect(cmd_Email_Relance[k], &QPushButton::clicked, this, [this, k] { cmd_Email_Relance_Click(k); });
}

void frm_Liste_Releves_SHOC::cmd_Prospection_Click()
{
    showView(View::Prospection);
    sub_Refresh_Prospection_EPS();
}

void frm_Liste_Releves_SHOC::sub_Refresh_Prospection_EPS() {}

void frm_Liste_Releves_SHOC::cmd_Email_Click() {}

void frm_Liste_Releves_SHOC::cmd_Email_Relance_Click(int) {}
