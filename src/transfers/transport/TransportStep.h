#pragma once

#include "console/PreviewStep.h"
#include "console/StepFrame.h"
#include "transfers/transport/TransportCatalogue.h"

#include <QString>
#include <QStringList>

namespace belmo::db {
class Connection;
class Recordset;
}

namespace belmo::transfers {

// What sets one transport step apart from its twin, besides its rows: its panel, the target
// table it writes, whether it replaces that table, its completion message and whether the
// user may untick its rows.
struct TransportPlan {
    QString caption{};  // the panel's
    QString table{};    // the target table the step writes
    // Set for the steps that replace their table: the question "<warning>\rDevam edilsin
    // mi?" comes first, and a Yes empties the table before the rows are written.
    QString warning{};
    console::Message completion{};
    // The rows stay ticked as loaded: clicks in the grid and "Tümünü Seç" change nothing
    // (the countries and the domestic expense codes).
    bool fixedTicks = false;
};

// A step of the transport window. Its "Başla" has one shape for all eleven steps, run in the
// step frame (one transaction on the target, finished or rolled back):
//  1. a step that replaces its table asks first; No ends it with nothing opened or changed;
//  2. such a step then deletes every row of the table; a row that cannot be deleted stops
//     the step and everything is rolled back;
//  3. the ticked rows are carried in grid order, the progress bar moving row by row. A row
//     is known by its key (rowKey): its record number, or where the list has none its code;
//     a row without one is passed over and the walk goes on. A statement of a row that fails
//     on its own leaves the row out; it is listed after the completion message, named by
//     rowLabel;
//  4. the completion message and the done mark.
//
// Each step reads its loader's records into rows of its own (readRows); the grid only shows
// them, and "Başla" carries the rows' fields.
class TransportStep : public console::PreviewStep {
public:
    widgets::ProgressBar bar;

protected:
    TransportStep(console::StepHost& host, console::StepId id, TransportPlan plan);

    const TransportPlan& plan() const { return plan_; }
    bool replaces() const { return !plan_.warning.isEmpty(); }

    // The step's table in the source, its rows known by their record number.
    QList<services::StraySearch> straySearches() override { return {{plan_.table, QStringList{QStringLiteral("ID")}}}; }
    // Carries one ticked row. `emptied` is the emptied target table of a step that replaces
    // it, where new rows are added; null for the steps that merge.
    virtual void carry(console::Transfer& t, db::Recordset* emptied, int row) = 0;

    // The record number of a loader's record (its ID field), and how it names its row.
    static qint64 recordNumber(console::RowReader& reader) { return qint64(reader.number(u"ID")); }
    static QString key(qint64 id) { return QString::number(id); }
    // The source's record with this number (and `more`, a further condition); a record gone
    // since the grid was loaded fails the row.
    db::Recordset sourceById(db::Connection& source, const QString& table, qint64 id, const QString& more = {}) const;

    void Basla() final;

private:
    TransportPlan plan_;
};

// The columns copied in this order from the current row of `from`, each one left out when
// it cannot be read or does not fit (a source without the column keeps the target's value).
void copyColumns(db::Recordset& to, db::Recordset& from, const QStringList& columns);

}  // namespace belmo::transfers
