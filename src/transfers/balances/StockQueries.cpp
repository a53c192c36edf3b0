#include "transfers/balances/StockQueries.h"

#include "services/Fragments.h"
#include "services/TemporaryViews.h"

#include <QList>

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;

namespace {

QString each(const QString& prefix, std::initializer_list<const char*> pieces)
{
    QString text;
    for (const char* piece : pieces) text += prefix + QString::fromUtf8(piece);
    return text;
}

// The average purchase price is the TL total of the live purchase lines (main account 153
// or 0 on the debit side) over the quantity bought, per card and warehouse or per card.
// The purchases of one card and warehouse are one row whatever their header's main account:
// two rows would list, and carry, the same stock once per row.
QString priceView(bool perWarehouse)
{
    const QString keys = perWarehouse ? u"Stok_H.Depo_Kodu, Stok_Tanim.SID2"_s : u"Stok_Tanim.SID2"_s;
    return u"SELECT "_s + keys + u", (Sum(Cari_H.Tutar_Ytl)/Sum(Stok_H.Giren1)) AS Ort, Max(Cari_H.B_Fiyat) AS MaksAl, Min(Cari_H.B_Fiyat) AS MinAl "_s
           u"FROM ((Kayit INNER JOIN Cari_H ON Kayit.Kayit_No = Cari_H.Kayit_No) INNER JOIN Stok_Tanim ON Kayit.B_MID = Stok_Tanim.SID2) INNER JOIN Stok_H ON Kayit.Kayit_No = Stok_H.Kayit_No "_s
           u"Where Stok_H.Giren1 <> 0 AND Cari_H.B_Fiyat<>0 AND Kayit.B_Hs In (153,0) AND Kayit.Sil=0 AND Stok_Tanim.Sil=0 "_s
           u"GROUP BY "_s + keys + u" "_s;
}

}  // namespace

// The warehouse code is listed beside its "code name" text so that the loader can match
// each warehouse's stock with that warehouse's prices.
QString stockQuantityView()
{
    return u"SELECT Stok_H.Stok_Kodu, Sum([Giren1]-[Cikan1]) AS Deyim1, Stok_H.Birim1,Depo.Depo_Kodu & ' ' & Depo.Depo_Adi as DP, Depo.Depo_Kodu "_s
           u"FROM ((Stok_H LEFT JOIN Kayit ON Stok_H.Kayit_No = Kayit.Kayit_No) left join Depo on Stok_H.Depo_Kodu=Depo.Depo_Kodu) "_s
           u"WHERE Depo.Ana_Hs=153 "_s
           u"GROUP BY Stok_H.Stok_Kodu, Stok_H.Birim1, Stok_H.Stok_Kodu, Kayit.Sil, Depo.Depo_Kodu & ' ' & Depo.Depo_Adi,Depo.Ana_Hs,Depo.Depo_Kodu "_s
           u"Having (((Kayit.Sil) = 0)) "_s;
}

QString stockPriceView() { return priceView(true); }

QString stockCardPriceView() { return priceView(false); }

QString stockLotPriceView()
{
    return u"SELECT Stok_H.Lot_No, Stok_Tanim.SID2,AVG(Cari_H.B_Fiyat) AS OrtalamaB_Fiyat,Depo.Depo_Kodu & ' ' & Depo.Depo_Adi as DP, Depo.Depo_Kodu "_s
           u"FROM ((((Kayit INNER JOIN Cari_H ON Kayit.Kayit_No = Cari_H.Kayit_No) INNER JOIN Stok_Tanim ON Kayit.B_MID = Stok_Tanim.SID2) INNER JOIN Stok_H ON Kayit.Kayit_No = Stok_H.Kayit_No) LEFT JOIN Depo on Depo.Depo_Kodu=Stok_H.Depo_Kodu) "_s
           u"WHERE (((Kayit.Evrak_Kodu) Not In (5,6))) and Depo.Ana_Hs=153 "_s
           u"GROUP BY Stok_H.Lot_No, Stok_Tanim.SID2, Kayit.B_Hs, Kayit.Sil, Stok_Tanim.Sil,Depo.Depo_Kodu & ' ' & Depo.Depo_Adi,Depo.Depo_Kodu "_s
           u"Having Kayit.B_Hs in(153,0) And Kayit.Sil = 0 And Stok_Tanim.Sil = 0 "_s;
}

