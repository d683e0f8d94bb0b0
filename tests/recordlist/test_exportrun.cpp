#include "common/ExcelWriter.h"
#include "common/ExportLog.h"
#include "common/Globals.h"
#include "common/Paths.h"
#include "common/Settings.h"
#include "grid/Grid.h"
#include "grid/GridFile.h"
#include "platform/SaveFile.h"
#include "recordlist/ExportRun.h"
#include "recordlist/ExportTable.h"
#include "tests/samples/ExportSamples.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/HostileFiles.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/WorkbookContents.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace recordlist;
using testing_support::readBytes;

namespace {

const QString kDate = "\t15/06/2010 12:00:00\r\n";
const QByteArray kOlderLine = "ANCIEN.FLX2009\t01/01/2009 10:00:00\r\n";
const QString kRefused = "SHOC-07~Refus~Passage N1.FLX2009";

// The column of a sheet whose header (row 0) is the text given; -1 when there is none.
int columnOf(const testing_support::WorkbookSheet& sheet, const QString& header)
{
    for (int c = 0; c < sheet.colCount; ++c)
        if (sheet.value(0, c) == header)
            return c;
    return -1;
}

class ExportRunTest : public ::testing::Test
{
protected:
    testing_support::TestEnvironment env;
    QString data = env.dataFolder();
    QString a, b;
    // The table of the last run, as the window keeps it.
    grid::Grid table;

    void SetUp() override
    {
        Sub_Test_Version_Excel(gbol_Excel_Disponible, gstr_Version_Excel, glng_Lignes_Par_Feuille);
        export_samples::writeTables();
        a = record("Les Blaches");
        b = record("Le Moulin");
        testing_support::writeBytes(path("LOG_EXPORT.TXT"), kOlderLine);
    }
    QString path(const QString& name) const { return QDir(data).filePath(name); }
    QString record(const QString& place, const QString& name = QString(), const QString& blanked = QString())
    {
        record::SurveyRecord r = export_samples::oneParcel(2);
        r.siteName = "SHOC-07~Privas~" + place + "~MARTIN Anne~Hiver 2009-2010";
        return export_samples::writeRecord(data, r, name, blanked);
    }
    QString log() const { return QString::fromUtf8(readBytes(path("LOG_EXPORT.TXT"))); }
    ExportOutcome run(ExportKind kind, const QStringList& records, const QString& target)
    {
        ExportRequest r;
        r.kind = kind;
        r.records = records;
        (kind == ExportKind::WorkbookPerRecord ? r.targetFolder : r.combinedFile) = target;
        return ExportRun(data).run(r, table);
    }
    static QStringList texts(const ExportOutcome& o)
    {
        QStringList t;
        for (const ExportNotice& n : o.notices)
            t << n.text;
        return t;
    }
    // A column of the workbook's first sheet, read back with the grid's reader.
    static QStringList column(const QString& workbook, const QString& header)
    {
        grid::Grid g;
        EXPECT_TRUE(grid::GridFile::load(g, workbook, grid::GridFile::Workbook).ok);
        QStringList values;
        for (int c = 0; c < g.cols(); ++c)
            for (int r = 1; r < g.rows() && g.cell(0, c) == header; ++r)
                values << g.cell(r, c);
        return values;
    }
};

} // namespace

TEST_F(ExportRunTest, FindsTheReferenceTablesAsTheRecordWindowDoes)
{
    // The coordinators' tables under names of another letter case, one named by a setting written
    // with "\" separators: the export reads them as the record window and the settings window do.
    const QString programme = common::programFolder();
    ASSERT_TRUE(QDir(programme).rename("Milieux_SHOC.DOV", "MILIEUX_SHOC.DOV"));
    ASSERT_TRUE(QDir(programme).rename("Espèces.DOV", "ESPÈCES.DOV"));
    ASSERT_TRUE(
        sub_Reg_Write_HKLM(common::kParametersSection, "Fichier milieux SHOC",
                           QDir::toNativeSeparators(programme).replace('/', '\\') + "\\Milieux_SHOC.DOV"));
    const ExportSettingsReading read = readExportSettings(true);
    ASSERT_TRUE(read.result) << read.result.error.toStdString();
    EXPECT_EQ(read.settings.habitatCodes, export_samples::habitatCodes());
    EXPECT_EQ(read.settings.speciesCodes, export_samples::settings().speciesCodes);
}

