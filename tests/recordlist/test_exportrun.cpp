#include "common/ExcelWriter.h"
#include "common/ExportLog.h"
#include "common/Globals.h"
#include "platform/Grid.h"
#include "platform/GridFile.h"
#include "record/RecordStore.h"
#include "recordlist/ExportRun.h"
#include "tests/recordlist/ExportSamples.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/WorkbookContents.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace recordlist;
using testing_support::readBytes;

namespace {

const QString kDate = "\t15/06/2010 12:00:00\r\n";
const QByteArray kOlderLine = "ANCIEN.FLX2009\t01/01/2009 10:00:00\r\n";

class ExportRunTest : public ::testing::Test
{
protected:
    testing_support::TestEnvironment env;
    QString data = env.dataFolder();

    void SetUp() override
    {
        Sub_Test_Version_Excel(gbol_Excel_Disponible, gstr_Version_Excel, glng_Lignes_Par_Feuille);
        export_samples::writeTables();
    }
    QString path(const QString& name) const { return QDir(data).filePath(name); }
    // A record of its own site.
    QString record(const QString& place, int parcels = 1)
    {
        record::SurveyRecord r = export_samples::oneParcel();
        r.placeName = place;
        r.siteName = "SHOC-07~Privas~" + place + "~MARTIN Anne~Hiver 2009-2010";
        while (r.parcels.size() < parcels)
            r.parcels.append(r.parcels[0]);
        return export_samples::writeRecord(data, r);
    }
    QString log() const { return QString::fromUtf8(readBytes(path("LOG_EXPORT.TXT"))); }
    ExportOutcome run(ExportKind kind, const QStringList& records, const QString& target = QString())
    {
        ExportRequest r;
        r.kind = kind;
        r.records = records;
        r.targetFolder = kind == ExportKind::WorkbookPerRecord ? target : QString();
        r.combinedFile = kind == ExportKind::CombinedWorkbook ? target : QString();
        return ExportRun(data).run(r);
    }
    static QStringList texts(const ExportOutcome& o)
    {
        QStringList t;
        for (const ExportNotice& n : o.notices)
            t << n.text;
        return t;
    }
    // The values of a column of the workbook's first sheet, read back with the grid's reader.
    static QStringList column(const QString& workbook, const QString& header)
    {
        platform::Grid g;
        EXPECT_TRUE(platform::GridFile::load(g, workbook, platform::GridFile::Workbook).ok)
            << workbook.toStdString();
        QStringList values;
        for (int c = 0; c < g.cols(); ++c)
            if (g.cell(0, c) == header)
                for (int r = 1; r < g.rows(); ++r)
                    values << g.cell(r, c);
        return values;
    }
};

} // namespace

TEST_F(ExportRunTest, OneWorkbookPerRecordBesideTheRecordsNeverOverThem)
{
    // Names whose extension a case-sensitive ".FLX2009" would miss.
    const QString a = record("Les Blaches");
    const QString lower = record("Le Moulin").replace(".FLX2009", ".flx2009");
    const QString other = "SHOC-07~Privas~Bois.OLDFLX2009";
    ASSERT_TRUE(QFile::rename(path(record("Le Moulin")), path(lower)));
    ASSERT_TRUE(QFile::copy(path(a), path(other)));
    const QList<QByteArray> before = {readBytes(path(a)), readBytes(path(lower)), readBytes(path(other))};

    const ExportOutcome o = run(ExportKind::WorkbookPerRecord, {a, lower, other}, data);
    EXPECT_EQ(o.exported, QStringList({a, lower, other}));
    EXPECT_EQ(o.files, QStringList({path(a.chopped(8) + ".xlsx"), path(lower.chopped(8) + ".xlsx"),
                                    path("SHOC-07~Privas~Bois.xlsx")}));
    EXPECT_EQ(QList<QByteArray>({readBytes(path(a)), readBytes(path(lower)), readBytes(path(other))}),
              before);
    EXPECT_EQ(texts(o), QStringList({"Traitement terminé"}));
    EXPECT_EQ(o.selectAgain, QStringList({a, lower, other}));
    EXPECT_TRUE(o.refreshList);
    EXPECT_EQ(log(), other + kDate + lower + kDate + a + kDate);

    // The marks that keep a cell a text are gone, the text stays: "07", not 7 nor "'07".
    EXPECT_EQ(column(o.files[0], "Département"), QStringList(6, "07"));
    EXPECT_EQ(column(o.files[0], "Code inventaire").value(0), "10007078451965401");
    EXPECT_EQ(column(o.files[0], "SHOC-MPPCH").value(0), "-1");
    const testing_support::WorkbookContents book = testing_support::readWorkbookContents(o.files[0]);
    ASSERT_TRUE(book.ok) << book.error.toStdString();
    EXPECT_EQ(book.sheetNames(), QStringList({"SHOC"}));
    for (int col : {3, 8}) // Code inventaire, Département
        EXPECT_EQ(book.sheets[0].cell(1, col)->type, testing_support::WorkbookCell::Type::Text) << col;
}

