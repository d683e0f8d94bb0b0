#pragma once
// The about box: name, version, what the program is, who made it, and two labels that reach
// the maker (a mail to the contact address, the web page).

#include <QWidget>

class QLabel;
class QPushButton;

class frm_A_Propos : public QWidget
{
    Q_OBJECT
public:
    explicit frm_A_Propos(QWidget* parent = nullptr);

    QLabel* Lab_Version = nullptr;
    QLabel* lab_Nom_Projet = nullptr;
    QLabel* descriptionLabel = nullptr;
    QLabel* Lab_Pub = nullptr;
    QLabel* creditLabel = nullptr;
    QLabel* Lab_Courriel = nullptr;
    QLabel* lab_web = nullptr;
    QLabel* logoImage = nullptr;
    QLabel* familyLogoImage = nullptr;
    QPushButton* cmd_exit = nullptr;

    void emailClicked();
    void webClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
