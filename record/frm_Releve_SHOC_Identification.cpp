// The record window's first page: the site and the observer, the departments and communes
// offered, the lists restored from a record, the protection of the habitat type and the number of
// parcels.
#include "record/frm_Releve_SHOC_Parts.h"

#include "common/Globals.h"
#include "common/KeyFilters.h"
#include "common/Settings.h"
#include "platform/Dialogs.h"
#include "platform/MousePointer.h"
#include "platform/Services.h"
#include "record/StudyDepartments.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace record::window;
namespace mb = platform::mb;

namespace {

const QString kUnlockCaption =
    QStringLiteral("Débloquer la protection \"Type de milieu\" et \"Nombre de parcelles\"");
const QString kUnlockedCaption =
    QStringLiteral("Protéger les champs 'Type de milieu' et 'Nombre de parcelles'");
const QString kLockedCaption =
    QStringLiteral("Débloquer la protection 'Type de milieu' et 'Nombre de parcelles'");

} // namespace

// ================================================================ the page

QWidget* frm_Releve_SHOC::buildIdentificationPage()
{
    auto* page = new QWidget;
    fra_Identification = frame(QStringLiteral("fra_Identification"),
                               QStringLiteral("Identification du site et de l'observateur"));
    cbo_Dept = named(new QComboBox, QStringLiteral("cbo_Dept"));
    cbo_Communes = named(new QComboBox, QStringLiteral("cbo_Communes"));
    txt_Lieudit = named(new QLineEdit, QStringLiteral("txt_Lieudit"));
    cbo_Milieu = named(new QComboBox, QStringLiteral("cbo_Milieu"));
    cbo_Réseau = named(new QComboBox, QStringLiteral("cbo_Réseau"));
    cbo_Saison = named(new QComboBox, QStringLiteral("cbo_Saison"));
    Txt_Nom_Observateur = named(new QLineEdit, QStringLiteral("Txt_Nom_Observateur"));
    txt_Prénom_Observateur = named(new QLineEdit, QStringLiteral("txt_Prénom_Observateur"));
    txt_Email = named(new QLineEdit, QStringLiteral("txt_Email"));
    txt_Téléphone = named(new QLineEdit, QStringLiteral("txt_Téléphone"));
    txt_Nbr_Relevés = named(new QLineEdit, QStringLiteral("txt_Nbr_Relevés"));
    txt_Nbr_Relevés->setMaxLength(2);
    txt_Nbr_Relevés->setMaximumWidth(
        txt_Nbr_Relevés->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16);
    cmd_Free_Nbr_Points = named(new QPushButton(kUnlockCaption), QStringLiteral("cmd_Free_Nbr_Points"));
    connect(cmd_Free_Nbr_Points, &QPushButton::clicked, this, &frm_Releve_SHOC::freeBaseFields);
    txt_Nom_Site = named(new QLineEdit, QStringLiteral("txt_Nom_Site"));
    txt_Nom_Site->setReadOnly(true);
    for (QComboBox* combo : {cbo_Dept, cbo_Communes, cbo_Milieu, cbo_Réseau, cbo_Saison}) {
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(20);
        combo->setMaxVisibleItems(20);
    }

    auto* grid = new QGridLayout(fra_Identification);
    auto add = [&](int row, int col, const QString& label, QWidget* field, int span = 1) {
        grid->addWidget(new QLabel(label), row, col * 2);
        grid->addWidget(field, row, col * 2 + 1, 1, span);
    };
    add(0, 0, QStringLiteral("Département"), cbo_Dept);
    add(0, 1, QStringLiteral("Commune"), cbo_Communes);
    add(1, 0, QStringLiteral("Lieu-dit"), txt_Lieudit);
    add(1, 1, QStringLiteral("Type de milieu"), cbo_Milieu);
    add(2, 0, QStringLiteral("Nom de l'observateur"), Txt_Nom_Observateur);
    add(2, 1, QStringLiteral("Prénom de l'observateur"), txt_Prénom_Observateur);
    add(3, 0, QStringLiteral("Courriel"), txt_Email);
    add(3, 1, QStringLiteral("Téléphone"), txt_Téléphone);
    add(4, 0, QStringLiteral("Réseau"), cbo_Réseau);
    add(4, 1, QStringLiteral("Saison"), cbo_Saison);
    auto* count = new QHBoxLayout;
    count->addWidget(txt_Nbr_Relevés);
    count->addStretch(1);
    count->addWidget(cmd_Free_Nbr_Points);
    grid->addWidget(new QLabel(QStringLiteral("Nombre de parcelles")), 5, 0);
    grid->addLayout(count, 5, 1, 1, 3);
    add(6, 0, QStringLiteral("Nom du site"), txt_Nom_Site, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    fra_Commentaire = frame(QStringLiteral("fra_Commentaire"), QStringLiteral("Commentaire général"));
    Txt_Commentaires = named(new QPlainTextEdit, QStringLiteral("Txt_Commentaires"));
    auto* comment = new QVBoxLayout(fra_Commentaire);
    comment->addWidget(Txt_Commentaires);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(fra_Identification);
    layout->addWidget(fra_Commentaire, 1);
    return page;
}

// ================================================================ departments and communes

void frm_Releve_SHOC::sub_Load_Dept()
{
    const QSignalBlocker blocker(cbo_Dept);
    cbo_Dept->clear();
    cbo_Dept->addItems(m_references.sub_Load_Dept(fun_Get_Setting_Str(
        common::kParametersSection, record::kStudyDepartmentsSetting, QStringLiteral("%"))));
    cbo_Dept->setCurrentIndex(-1);
    sub_Load_Communes();
}

void frm_Releve_SHOC::sub_Load_Communes()
{
    const platform::PointerGuard hourglass;
    cbo_Communes->clear();
    m_keptListTexts.remove(cbo_Communes); // a commune of the department before
    if (cbo_Dept->currentIndex() < 0)
        return;
    for (const record::CommuneChoice& c : m_references.sub_Load_Communes(cbo_Dept->currentText()))
        cbo_Communes->addItem(c.name, c.row);
    cbo_Communes->setCurrentIndex(-1);
}

// The department of a record: when the study departments do not offer it, its code is added to
// them and the list built again.
void frm_Releve_SHOC::restoreDepartment(const QString& department)
{
    if (common::findItemIgnoringCase(itemsOf(cbo_Dept), department) < 0 && !department.trimmed().isEmpty()) {
        if (const platform::Result added = record::addStudyDepartment(department); !added.ok)
            m_notices << added.error;
        sub_Load_Dept();
    }
    if (restoreListText(cbo_Dept, department) < 0 && !department.isEmpty())
        m_notices << QStringLiteral("Le département « %1 » du relevé n'est pas dans la table des communes : "
                                    "le relevé le garde tant qu'aucun autre n'est choisi.")
                         .arg(department);
}

int frm_Releve_SHOC::restoreListText(QComboBox* combo, const QString& text)
{
    const int index = common::findItemIgnoringCase(itemsOf(combo), text);
    combo->setCurrentIndex(index);
    if (index < 0 && !text.isEmpty())
        m_keptListTexts.insert(combo, text);
    else
        m_keptListTexts.remove(combo);
    return index;
}

QString frm_Releve_SHOC::listText(const QComboBox* combo) const
{
    return combo->currentIndex() < 0 ? m_keptListTexts.value(combo) : combo->currentText();
}

// ================================================================ the base fields

void frm_Releve_SHOC::freeBaseFields()
{
    if (!m_baseFieldsFree) {
        const QString question = QStringLiteral(
            "Veuillez confirmer votre intention de débloquer la protection des champs 'Type de "
            "milieu' et 'Nombre de parcelles'.\n\nDébloquer maintenant ?\n\nNota : veuillez noter "
            "que les modifications que vous allez peut-être apporter dans les paramètres de base "
            "de ce relévé, pourront avoir des conséquences graves sur les données des relevés "
            "déjà enregistrées pour le même site.");
        if (platform::dialogs().ask(question, mb::YesNo | mb::Question | mb::DefaultButton2,
                                    common::kProgramName) != mb::Yes)
            return;
    }
    m_baseFieldsFree = !m_baseFieldsFree;
    txt_Nbr_Relevés->setEnabled(m_baseFieldsFree);
    cbo_Milieu->setEnabled(m_baseFieldsFree);
    cmd_Free_Nbr_Points->setText(m_baseFieldsFree ? kUnlockedCaption : kLockedCaption);
}

// The fields that the site name and the saveable test read.
record::SurveyRecord frm_Releve_SHOC::identification() const
{
    record::SurveyRecord rec;
    rec.department = listText(cbo_Dept);
    rec.commune = listText(cbo_Communes);
    rec.placeName = txt_Lieudit->text();
    rec.observerName = Txt_Nom_Observateur->text();
    rec.observerFirstName = txt_Prénom_Observateur->text();
    rec.season = comboText(cbo_Saison);
    rec.date = txt_Date->text();
    for (int i = 0; i < record::kPassageCount; ++i)
        if (opt_Passage[size_t(i)]->isChecked())
            rec.passage = i + 1;
    return rec;
}
