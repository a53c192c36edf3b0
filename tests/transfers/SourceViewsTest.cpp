// A source that cannot be written: the balance steps build their views as temporary views
// of their connection, and the source stays as it was, byte for byte.
#include "BalanceFixture.h"

#include <QCryptographicHash>
#include <QFile>

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;
using console::StepId;

class SourceViews : public BalanceTest {
protected:
    // Account 1 under 120 with a debit of 250 TL.
    void oneBalance()
    {
        put(source(), u"Hesaplar"_s, {{"MID1", "1"}, {"Ana_Hs", 120}, {"Grupkod", "01"}, {"TAMUNVAN", "ALICI"}});
        const qint64 no = header(source(), {{"B_Hs", 120}, {"B_Gr", "01"}, {"B_MID", "1"}, {"A_Hs", 100}, {"A_Gr", "01"},
                                            {"A_MID", "001"}, {"Evrak_Kodu", 1}});
        put(source(), u"Cari_H"_s, {{"Kayit_No", no}, {"islem_Dvz", "TL"}, {"Tutar_Ytl", 250.0}});
    }
    void carry()
    {
        open(StepId::CariHesaplar);
        t.dialogs.expectMessage(u"Cari Hesap Belmo İşlemleri Tamamlandı."_s, u"Belmo"_s);
        start(StepId::CariHesaplar);
        t.dialogs.verify();
        EXPECT_EQ(rows(target(), u"Select User_Code, Tutar_Ytl from Kayit, Cari_H where Kayit.Kayit_No=Cari_H.Kayit_No"_s),
                  (QList<QStringList>{{c->session().KullaniciKodu, u"250"_s}}));
    }
    QStringList sourceViews()
    {
        QStringList names;
        for (const QStringList& r : rows(source(), u"Select name from sqlite_master where type='view' order by name"_s))
            names << r[0];
        return names;
    }
    QByteArray sourceBytes()
    {
        QByteArray all;
        for (const QString& suffix : {QString(), u"-wal"_s}) {
            QFile f(t.company.path(u"KAYNAK"_s) + suffix);
            if (f.open(QIODevice::ReadOnly)) all += QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
        }
        return all;
    }
};

// Views an earlier run left in the source, when it could still be written, are hidden by the
// temporary ones: the balances are this run's.
TEST_F(SourceViews, AReadOnlySourceIsCarriedThroughTemporaryViewsAndStaysAsItWas)
{
    oneBalance();
    const QString stem = u"CMZN"_s + c->session().KullaniciKodu;
    for (const QString& slot : {u"1"_s, u"2"_s})
        source().execute(u"CREATE VIEW "_s + stem + slot + u" AS SELECT Ana_Hs, Grupkod, MID1, TAMUNVAN, 999 AS "
                         u"ToplaTutar_Ytl, 0 AS ToplaTutar_Dvz1, 0 AS ToplaTutar_Dvz2, 'TL' AS islem_Dvz FROM Hesaplar"_s);
    const QStringList stale = sourceViews();
    const QByteArray before = sourceBytes();
    c->session().KaynakBag += u";Mode=Read"_s;
    carry();
    EXPECT_EQ(sourceViews(), stale);
    EXPECT_EQ(sourceBytes(), before);
}

}  // namespace
}  // namespace belmo::test
