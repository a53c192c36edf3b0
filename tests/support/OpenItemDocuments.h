#pragma once

#include "support/TestCompany.h"

#include <QDate>

namespace belmo::test {

// The open items as the package writes them, into the company given.

// A side of a header: main account, group and account code.
struct Side {
    int main;
    QString group;
    QString code;
};

// One record of a cheque's history: a header of document type 15, its current-account line
// and the cheque's row. The amount is positive on the way in and negative on the way out.
// A cheque table without a Gizle column gets the row without it.
struct ChequeRecord {
    QString cheque;
    QString document;
    QDate date;
    double amount;
    Side debit;
    Side credit;
    QString description = {};
    QDate due = QDate(2026, 6, 1);
    QString currency = QStringLiteral("TL");
    int hidden = 0;
    int deleted = 0;
    int transaction = 31;
};
qint64 writeChequeRecord(TestCompany& company, db::Connection& con, const ChequeRecord& record);

// One order line: a header whose account is on the credit side for type 8 (an order to a
// supplier, the card on the debit side under 153) and on the debit side for type 7 (a
// customer's order, the card on the credit side), the account-side line and the stock-side
// line.
struct OrderDocument {
    int type;
    QDate date;
    QString document;
    QString account;
    QString group;
    QString card;
};
struct OrderLine {
    double in = 0, out = 0, price = 0, discount = 0;
    int invoiced = 0;
    int deleted = 0;
};
qint64 writeOrderLine(TestCompany& company, db::Connection& con, const OrderDocument& order, const OrderLine& line);

// One instalment of an invoice of account C1 (group 01, main account 120).
struct Instalment {
    QString invoice;
    qint64 header;
    int number;
    QDate due;
    QString currency;
    double amount;
    double rate = 0;
    QString account = QStringLiteral("C1");
    int deleted = 0;
};
qint64 writeInstalment(TestCompany& company, db::Connection& con, const Instalment& instalment);

}  // namespace belmo::test
