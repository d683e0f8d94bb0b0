// Pictures of every page of the record window and of the record list's views, for
// tools/screenshot.sh: the main window placed on the screen as the program places it at its first
// start, a stored record of eight parcels opened for modification by the administrator, then each
// page shown in turn and the screen taken as a PNG file (the habitats also scrolled to their last
// column); the first page of a new record; last, the record list of a folder of records over three
// winters, its new-record frame, its export frame and its prospection view. Runs on a real display
// (Xvfb); MIRELOT_HOME names the folder it may fill. Boxes are answered with their default button.
//   window_pages <output folder>

#include "common/Globals.h"
#include "common/Paths.h"
#include "common/Settings.h"
#include "data/StarterTables.h"
#include "grid/GridView.h"
#include "mainwindow/frm_Menu.h"
#include "platform/Clock.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "record/RecordStore.h"
#include "record/SiteName.h"
#include "record/frm_Releve_SHOC.h"
#include "recordlist/frm_Liste_Releves_SHOC.h"

#include <QApplication>
#include <QDir>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <cstdio>

namespace {

// A complete record of eight parcels, with species on the first one.
record::SurveyRecord sampleRecord()
{
    record::SurveyRecord r;
    r.department = QStringLiteral("26 - Drôme");
    r.commune = QStringLiteral("Valence");
    r.placeName = QStringLiteral("Les Baumes");
    r.habitatType = QStringLiteral("CH - Culture de céréales d’hiver");
    r.network = QStringLiteral("SHOC / Suivi hivernal des oiseaux communs");
    r.generalComment = QStringLiteral("Site venté\nhaies basses");
    r.observerName = QStringLiteral("DUPONT");
    r.observerFirstName = QStringLiteral("Jean");
    r.email = QStringLiteral("jean.dupont@exemple.example");
    r.telephone = QStringLiteral("04 75 00 00 00");
    r.season = QStringLiteral("Hiver 2009-2010");
    r.date = QStringLiteral("12/01/2010");
    r.passage = 2;
    r.visitComment = QStringLiteral("Brouillard le matin");
    r.parcels.resize(8);
    for (int p = 0; p < 8; ++p) {
        record::Parcel& parcel = r.parcels[p];
        parcel.location = {r.department,
                           r.commune,
                           r.placeName,
                           {},
                           QString::number(800100 + 50 * p),
                           QString::number(1987400 + 40 * p),
                           {},
                           {},
                           QStringLiteral("124"),
                           p % 3 == 0,
                           true,
                           {},
                           {},
                           {}};
        parcel.habitats[size_t(p % 18)] = true;
        parcel.weather = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("3")};
        parcel.startTime = QStringLiteral("08:%1").arg(10 + 5 * p);
        parcel.duration = QStringLiteral("00:05");
        parcel.species = record::SpeciesTable();
    }
    r.parcels[0].species =
        record::SpeciesTable{{QStringLiteral("O"),
                              QStringLiteral("ALAARV"),
                              QStringLiteral("Alouette des champs"),
                              {QStringLiteral("3"), QStringLiteral("2"), {}, QStringLiteral("10")},
                              QStringLiteral("15"),
                              {}},
                             {QStringLiteral("O"),
                              QStringLiteral("PICPIC"),
                              QStringLiteral("Pie bavarde"),
                              {QStringLiteral("1"), {}, {}, {}},
                              QStringLiteral("1"),
                              {}}};
    r.siteName = record::sub_Build_Nom_Zone(r).text;
    return r;
}

// Records of other sites and winters beside the sample, for the list and the prospection view.
bool storeMoreRecords(const record::SurveyRecord& sample)
{
    struct Variant
    {
        const char* place;
        const char* observer;
        const char* season;
        const char* date;
        int passage;
        bool notValidated;
    };
    const Variant variants[] = {
        {"Les Baumes", "DUPONT", "Hiver 2009-2010", "02/12/2009", 1, false},
        {"Les Baumes", "DUPONT", "Hiver 2008-2009", "10/12/2008", 1, false},
        {"Champ Rond", "MARTIN", "Hiver 2009-2010", "05/12/2009", 1, true},
        {"Champ Rond", "MARTIN", "Hiver 2007-2008", "15/01/2008", 2, false},
        {"La Plaine", "BERNARD", "Hiver 2008-2009", "20/12/2008", 1, false},
    };
    for (const Variant& v : variants) {
        record::SurveyRecord r = sample;
        r.placeName = QString::fromUtf8(v.place);
        r.observerName = QString::fromUtf8(v.observer);
        r.season = QString::fromUtf8(v.season);
        r.date = QString::fromUtf8(v.date);
        r.passage = v.passage;
        r.notValidated = v.notValidated;
        r.parcels.resize(3);
        r.siteName = record::sub_Build_Nom_Zone(r).text;
        if (!record::RecordStore(gstr_Dossier).save(r).result.ok)
            return false;
    }
    return true;
}

