#pragma once

#include <QColor>

namespace belmo::gui {

// The colours of a panel frame. The colour scheme number each window gives its frames
// (the theme read at start-up) picks one of a few schemes; 1 is the light blue the
// program ships with.
struct FrameColours {
    QColor top, bottom;                // background gradient
    QColor captionTop, captionBottom;  // caption bar gradient
    QColor captionText;
    QColor border;
    QColor text;  // labels on the background
};

FrameColours frameColours(int scheme);

}  // namespace belmo::gui
