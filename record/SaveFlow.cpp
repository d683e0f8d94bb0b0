#include "record/SaveFlow.h"

#include "common/Globals.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "record/RecordValidator.h"

#include <QString>

namespace record {

SaveChoice chooseSave(RecordValidator& validator)
{
    namespace mb = platform::mb;
    validator.clearSpeciesChecked();
    const VerifOptions options{.askPartial = true};
    for (int step = -1; step <= 4; ++step) {
        const VerifResult result = validator.Sub_Vérif_Data(step, options);
        if (result.error)
            return result.partial ? SaveChoice::NotValidated : SaveChoice::NotSaved;
    }
    const int answer = platform::dialogs().ask(
        QStringLiteral("Veuillez confirmer votre intention de sauvegarder les données"),
        mb::YesNo | mb::Question, common::kProgramName);
    return answer == mb::Yes ? SaveChoice::Validated : SaveChoice::NotSaved;
}

} // namespace record
