#pragma once
// The ground of the record window's suites: the starter tables in the program's folder, the data
// folder, and the window opened for a request, shown and active so that focus changes reach its
// boxes.

#include "common/Globals.h"
#include "data/StarterTables.h"
#include "record/frm_Releve_SHOC.h"
#include "tests/support/TestEnvironment.h"

#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace record_samples {

class RecordWindowFixture : public ::testing::Test
{
protected:
    using Window = std::unique_ptr<frm_Releve_SHOC>;

    void SetUp() override
    {
        for (const data::TableInstallation& t : data::installStarterTables(env.programFolder()))
            ASSERT_EQ(t.state, data::InstallState::Installed) << t.error.toStdString();
        gstr_Dossier = env.dataFolder();
    }

    // beforeShown, when given, prepares the window (its pages...) before it is shown.
    static Window openShown(record::RecordMode mode, const QString& file = QString(),
                            const std::function<void(frm_Releve_SHOC&)>& beforeShown = {})
    {
        Window w(frm_Releve_SHOC::openWindow(record::RecordRequest{mode, file, QString()}));
        EXPECT_TRUE(w);
        if (!w)
            return w;
        if (beforeShown)
            beforeShown(*w);
        w->show();
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        return w;
    }

    testing_support::TestEnvironment env;
};

} // namespace record_samples
