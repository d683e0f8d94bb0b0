#include "record/SurveyRecord.h"

namespace record {

namespace {
const QString kNew = QStringLiteral("NEW");
const QString kNewPassage = QStringLiteral("NEW RELEVE");
const QString kNextWinter = QStringLiteral("NEW RELEVE A-1");
const QString kUpdate = QStringLiteral("UPDATE");
} // namespace

QString modeText(RecordMode mode)
{
    switch (mode) {
    case RecordMode::NewPassage:
        return kNewPassage;
    case RecordMode::NextWinter:
        return kNextWinter;
    case RecordMode::Update:
        return kUpdate;
    case RecordMode::New:
        break;
    }
    return kNew;
}

bool SpeciesRow::isBlank() const
{
    if (!speciesClass.isEmpty() || !code.isEmpty() || !name.isEmpty() || !total.isEmpty())
        return false;
    for (const QString& c : counts)
        if (!c.isEmpty())
            return false;
    return true;
}

} // namespace record
