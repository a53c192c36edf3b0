#pragma once

#include <QString>
#include <QList>
#include <QStringList>

#include <functional>
#include <initializer_list>

namespace belmo::widgets {

// The controls a window model owns. They hold state and raise the window's handlers; they
// draw nothing. A view (the Qt windows, or nothing at all in the headless runner and the
// tests) watches a control to redraw it and calls the same press/type entry points a user
// would use.
class Watched {
public:
    // One view per control; a later watch replaces the earlier one.
    void watch(std::function<void()> observer) { observer_ = std::move(observer); }

protected:
    void changed() const
    {
        if (observer_) observer_();
    }

private:
    std::function<void()> observer_;
};

// Styled button: a fixed caption, an enabled flag and the click handler.
class Button : public Watched {
public:
    explicit Button(QString caption = {}) : caption_(std::move(caption)) {}

    const QString& caption() const { return caption_; }
    bool enabled() const { return enabled_; }
    void setEnabled(bool on);
    // A button the window offers only at times (shown by default).
    bool visible() const { return visible_; }
    void setVisible(bool on);

    std::function<void()> onClick;
    // A press by the user (or the headless runner); a disabled button ignores it.
    void click();

private:
    QString caption_;
    bool enabled_ = true;
    bool visible_ = true;
};

// Styled check box: value 1 ticked, 0 not. Setting the value (from code or by a press)
// raises the change handler when the value changes; a press also raises the mouse-up
// handler afterwards.
class CheckBox : public Watched {
public:
    explicit CheckBox(QString caption = {}) : caption_(std::move(caption)) {}

    const QString& caption() const { return caption_; }
    int value() const { return value_; }
    void setValue(int value);

    std::function<void()> onChange;
    std::function<void()> onMouseUp;
    void press();

private:
    QString caption_;
    int value_ = 0;
};

// Option button: one button of a group is selected. Selecting one (from code or by a press)
// deselects the others of its group. A choice raises no handler: the window reads the
// selection when it needs it.
class OptionButton : public Watched {
public:
    explicit OptionButton(QString caption = {}) : caption_(std::move(caption)) {}

    const QString& caption() const { return caption_; }
    bool value() const { return value_; }
    void setValue(bool on);
    void press() { setValue(true); }

    // The buttons of one frame form one group.
    static void group(std::initializer_list<OptionButton*> buttons);

private:
    QString caption_;
    bool value_ = false;
    QList<OptionButton*> group_;
};

// Text box; also the count and amount boxes of the step panels.
class TextBox : public Watched {
public:
    const QString& text() const { return text_; }
    void setText(const QString& text);
    bool enabled() const { return enabled_; }
    void setEnabled(bool on);

private:
    QString text_;
    bool enabled_ = true;
};

// Drop-down list that also takes typed text; the code reads its text.
class ComboBox : public Watched {
public:
    const QStringList& items() const { return items_; }
    void addItem(const QString& item);
    void clear();  // entries and text
    const QString& text() const { return text_; }
    void setText(const QString& text);
    bool enabled() const { return enabled_; }
    void setEnabled(bool on);

private:
    QStringList items_;
    QString text_;
    bool enabled_ = true;
};

class ProgressBar : public Watched {
public:
    int max() const { return max_; }
    int value() const { return value_; }
    void setMax(int max);
    void setValue(int value);

private:
    int max_ = 100;
    int value_ = 0;
};

// The tick picture beside a menu button, shown when its step has finished.
class DoneMark : public Watched {
public:
    bool visible() const { return visible_; }
    void setVisible(bool on);

private:
    bool visible_ = false;
};

// A window's long work in progress (a step's "Başla"). While it is busy, the views hold
// input to the window's other controls, repaint it at every pulse and offer its cancel
// (a button, or Esc); the status says what the work is waiting for, when it waits.
class Activity : public Watched {
public:
    bool busy() const { return busy_; }
    const QString& status() const { return status_; }
    bool cancelRequested() const { return cancelRequested_; }

    void begin();
    void end();
    void setStatus(const QString& status);
    // The user's cancel: the work stops at its next pulse.
    void cancel();

    // Called by the work as it goes: the view repaints the window here.
    std::function<void()> onPulse;
    void pulse()
    {
        if (busy_ && onPulse) onPulse();
    }
    // The rows the window's work has carried since the window was made, counted by the work
    // as it goes, for whoever shows its progress.
    qint64 rowsDone() const { return rowsDone_; }
    void countRow() { ++rowsDone_; }

private:
    qint64 rowsDone_ = 0;
    bool busy_ = false;
    bool cancelRequested_ = false;
    QString status_;
};

}  // namespace belmo::widgets
