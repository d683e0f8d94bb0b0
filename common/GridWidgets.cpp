#include "common/GridWidgets.h"

#include "common/Globals.h"
#include "common/GridHelpers.h"
#include "common/KeyFilters.h"
#include "common/Messages.h"
#include "common/OptionMarks.h"
#include "grid/GridView.h"
#include "platform/Dialogs.h"
#include "platform/MousePointer.h"
#include "platform/Services.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QLocale>
#include <QPalette>

using grid::Grid;
using grid::GridColour;
using grid::GridView;

namespace {

GridColour fromQColor(const QColor& c) { return grid::gridRgb(c.red(), c.green(), c.blue()); }

bool toClipboard(const QString& texte)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->clear();
    clipboard->setText(texte);
    return clipboard->text() == texte;
}

// The cell editor of a grid holds the focus.
bool isInGrid(QWidget* w)
{
    for (; w; w = w->parentWidget())
        if (qobject_cast<GridView*>(w))
            return true;
    return false;
}

} // namespace

void sub_Init_Grilles(QWidget* fenetre)
{
    if (!fenetre)
        return;
    const bool tabCell = common::isOptionChecked(QStringLiteral("TabCell"));
    const bool altColor = common::isOptionChecked(QStringLiteral("AltColor"));
    for (GridView* vue : fenetre->findChildren<GridView*>()) {
        vue->setTabKeyNavigation(tabCell);
        vue->setShowGrid(true);
        vue->setGridStyle(Qt::SolidLine);
        vue->horizontalHeader()->setHighlightSections(false);
        vue->verticalHeader()->setHighlightSections(false);
        vue->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
        Grid& grille = vue->grid();
        grille.setBackColourAlternate(altColor ? fun_Get_Sys_Color(19) : 0);
        sub_Renum_Grid(grille);
    }
}

bool sub_Copier_Grille(Grid& grille, const std::function<bool(const QString&)>& clipboard)
{
    QString texte;
    bool copie = false;
    {
        const platform::PointerGuard sablier;
        // The grid's own selection text separates rows with carriage returns; on the clipboard each
        // row ends with a line feed, as the desktop's programs expect.
        texte = grille.selectionText().replace(u'\r', u'\n');
        if (!texte.isEmpty())
            texte += u'\n';
        copie = clipboard ? clipboard(texte) : toClipboard(texte);
    }
    if (copie)
        return true;
    sub_Message(4008, 0,
                QStringLiteral("Le presse-papiers n'a pas accepté les %1 caractères de la sélection.")
                    .arg(texte.size()),
                QString());
    grille.setRedraw(false);
    grille.setRedraw(true);
    return false;
}

int fun_KeyPress_Chiffres(int cle, const QString& permis)
{
    QWidget* champ = QApplication::focusWidget();
    const bool cellule = isInGrid(champ);
    QLineEdit* ligne = qobject_cast<QLineEdit*>(champ);
    if (!ligne)
        if (auto* combo = qobject_cast<QComboBox*>(champ))
            ligne = combo->lineEdit();
    const QString texte = ligne ? ligne->text() : QString();
    const QChar separateur = QLocale().decimalPoint().isEmpty() ? QChar(u'.') : QLocale().decimalPoint()[0];
    const common::DigitsDecision f = common::filterDigitKey(cle, permis, separateur, cellule, texte);
    if (f.key == 0) {
        sub_Bing();
        platform::dialogs().ask(common::digitsOnlyMessage(permis), platform::mb::OKOnly,
                                common::kProgramName);
        return 0;
    }
    if (f.caretToStart && ligne)
        ligne->setCursorPosition(0);
    return f.key;
}

qint16 fun_Find_Combo_Item(QComboBox* combo, const QString& texte, int message)
{
    if (!combo || message != kComboFindString)
        return -1;
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return qint16(common::findItemStartingWith(items, texte));
}

void sub_Bing()
{
    if (common::isOptionChecked(QStringLiteral("bing")))
        QApplication::beep();
}

GridColour fun_Get_Sys_Color(int index)
{
    const QPalette p = QApplication::palette();
    switch (index) {
    case 5:
        return fromQColor(p.color(QPalette::Base));
    case 8:
        return fromQColor(p.color(QPalette::Text));
    case 13:
        return fromQColor(p.color(QPalette::Highlight));
    case 14:
        return fromQColor(p.color(QPalette::HighlightedText));
    case 15:
        return fromQColor(p.color(QPalette::Button));
    case 18:
        return fromQColor(p.color(QPalette::ButtonText));
    case 19:
        return fromQColor(p.color(QPalette::AlternateBase));
    default:
        return fromQColor(p.color(QPalette::Window));
    }
}