TEST_F(ExportRunTest, WhatIsNotWrittenIsNeitherCountedNorLoggedNorAnnouncedAsCreated)
{
    const QString a = record("Les Blaches");
    const QString b = record("Le Moulin");
    record::SurveyRecord broken = export_samples::oneParcel();
    broken.parcels.append(broken.parcels[0]);
    platform::Grid g;
    export_samples::writeGrid(broken, g);
    g.setCell(g.findRow("Météo", 0, 1), 1, "");
    export_samples::writeRecordGrid(data, "SHOC-07~Refus~Passage N1.FLX2009", g);
    const QString folder = env.path("classeurs");
    ASSERT_TRUE(QDir().mkpath(folder + "/" + b.chopped(8) + ".xlsx")); // a folder in the way of b's workbook
    testing_support::writeBytes(path("LOG_EXPORT.TXT"), kOlderLine);

    const ExportOutcome o =
        run(ExportKind::WorkbookPerRecord, {a, "SHOC-07~Refus~Passage N1.FLX2009", b}, folder);
    EXPECT_EQ(o.exported, QStringList({a}));
    ASSERT_EQ(o.failures.size(), 2);
    EXPECT_EQ(o.failures[0], ExportFailure({"SHOC-07~Refus~Passage N1.FLX2009",
                                            "Le fichier " + path("SHOC-07~Refus~Passage N1.FLX2009") +
                                                " n'est pas conforme."}));
    EXPECT_EQ(o.failures[1].name, b);
    EXPECT_TRUE(o.failures[1].reason.contains("ne peut pas être écrit"))
        << o.failures[1].reason.toStdString();
    EXPECT_EQ(texts(o), QStringList({o.failures[0].reason, o.failures[1].reason,
                                     "Traitement terminé : 1 relevé(s) exporté(s) sur 3."}));
    EXPECT_FALSE(QFileInfo::exists(folder + "/SHOC-07~Refus~Passage N1.xlsx"));
    EXPECT_EQ(log(), a + kDate + QString::fromUtf8(kOlderLine));

    // One record: the message names that record's workbook, and only when it was written.
    const ExportOutcome one = run(ExportKind::WorkbookPerRecord, {a}, folder);
    EXPECT_EQ(texts(one), QStringList({"Le fichier " + folder + "/" + a.chopped(8) + ".xlsx a été créé."}));
    EXPECT_EQ(texts(run(ExportKind::WorkbookPerRecord, {b}, folder)), QStringList({o.failures[1].reason}));
}

