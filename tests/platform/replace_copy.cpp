// A copy of the program writing one file again and again with platform::replaceFile, for the test
// of two copies writing the same file at once. It takes the file's version, says it is ready and
// at the moment given writes "<label> <n>" over the version it expects, n from 1 to the number
// given. When the file is another version, its user agrees to replace it: the next write expects
// the version found. Prints for each write "done <version written> over <version replaced>",
// "changed", "gone" or "failed" and the reason; a version is printed as inode:generation:size:time.
// Arguments: the file, the label, the number of writes. The file system's limits come from the
// environment (testing_support::LimitedFileSystem).

#include "platform/SaveFile.h"
#include "tests/support/LimitedFileSystem.h"
#include "tests/support/TwoCopies.h"

#include <QCoreApplication>

#include <cstdlib>
#include <iostream>

namespace {

std::string idOf(const platform::FileVersion& v)
{
    return std::to_string(v.inode) + ':' + std::to_string(v.generation) + ':' + std::to_string(v.size) + ':' +
           std::to_string(v.modifiedNs);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 4)
        return 2;
    const QString path = QString::fromUtf8(argv[1]);
    const QByteArray label(argv[2]);
    const int writes = std::atoi(argv[3]);
    const testing_support::LimitedFileSystem limited(testing_support::LimitedFileSystem::fromEnvironment());
    platform::FileVersion expected = platform::fileVersion(path);

    testing_support::waitForTheStart();
    for (int k = 1; k <= writes; ++k) {
        const platform::GuardedResult r =
            platform::replaceFile(path, label + ' ' + QByteArray::number(k), expected);
        switch (r.outcome) {
        case platform::GuardedResult::Done:
            std::cout << "done " << idOf(r.version) << " over " << idOf(expected) << std::endl;
            expected = r.version;
            break;
        case platform::GuardedResult::Changed:
            std::cout << "changed" << std::endl;
            expected = r.version;
            break;
        case platform::GuardedResult::Gone:
            std::cout << "gone" << std::endl;
            return 0;
        case platform::GuardedResult::Failed:
            std::cout << "failed " << r.result.error.toStdString() << std::endl;
            return 0;
        }
    }
    return 0;
}
