#pragma once

#include "widgets/Controls.h"
#include "widgets/Grid.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

namespace belmo::widgets {

// Gradient frame: a caption, a colour scheme (the theme number) and the controls it shows,
// listed in the order a view lays them out. The window model that owns the panel owns
// the controls too.
class Panel : public Watched {
public:
    explicit Panel(QString caption) : caption_(std::move(caption)) {}

    const QString& caption() const { return caption_; }
    int colourScheme() const { return colourScheme_; }
    void setColourScheme(int scheme);

    struct LabelledBox {
        QString label;
        TextBox* box;
    };
    Grid* grid = nullptr;
    QList<OptionButton*> choices;   // first in the foot: option buttons of one group
    Button* search = nullptr;       // beside the choices, without caption: loads the grid again
    QList<CheckBox*> options;       // beside the grid's foot: "Tümünü Seç" and the step's options
    QList<LabelledBox> boxes;       // counts and totals
    int boxColumns = 0;             // boxes per line of a totals table; 0: all on one line
    // A totals table with captions over its columns and before its lines, after the boxes.
    struct Table {
        QStringList columns;
        QList<std::pair<QString, QList<TextBox*>>> lines;
    };
    Table table;
    QList<TextBox*> labels;         // status lines the step writes ("Tamamlandı.")
    QList<ProgressBar*> progress;
    QList<Button*> buttons;         // "Başla", "Çıkış"
    // The buttons and the option boxes above the grid, at the top left, instead of in the
    // foot (the transport window's panels).
    bool buttonsOnTop = false;

private:
    QString caption_;
    int colourScheme_ = 0;
};

// Panels of one window stacked on each other; the one at the front is the visible one.
class PanelStack : public Watched {
public:
    void add(Panel& panel);             // goes to the back
    void bringToFront(Panel& panel);
    void sendToBack(Panel& panel);
    Panel* front() const { return order_.isEmpty() ? nullptr : order_.front(); }
    const QList<Panel*>& panels() const { return order_; }  // front first

private:
    QList<Panel*> order_;
};

}  // namespace belmo::widgets
