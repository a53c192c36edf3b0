#include "transfers/openitems/ChequeQueries.h"

#include "db/DbError.h"
#include "services/Fragments.h"
#include "services/TemporaryViews.h"

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;

namespace {

// A view's definition without the Gizle condition that closes the WHERE clause of every
// first definition; view 1 has its description column and its grouping besides.
struct ViewPieces {
    QString select;
    QString from;
    QString where;
};

ViewPieces viewPieces(int slot)
{
    switch (slot) {
    case 1:
        return {u"SELECT Cek_.Cek_No, Sum(Cek_.Tutar) AS ToplaTutar,"_s,
                u"FROM (Cek_ INNER JOIN Kayit ON Cek_.Kayit_No = Kayit.Kayit_No) LEFT JOIN Cari_H ON Kayit.Kayit_No = Cari_H.Kayit_No "_s,
                u"WHERE Kayit.Sil=0 "_s};
    case 2:
        return {u"SELECT Kayit.Evrak_No, Cek_.Cek_No, Hesaplar.TAMUNVAN, Kayit.Kayit_No, Cek_.Tarih, Cek_.Tutar "_s,
                u"FROM (Kayit INNER JOIN Cek_ ON Kayit.Kayit_No = Cek_.Kayit_No) LEFT JOIN Hesaplar ON Kayit.A_MID = Hesaplar.MID1 "_s,
                u"Where Cek_.Tutar > 0 And Kayit.Sil = 0 "_s};
    case 3:
        return {u"SELECT Kayit.B_Hs,Kayit.Evrak_No, Cek_.Cek_No, Hesaplar.TAMUNVAN, Kayit.Kayit_No, Cek_.Tutar, Cek_.Tarih "_s,
                u"FROM (Kayit INNER JOIN Cek_ ON Kayit.Kayit_No = Cek_.Kayit_No) LEFT JOIN Hesaplar ON Kayit.B_MID = Hesaplar.MID1 "_s,
                u"Where Cek_.Tutar < 0 And Kayit.Sil = 0 "_s};
    case 4:
        return {u"SELECT distinct Cek_.Cek_No, Cek_.Hesap_No, Cek_.Banka, Cek_.Sube, Cek_.Vade, Cek_.Para_Birim, Cek_.Yetkili, ABS(Cek_.Tutar) AS Deyim1 "_s,
                u"FROM Kayit INNER JOIN Cek_ ON Kayit.Kayit_No = Cek_.Kayit_No "_s,
                u"Where Kayit.Sil = 0 "_s};
    case 5:
        return {u"SELECT Cek_No "_s,
                u"FROM Cek_ INNER JOIN Kayit ON Cek_.Kayit_No = Kayit.Kayit_No "_s,
                u"WHERE Kayit.Sil=0 AND Kayit.B_Gr<>'01' AND B_Hs=101 "_s};
    default:
        return {};
    }
}

// Every first definition leaves out hidden cheques (Gizle 1). View 1 sums per cheque: its
// first definition takes the last description of the cheque's records, its fallback
// groups by description instead, so that a cheque whose records carry different
// descriptions gets one partial total per description.
QString view(int slot, bool fallback)
{
    Q_ASSERT(slot >= 1 && slot <= 5);
    const ViewPieces p = viewPieces(slot);
    QString text = p.select;
    if (slot == 1) text += fallback ? u"Cari_H.Aciklama "_s : u"last(Cari_H.Aciklama) AS Aciklama "_s;
    text += p.from + p.where;
    if (!fallback) text += u"and Cek_.Gizle<>1 "_s;
    if (slot == 1)
        text += fallback ? u"GROUP BY Cek_.Cek_No, Kayit.Sil,Cari_H.Aciklama "_s : u"GROUP BY Cek_.Cek_No, Kayit.Sil, Cek_.Gizle "_s;
    return text;
}

QString each(const QString& prefix, std::initializer_list<const char*> pieces)
{
    QString text;
    for (const char* piece : pieces) text += prefix + QString::fromUtf8(piece);
    return text;
}

// The title of the account the cheque went to, or TAHSİLAT for an exit into main account
// 100 (a collection).
QString recipient(const services::Fragments& f, const QString& p)
{
    return f.conditional(p + u"3.B_Hs<>100 "_s, p + u"3.TAMUNVAN "_s, p + u"3.B_Hs=100 "_s, u" 'TAHSİLAT' "_s);
}

// The amount without sign as a number, after the grid's columns.
QString rawColumns(const QString& p) { return u", "_s + p + u"4.Deyim1 AS Tutar "_s; }

// Every cheque of view 4 with its total, its entry and its exit.
QString fromViews(const QString& p)
{
    return u"FROM (("_s
        + each(p, {"4 LEFT JOIN ", "1 ON ", "4.Cek_No = ", "1.Cek_No) LEFT JOIN ", "2 ON ", "4.Cek_No = ",
                   "2.Cek_No) LEFT JOIN ", "3 ON ", "4.Cek_No = ", "3.Cek_No "});
}

}  // namespace