TEST_F(ExportRunTest, OneWorkbookTakesOnlyTheRecordsThatPassWhole)
{
    const QString a = record("Les Blaches");
    const QString c = record("Le Moulin");
    // Refused at its second parcel, after the first parcel's rows were built.
    platform::Grid g;
    record::SurveyRecord two = export_samples::oneParcel();
    two.parcels.append(two.parcels[0]);
    export_samples::writeGrid(two, g);
    g.setCell(g.findRow("Espèces Parcelle N°2", 0, 1), 1, "");
    export_samples::writeRecordGrid(data, "SHOC-07~Refus~Passage N1.FLX2009", g);
    testing_support::writeBytes(path("LOG_EXPORT.TXT"), kOlderLine);

    const ExportOutcome o =
        run(ExportKind::CombinedWorkbook, {a, "SHOC-07~Refus~Passage N1.FLX2009", c}, "tout.csv");
    EXPECT_EQ(o.exported, QStringList({a, c}));
    EXPECT_EQ(o.files, QStringList({path("tout.xlsx")}));
    EXPECT_EQ(o.sheets, 1);
    EXPECT_EQ(texts(o), QStringList({o.failures.value(0).reason,
                                     "Traitement terminé : 2 relevé(s) exporté(s) sur 3."}));
    QStringList sites = QStringList(6, "SHOC-07~Privas~Les Blaches~MARTIN Anne~Hiver 2009-2010") +
                        QStringList(6, "SHOC-07~Privas~Le Moulin~MARTIN Anne~Hiver 2009-2010");
    EXPECT_EQ(column(path("tout.xlsx"), "Site"), sites);
    EXPECT_EQ(log(), c + kDate + a + kDate + QString::fromUtf8(kOlderLine));
    EXPECT_EQ(testing_support::readWorkbookContents(path("tout.xlsx")).sheetNames(),
              QStringList({"STOC-EPS"}));

    // Rows beyond a sheet go on further sheets, and the user is warned.
    glng_Lignes_Par_Feuille = 5;
    const ExportOutcome many = run(ExportKind::CombinedWorkbook, {a, c}, "tout.xlsx");
    EXPECT_EQ(many.sheets, 3);
    EXPECT_TRUE(texts(many).value(0).contains("contraint à créer 3 feuilles"))
        << texts(many).value(0).toStdString();
    EXPECT_EQ(texts(many).value(1), "Traitement terminé");
}

TEST_F(ExportRunTest, OneWorkbookThatCannotBeWrittenLeavesTheLogAsItWas)
{
    const QString a = record("Les Blaches");
    ASSERT_TRUE(QDir().mkpath(path("bloque.xlsx")));
    testing_support::writeBytes(path("LOG_EXPORT.TXT"), kOlderLine);
    const ExportOutcome o = run(ExportKind::CombinedWorkbook, {a, record("Le Moulin")}, path("bloque.xlsx"));
    EXPECT_TRUE(o.exported.isEmpty());
    EXPECT_TRUE(o.files.isEmpty());
    ASSERT_EQ(o.failures.size(), 1);
    EXPECT_EQ(o.failures[0].name, path("bloque.xlsx"));
    EXPECT_EQ(texts(o), QStringList({o.failures[0].reason}));
    EXPECT_FALSE(o.refreshList);
    EXPECT_EQ(readBytes(path("LOG_EXPORT.TXT")), kOlderLine);

    const ExportOutcome none = run(ExportKind::CombinedWorkbook, {"absent.FLX2009"}, "x.xlsx");
    EXPECT_EQ(texts(none).last(),
              "Aucun relevé n'a pu être exporté : le fichier " + path("x.xlsx") + " n'est pas créé.");
    EXPECT_FALSE(QFileInfo::exists(path("x.xlsx")));
}

TEST_F(ExportRunTest, TheLogIsWrittenOnceWholeOrNotAtAll)
{
    testing_support::writeBytes(path("LOG_EXPORT.TXT"), kOlderLine);
    {
        // A full disk: the new log cannot be written and the old one stays byte for byte.
        const testing_support::FileSizeLimit limit(kOlderLine.size() + 10);
        EXPECT_FALSE(common::logExports(data, {"A.FLX2009", "B.FLX2009"}).ok);
    }
    EXPECT_EQ(readBytes(path("LOG_EXPORT.TXT")), kOlderLine);
    EXPECT_EQ(QDir(data).entryList(QDir::Files), QStringList({"LOG_EXPORT.TXT"}));

    // A log that cannot be read: the records are exported all the same, and the user told why.
    QFile::remove(path("LOG_EXPORT.TXT"));
    ASSERT_TRUE(QDir().mkpath(path("LOG_EXPORT.TXT")));
    const ExportOutcome o = run(ExportKind::CombinedWorkbook, {record("Les Blaches")}, "tout.xlsx");
    EXPECT_EQ(o.exported.size(), 1);
    EXPECT_FALSE(o.log.ok);
    EXPECT_FALSE(o.refreshList);
    EXPECT_TRUE(texts(o).last().contains("LOG_EXPORT.TXT")) << texts(o).last().toStdString();
}

