#include "common/DisplayAdaptation.h"

#include "common/Globals.h"
#include "common/Publisher.h"

namespace common {

QString aboutItemCaption() { return QStringLiteral("A propos de ") + common::kProgramName; }

bool isAdministratorMode(const QString& pswd) { return pswd == kAdministratorCode; }

QString mainWindowTitle(const QString& ligneCommande, bool administrateur)
{
    QString caption = common::kProgramName + QStringLiteral(" [") + kLongTitle + QStringLiteral("] - ") +
                      common::kProgramVersion + QLatin1Char('-') + common::kProgramRelease;
    if (!ligneCommande.trimmed().isEmpty())
        caption += QStringLiteral("     / ") + ligneCommande;
    if (administrateur)
        caption += QStringLiteral(" - Mode Administrateur");
    return caption;
}

} // namespace common
