#include "mainwindow/frm_A_Propos.h"

#include "common/DisplayAdaptation.h"
#include "common/EMail.h"
#include "common/Globals.h"
#include "common/Publisher.h"
#include "mainwindow/AboutTexts.h"
#include "mainwindow/Logo.h"
#include "platform/Services.h"
#include "platform/Shell.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLabel* label(QWidget* parent, const QString& name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    return l;
}

void showAsLink(QLabel* l)
{
    l->setCursor(Qt::PointingHandCursor);
    QFont f = l->font();
    f.setUnderline(true);
    l->setFont(f);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, QColor(0x1a, 0x4f, 0x9c));
    l->setPalette(pal);
}
} // namespace

frm_A_Propos::frm_A_Propos(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frm_A_Propos"));
    setWindowTitle(common::aboutItemCaption());

    lab_Nom_Projet = label(this, QStringLiteral("lab_Nom_Projet"), common::kProgramName);
    QFont big = lab_Nom_Projet->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    lab_Nom_Projet->setFont(big);
    Lab_Version = label(this, QStringLiteral("Lab_Version"), mainwindow::aboutVersionText());
    descriptionLabel = label(this, QStringLiteral("descriptionLabel"), common::kLongTitle);
    Lab_Pub = label(this, QStringLiteral("Lab_Pub"), mainwindow::presentationText());
    creditLabel = label(this, QStringLiteral("creditLabel"), mainwindow::creditText());
    Lab_Courriel = label(this, QStringLiteral("Lab_Courriel"), common::kPublisherEmail);
    QString site = common::kPublisherSite;
    site.remove(QStringLiteral("http://"));
    lab_web = label(this, QStringLiteral("lab_web"), site);
    showAsLink(Lab_Courriel);
    showAsLink(lab_web);
    Lab_Courriel->installEventFilter(this);
    lab_web->installEventFilter(this);

    logoImage = label(this, QStringLiteral("logoImage"), QString());
    logoImage->setPixmap(mainwindow::logoPixmap(QSize(252, 156)));
    familyLogoImage = label(this, QStringLiteral("familyLogoImage"), QString());
    familyLogoImage->hide(); // the sibling program's logo is not this program's

    cmd_exit = new QPushButton(QStringLiteral("OK"), this);
    cmd_exit->setObjectName(QStringLiteral("cmd_exit"));
    connect(cmd_exit, &QPushButton::clicked, this, [this] {
        if (auto* sw = qobject_cast<QMdiSubWindow*>(parentWidget()))
            sw->close();
        else
            close();
    });

    auto* text = new QVBoxLayout;
    text->addWidget(lab_Nom_Projet);
    text->addWidget(Lab_Version);
    text->addWidget(descriptionLabel);
    text->addSpacing(8);
    text->addWidget(Lab_Pub);
    text->addSpacing(8);
    text->addWidget(creditLabel);
    text->addWidget(Lab_Courriel);
    text->addWidget(lab_web);
    text->addStretch();

    auto* top = new QHBoxLayout;
    auto* logos = new QVBoxLayout;
    logos->addWidget(logoImage);
    logos->addWidget(familyLogoImage);
    logos->addStretch();
    top->addLayout(logos);
    top->addSpacing(12);
    top->addLayout(text, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmd_exit);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
}

void frm_A_Propos::emailClicked()
{
    // The mail client's window opens for the user to write and send; no mail client, or the
    // window cancelled, says nothing.
    bool failed = false;
    QString errorText;
    sub_Envoi_EMail(false, Lab_Courriel->text(), QString(), QString(), QString(), true, failed, errorText,
                    false);
}

void frm_A_Propos::webClicked()
{
    // As the contact label: a page that cannot be opened is not reported.
    static_cast<void>(platform::shell().openUrl(common::kPublisherSite));
}

bool frm_A_Propos::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == Lab_Courriel) {
            emailClicked();
            return true;
        }
        if (watched == lab_web) {
            webClicked();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