QString stockLotQuantityView()
{
    return u"SELECT Stok_H.Depo_Kodu,Stok_Tanim.SID2,Stok_Tanim.Barkod,Stok_H.Lot_No,Stok_Tanim.Stok_Kodu AS Stok_Tanim_Stok_Kodu, Stok_Tanim.Aciklama, Stok_Tanim.Stok_Adi, Gruplar.Grupadi, Sum([Giren1]-[Cikan1]) AS Deyim1, Stok_H.Birim1, Stok_H.Stok_Kodu AS Stok_H_Stok_Kodu "_s
           u"FROM (((Stok_H LEFT JOIN Stok_Tanim ON Stok_H.Stok_Kodu = Stok_Tanim.SID2) LEFT JOIN Kayit ON Stok_H.Kayit_No = Kayit.Kayit_No) LEFT JOIN Gruplar ON Gruplar.Grup = Stok_Tanim.Stok_Grubu) "_s
           u"Where Kayit.Sil = 0 And Gruplar.Ana_Hs = 153 "_s
           u"GROUP BY Stok_Tanim.Stok_Kodu, Stok_Tanim.Aciklama, Stok_Tanim.Stok_Adi, Gruplar.Grupadi, Stok_H.Birim1, Stok_H.Stok_Kodu,Stok_H.Lot_No,Stok_Tanim.Barkod,Stok_H.Depo_Kodu,Stok_Tanim.SID2"_s;
}

QString stockLoader(const services::Fragments& f, const QString& views, bool positiveOnly)
{
    const QString& p = views;
    // The quantity on hand, or 0 for a card without stock movements.
    const QString quantity = f.conditional(p + u"1.Deyim1 Is Not Null "_s, p + u"1.Deyim1 "_s, p + u"1.Deyim1 Is Null "_s, u" 0 "_s);
    // The warehouse's own price, or the card's over every warehouse when it has none.
    const auto price = [&](const QString& column) {
        return u"("_s + f.conditional(p + u"2."_s + column + u" Is Not Null "_s, p + u"2."_s + column + u" "_s,
                                      p + u"2."_s + column + u" Is Null "_s, p + u"3."_s + column + u" "_s) + u")"_s;
    };
    QString sql = u"SELECT '' AS Deyim2, Stok_Tanim.Stok_Kodu, Stok_Tanim.Stok_Adi, Gruplar.Grupadi, Stok_Tanim.Aciklama, "_s
        + f.MiktarBas + u"("_s + quantity + u")"_s + f.MiktarSon + u" AS Deyim3, Stok_Tanim.Birim1, Stok_Tanim.SID2, Stok_Tanim.SID2,"_s
        + f.FiyatBas + price(u"Ort"_s) + f.FiyatSon + u","_s + f.FiyatBas + price(u"MaksAl"_s) + f.FiyatSon + u","_s
        + f.FiyatBas + price(u"MinAl"_s) + f.FiyatSon + u","_s
        + f.TutarBas + price(u"Ort"_s) + u"*("_s + quantity + u")"_s + f.TutarSon + u" AS Deyim4,"_s + p + u"1.DP, "_s
        + p + u"1.Depo_Kodu, "_s
        // The quantity, the price and the value as numbers, beside the grid's columns.
        + u"Stok_Tanim.SID2 AS Kart, ("_s + quantity + u") AS HamMiktar, "_s + price(u"Ort"_s) + u" AS HamFiyat, "_s + price(u"Ort"_s) + u"*("_s
        + quantity + u") AS HamTutar "_s
        + u"FROM ((("_s + p + u"1 RIGHT JOIN Stok_Tanim ON "_s + p
        + u"1.Stok_Kodu = Stok_Tanim.SID2) LEFT JOIN Gruplar ON (Stok_Tanim.Stok_Grubu = Gruplar.Grup) AND (Stok_Tanim.A_Hs = Gruplar.Ana_Hs)) LEFT JOIN "_s
        // Prices on card and warehouse: joined on the card alone, a card bought in two
        // warehouses would list (and carry) each warehouse's stock once per price row.
        + p + u"2 ON (Stok_Tanim.SID2 = "_s + p + u"2.SID2) AND ("_s + p + u"1.Depo_Kodu = "_s + p + u"2.Depo_Kodu)) "_s
        + u"LEFT JOIN "_s + p + u"3 ON Stok_Tanim.SID2 = "_s + p + u"3.SID2 "_s
        + u"where Stok_Tanim.Sil=0 "_s;
    if (positiveOnly) sql += u"AND ("_s + quantity + u" )>0"_s;
    return sql;
}

