#include "services/Posting.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/JetDialect.h"
#include "db/Recordset.h"
#include "db/VbConvert.h"
#include "services/Errors.h"
#include "services/Fragments.h"
#include "services/KayitDegerleri.h"

#include <QDate>

namespace belmo::services {

using namespace Qt::Literals::StringLiterals;
using db::Value;

namespace {

constexpr auto kDynamic = db::CursorType::Dynamic;
constexpr auto kOptimistic = db::LockType::Optimistic;

// How the language compares a variant: an unset one equals 0 and "", Null equals nothing.
bool isEmptyText(const Value& v) { return v.isEmpty() || (v.isText() && v.textValue().isEmpty()); }
bool isBlank(const Value& v) { return v.isNull() || v.isEmpty() || vb::CStr(v).trimmed().isEmpty(); }
Value nullToZero(const Value& v) { return v.isNull() ? Value(0) : v; }
// Text that is no number fails with a type mismatch, as the comparison does.
double number(const Value& v) { return v.isEmpty() ? 0.0 : vb::CDbl(v); }
bool differsFromZero(const Value& v) { return !v.isNull() && number(v) != 0; }

// The header of a document. KayitDegerleri::Kayit_No becomes the largest header number
// plus one, the number the header is expected to get; the number the database actually gave
// it (larger when the last headers were removed) is returned for the lines.
qint64 writeHeader(const Ledger& ledger)
{
    KayitDegerleri& k = ledger.values;
    db::Connection& con = ledger.db;
    {
        db::Recordset last;
        last.open(u"select MAX(Kayit_No) as MaksKyt from Kayit"_s, con, db::CursorType::Static, db::LockType::ReadOnly);
        const Value largest = last.value(u"MaksKyt"_s);
        k.Kayit_No = largest.isNull() ? Value(1) : Value(static_cast<qint64>(vb::CDbl(largest)) + 1);
    }
    // The rows of today are never read: the recordset only serves the insert.
    const QString today = vb::formatDate(QDateTime(QDate::currentDate(), {}, Qt::UTC), u"dd.mm.yyyy");
    db::Recordset rs;
    rs.open(u"Select * from Kayit where Tarih="_s + ledger.sql.MetinTarihBas + u"'"_s + today + u"'"_s +
                ledger.sql.MetinTarihSon,
            con, kDynamic, kOptimistic);
    rs.addNew();
    rs.setValue(u"tarih"_s, vb::CDate(k.Tarih));
    rs.setValue(u"B_Hs"_s, k.B_Hs);
    rs.setValue(u"B_Gr"_s, k.B_Gr);
    if (ledger.HModu == 3) rs.setValue(u"STKB_MID"_s, k.STKB_MID);
    rs.setValue(u"B_MID"_s, k.B_MID);
    rs.setValue(u"A_Hs"_s, k.A_Hs);
    rs.setValue(u"A_Gr"_s, k.A_Gr);
    if (ledger.HModu == 3) rs.setValue(u"STKA_MID"_s, k.STKA_MID);
    rs.setValue(u"A_MID"_s, k.A_MID);
    rs.setValue(u"Evrak_Kodu"_s, k.Evrak_Kodu);
    rs.setValue(u"Evrak_No"_s, k.Evrak_No);
    rs.setValue(u"islem_Kod"_s, k.islem_Kod);
    rs.setValue(u"User_Code"_s, ledger.KullaniciKodu);
    rs.update();
    return rs.value(u"Kayit_No"_s).intValue();  // the recordset stays on the new row
}

// The header of a document; one that cannot be written leaves no document to write lines
// into, so its failure stops the step.
qint64 postHeader(const Ledger& ledger)
{
    try {
        return writeHeader(ledger);
    } catch (const db::DbError& e) {
        throw e.asDatabaseLevel();
    }
}

// A header and its current-account line; returns the header's number.
qint64 writeCurrentAccountLine(const Ledger& ledger)
{
    const KayitDegerleri& k = ledger.values;
    db::Recordset rs;
    rs.open(u"select * from Cari_H"_s, ledger.db, kDynamic, kOptimistic);
    rs.addNew();
    const qint64 header = postHeader(ledger);
    rs.setValue(u"Kayit_No"_s, header);
    rs.setValue(u"Aciklama"_s, k.Aciklama);
    rs.setValue(u"islem_Dvz"_s, k.islem_Dvz);
    rs.setValue(u"Doviz_Kuru"_s, k.Doviz_Kuru);
    rs.setValue(u"iskonto_Oran"_s, k.iskonto_Oran);
    rs.setValue(u"iskonto"_s, k.iskonto.isNull() || isEmptyText(k.iskonto) ? 0.0 : vb::CDbl(k.iskonto));
    if (!isBlank(k.Vade)) rs.setValue(u"Vade"_s, vb::CDate(k.Vade));
    rs.setValue(u"B_Fiyat"_s, nullToZero(k.B_Fiyat));
    rs.setValue(u"Tutar_Ytl"_s, k.Tutar_Ytl);
    rs.setValue(u"Tutar_Dvz1"_s, k.Tutar_Dvz1);
    rs.setValue(u"Tutar_Dvz2"_s, k.Tutar_Dvz2);
    rs.setValue(u"Alis_Kyt_No"_s, nullToZero(k.Alis_Kyt_No));
    rs.setValue(u"KDV"_s, nullToZero(k.KDV));
    rs.setValue(u"Doviz_Kuru"_s, k.Doviz_Kuru);
    rs.update();
    return header;
}

// The lot number after the last one used by a live document of type 2, 3 or 6; 1 when
// there is none.
Value nextLotNumber(db::Connection& con)
{
    db::Recordset rs;
    rs.open(u"select Stok_H.Lot_No from Stok_H,Kayit where Stok_H.Kayit_No=Kayit.Kayit_No and Kayit.Sil=0 "
            u"and Kayit.Evrak_Kodu in(2,3,6) AND Stok_H.Lot_No Is Not Null group by Stok_H.Lot_No "
            u"order by Stok_H.Lot_No "_s,
            con, db::CursorType::Static, db::LockType::ReadOnly);
    if (rs.eof()) return Value(1);
    rs.moveLast();
    return Value(vb::CDbl(rs.value(u"Lot_No"_s)) + 1);
}

void applyLotRule(KayitDegerleri& k, db::Connection& con)
{
    if (k.Lot_No.isNull()) k.Lot_No = Value(0);
    if (isEmptyText(k.Lot_No) && differsFromZero(k.A_Hs) && differsFromZero(k.B_Hs) && !k.Evrak_Kodu.isNull()) {
        const double kind = number(k.Evrak_Kodu);
        if (kind == 2 || kind == 3 || kind == 6) k.Lot_No = nextLotNumber(con);
    }
    if (isEmptyText(k.Lot_No)) k.Lot_No = Value(0);
}

void writeStockLine(const Ledger& ledger)
{
    KayitDegerleri& k = ledger.values;
    db::Recordset rs;
    rs.open(u"select * from Stok_H"_s, ledger.db, kDynamic, kOptimistic);
    rs.addNew();
    const qint64 header = writeCurrentAccountLine(ledger);
    rs.setValue(u"Kayit_No"_s, header);
    applyLotRule(k, ledger.db);
    rs.setValue(u"Lot_No"_s, k.Lot_No);
    rs.setValue(u"Stok_Kodu"_s, k.Stok_Kodu);
    rs.setValue(u"Giren1"_s, k.Giren1);
    rs.setValue(u"Cikan1"_s, k.Cikan1);
    rs.setValue(u"Birim1"_s, k.Birim1);
    rs.setValue(u"Giren2"_s, k.Giren2);
    rs.setValue(u"Cikan2"_s, k.Cikan2);
    rs.setValue(u"Birim2"_s, k.Birim2);
    rs.setValue(u"Aciklama1"_s, k.Aciklama1);
    rs.setValue(u"Aciklama2"_s, k.Aciklama2);
    rs.setValue(u"Stok_Kodu"_s, k.Stok_Kodu);
    rs.setValue(u"Depo_Kodu"_s, k.Depo_Kodu);
    rs.setValue(u"KDV"_s, k.KDV);
    rs.update();
}

// Writes a document; a document that could not be written whole has its headers marked
// deleted, so that no half of it counts, and the failure goes on to the caller.
template <typename Write>
void writeWhole(const Ledger& ledger, Write&& write)
{
    try {
        write(ledger);
    } catch (const db::DbError& e) {
        if (!e.databaseLevel()) EVRAKSIL(ledger.db, ledger.values.Evrak_No);
        throw;
    }
}

}  // namespace

void KAYITEKLE(const Ledger& ledger) { postHeader(ledger); }

void CARIHAREKETEKLE(const Ledger& ledger) { writeWhole(ledger, writeCurrentAccountLine); }

void STOKHAREKETEKLE(const Ledger& ledger) { writeWhole(ledger, writeStockLine); }

namespace {

// EVRAKNOAL on a recordset that may already stand on the series' row: opened (and the row
// made, at 1) when it is not.
Value takeNumber(db::Recordset& rs, db::Connection& con, const QString& prefix, bool advance)
{
    // Every statement may fail on its own and the next one still runs.
    Value result;
    if (!rs.isOpen())
        skip([&] { rs.open(u"Select * from Evr where On_Taki=?"_s, con, kDynamic, kOptimistic, {prefix}); });
    skip([&] {
        if (!rs.eof()) return;
        rs.addNew();
        rs.setValue(u"On_Taki"_s, prefix);
        rs.setValue(u"Evr_No"_s, 1);
        rs.update();
    });
    skip([&] { result = rs.value(u"Evr_No"_s); });
    if (advance) {
        skip([&] {
            rs.setValue(u"Evr_No"_s, vb::CDbl(rs.value(u"Evr_No"_s)) + 1);
            rs.update();
        });
    }
    return result;
}

QString documentNumber(const QString& prefix, const Value& n)
{
    return prefix + (n.isEmpty() || n.isNull() ? QString() : vb::CStr(n));
}

}  // namespace

Value EVRAKNOAL(db::Connection& con, const QString& prefix, bool advance)
{
    db::Recordset rs;
    return takeNumber(rs, con, prefix, advance);
}

QString nextDocumentNumber(db::Connection& con) { return documentNumber(u"K"_s, EVRAKNOAL(con, u"K"_s, true)); }

DocumentSeries::DocumentSeries(db::Connection& db, QString prefix) : db_(db), prefix_(std::move(prefix)) {}

Value DocumentSeries::next() { return takeNumber(row_, db_, prefix_, true); }

QString DocumentSeries::nextDocumentNumber() { return documentNumber(prefix_, next()); }

void EVRAKSIL(db::Connection& con, const Value& number)
{
    if (number.isNull() || isEmptyText(number)) return;
    db::Recordset rs;
    rs.open(u"UPDATE Kayit Set Sil=1 where Evrak_No=? AND Sil=0 "_s, con, kDynamic, kOptimistic, {vb::CStr(number)});
}

}  // namespace belmo::services
