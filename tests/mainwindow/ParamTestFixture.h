#pragma once
// What the settings window's logic suites share: a fresh environment, the database stand-in, the
// grid and the editor loaded in a mode, the administrator's code and the program's files.

#include "common/Globals.h"
#include "common/OptionMarks.h"
#include "common/ParamConfig.h"
#include "common/Settings.h"
#include "data/StarterTables.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "mainwindow/ParamEditor.h"
#include "tests/mainwindow/ParamSupport.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TestEnvironment.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace param_test {

using grid::Grid;
using grid::GridFile;
using grid::GridRange;
using mainwindow::Display;
using mainwindow::TableState;
using Mode = common::ParamMode;
using mainwindow::ParamEditor;
using param_support::dump;
using param_support::readAsRecordWindow;
using param_support::writeTable;
namespace mb = platform::mb;

inline const QString kSHOC = common::kShocCoordinationAddress;
inline const QString kSTOC = common::kStocEpsCoordinationAddress;

inline const QString kEspecesTsv = QStringLiteral("Classe\tEspèce\tNom français\tNom scientifique\tSaisie\n"
                                                  "O\tSTUVUL\tÉtourneau sansonnet\tSturnus vulgaris\t1\n"
                                                  "O\tALAARV\tAlouette des champs\tAlauda arvensis\t2\n"
                                                  "M\tLEPEUR\tLièvre d'Europe\tLepus europaeus\t2\n");

class ParamTest : public testing::Test
{
protected:
    testing_support::TestEnvironment env;
    param_support::FakeRowSource source;
    Grid grille;
    std::unique_ptr<ParamEditor> ed;

    ParamTest() { QLocale::setDefault(QLocale::c()); }

    ParamEditor& charger(const QString& mode, const QString& protocole = QStringLiteral("SHOC"))
    {
        ed = std::make_unique<ParamEditor>(grille, source);
        ed->loadMode(mode, protocole);
        return *ed;
    }
    void administrateur(const QString& code = QStringLiteral("KORVEL-ADM"))
    {
        ASSERT_TRUE(sub_Reg_Write_HKLM(common::kAdminSection, QStringLiteral("PSWD"), code));
    }
    QString programme(const QString& nom) const { return env.programFolder() + QLatin1Char('/') + nom; }
    QString parametre(const QString& nom) const
    {
        return fun_Get_Setting_Str(common::kParametersSection, nom, QStringLiteral("<absent>"));
    }
};

} // namespace param_test
