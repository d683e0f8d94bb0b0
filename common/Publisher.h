#pragma once
// Who makes the program and how to reach them: one place for the about box and the update
// check. Change these lines, and only these, to rebrand the program.

#include <QString>

namespace common {

// The maker's web site (host only, no trailing slash). The update page is below it.
inline const QString kPublisherSite = QStringLiteral("http://www.mirelot.example");
inline const QString kPublisherName = QStringLiteral("Korvel Logiciels");
inline const QString kPublisherAddress = QStringLiteral("14 rue des Alouettes - 26000 Valence");
inline const QString kPublisherTelephone = QStringLiteral("Tél. : 04 75 00 00 00");
inline const QString kPublisherEmail = QStringLiteral("contact@mirelot.example");
// The association the program was first made for.
inline const QString kAssociation = QStringLiteral("l'Association des naturalistes des plaines");
// The program's long title and the product family it complements.
inline const QString kLongTitle = QStringLiteral("Suivi hivernal des oiseaux des champs");
inline const QString kProductFamily = QStringLiteral("Gadrel - Gestion des données d'observation");
// The access code of the administrator mode (setting "Administrateur"/"PSWD").
inline const QString kAdministratorCode = QStringLiteral("KORVEL-ADM");

} // namespace common
