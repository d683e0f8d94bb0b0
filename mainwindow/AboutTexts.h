#pragma once
// The texts of the about box and of the wait window.

#include <QString>

namespace mainwindow {

// "Version : Z2010-G   Révision : 181"
QString fun_Texte_Version();
// The program, its long title, and the product family it complements, on four lines.
QString fun_Texte_Pub();
// Who the program was first made for and by whom, then the maker's name, address, telephone
// and contact address, one per line.
QString fun_Texte_Credit();

// The wait window's caption: "Mirelot 2010.2.181".
QString fun_Titre_Wait();
// The wait window's text, lines separated by carriage returns.
QString fun_Texte_Wait();

} // namespace mainwindow
