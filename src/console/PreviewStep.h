#pragma once

#include "console/Step.h"
#include "widgets/Controls.h"
#include "widgets/Grid.h"
#include "widgets/Panel.h"

#include <QList>
#include <QString>

#include <optional>

namespace belmo::console {

// One column of a step's preview grid.
struct GridColumn {
    GridColumn(QString header, int width, std::optional<int> alignment = {}, std::optional<int> headerAlignment = {})
        : header(std::move(header)), width(width), alignment(alignment), headerAlignment(headerAlignment)
    {
    }
    QString header;
    int width = 0;                       // twips; 0 hides the column (keys, raw values)
    std::optional<int> alignment;        // the cells' alignment code, when the step sets one
    std::optional<int> headerAlignment;  // the header's, when the step sets one
};

struct GridLayout {
    std::optional<int> cols;    // column count; query items beyond it are loaded but not shown
    QList<GridColumn> columns;  // from column 0, the tick column
};

// The preview-grid machinery every step with a grid shares: the loader, the layout with the
// tick column, the row toggle, "Tümünü Seç", the counter and the reading of the ticked rows
// in "Başla". A step gives its query, its columns and its "Başla"; steps with totals give
// their own counter and boxes.
//
// Column 0 holds "." for a ticked row and "" for an unticked one, in white, with the ticked
// or empty box as its picture.
class PreviewStep : public Step {
public:
    struct Options {
        QString caption;                  // the panel's caption
        bool countBoxes = true;           // "TOPLAM KAYIT SAYISI" / "BELMO KAYIT SAYISI"
        bool exitShowsMenu = false;       // "Çıkış" brings the menu forward instead of going back
        bool loaderCallsCounter = false;  // the counter runs after the layout, called by the loader
    };
    PreviewStep(StepHost& host, StepId id, Options options);

    widgets::Panel frame;
    widgets::Grid grid;
    widgets::CheckBox tumunuSec{QStringLiteral("Tümünü Seç")};
    widgets::TextBox toplamKayit;  // records loaded
    widgets::TextBox belmoKayit;   // rows ticked
    widgets::Button basla{QStringLiteral("Başla")};
    widgets::Button cikis{QStringLiteral("Çıkış")};

    widgets::Panel* panel() override { return &frame; }
    // Loads the grid, ticks "Tümünü Seç" and brings the panel forward. Every press reloads
    // and ticks every row again.
    void menuAction() override;

    void FILTRELE();          // loader
    void DZN();               // layout
    virtual void HESAPLA();   // counter; the plain form counts the ticked rows
    void rowToggle();         // click (or mouse-up) in the grid
    void selectAllChanged();  // change of "Tümünü Seç"

    // The records the last load found, and the ticked rows in grid order.
    int loadedRows() const { return loaded_; }
    QList<int> tickedRows() const;
    bool ticked(int row) const;
    // A cell read back as a number by the locale's conversion (decimal comma, thousands dot).
    double number(int row, int col) const;

protected:
    virtual QString query() = 0;             // the loader's statement, beginning "SELECT ''"
    virtual GridLayout layout() const = 0;
    virtual void Basla() = 0;                // the transfer
    // Run by the layout once it has ticked the rows, before the counter: a step that colours
    // cells by what they hold does it here.
    virtual void colourRows() {}
    virtual void showTotal(qint64 records);  // the total-count box

private:
    void tick(int row);
    void untick(int row);
    void Cikis();

    Options options_;
    int loaded_ = 0;
};

}  // namespace belmo::console
