#pragma once
// The wait window shown while older record files are converted, and while the program waits
// for another program (a mail program), then with a button that stops the wait.

#include <QWidget>

class QLabel;
class QPushButton;

class frm_Wait : public QWidget
{
    Q_OBJECT
public:
    explicit frm_Wait(QWidget* parent = nullptr);

    QLabel* lab_wait = nullptr;
    // "Arrêter": hidden unless the wait can be stopped.
    QPushButton* stopButton = nullptr;

    // Shows the window and paints it at once, so that it is on screen before the long work
    // that follows keeps the event loop busy.
    void showWindow();
};
