// A copy of the program logging exports, for the export log's test of two copies writing it at
// the same moment. Arguments: the data folder, the prefix of this copy's file names and the
// number of lines. Logs "<prefix>-0" to "<prefix>-<count - 1>", one line at a time, and prints
// "failed" and the reason of each line that could not be logged. With the prefix "compaction",
// compacts the log so many times instead, as the program's start does. A copy pauses a few
// milliseconds between two lines, as a user does between two exports, long enough for the other
// copy's next try at the log's lock.

#include "common/ExportLog.h"
#include "grid/Grid.h"
#include "platform/Clock.h"
#include "platform/Services.h"
#include "tests/support/TwoCopies.h"

#include <QCoreApplication>
#include <QThread>

#include <iostream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4)
        return 2;
    platform::SystemClock clock;
    platform::installServices({nullptr, nullptr, nullptr, &clock, nullptr, nullptr, nullptr});
    const QString folder = QString::fromUtf8(argv[1]);
    const QString prefix = QString::fromUtf8(argv[2]);
    const int count = QString::fromUtf8(argv[3]).toInt();

    testing_support::waitForTheStart();
    for (int i = 0; i < count; ++i) {
        grid::Grid work;
        const platform::Result done = prefix == QLatin1String("compaction")
                                          ? sub_Load_Log_Export(folder, work)
                                          : common::logExports(folder, {prefix + u'-' + QString::number(i)});
        if (!done)
            std::cout << "failed " << done.error.toStdString() << std::endl;
        QThread::msleep(5);
    }
    return 0;
}
