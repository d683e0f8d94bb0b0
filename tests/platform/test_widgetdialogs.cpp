// The real message box, driven offscreen: its French buttons, default button, icon and
// answers, and the pointer the user sees over it.

#include "platform/WidgetDialogs.h"

#include "platform/MousePointer.h"
#include "platform/OverrideCursorPointer.h"
#include "platform/Services.h"

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace mb = platform::mb;

namespace {

struct Seen
{
    QStringList buttons;
    QString defaultButton;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
    std::optional<Qt::CursorShape> cursor; // the application's override pointer while shown
};

// Asks a box; once it is on screen, records what it shows and lets `act` close it.
int askAndAct(platform::WidgetDialogs& dialogs, int style, Seen* seen,
              const std::function<void(QMessageBox*)>& act)
{
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            ADD_FAILURE() << "no box on screen";
            return;
        }
        for (QAbstractButton* b : box->buttons())
            seen->buttons << b->text();
        if (box->defaultButton())
            seen->defaultButton = box->defaultButton()->text();
        seen->icon = box->icon();
        seen->title = box->windowTitle();
        seen->text = box->text();
        if (const QCursor* c = QApplication::overrideCursor())
            seen->cursor = c->shape();
        act(box);
    });
    return dialogs.ask(QStringLiteral("Texte\nsur deux lignes"), style, QStringLiteral("Mirelot"));
}

void press(QMessageBox* box, Qt::Key key) { QTest::keyClick(box, key); }

void click(QMessageBox* box, const QString& text)
{
    for (QAbstractButton* b : box->buttons())
        if (b->text() == text) {
            b->click();
            return;
        }
    ADD_FAILURE() << "no button " << text.toStdString();
    box->done(0);
}

} // namespace

TEST(WidgetDialogs, ButtonsDefaultAndIconFollowTheStyle)
{
    struct Row
    {
        int style;
        QStringList buttons; // in the box's order
        QString defaultButton;
        QMessageBox::Icon icon;
        int onEnter; // the answer of the default button
    };
    const Row rows[] = {
        {0, {"OK"}, "OK", QMessageBox::NoIcon, mb::OK},
        {mb::Exclamation, {"OK"}, "OK", QMessageBox::Warning, mb::OK},
        {mb::Critical, {"OK"}, "OK", QMessageBox::Critical, mb::OK},
        {mb::Information, {"OK"}, "OK", QMessageBox::Information, mb::OK},
        {mb::OKCancel, {"OK", "Annuler"}, "OK", QMessageBox::NoIcon, mb::OK},
        {35, {"Oui", "Non", "Annuler"}, "Oui", QMessageBox::Question, mb::Yes},
        {36, {"Oui", "Non"}, "Oui", QMessageBox::Question, mb::Yes},
        {52, {"Oui", "Non"}, "Oui", QMessageBox::Warning, mb::Yes},
        {308, {"Oui", "Non"}, "Non", QMessageBox::Warning, mb::No},
    };
    platform::WidgetDialogs dialogs;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.style);
        Seen seen;
        const int answer =
            askAndAct(dialogs, r.style, &seen, [](QMessageBox* b) { press(b, Qt::Key_Return); });
        QStringList sortedSeen = seen.buttons, sortedWanted = r.buttons;
        sortedSeen.sort();
        sortedWanted.sort();
        EXPECT_EQ(sortedSeen, sortedWanted); // the platform's style lays the buttons out
        EXPECT_EQ(seen.defaultButton, r.defaultButton);
        EXPECT_EQ(seen.icon, r.icon);
        EXPECT_EQ(seen.title, "Mirelot");
        EXPECT_EQ(seen.text, "Texte\nsur deux lignes");
        EXPECT_EQ(answer, r.onEnter);
    }
}

TEST(WidgetDialogs, EachButtonGivesItsAnswer)
{
    struct Row
    {
        int style;
        const char* button;
        int answer;
    };
    const Row rows[] = {
        {35, "Oui", mb::Yes}, {35, "Non", mb::No},        {35, "Annuler", mb::Cancel},
        {1, "OK", mb::OK},    {1, "Annuler", mb::Cancel},
    };
    platform::WidgetDialogs dialogs;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.button);
        Seen seen;
        EXPECT_EQ(askAndAct(dialogs, r.style, &seen,
                            [&](QMessageBox* b) { click(b, QString::fromUtf8(r.button)); }),
                  r.answer);
    }
    // Escape on a box with "Annuler" is that button.
    Seen seen;
    EXPECT_EQ(askAndAct(dialogs, 35, &seen, [](QMessageBox* b) { press(b, Qt::Key_Escape); }), mb::Cancel);
}

TEST(WidgetDialogs, BoxShowsTheOrdinaryPointerDuringLongWork)
{
    platform::OverrideCursorPointer screen;
    platform::Services services;
    services.pointer = &screen;
    const platform::Services previous = platform::installServices(services);
    platform::WidgetDialogs dialogs;
    {
        // Long work puts up the hourglass; a question asked meanwhile must not look busy.
        const platform::PointerGuard work;
        Seen seen;
        EXPECT_EQ(askAndAct(dialogs, 36, &seen, [](QMessageBox* b) { press(b, Qt::Key_Return); }), mb::Yes);
        ASSERT_TRUE(seen.cursor.has_value());
        EXPECT_EQ(*seen.cursor, Qt::ArrowCursor);
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor) << "the hourglass comes back";
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Without long work, no pointer is imposed.
    Seen idle;
    askAndAct(dialogs, 0, &idle, [](QMessageBox* b) { press(b, Qt::Key_Return); });
    EXPECT_FALSE(idle.cursor.has_value());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    platform::installServices(previous);
}

// A box asked while the program's main window is shown but not active yet (the boxes of the
// start-up): it belongs to the main window, which keeps it in front, never hidden behind.
TEST(WidgetDialogs, ABoxAskedBeforeTheMainWindowIsActiveBelongsToIt)
{
    QMainWindow other; // a window of the program, hidden
    QMainWindow main;
    main.show(); // nothing processed yet: not active
    ASSERT_EQ(QApplication::activeWindow(), nullptr);
    platform::WidgetDialogs dialogs;
    QWidget* owner = nullptr;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            ADD_FAILURE() << "no box on screen";
            return;
        }
        owner = box->parentWidget();
        press(box, Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.ask(QStringLiteral("Le journal des exportations n'a pas pu être mis à jour."), 0,
                          QStringLiteral("Mirelot")),
              mb::OK);
    EXPECT_EQ(owner, &main);
}
