#pragma once
// Opening web pages, documents and mail links with the desktop's programs, and the
// connection test made before an update check.

#include "platform/Result.h"

#include <QString>

namespace platform {

class Shell
{
public:
    virtual ~Shell() = default;
    // Opens a web page in the desktop's browser. Fails, with the reason naming the address,
    // when the address is not valid or no program opened it.
    virtual Result openUrl(const QString& url) = 0;
    // Opens a file with the desktop's program for its type. Fails, with the reason naming the
    // file, when it is missing or no program opened it.
    virtual Result openFile(const QString& path) = 0;
    // True when the machine has a network connection other than the loopback.
    virtual bool isConnected() = 0;
};

// Descriptions shared by the shells: "La page « ... » n'a pas pu être ouverte : <why>."
namespace shelltext {
QString pageNotOpened(const QString& url, const QString& why);
QString fileNotOpened(const QString& path, const QString& why);
} // namespace shelltext

} // namespace platform
