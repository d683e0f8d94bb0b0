#pragma once
// Two running copies of the program doing the same thing at the same moment, for the tests of
// files that two copies share. Each copy is a small helper program of the tests: it gets ready
// (services installed, its data prepared), says so, waits for the moment it is given and only
// then acts, so that both act within a fraction of a millisecond of each other.

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Registry.h"

#include <QString>
#include <QStringList>

namespace testing_support {

// Starts the helper program twice, with each list of arguments, lets both act at the same moment
// and returns what each wrote on its standard output once both have ended (a line "ended with
// code N" is added when one does not end normally).
QStringList runTwoCopies(const QString& program, const QStringList& firstArguments,
                         const QStringList& secondArguments);

// The helper's side: says it is ready, then waits for the moment and returns at it.
void waitForTheStart();

// The user of a helper copy: answers No to every question (what is on disk is kept) and prints
// "asked" on a line of its own for each.
class AnswersNo : public platform::Dialogs
{
public:
    int ask(const QString&, int, const QString&) override;
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<QString> openFileName(const platform::FileRequest&) override { return {}; }
    std::optional<QString> saveFileName(const platform::FileRequest&) override { return {}; }
};

// What a helper copy runs with, installed for as long as it lives: settings of its own that are
// never stored, the user who answers No, and the system's clock.
class HelperCopyServices
{
public:
    HelperCopyServices();

private:
    platform::Registry m_settings{QString()};
    AnswersNo m_dialogs;
    platform::SystemClock m_clock;
};

} // namespace testing_support
