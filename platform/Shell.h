#pragma once
// Opening web pages, documents and mail links with the desktop's programs, and the
// connection test made before an update check.

#include <QList>
#include <QString>

namespace platform {

class Shell
{
public:
    virtual ~Shell() = default;
    virtual bool openUrl(const QString& url) = 0;
    virtual bool openFile(const QString& path) = 0;
    // True when the machine has a network connection other than the loopback.
    virtual bool isConnected() = 0;
};

// Records what it was asked and opens nothing.
class RecordingShell : public Shell
{
public:
    struct Call
    {
        enum Kind { Url, File } kind;
        QString target;
    };
    bool openUrl(const QString& url) override;
    bool openFile(const QString& path) override;
    bool isConnected() override { return connected; }

    QList<Call> calls;
    bool connected = true;
    bool succeed = true;
};

} // namespace platform
