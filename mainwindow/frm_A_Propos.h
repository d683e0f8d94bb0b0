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
    QLabel* lab_Description = nullptr;
    QLabel* Lab_Pub = nullptr;
    QLabel* lab_Credit = nullptr;
    QLabel* Lab_Courriel = nullptr;
    QLabel* lab_web = nullptr;
    QLabel* img_Logo = nullptr;
    QLabel* img_Logo_Famille = nullptr;
    QPushButton* cmd_exit = nullptr;

    void Lab_Courriel_Click();
    void lab_web_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
