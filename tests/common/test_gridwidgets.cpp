#include "common/GridWidgets.h"

#include "common/OptionMarks.h"
#include "grid/GridView.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using grid::Grid;
using grid::GridView;

namespace {

// A window with a text box and a grid, shown and active.
class InputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto* layout = new QVBoxLayout(&window);
        field = new QLineEdit(&window);
        view = new GridView(&window);
        layout->addWidget(field);
        layout->addWidget(view);
        Grid& g = view->grid();
        g.setRows(0);
        g.setFormatString("|Nombre|Nom");
        g.setFixedRows(1);
        g.setFixedCols(1);
        g.addRow("7\t12\tAlouette");
        g.addRow("PG\t3\tBuse");
        g.addRow("\t\tPerdrix");
        g.setEditable(Grid::Editable::KeyboardMouse);
        window.resize(400, 300);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    testing_support::TestEnvironment env;
    QWidget window;
    QLineEdit* field = nullptr;
    GridView* view = nullptr;
};

} // namespace

TEST_F(InputTest, DigitsFilterInATextBox)
{
    const QChar sep = QLocale().decimalPoint().at(0);
    field->setFocus();
    field->setText(QStringLiteral("12") + sep + QStringLiteral("5"));
    env.dialogs().answer(platform::mb::OK);
    EXPECT_EQ(fun_KeyPress_Chiffres(sep.unicode()), 0) << "a second decimal separator";
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_EQ(env.dialogs().asked()[0].text, "Veuillez saisir uniquement des chiffres");
    EXPECT_EQ(env.dialogs().asked()[0].style, platform::mb::OKOnly);
    EXPECT_EQ(env.dialogs().asked()[0].title, "Mirelot");

    field->setText("12");
    field->setCursorPosition(2);
    EXPECT_EQ(fun_KeyPress_Chiffres('-'), '-');
    EXPECT_EQ(field->cursorPosition(), 0) << "the sign goes in front";
    QTest::keyClick(field, '-');
    EXPECT_EQ(field->text(), "-12");
    env.dialogs().answer(platform::mb::OK);
    EXPECT_EQ(fun_KeyPress_Chiffres('+'), 0);
    EXPECT_EQ(fun_KeyPress_Chiffres('/', "/"), '/');
    env.dialogs().answer(platform::mb::OK);
    EXPECT_EQ(fun_KeyPress_Chiffres('x', "/"), 0);
    ASSERT_EQ(env.dialogs().asked().size(), 3);
    EXPECT_EQ(env.dialogs().asked()[2].text, "Veuillez saisir uniquement des chiffres et /");
}

TEST_F(InputTest, DigitsFilterInAGridCellEditor)
{
    const int sep = QLocale().decimalPoint().at(0).unicode();
    QObject::connect(view, &GridView::keyPressEdit, view,
                     [](int, int, int* k) { *k = fun_KeyPress_Chiffres(*k); });
    view->setFocus();
    view->grid().select(1, 1);
    env.dialogs().answer(platform::mb::OK); // for the letter
    for (int k : {int('1'), sep, int('5'), sep, int('-'), int('a')}) {
        QTest::keyClick(QApplication::focusWidget(), char(k));
        QCoreApplication::processEvents();
    }
    ASSERT_TRUE(view->isEditing());
    const QString s = QString(QChar(sep));
    EXPECT_EQ(view->editText(), "1" + s + "5" + s + "-") << "in a cell a separator or a sign always passes";
    EXPECT_EQ(env.dialogs().asked().size(), 1) << "the letter was refused";
}

TEST_F(InputTest, CopyOfTheSelectionToTheClipboard)
{
    Grid& g = view->grid();
    g.select(1, 1, 2, 2);
    EXPECT_TRUE(sub_Copier_Grille(g));
    EXPECT_EQ(QApplication::clipboard()->text(), "12\tAlouette\n3\tBuse\n");
    EXPECT_TRUE(env.dialogs().asked().isEmpty());

    // The clipboard refuses the text: message 4008.
    QString offered;
    env.dialogs().answer(platform::mb::OK);
    EXPECT_FALSE(sub_Copier_Grille(g, [&](const QString& t) {
        offered = t;
        return false;
    }));
    EXPECT_EQ(offered, "12\tAlouette\n3\tBuse\n");
    ASSERT_EQ(env.dialogs().asked().size(), 1);
    EXPECT_TRUE(env.dialogs().asked()[0].text.contains("#MB4008"));
    EXPECT_TRUE(env.dialogs().asked()[0].text.contains("SOLUTION : Tronçonnez votre copie"));
    EXPECT_TRUE(env.dialogs().asked()[0].text.contains(
        QStringLiteral("Le presse-papiers n'a pas accepté les %1 caractères de la sélection.")
            .arg(offered.size())))
        << "the user is told what failed";
    EXPECT_EQ(g.cell(1, 2), "Alouette") << "the grid is left as it was";
}

TEST_F(InputTest, ComboBoxPrefixSearch)
{
    QComboBox combo;
    combo.addItems({"CH - Champ", "Chaume", "PR - Prairie"});
    struct Row
    {
        QString text;
        int message;
        int expected;
    };
    const Row rows[] = {
        {"CH", kComboFindString, 0},     {"chau", kComboFindString, 1}, {"pr", kComboFindString, 2},
        {"Vigne", kComboFindString, -1}, {"", kComboFindString, 0},     {"CH", 344, -1},
    };
    for (const Row& r : rows)
        EXPECT_EQ(fun_Find_Combo_Item(&combo, r.text, r.message), r.expected) << r.text.toStdString();
    EXPECT_EQ(fun_Find_Combo_Item(nullptr, "CH"), -1);
}

TEST_F(InputTest, GridLookFollowsTheOptions)
{
    common::setOptionChecked("TabCell", true);
    common::setOptionChecked("AltColor", true);
    common::setOptionChecked("RenumGrid", true);
    sub_Init_Grilles(&window);
    EXPECT_TRUE(view->tabKeyNavigation());
    EXPECT_NE(view->grid().backColourAlternate(), 0);
    EXPECT_EQ(view->grid().cell(1, 0), "1");
    EXPECT_EQ(view->grid().cell(2, 0), "PG");
    EXPECT_EQ(view->grid().cell(3, 0), "2");

    common::setOptionChecked("TabCell", false);
    common::setOptionChecked("AltColor", false);
    common::setOptionChecked("RenumGrid", false);
    sub_Init_Grilles(&window);
    EXPECT_FALSE(view->tabKeyNavigation());
    EXPECT_EQ(view->grid().backColourAlternate(), 0);
    EXPECT_EQ(view->grid().cell(1, 0), "");
    EXPECT_EQ(view->grid().cell(0, 0), "");

    // Tab leaves the grid, or moves to the next cell.
    view->setFocus();
    view->grid().select(1, 1);
    QTest::keyClick(view, Qt::Key_Tab);
    EXPECT_EQ(view->grid().col(), 1);
    common::setOptionChecked("TabCell", true);
    sub_Init_Grilles(&window);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Tab);
    EXPECT_EQ(view->grid().col(), 2);
}

TEST(SystemColours, ComeFromThePalette)
{
    EXPECT_NE(fun_Get_Sys_Color(15), fun_Get_Sys_Color(18)) << "button face and button text differ";
    const QColor face = QApplication::palette().color(QPalette::Button);
    EXPECT_EQ(fun_Get_Sys_Color(15), grid::gridRgb(face.red(), face.green(), face.blue()));
}
