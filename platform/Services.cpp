#include "platform/Services.h"

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Mail.h"
#include "platform/MousePointer.h"
#include "platform/Registry.h"
#include "platform/RowSource.h"
#include "platform/Shell.h"

namespace platform {

namespace {
Services g_services;

class DefaultDialogs : public ScriptedDialogs
{
public:
    DefaultDialogs()
    {
        setResponder([](const Asked& a) -> Answer {
            if (a.kind == Kind::Box)
                return mb::defaultAnswer(a.style);
            return std::optional<QString>();
        });
    }
};

// Reads no database: every reading fails and says why.
class NoDatabase : public RowSource
{
public:
    RowSourceResult readTable(const QString& databasePath, const QString&, const QStringList&) override
    {
        RowSourceResult r;
        r.error =
            QStringLiteral("La base de données %1 ne peut pas être lue : aucun lecteur de bases de données "
                           "n'est installé.")
                .arg(databasePath);
        return r;
    }
};
} // namespace

Services& services() { return g_services; }

Services installServices(const Services& s)
{
    Services previous = g_services;
    g_services = s;
    return previous;
}

Registry& registry()
{
    if (g_services.registry)
        return *g_services.registry;
    static Registry fallback{QString()};
    return fallback;
}

Dialogs& dialogs()
{
    if (g_services.dialogs)
        return *g_services.dialogs;
    static DefaultDialogs fallback;
    fallback.clearAsked();
    return fallback;
}

Shell& shell()
{
    if (g_services.shell)
        return *g_services.shell;
    static RecordingShell fallback;
    fallback.succeed = false;
    fallback.calls.clear();
    return fallback;
}

const Clock& clock()
{
    if (g_services.clock)
        return *g_services.clock;
    static SystemClock fallback;
    return fallback;
}

Mail& mail()
{
    if (g_services.mail)
        return *g_services.mail;
    // No transport: every sign-on fails, nothing is sent.
    static RecordingMail fallback;
    fallback.hasComposeWindow = false;
    fallback.hasSendAtOnce = false;
    fallback.sent.clear();
    return fallback;
}

MousePointer& mousePointer()
{
    if (g_services.pointer)
        return *g_services.pointer;
    static NoScreenPointer fallback;
    return fallback;
}

RowSource& rowSource()
{
    if (g_services.rowSource)
        return *g_services.rowSource;
    static NoDatabase fallback;
    return fallback;
}

} // namespace platform
