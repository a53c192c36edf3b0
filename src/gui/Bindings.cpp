#include "gui/Bindings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace belmo::gui {

void pressedByEnter(QPushButton* view)
{
    // Qt's own rule for the buttons of a dialog, asked for outside dialogs too.
    view->setAutoDefault(true);
}

void bindButton(QPushButton* view, widgets::Button& button, std::function<void()> beforeClick)
{
    pressedByEnter(view);
    follow<QPushButton>(button, view, [&button](QPushButton& b) {
        b.setEnabled(button.enabled());
        b.setVisible(button.visible());
    });
    QObject::connect(view, &QPushButton::clicked, view, [&button, beforeClick] {
        if (beforeClick) beforeClick();
        button.click();
    });
}

void bindCheckBox(QCheckBox* view, widgets::CheckBox& box)
{
    auto sync = [&box](QCheckBox& b) {
        const QSignalBlocker blocker(b);
        b.setChecked(box.value() == 1);
    };
    follow<QCheckBox>(box, view, sync);
    // Qt has already flipped the box; the model decides what it shows (a mode pair may
    // refuse to untick), so the box is drawn again from the model after the press.
    QObject::connect(view, &QCheckBox::clicked, view, [&box, view, sync] {
        box.press();
        sync(*view);
    });
}

void bindOptionButton(QRadioButton* view, widgets::OptionButton& option)
{
    // The model keeps the group: each button is drawn from its own option, never grouped by Qt.
    view->setAutoExclusive(false);
    auto sync = [&option](QRadioButton& b) {
        const QSignalBlocker blocker(b);
        b.setChecked(option.value());
    };
    follow<QRadioButton>(option, view, sync);
    QObject::connect(view, &QRadioButton::clicked, view, [&option, view, sync] {
        option.press();
        sync(*view);
    });
}

void bindTextBox(QLineEdit* view, widgets::TextBox& box)
{
    follow<QLineEdit>(box, view, [&box](QLineEdit& e) {
        if (e.text() != box.text()) e.setText(box.text());
        e.setEnabled(box.enabled());
    });
    QObject::connect(view, &QLineEdit::textEdited, view, [&box](const QString& text) { box.setText(text); });
}

void bindComboBox(QComboBox* view, widgets::ComboBox& box)
{
    follow<QComboBox>(box, view, [&box](QComboBox& c) {
        const QSignalBlocker blocker(c);
        QStringList shown;
        for (int i = 0; i < c.count(); ++i) shown.append(c.itemText(i));
        if (shown != box.items()) {
            c.clear();
            c.addItems(box.items());
        }
        // No entry stays current unless the text names it, so picking any entry from the
        // list changes the text.
        c.setCurrentIndex(c.findText(box.text()));
        if (c.currentText() != box.text()) c.setEditText(box.text());
        c.setEnabled(box.enabled());
    });
    QObject::connect(view, &QComboBox::editTextChanged, view, [&box](const QString& text) { box.setText(text); });
}

void bindProgressBar(QProgressBar* view, widgets::ProgressBar& bar)
{
    follow<QProgressBar>(bar, view, [&bar](QProgressBar& p) {
        p.setMaximum(std::max(bar.max(), 0));
        p.setValue(std::clamp(bar.value(), 0, p.maximum()));
    });
}

void bindDoneMark(QLabel* view, widgets::DoneMark& mark)
{
    follow<QLabel>(mark, view, [&mark](QLabel& l) { l.setVisible(mark.visible()); });
}

void bindLabel(QLabel* view, widgets::TextBox& text)
{
    follow<QLabel>(text, view, [&text](QLabel& l) { l.setText(text.text()); });
}

}  // namespace belmo::gui
