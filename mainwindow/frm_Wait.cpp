#include "mainwindow/frm_Wait.h"

#include "mainwindow/AboutTexts.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frm_Wait::frm_Wait(QWidget* parent) : QWidget(parent, Qt::Dialog | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("frm_Wait"));
    setWindowTitle(mainwindow::fun_Titre_Wait());
    // The text's lines are separated by carriage returns; a label breaks lines on line feeds.
    QString text = mainwindow::fun_Texte_Wait();
    text.replace(QChar(13), QChar(10));
    lab_wait = new QLabel(text, this);
    lab_wait->setObjectName(QStringLiteral("lab_wait"));
    lab_wait->setTextFormat(Qt::PlainText);
    lab_wait->setAlignment(Qt::AlignCenter);
    QFont f = lab_wait->font();
    f.setBold(true);
    lab_wait->setFont(f);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->addWidget(lab_wait);
    cmd_Arreter = new QPushButton(QStringLiteral("Arrêter"), this);
    cmd_Arreter->setObjectName(QStringLiteral("cmd_Arreter"));
    cmd_Arreter->hide();
    layout->addWidget(cmd_Arreter, 0, Qt::AlignHCenter);
}

void frm_Wait::sub_Afficher()
{
    show();
    raise();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
}