QString stockLotLoader(const services::Fragments& f, const QString& views, bool positiveOnly)
{
    const QString& p = views;
    QString sql = u"SELECT '' AS Bos,"_s
        + each(p, {"2.Lot_No, ", "2.Stok_Tanim_Stok_Kodu, ", "2.Stok_Adi, ", "2.Grupadi, ", "2.Aciklama,"})
        + f.MiktarBas + u"Sum("_s + p + u"2.Deyim1)"_s + f.MiktarSon + u" AS ToplaDeyim1,"_s
        + p + u"2.Birim1, "_s + p + u"2.SID2,"_s
        + f.TutarBas + u"Sum("_s + p + u"1.OrtalamaB_Fiyat)"_s + f.TutarSon + u" AS ToplaOrtalamaB_Fiyat, "_s
        + f.FiyatBas + u"Sum(("_s + p + u"1.OrtalamaB_Fiyat)*("_s + p + u"2.Deyim1))"_s + f.FiyatSon + u","_s + p + u"1.DP, "_s + p
        + u"2.SID2, "_s + p + u"1.Depo_Kodu, "_s
        + p + u"2.SID2 AS Kart, Sum("_s + p + u"2.Deyim1) AS HamMiktar, Sum("_s + p + u"1.OrtalamaB_Fiyat) AS HamFiyat, Sum(("_s + p
        + u"1.OrtalamaB_Fiyat)*("_s + p + u"2.Deyim1)) AS HamTutar "_s + u"FROM "_s
        + each(p, {"2 LEFT JOIN ", "1 ON (", "2.Stok_H_Stok_Kodu = ", "1.SID2) AND (", "1.Lot_No = ", "2.Lot_No) "})
        + u"where "_s + p + u"2.Stok_Adi<>'' "_s + u"GROUP BY "_s
        + each(p, {"2.Lot_No, ", "2.Stok_Tanim_Stok_Kodu, ", "2.Stok_Adi, ", "2.Grupadi, ", "2.Aciklama, ", "2.Birim1, ",
                   "2.SID2,", "1.DP, ", "1.Depo_Kodu "});
    if (positiveOnly) sql += u"having Sum("_s + p + u"2.Deyim1)>0 "_s;
    return sql;
}

void buildStockViews(db::Connection& source, const services::ViewSet& views, bool lots)
{
    const QList<QString> definitions = lots ? QList{stockLotPriceView(), stockLotQuantityView()}
                                            : QList{stockQuantityView(), stockPriceView(), stockCardPriceView()};
    for (int slot = 1; slot <= definitions.size(); ++slot) {
        services::GORUNUMSIL(source, views, slot);
        services::GORUNUMOLUSTUR(source, views, slot, definitions[slot - 1]);
    }
}

}  // namespace belmo::transfers
