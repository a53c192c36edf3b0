#pragma once

// The current-account panel's statements as it assembles them from the dialect fragments:
// the debit-side and credit-side balance views (CMZN + user code + 1 and 2) and the loader
// that nets them per account and currency. The query tests check what they return; the
// benchmark times them over the large demo company.
#include "QueryFixture.h"

namespace belmo::test {

QString currentAccountDebitView(const Fragments& f);
QString currentAccountCreditView(const Fragments& f);
// hideZero is the "Bakiyesizleri Gizle" box.
QString currentAccountLoader(const Fragments& f, bool hideZero);

}  // namespace belmo::test
