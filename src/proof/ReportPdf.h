#pragma once

#include <QString>

namespace belmo::proof {

struct Reconciliation;

// Writes the report as a printable A4 PDF: the title with both companies and their periods
// at the head of every page, each part as a table whose header row repeats on every page it
// runs over, differences marked and totals under the items, the page number at the foot, and
// a line for the accountant's signature at the end. Needs a QGuiApplication (the fonts).
// False with `error` set when the file cannot be written.
bool writeReportPdf(const Reconciliation& report, const QString& path, QString& error);

}  // namespace belmo::proof
