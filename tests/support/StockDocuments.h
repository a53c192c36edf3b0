#pragma once

#include "support/TestCompany.h"

namespace belmo::test {

// One stock document as the package writes it: a header, its current-account line with the
// price and value, and its stock line into the warehouse.
struct StockLine {
    QString key;  // the card's SID2
    double quantity = 0;
    double price = 0;
    QString warehouse = QStringLiteral("01");
    int lot = 0;
    int deleted = 0;
    int debitMain = 153;  // of a purchase
};

// A purchase: the card (group G1) on the debit side, a supplier on the credit side, the
// quantity coming into the warehouse.
void writePurchase(TestCompany& company, db::Connection& con, const StockLine& line);
// A sale: a customer on the debit side, the card on the credit side, the quantity going out.
void writeSale(TestCompany& company, db::Connection& con, const StockLine& line);

}  // namespace belmo::test
