#include "tests/support/TestEnvironment.h"

#include "common/Globals.h"
#include "common/OptionMarks.h"
#include "common/Paths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <gtest/gtest.h>

namespace testing_support {

TestEnvironment::TestEnvironment()
{
    m_hadHome = qEnvironmentVariableIsSet("MIRELOT_HOME");
    m_previousHome = qgetenv("MIRELOT_HOME");
    qputenv("MIRELOT_HOME", m_dir.path().toUtf8());
    // The user's home folder too: nothing a test does reaches the real one.
    m_previousUserHome = qgetenv("HOME");
    QDir(m_dir.path()).mkpath(QStringLiteral("home"));
    qputenv("HOME", path(QStringLiteral("home")).toUtf8());
    QDir(m_dir.path()).mkpath(QStringLiteral("Donnees"));
    QDir(m_dir.path()).mkpath(QStringLiteral("Programme"));
    m_registry = std::make_unique<platform::Registry>(platform::Registry::defaultStoreFile());
    m_dialogs.setFailureHandler([](const QString& why) { ADD_FAILURE() << why.toStdString(); });
    m_previous =
        platform::installServices({m_registry.get(), &m_dialogs, &m_shell, &m_clock, &m_mail, &m_pointer});
    common::resetGlobals();
    common::resetOptions();
    common::setProgramFolder(programFolder());
}

TestEnvironment::~TestEnvironment()
{
    EXPECT_EQ(m_dialogs.pendingAnswers(), 0) << "answers queued for boxes that were never asked";
    EXPECT_TRUE(m_pointer.shapes().isEmpty()) << "mouse pointers pushed and never taken back: "
                                              << m_pointer.calls.join(QLatin1Char(' ')).toStdString();
    platform::installServices(m_previous);
    common::resetGlobals();
    common::resetOptions();
    common::setProgramFolder(QString());
    qputenv("HOME", m_previousUserHome);
    if (m_hadHome)
        qputenv("MIRELOT_HOME", m_previousHome);
    else
        qunsetenv("MIRELOT_HOME");
}

QString TestEnvironment::dataFolder() const { return path(QStringLiteral("Donnees")); }
QString TestEnvironment::programFolder() const { return path(QStringLiteral("Programme")); }
QString TestEnvironment::path(const QString& relative) const { return QDir(m_dir.path()).filePath(relative); }

void TestEnvironment::restartRegistry()
{
    m_registry = std::make_unique<platform::Registry>(platform::Registry::defaultStoreFile());
    platform::services().registry = m_registry.get();
}

QMap<QString, QByteArray> TestEnvironment::filesOutsideDataFolder() const
{
    QMap<QString, QByteArray> files;
    const QDir root(home());
    const QString data = dataFolder() + QLatin1Char('/');
    QDirIterator it(home(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        if (!file.startsWith(data))
            files.insert(root.relativeFilePath(file), readBytes(file));
    }
    return files;
}

void TestEnvironment::usePointer(platform::MousePointer* pointer)
{
    platform::services().pointer = pointer ? pointer : &m_pointer;
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size()) << path.toStdString();
}

} // namespace testing_support
