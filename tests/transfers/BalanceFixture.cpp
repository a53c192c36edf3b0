#include "BalanceFixture.h"

namespace belmo::test {

using namespace Qt::Literals::StringLiterals;

BalanceTest::BalanceTest()
{
    put(target(), u"SIRKET"_s, {{"SIRKETCODE", "HEDEF"}, {"DONEM", " 2010 "}});
    t.company.insert(t.config(), u"Hata_Kod"_s, {{"Kod", "5"}, {"Hata", "Geçersiz yordam çağrısı"}});
}

transfers::OpeningBalanceStep& BalanceTest::step(console::StepId id)
{
    auto* s = dynamic_cast<transfers::OpeningBalanceStep*>(c->step(id));
    if (!s) throw std::logic_error("not a balance step");
    return *s;
}

qint64 BalanceTest::header(db::Connection& con, Columns columns)
{
    t.company.insert(con, u"Kayit"_s, columns);
    return con.lastInsertId();
}

QList<QStringList> BalanceTest::openingEntries()
{
    return rows(target(), u"SELECT Format(tarih,'dd.mm.yyyy'), B_Hs, B_Gr, B_MID, A_Hs, A_Gr, A_MID, Evrak_Kodu, islem_Kod, "
                          "User_Code, islem_Dvz, Tutar_Ytl, Tutar_Dvz1, Tutar_Dvz2 "
                          "FROM Kayit INNER JOIN Cari_H ON Kayit.Kayit_No = Cari_H.Kayit_No "
                          "WHERE Kayit.Sil=0 ORDER BY Kayit.Kayit_No"_s);
}

QStringList BalanceTest::entry(const QStringList& debit, const QStringList& credit, const QString& currency,
                               const QString& ytl, const QString& dvz1, const QString& dvz2)
{
    return QStringList{u"01.01.2010"_s} + debit + credit
        + QStringList{u"0"_s, u"1"_s, u"05"_s, currency, ytl, dvz1, dvz2};
}

void BalanceTest::expectQuestions(bool goOn, bool deleteTargetData)
{
    t.dialogs.expectQuestion(u"Hedef Veri Tabanında zaten kayıtlı veriler bulunmakta.\r"
                             "İşleme devam etmek hedef veri tabanında sorunlara yol açabilir.\rDevam Edilsin mi?"_s,
                             u"Belmo"_s, goOn);
    if (goOn) t.dialogs.expectQuestion(u"Hedef Veri Tabanındaki veriler silinsin mi?"_s, u"Belmo"_s, deleteTargetData);
}

}  // namespace belmo::test
