#pragma once

#include "widgets/Controls.h"

#include <QPointer>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace belmo::gui {

// Runs `sync` now and on every change of `control`, for as long as `view` exists: a model
// may outlive the widget that draws it.
template <class View>
void follow(widgets::Watched& control, View* view, std::function<void(View&)> sync)
{
    control.watch([guard = QPointer<View>(view), sync] {
        if (guard) sync(*guard);
    });
    sync(*view);
}

// The Qt widget of each model control. A binding sends what the user does to the control's
// own entry points (click, press, typed text) and redraws the widget when the control
// changes; the model stays the only owner of the state.

// Enter (and the keypad's Enter) presses the button while it has the focus, as Space does:
// every push button of the windows is pressed by either key.
void pressedByEnter(QPushButton* view);

// A click runs `beforeClick` (when given), then the button's handler. The button is pressed
// by Enter too.
void bindButton(QPushButton* view, widgets::Button& button, std::function<void()> beforeClick = {});
void bindCheckBox(QCheckBox* view, widgets::CheckBox& box);
void bindOptionButton(QRadioButton* view, widgets::OptionButton& option);
void bindTextBox(QLineEdit* view, widgets::TextBox& box);
void bindComboBox(QComboBox* view, widgets::ComboBox& box);
void bindProgressBar(QProgressBar* view, widgets::ProgressBar& bar);
void bindDoneMark(QLabel* view, widgets::DoneMark& mark);
// A status line: the text box's text, read-only.
void bindLabel(QLabel* view, widgets::TextBox& text);

}  // namespace belmo::gui
