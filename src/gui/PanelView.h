#pragma once

#include "widgets/Panel.h"

#include <QWidget>

class QBoxLayout;
class QLabel;
class QVBoxLayout;

namespace belmo::gui {

class GridView;

// A panel frame on screen: a caption bar, a gradient background in the panel's colour
// scheme, the panel's grid taking the free space and a foot row with its option boxes,
// progress bars, labelled count boxes and buttons. Everything comes from the panel
// model, so every step panel gets its view without code of its own; windows with more
// on a frame (the login fields, the console's menu) add it to body().
class PanelView : public QWidget {
    Q_OBJECT

public:
    explicit PanelView(widgets::Panel& panel, QWidget* parent = nullptr);

    widgets::Panel& panel() const { return panel_; }
    QVBoxLayout* body() const { return body_; }
    GridView* gridView() const { return grid_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLayout* buildTop();
    QLayout* buildFoot();
    QLayout* buildTable();
    void addOptions(QBoxLayout* row);
    void addButtons(QBoxLayout* row);
    void orderTabs();
    void schemeChanged();

    widgets::Panel& panel_;
    QLabel* caption_;
    QVBoxLayout* body_;
    GridView* grid_ = nullptr;
    QList<QWidget*> options_;  // in the order Tab visits them, after the grid
    QList<QWidget*> buttons_;  // after the options
};

}  // namespace belmo::gui
