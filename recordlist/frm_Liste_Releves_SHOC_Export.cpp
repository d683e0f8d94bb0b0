// The record list's export frame: the kind of export, the target, the correspondents, the run.
// The run itself is the core's (ExportRun); the frame gathers the user's choices, asks what the
// selection calls for and shows what the run reports.
#include "recordlist/frm_Liste_Releves_SHOC.h"

#include "common/Frm_Selection_dossier.h"
#include "common/Globals.h"
#include "common/GridWidgets.h"
#include "platform/Dialogs.h"
#include "platform/KeyCodes.h"
#include "platform/MousePointer.h"
#include "platform/Services.h"
#include "record/RecordStore.h"
#include "recordlist/ExportRun.h"
#include "recordlist/ExportTable.h"
#include "recordlist/RecordListing.h"

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
namespace mb = platform::mb;

namespace {

const QString kMailButtonCaption =
    QStringLiteral("Envoi du fichier par courriel à votre correspondant régional");
const QString kAbandonText = QStringLiteral("Adandon à votre demande");

// The correspondents selected in the address list, in its order.
QStringList recipientsOf(const QListWidget& addresses)
{
    QStringList out;
    for (int i = 0; i < addresses.count(); ++i)
        if (addresses.item(i)->isSelected())
            out.append(addresses.item(i)->text());
    return out;
}

} // namespace

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
    // A few lines are enough: the table below takes the rest of the frame.
    lst_Email->setMaximumHeight(lst_Email->fontMetrics().height() * 6);
    mailLabel->setBuddy(lst_Email);
    mail->addWidget(mailLabel);
    mail->addWidget(lst_Email, 1);
    layout->addLayout(mail);

    auto* runs = new QHBoxLayout;
    cmd_Exportation[0] = new QPushButton(QStringLiteral("Exportation vers Excel"), fra_Export);
    cmd_Exportation[2] = new QPushButton(kMailButtonCaption, fra_Export);
    for (int i : {0, 2}) {
        cmd_Exportation[i]->setObjectName(QStringLiteral("cmd_Exportation_%1").arg(i));
        runs->addWidget(cmd_Exportation[i]);
    }
    runs->addStretch();
    layout->addLayout(runs);

    flx_Export = new grid::GridView(&m_exportGrid, fra_Export);
    flx_Export->setObjectName(QStringLiteral("flx_Export"));
    m_exportGrid.setObjectName(QStringLiteral("flx_Export"));
    m_exportGrid.setEditable(grid::Grid::Editable::None);
    layout->addWidget(flx_Export, 1);
}

void frm_Liste_Releves_SHOC::connectExport()
{
    connect(cmd_Export, &QPushButton::clicked, this, &frm_Liste_Releves_SHOC::cmd_Export_Click);
    connect(cmd_File_Export, &QPushButton::clicked, this, &frm_Liste_Releves_SHOC::cmd_File_Export_Click);
    connect(chk_one_file, &QCheckBox::clicked, this, &frm_Liste_Releves_SHOC::chk_one_file_Click);
    for (int i : {0, 2})
        connect(cmd_Exportation[i], &QPushButton::clicked, this, [this, i] { cmd_Exportation_Click(i); });
    connect(flx_Export, &grid::GridView::keyDown, this, [this](int* key, int shift) {
        if (*key == platform::kKeyC && shift == platform::kCtrlMask) {
            sub_Copier_Grille(m_exportGrid);
            *key = 0;
        }
    });
    // The current row's number, as the grid's tip.
    connect(flx_Export, &grid::GridView::selChange, this,
            [this] { flx_Export->setToolTipText(QString::number(m_exportGrid.row())); });
}