QString chequeView(int slot) { return view(slot, false); }

QString chequeFallbackView(int slot) { return view(slot, true); }

QString chequePortfolioLoader(const services::Fragments& f, const QString& views)
{
    const QString& p = views;
    return u"SELECT DISTINCT '', "_s + p + u"2.Evrak_No,"_s
        + f.TutarBas + p + u"4.Deyim1"_s + f.TutarSon + u","_s + p + u"4.Para_Birim,"_s
        + f.TarihMetinBas + p + u"4.Vade"_s + f.TarihMetinSon + u","_s
        + each(p, {"4.Cek_No, ", "4.Banka, ", "4.Sube, ", "2.TAMUNVAN, "})
        + f.TarihMetinBas + p + u"2.Tarih"_s + f.TarihMetinSon + u","_s + p + u"3.Evrak_No,"_s
        + recipient(f, p) + u" ,"_s
        + f.TarihMetinBas + p + u"3.Tarih"_s + f.TarihMetinSon + u", "_s
        + each(p, {"2.Kayit_No,", "4.Vade, ", "1.Aciklama "}) + rawColumns(p)
        + fromViews(p)
        + u"Where ((("_s + p + u"1.ToplaTutar) > 0)) and "_s + p + u"4.Cek_No not in(Select Cek_No from "_s + p + u"5) "_s
        + u"ORDER BY "_s + p + u"4.Vade "_s;
}

QString chequeClearingLoader(const services::Fragments& f, const QString& views)
{
    const QString& p = views;
    return u"SELECT DISTINCT '', "_s + p + u"3.Evrak_No,"_s
        + f.TutarBas + p + u"4.Deyim1"_s + f.TutarSon + u","_s + p + u"4.Para_Birim, "_s
        + f.TarihMetinBas + p + u"4.Vade"_s + f.TarihMetinSon + u","_s
        + each(p, {"4.Cek_No, ", "4.Banka, ", "4.Sube,"})
        + recipient(f, p) + u" , "_s
        + f.TarihMetinBas + p + u"3.Tarih"_s + f.TarihMetinSon + u", "_s + p + u"2.Evrak_No, "_s + p + u"2.TAMUNVAN ,"_s
        + f.TarihMetinBas + p + u"2.Tarih"_s + f.TarihMetinSon + u","_s
        + each(p, {"2.Kayit_No,", "4.Vade, ", "1.Aciklama "}) + rawColumns(p)
        + fromViews(p)
        + u"Where ((("_s + p + u"1.ToplaTutar) = 0)) AND "_s + p + u"4.Cek_No in(Select * from "_s + p + u"5) "_s
        + u"ORDER BY "_s + p + u"4.Vade "_s;
}

void buildChequeViews(db::Connection& source, const services::ViewSet& views)
{
    for (int slot = 1; slot <= 5; ++slot) {
        services::GORUNUMSIL(source, views, slot);
        try {
            services::GORUNUMOLUSTUR(source, views, slot, chequeView(slot));
        } catch (const db::DbError& e) {
            if (e.databaseLevel()) throw;
            services::GORUNUMOLUSTUR(source, views, slot, chequeFallbackView(slot));
        }
    }
}

}  // namespace belmo::transfers
