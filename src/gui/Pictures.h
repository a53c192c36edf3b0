#pragma once

#include <QPixmap>

namespace belmo::gui {

// The small pictures the windows show, drawn rather than loaded so the program needs no
// image files. Each call draws a fresh pixmap; views keep the ones they use.

// The tick column's pictures: a ticked box and an empty box, 16 × 16.
QPixmap tickedBoxPicture();
QPixmap emptyBoxPicture();
// The mark beside a menu button whose step has finished, 16 × 16.
QPixmap doneMarkPicture();
// The face of a button without caption that searches (loads a grid again), 16 × 16.
QPixmap searchPicture();

}  // namespace belmo::gui
