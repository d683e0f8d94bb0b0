#pragma once
// The wait window shown while older record files are converted.

#include <QWidget>

class QLabel;

class frm_Wait : public QWidget
{
    Q_OBJECT
public:
    explicit frm_Wait(QWidget* parent = nullptr);

    QLabel* lab_wait = nullptr;

    // Shows the window and paints it at once, so that it is on screen before the long work
    // that follows keeps the event loop busy.
    void sub_Afficher();
};
