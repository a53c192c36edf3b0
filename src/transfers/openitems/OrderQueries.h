#pragma once

#include <QString>

namespace belmo::services {
struct Fragments;
}

namespace belmo::transfers {

// The open order lines of the source for the orders panel: live headers of order type 8
// (account on the credit side, quantity ordered in, BA "+") and 7 (account on the debit
// side, quantity ordered out, BA "-") whose line is not invoiced (Cari_Sip.Ftr 0), with a
// live stock card and a live account, by date and record number. Fifteen columns: tick,
// record, date as stored, date as text, document, document type, account title, stock
// code, stock name, BA, quantity, unit, unit price, VAT rate, discount; then, not shown, the
// quantity (Miktar) and the unit price (Fiyat) as numbers.
QString orderLoader(const services::Fragments& f);

}  // namespace belmo::transfers
