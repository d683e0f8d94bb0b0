#include "mainwindow/frm_Splash_Logo.h"

#include "mainwindow/Logo.h"

#include <QLabel>

frm_Splash_Logo::frm_Splash_Logo(QWidget* parent) : QMdiSubWindow(parent, Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frm_Splash_Logo"));
    auto* picture = new QLabel;
    picture->setObjectName(QStringLiteral("img_Logo"));
    const QPixmap logo = mainwindow::fun_Logo_Mirelot();
    picture->setPixmap(logo);
    picture->setFixedSize(logo.size());
    setWidget(picture);
    setFixedSize(logo.size());
}