void settle()
{
    for (int i = 0; i < 10; ++i) {
        QApplication::processEvents();
        QThread::msleep(50);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    if (argc < 2 || qEnvironmentVariableIsEmpty("MIRELOT_HOME")) {
        std::fprintf(stderr, "window_pages <output folder>, with MIRELOT_HOME set\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QDir home(qEnvironmentVariable("MIRELOT_HOME"));
    platform::Registry registry(platform::Registry::defaultStoreFile());
    platform::SystemClock clock;
    platform::installServices({&registry, nullptr, nullptr, &clock, nullptr});

    common::setProgramFolder(home.filePath(QStringLiteral("Programme")));
    for (const data::TableInstallation& t : data::installStarterTables(common::programFolder()))
        if (t.state == data::InstallState::Failed)
            return 1;
    gstr_Dossier = home.filePath(QStringLiteral("Donnees"));
    gbol_Excel_Disponible = true; // as the start sequence finds it
    QDir().mkpath(gstr_Dossier);
    if (!sub_Reg_Write_HKLM(common::kAdminSection, QStringLiteral("PSWD"), QStringLiteral("KORVEL-ADM")))
        return 1;
    const record::SaveResult saved = record::RecordStore(gstr_Dossier).save(sampleRecord());
    if (!saved.result.ok)
        return 1;

    frm_Menu menu;
    menu.showOnScreen();
    settle();
    QMdiSubWindow* frame = menu.openRecord({record::RecordMode::Update, saved.fileName, {}});
    if (!frame)
        return 1;
    auto* window = qobject_cast<frm_Releve_SHOC*>(frame->widget());
    if (!window)
        return 1;
    // The window's controls, by their names.
    auto* pages = window->findChild<QTabWidget*>(QStringLiteral("ogl_Divers"));
    auto* parcelPages = window->findChild<QTabWidget*>(QStringLiteral("ogl_Parcelles"));
    auto* habitats = window->findChild<grid::GridView*>(QStringLiteral("flx_Desc_Parcelles"));
    if (!pages || !parcelPages || !habitats)
        return 1;
    settle();

    struct Shot
    {
        int page;
        int parcelsPage;
        const char* name;
    };
    const Shot shots[] = {{0, 0, "record-page0-identification"}, {1, 0, "record-page1-locations"},
                          {1, 1, "record-page1-habitats"},       {2, 0, "record-page2-visit"},
                          {3, 0, "record-page3-species"},        {4, 0, "record-page4-stored"}};
    const auto shoot = [&](const char* name) {
        settle();
        const QString file = out.filePath(QString::fromLatin1(name) + QStringLiteral(".png"));
        std::printf("%s\n", qPrintable(file));
        return QGuiApplication::primaryScreen()->grabWindow(0).save(file);
    };
    for (const Shot& s : shots) {
        pages->setCurrentIndex(s.page);
        parcelPages->setCurrentIndex(s.parcelsPage);
        if (!shoot(s.name))
            return 1;
        if (s.page == 1 && s.parcelsPage == 1) {
            QScrollBar* sideways = habitats->horizontalScrollBar();
            sideways->setValue(sideways->maximum());
            if (!shoot("record-page1-habitats-scrolled"))
                return 1;
            sideways->setValue(0);
        }
    }
    if (!frame->close() || !menu.openRecord({}) || !shoot("record-new-identification"))
        return 1;
    if (!menu.recordWindow()->close()) {
        std::fprintf(stderr, "The new record's window did not close.\n");
        return 1;
    }
    if (!storeMoreRecords(sampleRecord())) {
        std::fprintf(stderr, "The list's records could not be stored.\n");
        return 1;
    }

    // The record list and its views.
    menu.item(QStringLiteral("Saisie"), 2)->trigger();
    settle();
    auto* list =
        menu.listWindow() ? qobject_cast<frm_Liste_Releves_SHOC*>(menu.listWindow()->widget()) : nullptr;
    if (!list) {
        std::fprintf(stderr, "The record list did not open.\n");
        return 1;
    }
    if (!shoot("list-records"))
        return 1;
    list->cmd_Ajout->click();
    if (!shoot("list-new-record"))
        return 1;
    list->cmd_Faux->click();
    list->grid().select(1, 1);
    list->grid().setRowSelected(1, true);
    list->grid().setRowSelected(2, true);
    list->cmd_Export->click();
    if (!shoot("list-export"))
        return 1;
    list->cmd_Faux->click();
    list->cmd_Prospection->click();
    return shoot("list-prospection") ? 0 : 1;
}
