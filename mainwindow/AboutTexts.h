#pragma once
// The texts of the about box and of the wait window.

#include <QString>

namespace mainwindow {

// "Version : Z2010-G   Révision : 181"
QString aboutVersionText();
// The program, its long title, and the product family it complements, on four lines.
QString presentationText();
// Who the program was first made for and by whom, then the maker's name, address, telephone
// and contact address, one per line.
QString creditText();

// The wait window's caption: "Mirelot 2010.2.181".
QString waitCaption();
// The wait window's text, lines separated by carriage returns.
QString waitText();

} // namespace mainwindow
