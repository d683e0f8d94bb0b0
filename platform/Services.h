#pragma once
// The one place where the program finds its platform services. app/ installs the real ones at
// start; test fixtures install recording and scripted ones (tests/support). A service that
// nobody installed is a wiring fault: it fails the check (platform/Check.h), then a harmless
// stand-in serves (in-memory settings, boxes answered with their default button, nothing
// opened, no mail transport, no pointer shown, no database read), so a missing wiring never
// crashes the program.

namespace platform {

class Registry;
class Dialogs;
class Shell;
class Clock;
class Mail;
class MousePointer;
class RowSource;

struct Services
{
    Registry* registry = nullptr;
    Dialogs* dialogs = nullptr;
    Shell* shell = nullptr;
    Clock* clock = nullptr;
    Mail* mail = nullptr;
    MousePointer* pointer = nullptr;
    RowSource* rowSource = nullptr; // the sibling product's database
};

// The installed services (pointers may be null).
Services& services();
// Replaces the installed services, returns the previous ones.
Services installServices(const Services& s);

Registry& registry();
Dialogs& dialogs();
Shell& shell();
const Clock& clock();
Mail& mail();
MousePointer& mousePointer();
RowSource& rowSource();

} // namespace platform
