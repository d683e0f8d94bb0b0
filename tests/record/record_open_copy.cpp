// A copy of the program with a record open, for the record store's tests of two copies working on
// the same record file. It opens the record file, says it is ready and at the moment given acts:
//   save N    saves the record N times, the visit comment followed by the number of the save
//   rename    saves the record under another observer's name, so that its file is renamed
//   aside     sets the record file aside, as the record list's deletion does
//   bulk      writes the comment given as the e-mail address by the bulk update, printed as a save
// Arguments: the data folder, the file opened, the action, the visit comment written, the answer
// to every question ("oui" or "non") and, for save, the number of saves. Prints "asked" for each
// question, "told" for each message, then for each save "notice" when it has one, "saved", the file name and
// the comment, "declined", or "failed" and the reason; for aside "aside" and the new name.

#include "common/Globals.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "record/BulkUpdate.h"
#include "record/RecordStore.h"
#include "tests/support/TwoCopies.h"

#include <QCoreApplication>

#include <cstdlib>
#include <iostream>

namespace {

class ScriptedUser : public platform::Dialogs
{
public:
    explicit ScriptedUser(bool yes) : m_answer(yes ? platform::mb::Yes : platform::mb::No) {}
    int ask(const QString&, int style, const QString&) override
    {
        if (platform::mb::buttons(style) == platform::mb::YesNo) {
            std::cout << "asked" << std::endl;
            return m_answer;
        }
        std::cout << "told" << std::endl;
        return platform::mb::defaultAnswer(style);
    }
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override { return input; }
    std::optional<QString> openFileName(const platform::FileRequest&) override { return {}; }
    std::optional<QString> saveFileName(const platform::FileRequest&) override { return {}; }
    QString input; // typed into every input box

private:
    int m_answer;
};

void print(const record::SaveResult& saved, const QString& comment)
{
    if (!saved.notice.isEmpty())
        std::cout << "notice" << std::endl;
    if (saved.result.ok)
        std::cout << "saved " << saved.fileName.toStdString() << " | " << comment.toStdString() << std::endl;
    else if (saved.declined)
        std::cout << "declined" << std::endl;
    else
        std::cout << "failed " << saved.result.error.toStdString() << std::endl;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 6)
        return 2;
    const QString folder = QString::fromUtf8(argv[1]);
    QString opened = QString::fromUtf8(argv[2]);
    const QString action = QString::fromUtf8(argv[3]);
    const QString comment = QString::fromUtf8(argv[4]);
    const int saves = argc > 6 ? std::atoi(argv[6]) : 1;
    platform::Registry settings{QString()};
    ScriptedUser dialogs(QString::fromUtf8(argv[5]) == QLatin1String("oui"));
    dialogs.input = comment;
    platform::SystemClock clock;
    platform::installServices({&settings, &dialogs, nullptr, &clock, nullptr, nullptr, nullptr});
    const record::RecordStore store(folder);
    const record::RecordReadResult read = store.open(opened, {record::RecordMode::Update, {}, {}});
    if (!read.result.ok)
        return 3;
    record::SurveyRecord r = read.reading.record;

    testing_support::waitForTheStart();
    if (action == QLatin1String("aside")) {
        const record::SetAsideResult aside = store.setAside(opened);
        if (aside.result.ok)
            std::cout << "aside " << aside.fileName.toStdString() << std::endl;
        else
            std::cout << "failed " << aside.result.error.toStdString() << std::endl;
        return 0;
    }
    if (action == QLatin1String("bulk")) {
        gstr_Dossier = folder;
        const record::BulkUpdateResult done =
            record::updateRecordFiles(int(record::UpdateAction::Email), {opened});
        if (done.updated.isEmpty())
            std::cout << "failed " << done.failures.value(0).reason.toStdString() << std::endl;
        else
            std::cout << "saved " << opened.toStdString() << " | " << comment.toStdString() << std::endl;
        return 0;
    }
    if (action == QLatin1String("rename")) {
        r.observerName = QStringLiteral("MARTIN");
        r.siteName.replace(QStringLiteral("DUPONT"), QStringLiteral("MARTIN"));
    }
    for (int k = 1; k <= saves; ++k) {
        r.visitComment = saves == 1 ? comment : QStringLiteral("%1 %2").arg(comment).arg(k);
        const record::SaveResult saved = store.save(r, opened);
        print(saved, r.visitComment);
        if (saved.result.ok)
            opened = saved.fileName;
    }
    return 0;
}
