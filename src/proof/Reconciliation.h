#pragma once

#include "proof/RunSummary.h"

#include <QHash>
#include <QJsonObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace belmo::db {
class Connection;
}
namespace belmo::services {
struct Fragments;
struct Listing;
struct NumberFormats;
}

// The reconciliation of a carry-forward: what the source lists by each step's own listing
// rules (its loader statements over its views), set against what the target holds after the
// run, item by item. Nothing here reads a step's counters or its grid, so the report shows a
// step's fault instead of repeating it. The source is read through temporary views only; the
// target is only read.
namespace belmo::proof {

// A current account in one currency: its closing balance listed in the source (debit
// positive) and the opening entries found in the target (the same sign rule). An item the
// target holds but the source does not list has the label "listede yok".
struct AccountItem {
    QString main, group, code, title, currency;
    double closing = 0, carried = 0;
    bool ticked = true;
    double difference() const { return carried - closing; }
    bool differs() const;  // to the cent
};

// Stock of a card in a warehouse (and lot): quantity and value on hand in the source, and
// the opening stock found in the target.
struct StockItem {
    QString code, warehouse, lot;
    double quantity = 0, value = 0;
    double carriedQuantity = 0, carriedValue = 0;
    bool ticked = true;
    bool differs() const;  // the quantity to its thousandth, the value to the cent
};

// A cheque, an open order line or an instalment: listed in the source, and the records found
// for it in the target (`found`, against the `expected` the source holds for it).
struct OpenItem {
    QString list;   // "Portföydeki Çekler" / "Takastaki Çekler" for cheques, else empty
    QString key;    // cheque number, order document / stock code, instalment invoice / number
    QString label;  // what an accountant reads: title, due date, stock name
    QString currency;
    double amount = 0, carried = 0;
    int expected = 1, found = 0;
    bool ticked = true;
    bool differs() const;
};

// A definition or transport table: rows in the source, in the target before the run (when
// known) and after it.
struct TableCount {
    QString table;
    std::optional<qint64> source, targetBefore, targetAfter;
};

struct Reconciliation {
    RunSummary run;
    std::vector<AccountItem> accounts;
    std::vector<StockItem> stock;
    std::vector<OpenItem> cheques, orders, instalments;
    std::vector<TableCount> tables;
    // A part that could not be reconciled (a table the target lacks): its name and the cause.
    QHash<QString, QString> unavailable;

    // The ticked items whose listed and carried figures differ.
    int differences() const;
    // The whole report under the names scripts rely on (see RunSummary::toJson for the heading).
    QJsonObject toJson() const;
    // The same as the .json file holds it, written a list at a time.
    QByteArray toJsonText() const;
    // The same as plain text: the heading, each part's items with differences first, totals.
    QString toText() const;
    // The short summary `belmo run` ends with: per part items, ticked, differences, totals per
    // currency.
    QString summaryText() const;
};

// What the target is reconciled against.
struct Companies {
    db::Connection& source;
    db::Connection& target;
    const services::Fragments& sql;
    const services::NumberFormats& formats;
    QString userCode;  // names the temporary views
};

// Sets every part of `report` but its run: the source as `listed` (the panels' lists at their
// last "Başla"; a part they did not list is listed here by the panel's own statements, every
// row ticked), against the target as it stands. A part whose tables are missing is named in
// `unavailable` and the others go on. Table counts before the run are taken by
// tableCounts() and passed in `before`.
void reconcile(const Companies& companies, const services::Listing& listed, const QHash<QString, qint64>& before,
               Reconciliation& report);

// The row counts of the definition and transport tables of a company (missing tables left out).
QHash<QString, qint64> tableCounts(db::Connection& company);

// The printable report: A4, the companies and periods on every page, page numbers, totals
// and a line for the accountant's signature.
bool writeReportPdf(const Reconciliation& report, const QString& path, QString& error);

// Writes the report by the file's suffix: .json, .pdf or .txt. False with `error` set when it
// cannot be written.
bool writeReport(const Reconciliation& report, const QString& path, QString& error);

}  // namespace belmo::proof
