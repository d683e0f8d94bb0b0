#include "platform/Leftovers.h"

#include <QDateTime>
#include <QFileInfo>

#include <sys/file.h>
#include <unistd.h>

namespace platform::leftovers {

namespace {

// The prefix, then exactly six ASCII letters or digits, as the program makes its names.
bool isOurName(const QString& name, const QString& prefix)
{
    if (!name.startsWith(prefix) || name.size() != prefix.size() + 6)
        return false;
    for (qsizetype i = prefix.size(); i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')))
            return false;
    }
    return true;
}

} // namespace

bool lockNow(int descriptor) { return ::flock(descriptor, LOCK_EX | LOCK_NB) == 0; }

int removeFrom(const QString& folder, const Kind& kind, std::chrono::seconds settling)
{
    const QDateTime settled = QDateTime::currentDateTimeUtc().addSecs(-settling.count());
    const QFileInfoList candidates =
        QDir(folder).entryInfoList({kind.prefix + QStringLiteral("??????")},
                                   kind.entries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    int removed = 0;
    for (const QFileInfo& entry : candidates) {
        if (!isOurName(entry.fileName(), kind.prefix) || entry.ownerId() != ::geteuid())
            continue;
        const int lock = kind.lockOf(entry.filePath());
        if (lock == kHeld)
            continue; // a running copy uses it
        // A copy making the entry right now may not have locked it yet.
        if (entry.lastModified() <= settled && kind.remove(entry.filePath(), lock))
            ++removed;
        if (lock >= 0)
            ::close(lock);
    }
    return removed;
}

} // namespace platform::leftovers
