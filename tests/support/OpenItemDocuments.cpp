#include "support/OpenItemDocuments.h"

namespace belmo::test {

using namespace Qt::Literals::StringLiterals;

qint64 writeChequeRecord(TestCompany& company, db::Connection& con, const ChequeRecord& r)
{
    company.insert(con, u"Kayit"_s, {{"tarih", r.date}, {"B_Hs", r.debit.main}, {"B_Gr", r.debit.group},
                                     {"B_MID", r.debit.code}, {"A_Hs", r.credit.main}, {"A_Gr", r.credit.group},
                                     {"A_MID", r.credit.code}, {"Evrak_Kodu", 15}, {"Evrak_No", r.document},
                                     {"islem_Kod", r.transaction}, {"User_Code", "07"}, {"Sil", r.deleted}});
    const qint64 no = con.lastInsertId();
    company.insert(con, u"Cari_H"_s, {{"Kayit_No", no}, {"Aciklama", r.description}, {"islem_Dvz", r.currency},
                                      {"Tutar_Ytl", r.amount}, {"Vade", r.due}});
    company.insert(con, u"Cek_"_s, {{"Kayit_No", no}, {"Cek_No", r.cheque}, {"Kimden", "ALICI AŞ"}, {"Hesap_No", "111"},
                                    {"Banka", "ZİRAAT"}, {"Sube", "KIZILAY"}, {"Vade", r.due}, {"Tutar", r.amount},
                                    {"Para_Birim", r.currency}, {"Yetkili", "ALİ"}, {"tarih", r.date}});
    if (con.columns(u"Cek_"_s).contains(u"Gizle"_s, Qt::CaseInsensitive))
        con.execute(u"UPDATE Cek_ SET Gizle=? WHERE Kayit_No=?"_s, {r.hidden, no});
    return no;
}

qint64 writeOrderLine(TestCompany& company, db::Connection& con, const OrderDocument& o, const OrderLine& l)
{
    const bool accountOnDebit = o.type == 7;
    const Side account{accountOnDebit ? 120 : 320, o.group, o.account};
    const Side card{153, u"01"_s, o.card};
    const Side& debit = accountOnDebit ? account : card;
    const Side& credit = accountOnDebit ? card : account;
    company.insert(con, u"Kayit"_s, {{"tarih", o.date}, {"B_Hs", debit.main}, {"B_Gr", debit.group}, {"B_MID", debit.code},
                                     {"A_Hs", credit.main}, {"A_Gr", credit.group}, {"A_MID", credit.code},
                                     {"Evrak_Kodu", o.type}, {"Evrak_No", o.document}, {"islem_Kod", 50},
                                     {"User_Code", "07"}, {"Sil", l.deleted}});
    const qint64 no = con.lastInsertId();
    company.insert(con, u"Cari_Sip"_s, {{"Kayit_No", no}, {"Aciklama", "SİPARİŞ"}, {"Tutar_Ytl", (l.in + l.out) * l.price},
                                        {"B_Fiyat", l.price}, {"iskonto", l.discount}, {"Ftr", l.invoiced},
                                        {"Evrak_No", o.document}, {"islem_Dvz", "TL"}, {"Plasiyer_Kodu", 3}});
    company.insert(con, u"Stok_Sip"_s, {{"Kayit_No", no}, {"Stok_Kodu", o.card}, {"Giren1", l.in}, {"Cikan1", l.out},
                                        {"Birim1", "KG"}, {"Depo_Kodu", "01"}});
    return no;
}

qint64 writeInstalment(TestCompany& company, db::Connection& con, const Instalment& t)
{
    company.insert(con, u"Taksit_H"_s, {{"Evrak_No", t.invoice}, {"Kayit_No", t.header}, {"Taksit_Sayisi", t.number},
                                        {"Vade_Tarihi", t.due}, {"MID1", t.account}, {"Grup_Kodu", "01"}, {"Ana_Hs", 120},
                                        {"Aciklama", QString::number(t.number) + u". TAKSİT"_s}, {"Tutar", t.amount},
                                        {"Para_Birim", t.currency}, {"Doviz_Kuru", t.rate}, {"Sil", t.deleted}});
    return con.lastInsertId();
}

}  // namespace belmo::test