void frm_Liste_Releves_SHOC::cmd_Export_Click()
{
    const QList<ListedRecord> selected = selectedRecords(m_grid);
    if (selected.isEmpty())
        return;
    const ExportSelection selection = selectForExport(selected);
    if (!selection.notValidQuestion.isEmpty() &&
        platform::dialogs().ask(selection.notValidQuestion, mb::YesNo | mb::Exclamation,
                                exportQuestionTitle()) != mb::Yes)
        return;
    if (selection.records.isEmpty()) {
        platform::dialogs().ask(kNoRecordText, mb::OKOnly | mb::Critical, common::kProgramName);
        return;
    }
    if (platform::dialogs().ask(selection.confirmation, mb::YesNo, common::kProgramName) != mb::Yes)
        return;

    const bool several = selection.records.size() > 1;
    if (several) {
        chk_one_file->setText(selection.oneWorkbookCaption);
        cmd_Exportation[2]->setText(selection.mailCaption);
    } else {
        chk_one_file->setChecked(false);
        cmd_Exportation[2]->setText(kMailButtonCaption);
    }
    chk_one_file->setEnabled(several);
    chk_one_file_Click();
    emptyExportTable(m_exportGrid);
    showView(View::Export);
}

void frm_Liste_Releves_SHOC::cmd_File_Export_Click()
{
    const std::optional<QString> file = platform::dialogs().saveFileName(
        combinedWorkbookRequest(record::RecordStore::fromSettings().folder()));
    if (file)
        txt_File_Export->setText(*file);
}

void frm_Liste_Releves_SHOC::chk_one_file_Click()
{
    const bool one = chk_one_file->isChecked();
    txt_File_Export->setEnabled(one);
    cmd_File_Export->setEnabled(one);
}

QString frm_Liste_Releves_SHOC::chooseTargetFolder(const QString& title, const QString& start)
{
    if (m_hooks.chooseFolder)
        return m_hooks.chooseFolder(title, start);
    return Frm_Selection_dossier::choose(this, title, start);
}

void frm_Liste_Releves_SHOC::cmd_Exportation_Click(int index)
{
    if (index != 0 && index != 2)
        return;
    if (index == 2 && platform::dialogs().ask(mailWarningText(), mb::OKCancel | mb::Exclamation,
                                              mailWarningTitle()) != mb::OK)
        return;
    opt_Export[index]->setChecked(true);

    // The records chosen when the frame opened: the list stays behind it meanwhile.
    ExportRequest request;
    request.records = selectForExport(selectedRecords(m_grid)).records;
    request.withLocality = opt_GPS[0]->isChecked();
    if (index == 2) {
        request.kind = ExportKind::Mail;
        request.recipients = recipientsOf(*lst_Email);
    } else if (chk_one_file->isChecked()) {
        request.kind = ExportKind::CombinedWorkbook;
        request.combinedFile = txt_File_Export->text();
    } else {
        request.kind = ExportKind::WorkbookPerRecord;
        const QString start = gstr_Dossier_Choisi.trimmed().isEmpty()
                                  ? record::RecordStore::fromSettings().folder()
                                  : gstr_Dossier_Choisi;
        request.targetFolder =
            chooseTargetFolder(common::kProgramName + QStringLiteral(" - Sélection du dossier cible"), start);
        if (request.targetFolder.isEmpty()) {
            platform::dialogs().ask(kAbandonText, mb::OKOnly, common::kProgramName);
            return;
        }
    }

    // The run builds the table in the export grid, where it stays.
    const ExportOutcome outcome = [&] {
        const platform::PointerGuard hourglass;
        return ExportRun::fromSettings().run(request, m_exportGrid);
    }();
    if (m_exportGrid.rows() > 1)
        flx_Export->fitColumnWidths();
    for (const ExportNotice& notice : outcome.notices)
        platform::dialogs().ask(notice.text, notice.style, common::kProgramName);
    if (outcome.refreshList) {
        const platform::PointerGuard hourglass;
        sub_Refresh_Liste_EPS();
        selectRecords(m_grid, outcome.selectAgain);
    }
}
