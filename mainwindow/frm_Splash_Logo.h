#pragma once
// The logo window: a borderless child of the main window, kept in its middle.

#include <QMdiSubWindow>

class frm_Splash_Logo : public QMdiSubWindow
{
    Q_OBJECT
public:
    explicit frm_Splash_Logo(QWidget* parent = nullptr);
};
