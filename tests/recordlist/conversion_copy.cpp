// A copy of the program opening the record list, for the tests of two copies converting the older
// record files, or importing the sibling's files, of one data folder at the same moment.
// Arguments: "conversion" or "import", and the data folder. Prints "asked" for each question
// (answered No), then one line per file: "converted", "skipped", "not set aside", "imported",
// "kept", "problem" or "elsewhere" (done by another copy), and the file's name or the reason.

#include "recordlist/OlderFileConversion.h"
#include "recordlist/SiblingImport.h"
#include "tests/support/TwoCopies.h"

#include <QCoreApplication>

#include <iostream>

namespace {

void print(const char* what, const QString& text)
{
    std::cout << what << ' ' << text.toStdString() << std::endl;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const testing_support::HelperCopyServices services;
    const QString mode = QString::fromUtf8(argv[1]);
    const QString folder = QString::fromUtf8(argv[2]);

    testing_support::waitForTheStart();
    if (mode == QLatin1String("conversion")) {
        const recordlist::ConversionReport r = recordlist::convertOlderFiles(folder);
        for (const QString& name : r.converted)
            print("converted", name);
        for (const recordlist::SkippedFile& f : r.skipped)
            print("skipped", f.reason);
        for (const recordlist::SkippedFile& f : r.notSetAside)
            print("not set aside", f.reason);
        for (const QString& name : r.doneElsewhere)
            print("elsewhere", name);
    } else {
        const recordlist::ImportReport r = recordlist::sub_Migration_Pomerel_Mirelot(folder);
        for (const QString& name : r.imported)
            print("imported", name);
        for (const QString& name : r.kept)
            print("kept", name);
        for (const QString& why : r.problems)
            print("problem", why);
        for (const QString& name : r.doneElsewhere)
            print("elsewhere", name);
    }
    return 0;
}
