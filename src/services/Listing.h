#pragma once

#include <QSet>
#include <QString>

#include <vector>

// What the balance and open-item panels listed when "Başla" was last pressed on them: each
// loaded row's identity, its figures as the loader gave them (not as the grid shows them)
// and its tick. A reconciliation sets these against what the target holds, so that a run's
// report lists the source exactly as its panels did, without reading it again.
namespace belmo::services {

struct ListedAccount {
    QString main, group, code, title;
    double balances[3];  // TL, USD, EURO: debit minus credit
    bool ticked;
};
struct ListedStock {
    QString card, warehouse, lot;  // lot empty without "Lot Kullan"
    double quantity, value;
    bool ticked;
};
struct ListedCheque {
    QString list, number, currency;  // list: the option the panel showed
    double amount;
    bool ticked;
};
struct ListedOrder {
    QString header, document, stockCode, title;
    bool customerOrder;  // type 7, BA "-"
    double quantity, price;
    bool ticked;
};
struct ListedInstalment {
    QString id;
    bool ticked;
};

struct Listing {
    // The parts listed: "cari", "stok", "cek", "siparis", "taksit".
    QSet<QString> parts;
    bool lots = false;  // the stock was listed per lot
    std::vector<ListedAccount> accounts;
    std::vector<ListedStock> stock;
    std::vector<ListedCheque> cheques;  // both of the panel's lists, each as last listed
    std::vector<ListedOrder> orders;
    std::vector<ListedInstalment> instalments;

    // A part listed anew replaces what was listed of it before (of a cheque list, that list).
    void relist(const QString& part, const QString& chequeList = {});
};

}  // namespace belmo::services
