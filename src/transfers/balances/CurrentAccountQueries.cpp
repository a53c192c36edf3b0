#include "transfers/balances/CurrentAccountQueries.h"

#include "services/Fragments.h"
#include "services/TemporaryViews.h"

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;

namespace {

// The three conditional sums shared by both views; the credit view has one more blank
// before its second USD condition.
QString sumsPiece(const services::Fragments& f, bool creditSide)
{
    return u"SELECT Hesaplar.Ana_Hs, Hesaplar.Grupkod, Hesaplar.MID1, Hesaplar.TAMUNVAN, Sum("_s
        + f.conditional(u" Cari_H.islem_Dvz='TL' "_s, u" Cari_H.Tutar_Ytl "_s,
                        u" Cari_H.islem_Dvz<>'TL' Or Cari_H.islem_Dvz Is Null "_s, u" 0 "_s)
        + u") AS ToplaTutar_Ytl, Sum("_s
        + f.conditional(u" Cari_H.islem_Dvz='USD' "_s, u" Cari_H.Tutar_Dvz1 "_s,
                        (creditSide ? u" "_s : QString()) + u" Cari_H.islem_Dvz<>'USD' Or Cari_H.islem_Dvz Is Null "_s,
                        u" 0 "_s)
        + u") AS ToplaTutar_Dvz1, Sum("_s
        + f.conditional(u" Cari_H.islem_Dvz='EURO' "_s, u" Cari_H.Tutar_Dvz2 "_s,
                        u" Cari_H.islem_Dvz<>'EURO' Or Cari_H.islem_Dvz Is Null "_s, u" 0 "_s)
        + u") AS ToplaTutar_Dvz2, Cari_H.islem_Dvz "_s;
}

// The two views differ in the side of the header they read (B debit, A credit) and in
// account "000", which only the debit side leaves out. Only live headers of a document type
// other than 5 and 6 count, with 120 or 320 on that side, for live account cards.
QString view(const services::Fragments& f, QChar side)
{
    const bool credit = side == u'A';
    const QString hs = u"Kayit."_s + side + u"_Hs"_s;
    return sumsPiece(f, credit)
        + u"FROM (Kayit LEFT JOIN Cari_H ON Kayit.Kayit_No = Cari_H.Kayit_No) RIGHT JOIN Hesaplar ON Kayit."_s + side
        + u"_MID = Hesaplar.MID1 "_s + u"WHERE Kayit.Evrak_Kodu not in(5,6) "_s + (credit ? QString() : u"AND MID1<>'000' "_s)
        + u"GROUP BY Hesaplar.Ana_Hs, Hesaplar.Grupkod, Hesaplar.MID1, Hesaplar.TAMUNVAN, Cari_H.islem_Dvz, "_s + hs
        + u", Kayit.Sil, Hesaplar.Sil "_s + u"Having ((("_s + hs + u") = 120 Or ("_s + hs
        + u") = 320) And ((Kayit.Sil) = 0) And ((Hesaplar.Sil) = 0)) "_s;
}

}  // namespace

QString currentAccountDebitView(const services::Fragments& f) { return view(f, u'B'); }

QString currentAccountCreditView(const services::Fragments& f) { return view(f, u'A'); }

QString currentAccountLoader(const services::Fragments& f, const QString& views, bool hideZero)
{
    const QString& p = views;
    QString sql = u"SELECT '',CMZNQR.Ana_Hs AS Deyim1, CMZNQR.Grupkod AS Deyim2, CMZNQR.MID1 AS Deyim3, CMZNQR.TAMUNVAN AS Deyim4, "_s
        + f.TutarBas + u"Sum(CMZNQR.ToplaTutar_Ytl)"_s + f.TutarSon + u" AS ToplaToplaTutar_Ytl, "_s
        + f.Dvz1TutarBas + u"Sum(CMZNQR.ToplaTutar_Dvz1)"_s + f.Dvz1TutarSon + u" AS ToplaToplaTutar_Dvz1, "_s
        + f.Dvz2TutarBas + u"Sum(CMZNQR.ToplaTutar_Dvz2)"_s + f.Dvz2TutarSon + u" AS ToplaToplaTutar_Dvz2, "_s
        // The balances as numbers, beside the grid's columns: what the step carries.
        + u"Sum(CMZNQR.ToplaTutar_Ytl) AS Ytl, Sum(CMZNQR.ToplaTutar_Dvz1) AS Dvz1, Sum(CMZNQR.ToplaTutar_Dvz2) AS Dvz2 "_s
        + u"FROM (SELECT "_s;
    for (const char* piece : {"1.Ana_Hs, ", "1.Grupkod, ", "1.MID1, ", "1.TAMUNVAN, ", "1.ToplaTutar_Ytl, ",
                              "1.ToplaTutar_Dvz1, ", "1.ToplaTutar_Dvz2, ", "1.islem_Dvz FROM ", "1 "})
        sql += p + QString::fromUtf8(piece);
    // Every partial sum counts: a set union would merge two equal rows (the same amount
    // under 120 and under 320, say) and lose one of them from the balance.
    sql += u"union all SELECT "_s;
    for (const char* piece : {"2.Ana_Hs, ", "2.Grupkod, ", "2.MID1, ", "2.TAMUNVAN,(", "2.ToplaTutar_Ytl*-1) AS ToplaTutar_Ytl,(",
                              "2.ToplaTutar_Dvz1*-1) AS ToplaTutar_Dvz1,(", "2.ToplaTutar_Dvz2*-1) AS ToplaTutar_Dvz2, ",
                              "2.islem_Dvz "})
        sql += p + QString::fromUtf8(piece);
    sql += u"FROM "_s + p + u"2) AS CMZNQR "_s + u"GROUP BY CMZNQR.Ana_Hs, CMZNQR.Grupkod, CMZNQR.MID1, CMZNQR.TAMUNVAN "_s
        + u"having CMZNQR.TAMUNVAN<>'' "_s;
    if (hideZero)
        sql += u"AND (Sum(CMZNQR.ToplaTutar_Ytl)<>0 OR Sum(CMZNQR.ToplaTutar_Dvz1)<>0 OR Sum(CMZNQR.ToplaTutar_Dvz2)<>0) "_s;
    // Numeric codes in the order of their value, then the others by their text: a code that
    // is not a number is carried like the rest.
    return sql + u"ORDER BY ISNUMERIC(MID1), "_s + f.SayiFonk + u"(IIF(ISNUMERIC(MID1), MID1, 0)), MID1 "_s;
}

void buildCurrentAccountViews(db::Connection& source, const services::ViewSet& views, const services::Fragments& f)
{
    services::GORUNUMSIL(source, views, 1);
    services::GORUNUMOLUSTUR(source, views, 1, currentAccountDebitView(f));
    services::GORUNUMSIL(source, views, 2);
    services::GORUNUMOLUSTUR(source, views, 2, currentAccountCreditView(f));
}

}  // namespace belmo::transfers
