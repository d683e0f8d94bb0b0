#include "mainwindow/AboutTexts.h"

#include "common/Globals.h"
#include "common/Publisher.h"

namespace mainwindow {

QString aboutVersionText()
{
    return QStringLiteral("Version : ") + common::kProgramVersion + QLatin1Char('-') +
           common::kProgramRelease + QStringLiteral("   Révision : ") +
           QString::number(common::kVersionRevision);
}

QString presentationText()
{
    return common::kProgramName + QStringLiteral(" - ") + common::kLongTitle + QStringLiteral(" -\n") +
           QStringLiteral("est un module complémentaire à\n") + common::kProductFamily +
           QStringLiteral(" -,\n") + QStringLiteral("logiciel dédié à la gestion des données naturalistes.");
}

QString creditText()
{
    return QStringLiteral("Créé à l'origine pour ") + common::kAssociation + QStringLiteral("\npar ") +
           common::kPublisherName + QStringLiteral("\n\n") + common::kPublisherName + QLatin1Char('\n') +
           common::kPublisherAddress + QLatin1Char('\n') + common::kPublisherTelephone + QLatin1Char('\n') +
           common::kPublisherEmail;
}

QString waitCaption()
{
    return common::kProgramName + QLatin1Char(' ') + QString::number(common::kVersionMajor) +
           QLatin1Char('.') + QString::number(common::kVersionMinor) + QLatin1Char('.') +
           QString::number(common::kVersionRevision);
}

QString waitText()
{
    const QChar cr(13);
    return QStringLiteral("Transformation des fichiers FLX") + cr +
           QStringLiteral("au format FLX2009 compatible") + cr + QStringLiteral("avec ") +
           common::kProgramName + QStringLiteral("  V2009") + cr + cr + QStringLiteral("VEUILLEZ PATIENTER");
}

} // namespace mainwindow
