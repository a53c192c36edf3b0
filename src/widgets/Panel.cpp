#include "widgets/Panel.h"

namespace belmo::widgets {

void Panel::setColourScheme(int scheme)
{
    if (colourScheme_ == scheme) return;
    colourScheme_ = scheme;
    changed();
}

void PanelStack::add(Panel& panel)
{
    if (!order_.contains(&panel)) order_.append(&panel);
    changed();
}

void PanelStack::bringToFront(Panel& panel)
{
    order_.removeOne(&panel);
    order_.prepend(&panel);
    changed();
}

void PanelStack::sendToBack(Panel& panel)
{
    order_.removeOne(&panel);
    order_.append(&panel);
    changed();
}

}  // namespace belmo::widgets
