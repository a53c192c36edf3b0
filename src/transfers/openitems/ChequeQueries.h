#pragma once

#include <QString>

namespace belmo::db {
class Connection;
}

namespace belmo::services {
struct Fragments;
class ViewSet;
}

// The statements of the cheque panel: five views built in the source (CK + user code + 1 to
// 5) and the two loaders over them, one per option of the panel. The query tests run the
// same text.
namespace belmo::transfers {

// The views, slot 1 to 5:
//   1 per cheque number: signed total ToplaTutar and a description Aciklama
//   2 entry records (amount above 0): document, cheque, title of the credit account, record,
//     date, amount
//   3 exit records (amount below 0): debit main account, document, cheque, title of the debit
//     account, record, amount, date
//   4 cheque details: number, account number, bank, branch, due date, currency, signatory
//     and the amount without sign (Deyim1)
//   5 numbers of the cheques that went into clearing
// The panel creates every slot with its first definition, then every slot again with its
// fallback. Creating a view that exists fails, so a fallback takes effect only where the
// first definition failed: in sources whose cheque table has no Gizle column.
QString chequeView(int slot);
QString chequeFallbackView(int slot);

// `views` is the views' name without the slot digit (CK + user code).
//
// "Portföydeki Çekler": cheques whose signed total is above 0 and that never went into
// clearing, one row per entry record, by due date. Sixteen columns: tick, entry document,
// amount, currency, due date, number, bank, branch, where from, entry date, exit document,
// where to (or TAHSİLAT), exit date, entry record, raw due date, description; then, not
// shown, the amount as a number (Tutar).
QString chequePortfolioLoader(const services::Fragments& f, const QString& views);
// "Takastaki Çekler": cheques whose signed total is 0 and that went into clearing, by due
// date. Sixteen columns: tick, exit document, amount, currency, due date, number, bank,
// branch, where to (or TAHSİLAT), exit date, entry document, where from, entry date, entry
// record, raw due date, description; then, not shown, the amount as a number (Tutar).
QString chequeClearingLoader(const services::Fragments& f, const QString& views);

// Drops the five views of `views` in the source and makes each again, with its fallback where
// the first definition is refused.
void buildChequeViews(db::Connection& source, const services::ViewSet& views);

}  // namespace belmo::transfers
