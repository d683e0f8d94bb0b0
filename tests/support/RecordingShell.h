#pragma once
// The Shell service of the tests: records what it was asked and opens nothing.

#include "platform/Shell.h"

#include <QList>
#include <QString>

namespace testing_support {

// Fails every opening when `succeed` is false.
class RecordingShell : public platform::Shell
{
public:
    struct Call
    {
        enum Kind { Url, File } kind;
        QString target;
    };
    platform::Result openUrl(const QString& url) override;
    platform::Result openFile(const QString& path) override;
    bool isConnected() override { return connected; }

    QList<Call> calls;
    bool connected = true;
    bool succeed = true;
};

} // namespace testing_support