TEST_F(ExportRunTest, OneWorkbookPerRecordBesideTheRecordsNeverOverThem)
{
    // Names whose extension a case-sensitive ".FLX2009" would miss.
    const QString lower = record("Le Gué", "SHOC-07~Gué~Passage N1.flx2009");
    const QString other = record("Le Bois", "SHOC-07~Bois.OLDFLX2009");
    const QList<QByteArray> before = {readBytes(path(lower)), readBytes(path(other))};

    const ExportOutcome o = run(ExportKind::WorkbookPerRecord, {a, lower, other}, data);
    EXPECT_EQ(o.exported, QStringList({a, lower, other}));
    EXPECT_EQ(o.files, QStringList({path(a.chopped(8) + ".xlsx"), path("SHOC-07~Gué~Passage N1.xlsx"),
                                    path("SHOC-07~Bois.xlsx")}));
    EXPECT_EQ(QList<QByteArray>({readBytes(path(lower)), readBytes(path(other))}), before);
    EXPECT_EQ(texts(o), QStringList({"Traitement terminé"}));
    EXPECT_EQ(o.selectAgain, QStringList({a, lower, other}));
    EXPECT_EQ(log(), other + kDate + lower + kDate + a + kDate + kOlderLine);

    // The marks that keep a cell a text are gone and the text stays: "07", neither 7 nor "'07".
    EXPECT_EQ(column(o.files[0], "Département"), QStringList(12, "07"));
    EXPECT_EQ(column(o.files[0], "Code inventaire").value(0), "10007078451965401");
    EXPECT_EQ(column(o.files[0], "SHOC-MPPCH").value(0), "-1");
    const testing_support::WorkbookContents book = testing_support::readWorkbookContents(o.files[0]);
    EXPECT_EQ(book.sheetNames(), QStringList({"SHOC"}));
    const testing_support::WorkbookSheet sheet = book.sheets.value(0);
    for (const auto& [header, value] :
         {std::pair{"Code inventaire", "10007078451965401"}, std::pair{"Département", "07"}}) {
        const int col = columnOf(sheet, header);
        ASSERT_GE(col, 0) << header;
        EXPECT_EQ(sheet.value(1, col), value);
        EXPECT_EQ(sheet.cell(1, col)->type, testing_support::WorkbookCell::Type::Text);
    }
}

TEST_F(ExportRunTest, WhatIsNotWrittenIsNeitherCountedNorLoggedNorAnnouncedAsCreated)
{
    record("Refus", kRefused, "Météo");
    const QString folder = env.path("classeurs");
    ASSERT_TRUE(QDir().mkpath(folder + "/" + b.chopped(8) + ".xlsx")); // a folder in the way of b's workbook

    const ExportOutcome o = run(ExportKind::WorkbookPerRecord, {a, kRefused, b}, folder);
    EXPECT_EQ(o.exported, QStringList({a}));
    EXPECT_EQ(table.rows(), 1 + 12);
    ASSERT_EQ(o.failures.size(), 2);
    EXPECT_EQ(o.failures[0],
              ExportFailure({kRefused, "Le fichier " + path(kRefused) + " n'est pas conforme."}));
    EXPECT_EQ(o.failures[1].name, b);
    EXPECT_TRUE(o.failures[1].reason.contains("ne peut pas être écrit"))
        << o.failures[1].reason.toStdString();
    EXPECT_EQ(texts(o), QStringList({o.failures[0].reason, o.failures[1].reason,
                                     "Traitement terminé : 1 relevé(s) exporté(s) sur 3."}));
    EXPECT_FALSE(QFileInfo::exists(folder + "/" + kRefused.chopped(8) + ".xlsx"));
    EXPECT_EQ(log(), a + kDate + kOlderLine);

    // One record: the message names its workbook, and only when it was written.
    EXPECT_EQ(texts(run(ExportKind::WorkbookPerRecord, {a}, folder)),
              QStringList({"Le fichier " + folder + "/" + a.chopped(8) + ".xlsx a été créé."}));
    EXPECT_EQ(texts(run(ExportKind::WorkbookPerRecord, {b}, folder)), QStringList({o.failures[1].reason}));
}

