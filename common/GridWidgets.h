#pragma once
// The grid and input helpers that need widgets: the common look of a window's grids, the
// clipboard copy of a grid's selection, the digits filter of typed keys (it reads the active
// field and explains a refused key), the prefix search of a combo box, the end-of-action beep
// and the desktop's colours.

#include "grid/Grid.h"

#include <QString>
#include <functional>

class QComboBox;
class QWidget;

// Gives every grid of the window the program's look: Tab moves between cells when the option
// "TabCell" is checked, otherwise it leaves the grid; alternate rows in the desktop's
// alternate colour when "AltColor" is checked; row numbers as sub_Renum_Grid.
void sub_Init_Grilles(QWidget* fenetre);

// Puts the grid's selection text on the clipboard (tabs between cells, a line feed after each
// row). When the clipboard does not take it, shows message 4008 and redraws the grid; returns
// false. The writer puts a text on the clipboard and says whether it is there; by default the
// desktop's clipboard.
bool sub_Copier_Grille(grid::Grid& grille, const std::function<bool(const QString&)>& clipboard =
                                               std::function<bool(const QString&)>());

// Digits filter of typed keys (see common::filterDigitKey) for the field that has the focus: a cell
// editor of a grid, or a text box. A refused key beeps and is explained in a box ("Veuillez
// saisir uniquement des chiffres" and the allowed character); the result is then 0.
int fun_KeyPress_Chiffres(int cle, const QString& permis = QString());

// The combo box's find-string request (332): the index of the first item beginning with the text,
// case ignored, or -1. Other requests find nothing.
inline constexpr int kComboFindString = 332;
qint16 fun_Find_Combo_Item(QComboBox* combo, const QString& texte, int message = kComboFindString);

// The end-of-action beep, when the option "bing" is checked.
void sub_Bing();

// A Windows system colour by its index, taken from the desktop's palette (15 button face,
// 18 button text, 19 the light colour used for alternate rows, 5 window, 8 window text,
// 13 and 14 selection and its text); other indexes give the window colour.
grid::GridColour fun_Get_Sys_Color(int index);