TEST_F(ExportRunTest, MailToEachTickedCorrespondentCountsWhatLeft)
{
    const QString a = record("Les Blaches");
    const QString b = record("Le Moulin");
    ExportRequest r;
    r.kind = ExportKind::Mail;
    r.records = {a, b};
    r.recipients = {"correspondant@exemple.fr", "pas une adresse", "adjoint@exemple.org"};
    const ExportOutcome o = ExportRun(data).run(r);
    EXPECT_EQ(o.mailsSent, 2);
    ASSERT_EQ(env.mail().sent.size(), 2);
    const platform::MailMessage& m = env.mail().sent[1].message;
    EXPECT_EQ(m.recipients, QStringList({"adjoint@exemple.org"}));
    EXPECT_EQ(m.subject, "Mirelot : Fichier EPS");
    EXPECT_EQ(m.bodyText(), "Fichier(s) EPS");
    EXPECT_EQ(m.attachments.size(), 2);
    EXPECT_EQ(m.attachments.value(1).path, path(b));
    EXPECT_EQ(env.mail().sent[1].transport, platform::MailTransport::SendAtOnce);
    ASSERT_EQ(o.failures.size(), 1);
    EXPECT_EQ(o.failures[0].name, "pas une adresse");
    EXPECT_EQ(
        texts(o),
        QStringList({o.failures[0].reason,
                     "2 courriels ont été créés dans votre boîte d'envoi et attendent d'être envoyés."}));
    EXPECT_EQ(log(), b + kDate + a + kDate);
    EXPECT_EQ(env.mail().signOns, 1);

    // No mail left: nothing counted, logged or announced.
    env.mail().sent.clear();
    env.mail().sendError = "relais injoignable";
    r.recipients = {"correspondant@exemple.fr"};
    const ExportOutcome failed = ExportRun(data).run(r);
    EXPECT_EQ(failed.mailsSent, 0);
    EXPECT_TRUE(failed.exported.isEmpty());
    EXPECT_EQ(
        texts(failed),
        QStringList({"Le courriel à correspondant@exemple.fr n'a pas été envoyé : relais injoignable"}));
    EXPECT_EQ(log(), b + kDate + a + kDate);

    // No transport, or no correspondent ticked: nothing done.
    env.mail().hasSendAtOnce = false;
    EXPECT_TRUE(ExportRun(data).run(r).started.error.startsWith("Envoi du fichier par messagerie Internet"));
    r.recipients.clear();
    EXPECT_TRUE(
        ExportRun(data).run(r).started.error.startsWith("Veuillez sélectionner au moins une adresse"));
    EXPECT_TRUE(env.mail().sent.isEmpty());
}

TEST(ExportSelection, TheConfirmationNamesWhatIsExported)
{
    // The current row of the list is the first record, which is not valid.
    const ExportSelection one = selectForExport({{"A.FLX2009", "Non Validé"}, {"B.FLX2009", ""}});
    EXPECT_EQ(one.records, QStringList({"B.FLX2009"}));
    EXPECT_EQ(one.confirmation, "Confirmez votre intention de exporter l'EPS B.FLX2009");
    EXPECT_TRUE(
        one.notValidQuestion.contains("Sur les 2 fichier(s) que vous avez sélectionné, 1 sont notés"));

    const ExportSelection two =
        selectForExport({{"A.FLX2009", ""}, {"B.FLX2009", " "}, {"C.FLX2009", "Non Validé"}});
    EXPECT_EQ(two.confirmation, "Confirmez votre intention d'exporter 2 EPS.");
    EXPECT_EQ(two.oneWorkbookCaption, "Alimenter un seul fichier avec les 2 fichiers sélectionnés");

    EXPECT_TRUE(selectForExport({{"A.FLX2009", "Non Validé"}}).confirmation.isEmpty());
}

TEST(ExportTargets, WorkbooksOnly)
{
    const struct
    {
        QString typed, path;
    } combined[] = {
        {"export", "/d/export.xlsx"},
        {"export.XLSX", "/d/export.XLSX"},
        {"export.csv", "/d/export.xlsx"},
        {"export.txt", "/d/export.xlsx"},
        {"/autre/export.Xls", "/autre/export.xlsx"},
        {"R.FLX2009", "/d/R.FLX2009.xlsx"},
        {" sous\\export ", "/d/sous/export.xlsx"},
    };
    for (const auto& c : combined)
        EXPECT_EQ(combinedWorkbookPath("/d", c.typed), c.path) << c.typed.toStdString();
    EXPECT_EQ(recordWorkbookPath("/d", "SHOC-07~X~Passage N1.flx2009"), "/d/SHOC-07~X~Passage N1.xlsx");
    EXPECT_EQ(combinedWorkbookRequest("/d").filter, "Classeur Excel (*.xlsx)|*.xlsx");
}
