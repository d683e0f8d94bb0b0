#pragma once
// The decision taken before a record is written: the validation steps -1 to 4 of the whole
// record, each failure carrying the question whether to save partially anyway, then the user's
// confirmation. A record saved despite a failure is marked "Non Validé"; a record without a
// department is never written.

namespace record {

class RecordValidator;

enum class SaveChoice {
    NotSaved,     // a check failed and the user declined, or the confirmation was refused
    Validated,    // every step passed and the user confirmed
    NotValidated, // saved despite a failure: the file is marked "Non Validé"
};

// Runs the steps on the validator's record in order and stops at the first failure. The
// species of every parcel are examined again.
SaveChoice chooseSave(RecordValidator& validator);

} // namespace record
