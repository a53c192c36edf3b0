#pragma once

#include "console/PreviewStep.h"
#include "db/Value.h"
#include "services/Posting.h"

#include <QSet>
#include <QStringList>

#include <optional>

namespace belmo::db {
class Connection;
class Recordset;
}
namespace belmo::services {
struct KayitDegerleri;
}

namespace belmo::transfers {

// The current-account and stock steps: the ticked cards are copied from the source into the
// target and each ticked row's balance becomes an opening entry dated 1 January of the
// target's period, written by the shared writers.
//
// "Başla", in the step frame (one transaction on the target, all or nothing):
//  - takes the ticked keys (no ticked row: error 5, before anything else) and reads the
//    target's period (one that is not a year stops the step before any write);
//  - when the target holds cards already, asks whether to go on (No ends the step, nothing
//    written) and whether to delete the target's data (Yes deletes its cards and marks
//    deleted every live header with one of the step's main accounts on either side; either
//    failing stops the step);
//  - copies the ticked cards from the source, column by column, leaving out a column that
//    does not fit and listing a card that cannot be saved;
//  - unless "Bakiyeleri Belmoetme" is ticked, posts each ticked row's entries into the
//    target, the progress bar advancing row by row; an entry that cannot be written is
//    listed and the next follows;
//  - shows the completion message and finishes: the done mark, and in the wizard the next
//    step.
class OpeningBalanceStep : public console::PreviewStep {
public:
    widgets::CheckBox bakiyeleriBelmoetme{QStringLiteral("Bakiyeleri Belmoetme")};
    widgets::ProgressBar bar;

protected:
    struct Cards {
        QString table;         // Hesaplar, Stok_Tanim
        QString key;           // the card's key column
        QString except;        // a condition every card copied and deleted meets; may be empty
        QStringList columns;   // copied in this order
        QString mainAccounts;  // "320,120": the headers the deletion of the target's data marks
        QStringList entries;   // the tables the opening entries are written into
    };
    OpeningBalanceStep(console::StepHost& host, console::StepId id, const QString& caption, Cards cards,
                       QString completion);

    // rowKey(row) is the card key of a row.
    // Posts the opening entries of one ticked row into the target, each entry as one row of
    // the transfer.
    virtual void post(int row, console::Transfer& t) = 0;
    // Called once before the rows are posted: what every row's posting shares (the decimals
    // of the number formats) is read here, not once a row.
    virtual void preparePosting() {}

    // The posting values of a new opening entry: everything an earlier posting left is
    // cleared, and the members every opening entry shares are set: the date, document type
    // 0, transaction 1 and a new "K" document number of the target.
    services::KayitDegerleri& newEntry();
    // The entry's sides: the card on the debit side (B) or, for a credit, on the credit
    // side (A); the opening counter-account "500" / "01" / "001" on the other.
    void sides(services::KayitDegerleri& k, const db::Value& mainAccount, const db::Value& group, const db::Value& code,
               bool credit) const;

    void Basla() final;

private:
    QSet<QString> tickedKeys() const;
    bool clearTarget(db::Recordset& existing, db::Connection& target);
    void copyCards(console::Transfer& t, db::Recordset& to, const QSet<QString>& keys);

    Cards cards_;
    QString completion_;
    db::Value date_;
    std::optional<services::DocumentSeries> series_;  // the "K" numbers, while the entries are posted
};

}  // namespace belmo::transfers
