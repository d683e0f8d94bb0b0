// The record list opened from the main window, on a data folder holding a record of the sibling
// program and an older record file: each is turned into a record behind a wait window shown while
// the work runs, and both are listed. The import and the conversion themselves are the core's
// tests.

#include "common/Globals.h"
#include "mainwindow/frm_Menu.h"
#include "recordlist/RecordListing.h"
#include "recordlist/frm_Liste_Releves_SHOC.h"
#include "tests/samples/ListSamples.h"
#include "tests/samples/SiblingSamples.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QMdiSubWindow>
#include <QSet>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

const QString kSibling = QStringLiteral("Ravelin-1.RVX");
const QString kImported =
    QStringLiteral("SHOC-26~Valence~Les Baumes~LEFEVRE jean~Hiver 2009-2010~Passage N1.FLX2009");
const QString kOlder = QStringLiteral("SHOC-A-B~Passage N1.FLX");
const QString kConverted = QStringLiteral("SHOC-A-B~PASSAGE N1.FLX2009");

// Every wait window that shows, with the data folder's files at the moment it shows and at the
// moment it goes.
class WaitWatcher : public QObject
{
public:
    struct Wait
    {
        QStringList whenShown;
        QStringList whenGone;
    };

    explicit WaitWatcher(QString folder) : m_folder(std::move(folder)) { qApp->installEventFilter(this); }
    ~WaitWatcher() override { qApp->removeEventFilter(this); }

    QList<Wait> waits;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->objectName() == QLatin1String("frm_Wait") &&
            static_cast<QWidget*>(watched)->isWindow() && !m_seen.contains(watched)) {
            m_seen.insert(watched);
            waits.append({files(), {}});
            const qsizetype index = waits.size() - 1;
            connect(watched, &QObject::destroyed, this, [this, index] { waits[index].whenGone = files(); });
        }
        return false;
    }

private:
    QStringList files() const { return QDir(m_folder).entryList(QDir::Files, QDir::Name); }

    QString m_folder;
    QSet<QObject*> m_seen;
};

bool anyWaitWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("frm_Wait"))
            return true;
    return false;
}

} // namespace

TEST(ListWaitWindows, ImportAndConversionEachShowAWaitWhileTheyRunAndBothRecordsAreListed)
{
    testing_support::TestEnvironment env;
    gstr_Dossier = env.dataFolder();
    sibling_samples::write(QDir(env.dataFolder()).filePath(kSibling), sibling_samples::Sibling());
    list_samples::writeRecord(env.dataFolder(), kOlder, list_samples::recordOf(1, "01/12/2009"));
    WaitWatcher watcher(env.dataFolder());

    frm_Menu menu;
    menu.item(QStringLiteral("Saisie"), 2)->trigger();
    ASSERT_TRUE(menu.listWindow());
    auto* list = qobject_cast<frm_Liste_Releves_SHOC*>(menu.listWindow()->widget());
    ASSERT_TRUE(list);

    // The import first, then the conversion that the list's refresh runs.
    ASSERT_EQ(watcher.waits.size(), 2);
    const WaitWatcher::Wait& import = watcher.waits[0];
    EXPECT_TRUE(import.whenShown.contains(kSibling));
    EXPECT_FALSE(import.whenShown.contains(kImported));
    EXPECT_TRUE(import.whenGone.contains(kImported));
    const WaitWatcher::Wait& conversion = watcher.waits[1];
    EXPECT_TRUE(conversion.whenShown.contains(kOlder));
    EXPECT_FALSE(conversion.whenShown.contains(kConverted));
    EXPECT_TRUE(conversion.whenGone.contains(kConverted));
    EXPECT_FALSE(anyWaitWindow());

    QStringList listed;
    for (int r = 1; r < list->grid().rows(); ++r)
        listed << list->grid().cell(r, recordlist::FileColumn);
    EXPECT_EQ(listed, QStringList({kImported, kConverted}));

    // Nothing left to import or convert: a refresh shows no wait.
    list->sub_Refresh_Liste_EPS();
    EXPECT_EQ(watcher.waits.size(), 2);
}
