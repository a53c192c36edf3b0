#pragma once

namespace belmo::db {
class Connection;
}

namespace belmo::demo {

enum class Size { Small, Large };

// How much of each kind the demo company holds.
struct Scale {
    int domesticCustomers;
    int exportCustomers;
    int suppliers;
    int stockCards;
    int accountDocuments;  // current-account movements without stock
    int stockLines;        // stock movements, each with its header and current-account line
    int cheques;
    int orderDocuments;
    int instalmentInvoices;
    // Volume for the open-item and transport steps, on top of the cases every demo holds once.
    int portfolioCheques;    // further cheques taken for sales and still held
    int clearingCheques;     // further cheques handed to the bank, due in the new period
    int openOrderDocuments;  // further orders not yet invoiced
    int instalmentPlans;     // further invoices paid in monthly instalments into the new period
    int drivers;             // further drivers in each column, domestic and international
    int vehicles;            // further vehicles in each column
    int carnets;             // further carnets

    static Scale of(Size size);
};

// Fills a prepared company database with the closing period 2025 of a trading and transport
// company: settings and definitions, current accounts with TL, USD and EURO movements, stock
// in several warehouses with purchases, sales and lots, cheques in portfolio, in clearing,
// endorsed and collected, open and invoiced orders, instalments before and after the
// cut-off, the transport module's definitions, some deleted rows and a few awkward values
// (apostrophes in codes and names). The same size gives the same data on every run.
// Every case the open-item and transport steps must meet is there once, whatever the size;
// they are written after the year's other data, so that those keep their numbers.
void fillSourceCompany(db::Connection& con, Size size);

}  // namespace belmo::demo
