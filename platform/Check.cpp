#include "platform/Check.h"

#include <QtGlobal>

namespace platform {

bool checkFailed(const char* condition, const char* file, int line)
{
    qCritical("%s%s (%s:%d)", kCheckFailedPrefix, condition, file, line);
    return false;
}

} // namespace platform
