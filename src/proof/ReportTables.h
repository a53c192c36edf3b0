#pragma once

#include "proof/Reconciliation.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

// The reconciliation laid out as the reader sees it, once for every writer and the window:
// the heading lines, and per part a table of texts with its columns, its items (differences
// first), its total rows and the short figures of the summary. The text, the PDF and the
// window only draw these tables.
namespace belmo::proof {

struct ReportRow {
    QStringList cells;
    bool differs = false;  // a ticked item whose listed and carried figures differ
    bool total = false;    // a total row
};

struct ReportTable {
    QString section;  // the part's name in `unavailable`: "current_accounts" ... "tables", "run"
    QString title;    // the Turkish heading
    QStringList headers;
    QList<bool> numeric;  // per column: right-aligned figures
    std::vector<ReportRow> rows;
    QString unavailable;  // the cause when the part could not be reconciled
    // For the summary: items, ticked items, items with a difference, and the totals per
    // currency as one text each.
    int items = 0, ticked = 0, differing = 0;
    QStringList totals;
};

// "Devir Mutabakat Raporu" and the two companies with their periods: the lines every page
// of the report starts with.
QString reportTitle();
QStringList companyLines(const RunSummary& run);
// The parts in the order of the report; the run summary last.
std::vector<ReportTable> reportTables(const Reconciliation& report);
// The causes of parts named in `unavailable` that no table of the report stands for.
QStringList otherUnavailable(const Reconciliation& report);

// Figures as the report writes them: amounts with two decimals, quantities as they come.
QString amountText(double value);
QString quantityText(double value);

}  // namespace belmo::proof
