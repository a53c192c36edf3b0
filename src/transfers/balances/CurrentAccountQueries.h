#pragma once

#include <QString>

namespace belmo::db {
class Connection;
}

namespace belmo::services {
struct Fragments;
class ViewSet;
}

// The statements of the current-account panel: the debit-side and credit-side balance
// views it builds in the source (CMZN + user code + 1 and 2) and the loader that nets them
// per account and currency. The query tests and the benchmark run the same text.
namespace belmo::transfers {

QString currentAccountDebitView(const services::Fragments& f);
QString currentAccountCreditView(const services::Fragments& f);

// `views` is the views' name without the slot digit (CMZN + user code); hideZero is the
// "Bakiyesizleri Gizle" box. The loader lists tick, main account, group, code, title and the
// TL, USD and EURO balances (debit minus credit) as text in the amount formats, then the same
// three balances as numbers (Ytl, Dvz1, Dvz2).
QString currentAccountLoader(const services::Fragments& f, const QString& views, bool hideZero);

// Drops the two views of `views` in the source and makes them again (the panel before each
// load, the reconciliation report on its read-only connection, where they are temporary).
void buildCurrentAccountViews(db::Connection& source, const services::ViewSet& views, const services::Fragments& f);

}  // namespace belmo::transfers
