#include "common/Frm_Selection_dossier.h"

#include "common/FirstStart.h"
#include "common/FolderChooser.h"
#include "common/Globals.h"
#include "common/Paths.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTreeView>

namespace mb = platform::mb;

Frm_Selection_dossier::Frm_Selection_dossier(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(common::kProgramName + QStringLiteral(" - Choix d'un dossier"));
    setModal(true);
    resize(640, 460);

    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setRootPath(QDir::rootPath());

    placesList = new QListWidget(this);
    placesList->setObjectName(QStringLiteral("placesList"));
    placesList->setMaximumWidth(180);
    if (!common::desktopFolder(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation)).isEmpty()) {
        auto* bureau = new QListWidgetItem(desktopLabel(), placesList);
        bureau->setData(Qt::UserRole, QStringLiteral("BUREAU"));
    }
    auto* maison = new QListWidgetItem(QStringLiteral("Dossier personnel"), placesList);
    maison->setData(Qt::UserRole, QDir::homePath());
    const auto volumes = QStorageInfo::mountedVolumes();
    for (const QStorageInfo& v : volumes) {
        if (!v.isValid() || !v.isReady() || v.rootPath().startsWith(QLatin1String("/proc")) ||
            v.rootPath().startsWith(QLatin1String("/sys")) || v.rootPath().startsWith(QLatin1String("/dev")))
            continue;
        auto* item = new QListWidgetItem(v.rootPath(), placesList);
        item->setData(Qt::UserRole, v.rootPath());
        item->setToolTip(fun_Get_Drive_Type(v.rootPath()));
    }

    Fol_Select = new QTreeView(this);
    Fol_Select->setObjectName(QStringLiteral("Fol_Select"));
    Fol_Select->setModel(m_model);
    Fol_Select->setRootIndex(m_model->index(QDir::rootPath()));
    for (int c = 1; c < m_model->columnCount(); ++c)
        Fol_Select->hideColumn(c);
    Fol_Select->header()->hide();

    auto* label = new QLabel(QStringLiteral("Dossier"), this);
    txt_Dossier = new QLineEdit(this);
    txt_Dossier->setObjectName(QStringLiteral("txt_Dossier"));
    label->setBuddy(txt_Dossier);
    cmd_New = new QPushButton(QStringLiteral("Nouveau dossier"), this);
    cmd_New->setObjectName(QStringLiteral("cmd_New"));
    cmd_Selectionner = new QPushButton(QStringLiteral("Sélectionner"), this);
    cmd_Selectionner->setObjectName(QStringLiteral("cmd_Selectionner"));
    cmd_Selectionner->setDefault(true);
    cmd_Annuler = new QPushButton(QStringLiteral("Annuler"), this);
    cmd_Annuler->setObjectName(QStringLiteral("cmd_Annuler"));

    auto* grid = new QGridLayout(this);
    auto* trees = new QHBoxLayout;
    trees->addWidget(placesList);
    trees->addWidget(Fol_Select, 1);
    grid->addLayout(trees, 0, 0, 1, 4);
    grid->addWidget(label, 1, 0);
    grid->addWidget(txt_Dossier, 1, 1, 1, 3);
    grid->addWidget(cmd_New, 2, 1);
    grid->addWidget(cmd_Selectionner, 2, 2);
    grid->addWidget(cmd_Annuler, 2, 3);

    connect(Fol_Select->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { selectionChanged(); });
    // A place is chosen by a click or by the arrow keys; Enter, wherever the focus is, chooses the
    // folder shown (the dialog's default button).
    connect(placesList, &QListWidget::itemClicked, this, &Frm_Selection_dossier::placeChosen);
    connect(placesList, &QListWidget::itemSelectionChanged, this, [this] {
        if (const QList<QListWidgetItem*> chosen = placesList->selectedItems(); !chosen.isEmpty())
            placeChosen(chosen.first());
    });
    connect(cmd_New, &QPushButton::clicked, this, &Frm_Selection_dossier::newFolderClicked);
    connect(cmd_Selectionner, &QPushButton::clicked, this, &Frm_Selection_dossier::selectClicked);
    connect(cmd_Annuler, &QPushButton::clicked, this, &Frm_Selection_dossier::reject);

    // Start at the folder chosen last, or at the root; the callers then open it at their folder.
    openAt(QString());
}

