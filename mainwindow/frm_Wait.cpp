#include "mainwindow/frm_Wait.h"

#include "mainwindow/AboutTexts.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frm_Wait::frm_Wait(QWidget* parent) : QWidget(parent, Qt::Dialog | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("frm_Wait"));
    setWindowTitle(mainwindow::waitCaption());
    // The text's lines are separated by carriage returns; a label breaks lines on line feeds.
    QString text = mainwindow::waitText();
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
    stopButton = new QPushButton(QStringLiteral("Arrêter"), this);
    stopButton->setObjectName(QStringLiteral("stopButton"));
    stopButton->hide();
    layout->addWidget(stopButton, 0, Qt::AlignHCenter);
}

void frm_Wait::showWindow()
{
    show();
    raise();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
}
