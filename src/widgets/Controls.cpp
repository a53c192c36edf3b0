#include "widgets/Controls.h"

namespace belmo::widgets {

void Button::setEnabled(bool on)
{
    if (enabled_ == on) return;
    enabled_ = on;
    changed();
}

void Button::setVisible(bool on)
{
    if (visible_ == on) return;
    visible_ = on;
    changed();
}

void Button::click()
{
    if (enabled_ && visible_ && onClick) onClick();
}

void CheckBox::setValue(int value)
{
    if (value_ == value) return;
    value_ = value;
    changed();
    if (onChange) onChange();
}

void CheckBox::press()
{
    setValue(value_ == 1 ? 0 : 1);
    if (onMouseUp) onMouseUp();
}

void OptionButton::setValue(bool on)
{
    if (on)
        for (OptionButton* other : group_)
            if (other != this) other->setValue(false);
    if (value_ == on) return;
    value_ = on;
    changed();
}

void OptionButton::group(std::initializer_list<OptionButton*> buttons)
{
    for (OptionButton* b : buttons) b->group_ = QList<OptionButton*>(buttons);
}

void TextBox::setText(const QString& text)
{
    if (text_ == text) return;
    text_ = text;
    changed();
}

void TextBox::setEnabled(bool on)
{
    if (enabled_ == on) return;
    enabled_ = on;
    changed();
}

void ComboBox::addItem(const QString& item)
{
    items_.append(item);
    changed();
}

void ComboBox::clear()
{
    items_.clear();
    text_.clear();
    changed();
}

void ComboBox::setText(const QString& text)
{
    if (text_ == text) return;
    text_ = text;
    changed();
}

void ComboBox::setEnabled(bool on)
{
    if (enabled_ == on) return;
    enabled_ = on;
    changed();
}

void ProgressBar::setMax(int max)
{
    max_ = max;
    changed();
}

void ProgressBar::setValue(int value)
{
    value_ = value;
    changed();
}

void DoneMark::setVisible(bool on)
{
    if (visible_ == on) return;
    visible_ = on;
    changed();
}

void Activity::begin()
{
    busy_ = true;
    cancelRequested_ = false;
    status_.clear();
    changed();
}

void Activity::end()
{
    busy_ = false;
    status_.clear();
    changed();
}

void Activity::setStatus(const QString& status)
{
    if (status_ == status) return;
    status_ = status;
    changed();
}

void Activity::cancel()
{
    if (!busy_ || cancelRequested_) return;
    cancelRequested_ = true;
    changed();
}

}  // namespace belmo::widgets