void Frm_Selection_dossier::openAt(const QString& folder)
{
    setCurrentFolder(common::startFolder(folder, gstr_Dossier_Choisi));
    selectionChanged();
    if (!folder.trimmed().isEmpty())
        txt_Dossier->setText(folder); // a folder still to be made stays as it was proposed
}

QString Frm_Selection_dossier::choose(QWidget* parent, const QString& title, const QString& folder)
{
    Frm_Selection_dossier dlg(parent);
    dlg.setWindowTitle(title);
    dlg.openAt(folder);
    if (dlg.exec() != QDialog::Accepted)
        return QString();
    return dlg.choice();
}

QString Frm_Selection_dossier::currentFolder() const
{
    const QModelIndex i = Fol_Select->currentIndex();
    return i.isValid() ? m_model->filePath(i) : QString();
}

void Frm_Selection_dossier::setCurrentFolder(const QString& path)
{
    const QModelIndex i = m_model->index(common::normalisePath(path));
    if (!i.isValid())
        return; // a folder the tree cannot show leaves it where it is
    for (QModelIndex p = i.parent(); p.isValid(); p = p.parent())
        Fol_Select->expand(p);
    Fol_Select->setCurrentIndex(i);
    Fol_Select->scrollTo(i);
}

void Frm_Selection_dossier::selectionChanged()
{
    const QString folder = currentFolder();
    txt_Dossier->setText(folder);
    cmd_New->setEnabled(!folder.isEmpty() && common::canCreateFolderIn(folder));
}

void Frm_Selection_dossier::placeChosen(QListWidgetItem* item)
{
    if (!item)
        return;
    const QString place = item->data(Qt::UserRole).toString();
    if (place.toUpper() == QLatin1String("BUREAU")) {
        const QString desktop =
            common::desktopFolder(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
        if (desktop.isEmpty())
            return; // gone since the list was made
        setCurrentFolder(desktop);
        txt_Dossier->setText(desktop);
        cmd_New->setEnabled(common::canCreateFolderIn(desktop));
        return;
    }
    setCurrentFolder(place);
    selectionChanged();
}

void Frm_Selection_dossier::newFolderClicked()
{
    const QString path = txt_Dossier->text().trimmed();
    if (path.isEmpty())
        return;
    const common::PathParts d = sub_Split_Path(path);
    if (d.folder.isEmpty() && (d.name == QLatin1String("\\") || d.name == QLatin1String("/")) &&
        d.extension.isEmpty())
        return;
    const QFileInfo info(common::normalisePath(path));
    if (info.isDir())
        return;
    if (info.exists()) {
        platform::dialogs().ask(QStringLiteral("Problème sur le dossier ") + path, mb::OKOnly,
                                common::kProgramName);
        return;
    }
    const QString question = QStringLiteral("Le dossier ") + path + QStringLiteral(" n'existe pas.\n\n") +
                             QStringLiteral("Voulez-vous le créer maintenant ?");
    if (platform::dialogs().ask(question, mb::OKCancel, common::kProgramName) != mb::OK)
        return;
    QDir().mkpath(info.absoluteFilePath()); // Sélectionner refuses a folder that could not be made
    setCurrentFolder(info.absoluteFilePath());
    selectionChanged();
}

void Frm_Selection_dossier::selectClicked()
{
    if (txt_Dossier->text().isEmpty())
        selectionChanged();
    if (sub_Vérif_Dossier(txt_Dossier->text()) != 0)
        return;
    m_choice = common::cleanedFolder(txt_Dossier->text());
    gstr_Dossier_Choisi = m_choice;
    accept();
}

void Frm_Selection_dossier::reject()
{
    // Annuler and the close box both leave without a choice.
    gstr_Dossier_Choisi.clear();
    QDialog::reject();
}
