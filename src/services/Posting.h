#pragma once

#include "db/Recordset.h"
#include "db/Value.h"

#include <QString>

namespace belmo::db {
class Connection;
}

// The writers of documents: a header in Kayit, lines in Cari_H and Stok_H linked to it by
// Kayit_No, numbers from the series in Evr. They write into the database they are given,
// with the posting values and the run values of the ledger.
namespace belmo::services {

struct Fragments;
struct KayitDegerleri;

// What the writers write into and with: the company database, the posting values of the
// entry (filled by the step before each call, kept between calls), and the run values every
// header carries.
struct Ledger {
    db::Connection& db;
    KayitDegerleri& values;
    int HModu;                    // 3: the stock columns of the header are written too
    const QString& KullaniciKodu;  // User_Code of every header
    const Fragments& sql;
};

// One document header. A header that cannot be written stops the step that writes it: the
// error is thrown as one of the database.
void KAYITEKLE(const Ledger& ledger);

// A header and its current-account line. When the line cannot be written, every header of
// the document number (Evrak_No) is marked deleted and the error is thrown: a line is never
// written without the header it belongs to, and the caller lists the entry as not carried.
void CARIHAREKETEKLE(const Ledger& ledger);

// A header, its current-account line and its stock line (three rows, in this order), with
// the lot rule: a Null Lot_No becomes 0; an empty one on a document of type 2, 3 or 6 with
// both sides set takes the next lot number; an empty one otherwise becomes 0. Errors as in
// CARIHAREKETEKLE.
void STOKHAREKETEKLE(const Ledger& ledger);

// The next number of the series with this prefix (created at 1 when missing), advancing the
// series when told to. A statement that fails is skipped (an unreadable table gives Empty);
// a database that cannot be used is not.
db::Value EVRAKNOAL(db::Connection& db, const QString& prefix, bool advance);

// The number of a new document, as the steps build it: "K" and the next number of the "K"
// series ("K" alone when the series cannot be read).
QString nextDocumentNumber(db::Connection& db);

// The numbers of one series taken one after another inside one transaction, as a step posts
// its entries: each as EVRAKNOAL(db, prefix, true) gives it, but the series' row is looked up
// once and then read and advanced where it stands. Searching for it at every number would
// read every earlier version of the row the transaction has written. Lives no longer than
// the transaction: a rollback may move the row.
class DocumentSeries {
public:
    DocumentSeries(db::Connection& db, QString prefix);
    db::Value next();
    // "K" and the next number, as nextDocumentNumber.
    QString nextDocumentNumber();

private:
    db::Connection& db_;
    QString prefix_;
    db::Recordset row_;
};

// Marks every live header with this document number deleted; an empty or Null number
// changes nothing. Errors go to the caller.
void EVRAKSIL(db::Connection& db, const db::Value& number);

}  // namespace belmo::services
