#include "support/StockDocuments.h"

namespace belmo::test {

using namespace Qt::Literals::StringLiterals;

namespace {

void write(TestCompany& company, db::Connection& con, const StockLine& l, bool purchase)
{
    if (purchase)
        company.insert(con, u"Kayit"_s, {{"B_Hs", l.debitMain}, {"B_Gr", "G1"}, {"B_MID", l.key}, {"A_Hs", 320}, {"A_Gr", "01"},
                                         {"A_MID", "S1"}, {"Evrak_Kodu", 3}, {"Sil", l.deleted}});
    else
        company.insert(con, u"Kayit"_s, {{"B_Hs", 120}, {"B_Gr", "01"}, {"B_MID", "C1"}, {"A_Hs", 153}, {"A_Gr", "G1"},
                                         {"A_MID", l.key}, {"Evrak_Kodu", 4}, {"Sil", l.deleted}});
    const qint64 no = con.lastInsertId();
    company.insert(con, u"Cari_H"_s,
                   {{"Kayit_No", no}, {"islem_Dvz", "TL"}, {"B_Fiyat", l.price}, {"Tutar_Ytl", l.quantity * l.price}});
    company.insert(con, u"Stok_H"_s,
                   {{"Kayit_No", no}, {"Stok_Kodu", l.key}, {"Lot_No", l.lot}, {purchase ? "Giren1" : "Cikan1", l.quantity},
                    {"Birim1", "KG"}, {"Depo_Kodu", l.warehouse}});
}

}  // namespace

void writePurchase(TestCompany& company, db::Connection& con, const StockLine& line) { write(company, con, line, true); }

void writeSale(TestCompany& company, db::Connection& con, const StockLine& line) { write(company, con, line, false); }

}  // namespace belmo::test
