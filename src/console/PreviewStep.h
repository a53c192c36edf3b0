#pragma once

#include "console/RowReader.h"
#include "console/Step.h"
#include "db/Recordset.h"
#include "services/Listing.h"
#include "services/StrayValues.h"
#include "widgets/Controls.h"
#include "widgets/Grid.h"
#include "widgets/Panel.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <optional>
#include <vector>

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
// tick column, the row toggle, "Tümünü Seç", the counter and the ticked rows "Başla" carries.
// A step gives its query, its columns, its rows and its "Başla"; steps with totals give their
// own counter and boxes.
//
// The loader's statement fills two things from the same records: the grid, with the texts
// the statement formats for the eye, and the step's typed rows (RowReader.h), read by name
// from the raw values, which are what the step counts, totals and carries. The grid is only
// a view of them: nothing is read back from its texts. Grid row r shows the step's row r.
//
// The ticks are kept with the rows; column 0 shows "." for a ticked row and "" for an
// unticked one, in white, with the ticked or empty box as its picture.
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

    // The records the last load found, and the ticked rows in grid order. A row that holds a
    // value the source does not hold as its column's type is refused: it cannot be ticked.
    int loadedRows() const { return loaded_; }
    // False when the last load failed (the source or its views could not be read): the grid
    // is no list of the source then, and "Başla" carries nothing. A load the user cancelled
    // changed nothing.
    bool isLoaded() const { return !loadFailure_; }
    QList<int> tickedRows() const;
    bool ticked(int row) const;
    // The labels of the rows loaded but not ticked (left out by the user, or refused).
    QStringList leftOut() const;
    bool refused(int row) const { return refused_.contains(row); }
    // The source's values the last load found stray, listed by "Başla" as not carried.
    const QList<services::StrayValue>& strayValues() const { return strays_; }

protected:
    // Made ready on the loader's own connection right before its statement runs: the step's
    // views in the source, made afresh, so that the loader never reads a view another panel,
    // user or program left behind. A failure here fails the load.
    virtual void prepareSource(db::Connection& source) {}
    virtual db::Query query() = 0;           // the loader's statement, beginning "SELECT ''"
    // The step's typed rows from the loader's records, one a record in their order.
    virtual void readRows(RowReader& reader) = 0;
    // Where the source's rows this step reads may hold stray values, each found row named by
    // the key of the grid row it belongs to (rowKey).
    virtual QList<services::StraySearch> straySearches() { return {}; }
    virtual QString rowKey(int row) const { return {}; }
    // How a row is named in the list of rows that could not be carried.
    virtual QString rowLabel(int row) const { return rowKey(row); }
    virtual GridLayout layout() const = 0;
    virtual void Basla() = 0;                // the transfer, run only on a loaded grid
    // Notes the loaded rows in the run's listing, for the reconciliation; called as "Başla"
    // starts. The balance and open-item steps list theirs; the others list nothing.
    virtual void list(services::Listing&) const {}
    // Run by the layout once it has ticked the rows, before the counter: a step that colours
    // cells by what they hold does it here.
    virtual void colourRows() {}
    virtual void showTotal(qint64 records);  // the total-count box
    // Zero, in `format`, in the empty cells of these columns of the loaded rows, as the
    // counters of the panels with quantities and prices write it.
    void showZeroInEmptyCells(const QList<int>& columns, const QString& format);

    // The step frame (StepFrame.h) with the stray values of the last load listed as rows not
    // carried, before the body runs.
    bool transfer(const TransferPlan& plan, const std::function<void(Transfer&)>& body);

private:
    void tick(int row);
    void untick(int row);
    void Cikis();

    void startOnLoadedList();
    void showNoRows();
    QList<services::StrayValue> searchStrays(db::Connection& source);
    void refuseStrayRows();

    Options options_;
    int loaded_ = 0;
    std::vector<char> ticks_;  // by grid row
    std::optional<db::DbError> loadFailure_;
    QList<services::StrayValue> strays_;
    QHash<int, QString> problems_;  // the rows whose values do not read, by grid row
    QSet<int> refused_;
};

}  // namespace belmo::console
