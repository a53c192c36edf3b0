// `belmo check` on the demo pair with problems planted in it, and the same check shown by the
// windows when the login opens the console.
#include "DemoRun.h"
#include "support/TestProgram.h"

#include "proof/PreRunCheck.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;

struct Planted {
    QString company, sql;
    QString cause, severity, step;  // of the finding it must bring
};

class PreRunCheck : public DemoRun {
protected:
    void plant(const Planted& p)
    {
        db::Connection con(reader.pool());
        openCompany(con, p.company);
        for (const QString& statement : p.sql.split(u';')) con.execute(statement);
    }
    std::pair<int, QJsonObject> check()
    {
        const RunResult r = belmo(QStringList{u"check"_s} + login(u"1234"_s) + QStringList{u"--json"_s});
        return {r.code, QJsonDocument::fromJson(r.out.toUtf8()).object()};
    }
};

// Warnings leave the run possible; a blocking problem among three more stops it. Each
// run lists every problem planted so far beside what the demo holds of itself.
TEST_F(PreRunCheck, EveryPlantedProblemIsListedInOneRunAndOnlyABlockingOneFails)
{
    const auto [cleanExit, clean] = check();
    EXPECT_EQ(cleanExit, 0);
    EXPECT_EQ(clean[u"blocking"_s].toInt(), 0);
    const qsizetype baseline = clean[u"findings"_s].toArray().size();
    const QString cari = u"Cari Hesaplar ve Bakiyeler"_s;
    const struct {
        QList<Planted> planted;
        int exit;
    } rounds[] = {
        {{{u"DEMO2026"_s, u"UPDATE SIRKET SET DONEM='2028'"_s, u"Hedefin dönemi 2028, kaynağınki 2025"_s, u"warning"_s, {}},
          {u"DEMO2026"_s, u"INSERT INTO Hesaplar (MID1, Ana_Hs, TAMUNVAN) VALUES ('777', 120, 'ESKİ')"_s,
           u"Hedefte bu adımın yazdığı 1 kayıt var."_s, u"warning"_s, cari},
          {u"DEMO2025"_s, u"INSERT INTO Hesaplar (MID1, Ana_Hs, Grupkod, TAMUNVAN) VALUES ('A-7', 120, '01', 'HARFLİ')"_s,
           u"Sayı olmayan cari hesap kodları: A-7."_s, u"warning"_s, cari},
          {u"DEMO2026"_s, u"INSERT INTO Sofor_Yi (ID, Ad_Soyad) VALUES (32761, 'SON')"_s,
           u"'Sofor_Yi' tablosunda şoför numaraları 32768'e"_s, u"warning"_s, u"Nakliyat Belmoleri"_s}},
         0},
        {{{u"DEMO2026"_s, u"DROP TABLE Taksit_H"_s, u"'Taksit_H' tablosu yok."_s, u"blocking"_s, u"Taksit Belmoleri"_s},
          {u"DEMO2025"_s,
           u"INSERT INTO Kayit (Evrak_No, B_Hs, B_MID, A_Hs, Sil) VALUES ('X-1', 120, 'YOK-1', 101, 0);"
           "INSERT INTO Kayit (Evrak_No, B_Hs, B_MID, A_Hs, Sil) VALUES ('X-2', 120, 'YOK-1', 101, 0)"_s,
           u"Hareketlerde kartı olmayan cari hesaplar: YOK-1."_s, u"warning"_s, cari},
          {u"DEMO2025"_s, u"INSERT INTO Cek_ (Kayit_No, Cek_No, Tutar) SELECT Kayit_No, 'ÇİFT', 5 FROM Kayit WHERE Evrak_No LIKE 'X-_'"_s,
           u"(kayıt sayısı): ÇİFT: 2."_s, u"warning"_s, u"Çek Belmoleri"_s}},
         1},
    };
    qsizetype expected = baseline;
    QList<Planted> all;
    for (const auto& round : rounds) {
        for (const Planted& p : round.planted) plant(p);
        all += round.planted;
        expected += round.planted.size();
        const auto [exit, found] = check();
        EXPECT_EQ(exit, round.exit);
        const QJsonArray findings = found[u"findings"_s].toArray();
        EXPECT_EQ(findings.size(), expected) << QJsonDocument(found).toJson().toStdString();
        EXPECT_EQ(found[u"blocking"_s].toInt(), round.exit);
        for (const Planted& p : all)
            EXPECT_TRUE(std::any_of(findings.begin(), findings.end(), [&](const QJsonValue& f) {
                return f[u"cause"_s].toString().contains(p.cause) && f[u"severity"_s] == p.severity && f[u"step"_s] == p.step;
            })) << p.cause.toStdString();
    }
}

// The fixture's companies carry no period: the message names that problem, once.
TEST(PreRunCheckWindows, TheLoginShowsEveryFindingInOneMessage)
{
    TestProgram t;
    proof::checkWhenConsoleOpens(t.program);
    const proof::CheckResult expected =
        proof::checkBeforeRun({t.company.folder(), u"MUHASEBE"_s, u"1234"_s, u"KAYNAK"_s, u"HEDEF"_s});
    ASSERT_TRUE(expected.text().contains(u"Dönem '' bir yıl değil."_s)) << expected.text().toStdString();
    t.dialogs.expectMessage(expected.text(), u"Belmo"_s, services::Dialogs::Icon::Critical);
    t.logIn();
    t.dialogs.verify();
}

}  // namespace
}  // namespace belmo::test
