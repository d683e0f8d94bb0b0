#include "mainwindow/frm_Splash_Logo.h"

#include "mainwindow/Logo.h"

#include <QLabel>

frm_Splash_Logo::frm_Splash_Logo(QWidget* parent) : QMdiSubWindow(parent, Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frm_Splash_Logo"));
    auto* picture = new QLabel;
    picture->setObjectName(QStringLiteral("logoImage"));
    const QPixmap logo = mainwindow::logoPixmap();
    picture->setPixmap(logo);
    picture->setFixedSize(logo.size());
    setWidget(picture);
    setFixedSize(logo.size());
}
