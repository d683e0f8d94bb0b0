// The record list's export frame: the kind of export, the target, the correspondents, the run.
// The run itself is the core's (ExportRun); the frame gathers the user's choices, asks what the
// selection calls for and shows what the run reports.
#include "recordlist/frm_Liste_Releves_SHOC.h"

#include "recordlist/ExportRun.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace recordlist;

void frm_Liste_Releves_SHOC::buildExportFrame()
{
    fra_Export = new QGroupBox(QStringLiteral("Choix du type d'exportation"), fra_Grille);
    fra_Export->setObjectName(QStringLiteral("fra_Export"));
    auto* layout = new QVBoxLayout(fra_Export);

    auto* kinds = new QHBoxLayout;
    opt_Export[0] =
        new QRadioButton(QStringLiteral("Création d'un fichier local importable dans Gadrel"), fra_Export);
    opt_Export[2] = new QRadioButton(
        QStringLiteral("Envoi du fichier par courriel à votre correspondant centralisateur"), fra_Export);
    for (int i : {0, 2}) {
        opt_Export[i]->setObjectName(QStringLiteral("opt_Export_%1").arg(i));
        kinds->addWidget(opt_Export[i]);
    }
    opt_Export[0]->setChecked(true);
    layout->addLayout(kinds);

    auto* locality = new QGroupBox(fra_Export);
    locality->setObjectName(QStringLiteral("fra_Exportation"));
    auto* localityLayout = new QHBoxLayout(locality);
    opt_GPS[0] =
        new QRadioButton(QStringLiteral("Exportation avec localité (dept, commune, lieu-dit)"), locality);
    opt_GPS[1] = new QRadioButton(QStringLiteral("Exportation \"type GPS\" (que les coordonnées)"), locality);
    for (int i = 0; i < 2; ++i) {
        opt_GPS[i]->setObjectName(QStringLiteral("opt_GPS_%1").arg(i));
        localityLayout->addWidget(opt_GPS[i]);
    }
    opt_GPS[0]->setChecked(true);
    layout->addWidget(locality);

    auto* target = new QHBoxLayout;
    chk_one_file =
        new QCheckBox(QStringLiteral("Alimenter un seul fichier avec les fichiers sélectionnés"), fra_Export);
    chk_one_file->setObjectName(QStringLiteral("chk_one_file"));
    txt_File_Export = new QLineEdit(fra_Export);
    txt_File_Export->setObjectName(QStringLiteral("txt_File_Export"));
    cmd_File_Export = new QPushButton(QStringLiteral("..."), fra_Export);
    cmd_File_Export->setObjectName(QStringLiteral("cmd_File_Export"));
    target->addWidget(chk_one_file);
    target->addWidget(txt_File_Export, 1);
    target->addWidget(cmd_File_Export);
    layout->addLayout(target);

    auto* mail = new QHBoxLayout;
    auto* mailLabel = new QLabel(QStringLiteral("Correspondants destinataires :"), fra_Export);
    lst_Email = new QListWidget(fra_Export);
    lst_Email->setObjectName(QStringLiteral("lst_Email"));
    lst_Email->setSelectionMode(QAbstractItemView::MultiSelection);
    mailLabel->setBuddy(lst_Email);
    mail->addWidget(mailLabel);
    mail->addWidget(lst_Email, 1);
    layout->addLayout(mail);

    auto* runs = new QHBoxLayout;
    cmd_Exportation[0] = new QPushButton(QStringLiteral("Exportation vers Excel"), fra_Export);
    cmd_Exportation[2] = new QPushButton(
        QStringLiteral("Envoi du fichier par courriel à votre correspondant régional"), fra_Export);
    for (int i : {0, 2}) {
        cmd_Exportation[i]->setObjectName(QStringLiteral("cmd_Exportation_%1").arg(i));
        runs->addWidget(cmd_Exportation[i]);
    }
    runs->addStretch();
    layout->addLayout(runs);

    flx_Export = new grid::GridView(&m_exportGrid, fra_Export);
    flx_Export->setObjectName(QStringLiteral("flx_Export"));
    m_exportGrid.setObjectName(QStringLiteral("flx_Export"));
    layout->addWidget(flx_Export, 1);
}

void frm_Liste_Releves_SHOC::connectExport()
{
    connect(cmd_Export, &QPushButton::clicked, this, &frm_Liste_Releves_SHOC::cmd_Export_Click);
    connect(cmd_File_Export, &QPushButton::clicked, this, &frm_Liste_Releves_SHOC::cmd_File_Export_Click);
    connect(chk_one_file, &QCheckBox::clicked, this, &frm_Liste_Releves_SHOC::chk_one_file_Click);
    for (int i : {0, 2})
        connect(cmd_Exportation[i], &QPushButton::clicked, this, [this, i] { cmd_Exportation_Click(i); });
}

void frm_Liste_Releves_SHOC::cmd_Export_Click()
{
    // TODO(export): the selection's questions, then the frame.
    showView(View::Export);
}

void frm_Liste_Releves_SHOC::cmd_File_Export_Click() {}

void frm_Liste_Releves_SHOC::chk_one_file_Click()
{
    const bool one = chk_one_file->isChecked();
    txt_File_Export->setEnabled(one);
    cmd_File_Export->setEnabled(one);
}

void frm_Liste_Releves_SHOC::cmd_Exportation_Click(int) {}
