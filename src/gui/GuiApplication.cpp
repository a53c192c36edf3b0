#include "gui/GuiApplication.h"

namespace belmo::gui {

int runGui(const QString&)
{
    return 1;  // the views follow
}

}  // namespace belmo::gui
