#include "transfers/openitems/OrderQueries.h"

#include "services/Fragments.h"

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;

namespace {

// One order type's select. Type 7 closes its discount with the price format, so it shows
// four decimals where type 8 shows two.
QString orderSelect(const services::Fragments& f, bool salesOrder)
{
    return u"Select '',Kayit.Kayit_No,Kayit.Tarih,"_s + f.TarihMetinBas + u"Kayit.Tarih"_s + f.TarihMetinSon
        + u",Kayit.Evrak_No,Evrak_Turu.Aciklama,Hesaplar.TAMUNVAN,Stok_Tanim.Stok_Kodu,Stok_Tanim.Stok_Adi,"_s
        + (salesOrder ? u"'-' as BA,"_s : u"'+' as BA,"_s)
        + f.MiktarBas + (salesOrder ? u"Stok_Sip.Cikan1"_s : u"Stok_Sip.Giren1"_s) + f.MiktarSon + u",Stok_Tanim.Birim1,"_s
        + f.FiyatBas + u"Cari_Sip.B_Fiyat"_s + f.FiyatSon + u",Stok_Tanim.Kdv,"_s
        + f.TutarBas + u"Cari_Sip.iskonto"_s + (salesOrder ? f.FiyatSon : f.TutarSon)
        // The quantity and the unit price as numbers, after the grid's columns.
        + u","_s + (salesOrder ? u"Stok_Sip.Cikan1"_s : u"Stok_Sip.Giren1"_s) + u" AS Miktar,Cari_Sip.B_Fiyat AS Fiyat"_s
        + u" from Kayit,Cari_Sip,Stok_Tanim,Stok_Sip,Evrak_Turu,Hesaplar "_s
        + (salesOrder
               ? u"where Kayit.Sil=0 and Stok_Tanim.Sil=0 AND Hesaplar.Sil=0 and Hesaplar.MID1=Kayit.B_MID and Hesaplar.Grupkod=Kayit.B_Gr and Stok_Sip.Kayit_No=Kayit.Kayit_No and Cari_Sip.Kayit_No=Kayit.Kayit_No and Stok_Tanim.SID2=Stok_Sip.Stok_Kodu AND Evrak_Turu.Evrak_Kodu=Kayit.Evrak_Kodu and Cari_Sip.Ftr=0 AND Kayit.Evrak_Kodu=7"_s
               : u"where Kayit.Sil=0 and Stok_Tanim.Sil=0 AND Hesaplar.Sil=0 and Hesaplar.MID1=Kayit.A_MID and Hesaplar.Grupkod=Kayit.A_Gr and Stok_Sip.Kayit_No=Kayit.Kayit_No and Cari_Sip.Kayit_No=Kayit.Kayit_No and Stok_Tanim.SID2=Stok_Sip.Stok_Kodu AND Evrak_Turu.Evrak_Kodu=Kayit.Evrak_Kodu and Cari_Sip.Ftr=0 AND Kayit.Evrak_Kodu=8"_s);
}

}  // namespace

QString orderLoader(const services::Fragments& f)
{
    return orderSelect(f, false) + u" UNION "_s + orderSelect(f, true) + u" ORDER BY Kayit.Tarih,Kayit.Kayit_No"_s;
}

}  // namespace belmo::transfers
