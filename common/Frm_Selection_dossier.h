#pragma once
// Frm_Sélection_dossier: picks or creates the folder that holds the program's data.

#include <QDialog>

class QFileSystemModel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTreeView;

class Frm_Selection_dossier : public QDialog
{
    Q_OBJECT
public:
    explicit Frm_Selection_dossier(QWidget* parent = nullptr);

    // Shows the chooser modally with a caption and a starting folder. Returns the folder chosen,
    // or "" when the user cancelled or closed it. The chooser also leaves its answer in
    // gstr_Dossier_Choisi, where its next opening starts.
    static QString choose(QWidget* parent, const QString& title, const QString& folder);
    // The folder accepted with Sélectionner; "" until then.
    QString choice() const { return m_choice; }

    QString currentFolder() const;
    void setCurrentFolder(const QString& path);
    // Opens the tree at a folder (the nearest existing one) and puts the folder in the box.
    void openAt(const QString& folder);

    // Controls, named as the rest of the program knows them.
    QTreeView* Fol_Select = nullptr;
    QListWidget* placesList = nullptr; // the desktop (where there is one), home, the mounted volumes
    QLineEdit* txt_Dossier = nullptr;
    QPushButton* cmd_New = nullptr;
    QPushButton* cmd_Selectionner = nullptr;
    QPushButton* cmd_Annuler = nullptr;

    // The name of the desktop node in the places list.
    static QString desktopLabel() { return QStringLiteral("Bureau"); }

public Q_SLOTS:
    void reject() override;

private:
    void selectionChanged();
    void placeChosen(QListWidgetItem* item);
    void newFolderClicked();
    void selectClicked();

    QFileSystemModel* m_model = nullptr;
    QString m_choice;
};
