#pragma once

#include "db/Recordset.h"

#include <QString>

namespace belmo::services {
struct Fragments;
}

namespace belmo::transfers {

// The first due date the instalments panel lists: 1 January of the year after the source
// period, "01.01." followed by DONEM + 1.
QString instalmentCutoff(int sourcePeriod);

// The live instalments (instalment number not 0) in TL, USD and EURO due on or after the
// cut-off, by due date and ID. Fourteen columns: tick, ID, invoice, instalment number, due
// date, account title, description, amount, paid (the invoice's posted amount in the
// instalment's currency), remaining (empty), currency, exchange rate, an empty "od" and the
// raw due date.
db::Query instalmentLoader(const services::Fragments& f, const QString& cutoff);

}  // namespace belmo::transfers
