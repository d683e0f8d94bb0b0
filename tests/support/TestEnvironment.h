#pragma once
// A fresh program environment for one test: MIRELOT_HOME in a temporary folder holding the
// settings store, the data folder and the program folder; scripted boxes that fail the test
// when a box comes unanswered; a recording shell; a recording mail service; a clock fixed on a
// known day; a mouse pointer that records what is pushed on it.

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Mail.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "tests/support/FixedClock.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/RecordingMail.h"
#include "tests/support/RecordingPointer.h"
#include "tests/support/RecordingShell.h"
#include "tests/support/ScriptedDialogs.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace testing_support {

class TestEnvironment
{
public:
    TestEnvironment();
    ~TestEnvironment();

    QString home() const { return m_dir.path(); }
    QString userHome() const { return path(QStringLiteral("home")); } // $HOME during the test
    QString dataFolder() const;                                       // <home>/Donnees, created
    QString programFolder() const;                                    // <home>/Programme, created
    QString path(const QString& relative) const;

    platform::Registry& registry() { return *m_registry; }
    ScriptedDialogs& dialogs() { return m_dialogs; }
    RecordingShell& shell() { return m_shell; }
    FixedClock& clock() { return m_clock; }
    RecordingMail& mail() { return m_mail; }
    RecordingPointer& pointer() { return m_pointer; }
    // Puts another pointer in place of the recording one (the screen's, for window tests); it
    // must live as long as the environment. nullptr brings the recording one back.
    void usePointer(platform::MousePointer* pointer);

    // Opens the settings store again from its file, as a restart of the program would.
    void restartRegistry();

    // Every file of the environment's folder but those of the data folder, by its path from the
    // environment's folder, with its bytes: to see that nothing outside the data folder changed.
    QMap<QString, QByteArray> filesOutsideDataFolder() const;

private:
    QTemporaryDir m_dir;
    QByteArray m_previousHome;
    bool m_hadHome = false;
    QByteArray m_previousUserHome;
    std::unique_ptr<platform::Registry> m_registry;
    ScriptedDialogs m_dialogs;
    RecordingShell m_shell;
    FixedClock m_clock;
    RecordingMail m_mail;
    RecordingPointer m_pointer;
    platform::Services m_previous;
};

// Whole-file helpers: the bytes of a file (empty when it cannot be read), and a file written
// with the given bytes (the test fails when it cannot be).
QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);

} // namespace testing_support
