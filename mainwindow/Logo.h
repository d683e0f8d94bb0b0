#pragma once
// The program's logo, drawn rather than shipped as a picture file.

#include <QPixmap>

namespace mainwindow {

// A winter field under a pale sky, a few birds, the program's name and long title.
QPixmap logoPixmap(const QSize& taille = QSize(420, 260));

} // namespace mainwindow