TEST_F(ExportRunTest, OneWorkbookTakesOnlyTheRecordsThatPassWhole)
{
    // Refused at its second parcel, after the first parcel's rows were built.
    record("Refus", kRefused, "Espèces Parcelle N°2");
    const ExportOutcome o = run(ExportKind::CombinedWorkbook, {a, kRefused, b}, "tout.csv");
    EXPECT_EQ(o.exported, QStringList({a, b}));
    EXPECT_EQ(o.files, QStringList({path("tout.xlsx")}));
    EXPECT_EQ(texts(o), QStringList({o.failures.value(0).reason,
                                     "Traitement terminé : 2 relevé(s) exporté(s) sur 3."}));
    EXPECT_EQ(column(path("tout.xlsx"), "Lieudit").size(), 24);
    EXPECT_EQ(table.rows(), 1 + 24); // what the window shows: the workbook's rows, no others
    EXPECT_EQ(column(path("tout.xlsx"), "Site").value(12),
              "SHOC-07~Privas~Le Moulin~MARTIN Anne~Hiver 2009-2010");
    EXPECT_EQ(testing_support::readWorkbookContents(path("tout.xlsx")).sheetNames(),
              QStringList({"STOC-EPS"}));
    EXPECT_EQ(log(), b + kDate + a + kDate + kOlderLine);

    // Rows beyond a sheet go on further sheets, and the user is warned.
    glng_Lignes_Par_Feuille = 11;
    const ExportOutcome many = run(ExportKind::CombinedWorkbook, {a, b}, "tout.xlsx");
    EXPECT_EQ(many.sheets, 3);
    EXPECT_TRUE(texts(many).value(0).contains("contraint à créer 3 feuilles"));

    // A workbook that cannot be written: nothing counted, the log as it was.
    const QByteArray logged = readBytes(path("LOG_EXPORT.TXT"));
    ASSERT_TRUE(QDir().mkpath(path("bloque.xlsx")));
    const ExportOutcome blocked = run(ExportKind::CombinedWorkbook, {a, b}, "bloque.xlsx");
    EXPECT_TRUE(blocked.exported.isEmpty());
    EXPECT_EQ(table.rows(), 1);
    EXPECT_EQ(table.cols(), 1);
    EXPECT_EQ(texts(blocked), QStringList({blocked.failures.value(0).reason}));
    EXPECT_EQ(readBytes(path("LOG_EXPORT.TXT")), logged);
}

TEST_F(ExportRunTest, TheOneWorkbookIsWrittenFromTheTableThatStaysInItsGrid)
{
    // What an earlier run or the user left in the grid: rows, a hidden column, a column of width 0.
    table.setCols(80);
    table.setRows(5);
    table.setCell(3, 2, "ancien");
    table.setColHidden(2, true);
    table.setColWidth(4, 0);

    const ExportOutcome o = run(ExportKind::CombinedWorkbook, {a, b}, "tout.xlsx");
    ASSERT_EQ(o.exported, QStringList({a, b}));
    const testing_support::WorkbookContents book = testing_support::readWorkbookContents(path("tout.xlsx"));
    ASSERT_EQ(book.sheets.size(), 1);
    const testing_support::WorkbookSheet& sheet = book.sheets[0];
    EXPECT_EQ(table.fixedRows(), 1);
    EXPECT_EQ(table.rows(), sheet.rowCount);
    EXPECT_EQ(table.cols(), sheet.colCount + 1); // column 0 is not written
    for (int c = 1; c < table.cols(); ++c) {
        EXPECT_FALSE(table.colHidden(c));
        EXPECT_NE(table.colWidth(c), 0);
        EXPECT_EQ(table.cell(0, c), sheet.value(0, c - 1));
    }
    const int site = columnOf(sheet, "Site");
    ASSERT_GE(site, 0);
    for (int r = 1; r < table.rows(); ++r)
        EXPECT_EQ(table.cell(r, site + 1), sheet.value(r, site)) << r;
    EXPECT_EQ(table.cell(13, site + 1), "SHOC-07~Privas~Le Moulin~MARTIN Anne~Hiver 2009-2010");

    // A mail builds no table.
    ExportRequest mail;
    mail.kind = ExportKind::Mail;
    mail.records = {a};
    static_cast<void>(ExportRun(data).run(mail, table));
    EXPECT_EQ(table.rows(), 1);
    EXPECT_EQ(table.cols(), 1);
}

