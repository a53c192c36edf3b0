#include "transfers/openitems/InstalmentQueries.h"

#include "db/Recordset.h"
#include "services/Fragments.h"

#include <QStringList>

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;

namespace {

// One currency's select. The paid amount is the invoice header's posted amount in that
// currency, wrapped in that currency's amount format; the instalment amount itself is
// always in the local amount format.
QString instalmentSelect(const services::Fragments& f, const QString& paidOpener, const QString& paidQuery,
                         const QString& tail)
{
    return u"Select '',Taksit_H.ID,Taksit_H.Evrak_No,Taksit_H.Taksit_Sayisi,"_s + f.TarihMetinBas + u"Taksit_H.Vade_Tarihi"_s
        + f.TarihMetinSon
        + u",(Select Hesaplar.TAMUNVAN from Hesaplar where Hesaplar.Sil=0 and Hesaplar.Grupkod=Taksit_H.Grup_Kodu and Hesaplar.MID1=Taksit_H.MID1),"_s
        + u"Taksit_H.Aciklama,"_s + f.TutarBas + u"Taksit_H.Tutar"_s + f.TutarSon + u","_s
        + paidOpener + paidQuery + f.TutarSon
        + u",'',Taksit_H.Para_Birim,"_s + f.Ondalik4Bas + u"Taksit_H.Doviz_Kuru"_s + f.Ondalik4Son
        + tail
        + u" AND Taksit_H.Vade_Tarihi>="_s + f.TarihMetinBas + u"?"_s + f.TarihMetinSon + u" "_s;
}

}  // namespace

QString instalmentCutoff(int sourcePeriod) { return u"01.01."_s + QString::number(sourcePeriod + 1); }

db::Query instalmentLoader(const services::Fragments& f, const QString& cutoff)
{
    const QString tl = instalmentSelect(
        f, f.TutarBas,
        u"(Select Cari_H.Tutar_YTL from Cari_H,Kayit where Cari_H.Kayit_No=Kayit.Kayit_No and Kayit.Kayit_No=Taksit_H.Kayit_No and Kayit.Sil=0)"_s,
        u",'' AS od,Taksit_H.Vade_Tarihi from Taksit_H where Taksit_H.Sil=0 AND Taksit_H.Para_Birim='TL' and Taksit_H.Taksit_Sayisi<>0 "_s);
    const QString usd = instalmentSelect(
        f, f.Dvz1TutarBas,
        u"(Select Cari_H.Tutar_Dvz1 from Cari_H,Kayit where Cari_H.Kayit_No=Kayit.Kayit_No and Kayit.Kayit_No=Taksit_H.Kayit_No and Kayit.Sil=0)"_s,
        u",'' AS od,Taksit_H.Vade_Tarihi from Taksit_H where Taksit_H.Para_Birim='USD' and Taksit_H.Taksit_Sayisi<>0 AND Taksit_H.Sil=0 "_s);
    const QString euro = instalmentSelect(
        f, f.Dvz2TutarBas,
        u"(Select Cari_H.Tutar_Dvz2 from Cari_H,Kayit where Cari_H.Kayit_No=Kayit.Kayit_No and Kayit.Kayit_No=Taksit_H.Kayit_No and Kayit.Sil=0)"_s,
        u",'' AS od,Taksit_H.Vade_Tarihi from Taksit_H where Taksit_H.Sil=0 AND Taksit_H.Para_Birim='EURO' and Taksit_H.Taksit_Sayisi<>0 "_s);
    // The cut-off is bound once per select.
    return {QStringList{tl, usd, euro}.join(u" union all "_s) + u"ORDER BY Taksit_H.Vade_Tarihi,Taksit_H.ID "_s,
            {cutoff, cutoff, cutoff}};
}

}  // namespace belmo::transfers
