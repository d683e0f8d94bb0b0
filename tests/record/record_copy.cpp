// A copy of the program saving a new record, for the record store's test of two copies saving
// the same record at the same moment. Arguments: the data folder and the visit comment that
// tells this copy's record apart. Prints "asked" for each question (answered No), then "saved"
// and the file name, "declined", or "failed" and the reason.

#include "record/RecordStore.h"
#include "tests/samples/RecordSamples.h"
#include "tests/support/TwoCopies.h"

#include <QCoreApplication>

#include <iostream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const testing_support::HelperCopyServices services;
    record::SurveyRecord r = record_samples::twoParcels();
    r.visitComment = QString::fromUtf8(argv[2]);
    const record::RecordStore store(QString::fromUtf8(argv[1]));

    testing_support::waitForTheStart();
    const record::SaveResult saved = store.save(r);
    if (saved.result.ok)
        std::cout << "saved " << saved.fileName.toStdString() << std::endl;
    else if (saved.declined)
        std::cout << "declined" << std::endl;
    else
        std::cout << "failed " << saved.result.error.toStdString() << std::endl;
    return 0;
}