TEST_F(ExportRunTest, TheLogIsReplacedWholeOrNotAtAll)
{
    const testing_support::FileSizeLimit fullDisk(kOlderLine.size() + 10);
    EXPECT_FALSE(common::logExports(data, {a, b}).ok);
    EXPECT_EQ(readBytes(path("LOG_EXPORT.TXT")), kOlderLine);
    EXPECT_EQ(QDir(data).entryList({"*.TXT*"}, QDir::Files), QStringList({"LOG_EXPORT.TXT"}));
}

TEST_F(ExportRunTest, ALogThatIsALinkIsNotWrittenThroughAndTheExportGoesOn)
{
    const QString elsewhere = env.path("notes.txt"); // a user's file outside the data folder
    testing_support::writeBytes(elsewhere, kOlderLine);
    QFile::remove(path("LOG_EXPORT.TXT"));
    ASSERT_TRUE(QFile::link(elsewhere, path("LOG_EXPORT.TXT")));

    const ExportOutcome o = run(ExportKind::WorkbookPerRecord, {a}, data);
    EXPECT_EQ(o.exported, QStringList({a}));
    EXPECT_TRUE(QFileInfo(path(a.chopped(8) + ".xlsx")).isFile()) << "the workbook is written";
    const QString why =
        platform::readFailureText(path("LOG_EXPORT.TXT"), QStringLiteral("c'est un lien symbolique"));
    EXPECT_EQ(o.log.error, why);
    EXPECT_TRUE(texts(o).contains(
        "Cette exportation n'a pas été inscrite dans le journal des exportations.\n\n" + why))
        << texts(o).join("\n---\n").toStdString();
    EXPECT_EQ(readBytes(elsewhere), kOlderLine);
    EXPECT_TRUE(QFileInfo(path("LOG_EXPORT.TXT")).isSymLink());
}

TEST_F(ExportRunTest, MailToEachTickedCorrespondentCountsWhatLeft)
{
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
    EXPECT_EQ(m.attachments.value(1).path, path(b));
    EXPECT_EQ(o.failures.value(0).name, "pas une adresse");
    EXPECT_EQ(texts(o), QStringList({o.failures.value(0).reason, "2 courriels ont été créés dans votre boîte "
                                                                 "d'envoi et attendent d'être envoyés."}));
    EXPECT_EQ(log(), b + kDate + a + kDate + kOlderLine);

    // No mail left: nothing counted, logged or announced.
    env.mail().sendError = "relais injoignable";
    r.recipients = {"correspondant@exemple.fr"};
    const ExportOutcome failed = ExportRun(data).run(r);
    EXPECT_TRUE(failed.exported.isEmpty());
    EXPECT_EQ(texts(failed),
              QStringList({"Le courriel à correspondant@exemple.fr n'a pas été envoyé : relais "
                           "injoignable"}));
    EXPECT_EQ(log(), b + kDate + a + kDate + kOlderLine);

    // The user stops a mail that keeps the program waiting: the run ends there.
    env.mail().sendError.clear();
    env.mail().sendsBeforeStop = 1;
    r.recipients = {"correspondant@exemple.fr", "adjoint@exemple.org", "autre@exemple.org",
                    "dernier@exemple.org"};
    const int before = int(env.mail().sent.size());
    const ExportOutcome stopped = ExportRun(data).run(r);
    EXPECT_EQ(stopped.mailsSent, 1);
    EXPECT_EQ(env.mail().sent.size(), before + 1);
    EXPECT_EQ(texts(stopped),
              QStringList({"Le courriel à adjoint@exemple.org n'a pas été envoyé : L'envoi du message a été "
                           "arrêté.",
                           "Un courriel a été créé dans votre boîte d'envoi et attend d'être envoyé.",
                           "L'envoi des courriels a été arrêté à votre demande : les courriels aux 2 "
                           "correspondants suivants n'ont pas été envoyés."}));

    // No transport, or no correspondent ticked: nothing done; the box names what is missing.
    env.mail().hasSendAtOnce = false;
    EXPECT_EQ(
        ExportRun(data).run(r).started.error,
        "Envoi du fichier par messagerie Internet\n\nTessilon est dans l'impossibilité d'envoyer le fichier "
        "d'exportation par Intenet (soit parce que vous ne disposez pas de service de messagerie, soit "
        "celui-ci n'est pas à la norme MAPI).\n\nAucun service d'envoi du courrier : la commande "
        "« sendmail » est introuvable.\n\nVeuillez prendre les dispositions nécessaires pour l'envoyer.");
    r.recipients.clear();
    EXPECT_TRUE(
        ExportRun(data).run(r).started.error.startsWith("Veuillez sélectionner au moins une adresse"));
}

