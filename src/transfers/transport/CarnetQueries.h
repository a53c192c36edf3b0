#pragma once

#include "db/Recordset.h"

#include <QString>

namespace belmo::services {
struct Fragments;
}

namespace belmo::transfers {

// The carnets of the source that are still of use in the target's period: those whose end
// date falls on or after 1 January of `period` (DONEM of the target, as text) and that are
// not handed in (Teslim 0). Twelve columns: tick, ID, carnet number, start, end, issue and
// return dates as dd.mm.yyyy, plate, trailer plate, driver, outward journey, Teslim; then the
// four dates as dates and Teslim again (HamBas_Trh, HamBit_Trh, HamVer_Trh, HamIade_Trh,
// HamTeslim).
//
// Sources written before the carnet table had a Teslim column reject that statement; with
// teslimColumn false the loader lists the constant 0 in its place (in both columns) and
// leaves out the handed-in condition.
db::Query carnetLoader(const services::Fragments& f, const QString& period, bool teslimColumn);

}  // namespace belmo::transfers
