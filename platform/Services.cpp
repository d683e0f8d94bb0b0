#include "platform/Services.h"

#include "platform/Check.h"
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

// The stand-ins for a service nobody installed (a wiring fault, checked): they keep the program
// going without doing anything the user did not ask for.

// Every box answered with its default button; every input and file choice cancelled.
class DefaultDialogs : public Dialogs
{
public:
    int ask(const QString&, int style, const QString&) override { return mb::defaultAnswer(style); }
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<QString> openFileName(const FileRequest&) override { return {}; }
    std::optional<QString> saveFileName(const FileRequest&) override { return {}; }
};

// Opens nothing and reports no connection.
class NoShell : public Shell
{
public:
    Result openUrl(const QString& url) override
    {
        return Result::failure(
            shelltext::pageNotOpened(url, QStringLiteral("aucun navigateur n'est installé")));
    }
    Result openFile(const QString& path) override
    {
        return Result::failure(shelltext::fileNotOpened(
            path, QStringLiteral("aucun programme n'est installé pour ouvrir ce type de fichier")));
    }
    bool isConnected() override { return false; }
};

// No transport: every sign-on fails, nothing is sent.
class NoMail : public Mail
{
public:
    Result signOn(MailTransport needed) override
    {
        const bool compose = needed == MailTransport::ComposeWindow;
        return Result::failure(mailtext::transportMissing(needed, compose ? QStringLiteral("xdg-email")
                                                                          : QStringLiteral("sendmail")));
    }
    void signOff() override {}
    bool isSignedOn() const override { return false; }
    Result send(const MailMessage&, MailTransport) override
    {
        return Result::failure(mailtext::notSignedOn());
    }
};

// Reads no database: every reading fails and says why.
class NoDatabase : public RowSource
{
public:
    RowSourceResult readTable(const QString& databasePath, const QString&, const QStringList&) override
    {
        RowSourceResult r;
        r.result = Result::failure(
            QStringLiteral("La base de données %1 ne peut pas être lue : aucun lecteur de bases de données "
                           "n'est installé.")
                .arg(databasePath));
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
    if (MIRELOT_CHECK(g_services.registry))
        return *g_services.registry;
    static Registry fallback{QString()}; // in memory only
    return fallback;
}

Dialogs& dialogs()
{
    if (MIRELOT_CHECK(g_services.dialogs))
        return *g_services.dialogs;
    static DefaultDialogs fallback;
    return fallback;
}

Shell& shell()
{
    if (MIRELOT_CHECK(g_services.shell))
        return *g_services.shell;
    static NoShell fallback;
    return fallback;
}

const Clock& clock()
{
    if (MIRELOT_CHECK(g_services.clock))
        return *g_services.clock;
    static SystemClock fallback;
    return fallback;
}

Mail& mail()
{
    if (MIRELOT_CHECK(g_services.mail))
        return *g_services.mail;
    static NoMail fallback;
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