// The mail takes a record whole: a file beyond the bounds of a record (a sparse one, or one
// declaring more rows than a record has) is not attached, and the reason names it.
TEST_F(ExportRunTest, ARecordFileBeyondTheBoundsIsNotMailed)
{
    const QString sparse = "SHOC-07~Privas~Creux~MARTIN Anne~Hiver 2009-2010~Passage N1.FLX2009";
    const QString declared = "SHOC-07~Privas~Vide~MARTIN Anne~Hiver 2009-2010~Passage N1.FLX2009";
    ASSERT_TRUE(hostile_files::sparse(path(sparse), 64LL << 20));
    ASSERT_TRUE(hostile_files::declaredRows(path(declared), 10'000'000, 1));
    ExportRequest r;
    r.kind = ExportKind::Mail;
    r.records = {sparse, a, declared};
    r.recipients = {"correspondant@exemple.fr"};
    const ExportOutcome o = ExportRun(data).run(r);
    EXPECT_EQ(o.mailsSent, 1);
    ASSERT_EQ(env.mail().sent.size(), 1);
    const QList<platform::MailAttachment>& attached = env.mail().sent[0].message.attachments;
    ASSERT_EQ(attached.size(), 1);
    EXPECT_EQ(attached[0].path, path(a));
    EXPECT_EQ(o.exported, QStringList{a});
    ASSERT_EQ(o.failures.size(), 2);
    const QString reason = QStringLiteral("Le fichier « %1 » ne peut pas être lu : %2");
    EXPECT_TRUE(o.failures[0].reason.startsWith(
        reason.arg(path(sparse), "il est trop grand pour un relevé (67108864 octets")))
        << o.failures[0].reason.toStdString();
    EXPECT_TRUE(o.failures[1].reason.startsWith(reason.arg(path(declared), "il annonce 10000000 lignes")))
        << o.failures[1].reason.toStdString();
    EXPECT_EQ(log(), a + kDate + kOlderLine);
}

TEST(ExportSelection, TheConfirmationNamesWhatIsExported)
{
    // The list's current row is the first one, which is not valid.
    const ExportSelection one = selectForExport({{"A.FLX2009", "Non Validé"}, {"B.FLX2009", ""}});
    EXPECT_EQ(one.records, QStringList({"B.FLX2009"}));
    EXPECT_EQ(one.confirmation, "Confirmez votre intention de exporter l'EPS B.FLX2009");
    EXPECT_TRUE(
        one.notValidQuestion.contains("Sur les 2 fichier(s) que vous avez sélectionné, 1 sont notés"));
    EXPECT_EQ(selectForExport({{"A.FLX2009", ""}, {"B.FLX2009", " "}}).confirmation,
              "Confirmez votre intention d'exporter 2 EPS.");
}

TEST(ExportTargets, WorkbooksOnly)
{
    const QStringList typed = {"export",    "export.XLSX",   "export.csv", "export.txt", "/autre/export.Xls",
                               "R.FLX2009", " sous\\export "};
    const QStringList paths = {"/d/export.xlsx",     "/d/export.XLSX",     "/d/export.xlsx",
                               "/d/export.xlsx",     "/autre/export.xlsx", "/d/R.FLX2009.xlsx",
                               "/d/sous/export.xlsx"};
    for (int i = 0; i < typed.size(); ++i)
        EXPECT_EQ(combinedWorkbookPath("/d", typed[i]), paths[i]) << typed[i].toStdString();
    EXPECT_EQ(combinedWorkbookRequest("/d").filter, "Classeur Excel (*.xlsx)|*.xlsx");
}
