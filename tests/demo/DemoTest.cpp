// The demo program folder: every step finds data to carry, the data hang together, and the
// same size gives the same data.
#include "support/TestCompany.h"

#include "app/ProgramFolder.h"
#include "db/Schema.h"
#include "demo/Demo.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace belmo;
using db::Value;

namespace {

class DemoFolder : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = new QTemporaryDir;
        demo::createDemoFolder(dir_->path(), demo::Size::Small, false);
    }
    static void TearDownTestSuite()
    {
        delete dir_;
        dir_ = nullptr;
    }

    DemoFolder() : folder_(dir_->path())
    {
        source_.open(folder_.companyConnection(demo::kSourceCode));
        target_.open(folder_.companyConnection(demo::kTargetCode));
    }

    static Value q(db::Connection& con, const QString& sql)
    {
        db::Recordset rs;
        rs.open(sql, con, db::CursorType::Static, db::LockType::ReadOnly);
        return rs.eof() ? Value::null() : rs.value(0);
    }
    qint64 count(const QString& sqlFromWhere) { return q(source_, "Select count(*) from " + sqlFromWhere).intValue(); }

    static QTemporaryDir* dir_;
    app::ProgramFolder folder_;
    db::ConnectionPool pool_;
    db::Connection source_{pool_};
    db::Connection target_{pool_};
};

QTemporaryDir* DemoFolder::dir_ = nullptr;

}  // namespace

TEST_F(DemoFolder, EveryTableOfTheSourceHoldsRowsAndTheTargetIsPrepared)
{
    for (const auto& t : db::schema::companyTables()) {
        EXPECT_GT(count(t.name), 0) << t.name.toStdString();
        const qint64 inTarget = q(target_, "Select count(*) from " + t.name).intValue();
        if (t.name == u"SIRKET" || t.name == u"PARATANIM") EXPECT_EQ(inTarget, 1);
        else if (t.name == u"Ana_Hesaplar") EXPECT_GT(inTarget, 40);
        else EXPECT_EQ(inTarget, 0) << t.name.toStdString();
    }
    EXPECT_EQ(q(source_, "Select DONEM from SIRKET").textValue(), "2025");
    EXPECT_EQ(q(target_, "Select DONEM from SIRKET").textValue(), "2026");
}

TEST_F(DemoFolder, CurrentAccountsTradeInThreeCurrenciesWithDeletedAndAwkwardRows)
{
    for (const char* cur : {"TL", "USD", "EURO"})
        EXPECT_GT(count(QStringLiteral("Cari_H where islem_Dvz='%1'").arg(cur)), 0) << cur;
    EXPECT_GT(count("Kayit where Sil=1"), 0);
    EXPECT_GT(count("Hesaplar where sil=1"), 0);
    EXPECT_EQ(count("Hesaplar where MID1='000'"), 1);
    EXPECT_GT(count("Hesaplar where TAMUNVAN like '%''%'"), 0);
    EXPECT_GT(count("Gruplar where Grup like '%''%'"), 0);
    EXPECT_GT(count("Stok_Tanim where Stok_Kodu like '%''%'"), 0);
    // One customer has both a TL and a USD balance.
    EXPECT_EQ(q(source_, "Select count(*) from (Select Cari_H.islem_Dvz from Kayit inner join Cari_H on "
                         "Kayit.Kayit_No=Cari_H.Kayit_No where Kayit.B_MID='1002' group by Cari_H.islem_Dvz)")
                  .intValue(),
              2);
}

TEST_F(DemoFolder, StockMovesThroughSeveralWarehousesAndLots)
{
    EXPECT_GE(q(source_, "Select count(*) from (Select Depo_Kodu from Stok_H group by Depo_Kodu)").intValue(), 4);
    EXPECT_GT(q(source_, "Select count(*) from (Select Lot_No from Stok_H group by Lot_No)").intValue(), 20);
    EXPECT_GT(count("Stok_H where Giren1>0"), 0);
    EXPECT_GT(count("Stok_H where Cikan1>0"), 0);
    EXPECT_GT(count("Kayit where Evrak_Kodu in (5,6)"), 0);
    EXPECT_GT(count("Stok_Tanim where sil=1"), 0);
    // The value of each stock line is its quantity at its price, to the kuruş.
    EXPECT_EQ(count("Stok_H inner join Cari_H on Stok_H.Kayit_No=Cari_H.Kayit_No "
                    "where abs(Cari_H.Tutar_Ytl - round((Stok_H.Giren1+Stok_H.Cikan1)*Cari_H.B_Fiyat, 2)) > 0.005"),
              0);
}

TEST_F(DemoFolder, ChequesOrdersInstalmentsAndCarnetsOnBothSidesOfTheirLimits)
{
    EXPECT_GT(q(source_, "Select count(*) from (Select Cek_No from Cek_ group by Cek_No having sum(Tutar)>0)").intValue(), 0);
    EXPECT_GT(count("Kayit inner join Cek_ on Kayit.Kayit_No=Cek_.Kayit_No where B_Hs=101 and B_Gr<>'01'"), 0);
    EXPECT_GT(count("Kayit inner join Cek_ on Kayit.Kayit_No=Cek_.Kayit_No where B_Hs=100"), 0);
    EXPECT_GT(count("Cek_ where Gizle=1"), 0);
    for (int type : {7, 8})
        for (int invoiced : {0, 1})
            EXPECT_GT(count(QStringLiteral("Kayit inner join Cari_Sip on Kayit.Kayit_No=Cari_Sip.Kayit_No "
                                           "where Evrak_Kodu=%1 and Ftr=%2").arg(type).arg(invoiced)), 0)
                << type << "/" << invoiced;
    EXPECT_GT(count("Taksit_H where Vade_Tarihi>='01.01.2026' and Taksit_Sayisi<>0"), 0);
    EXPECT_GT(count("Taksit_H where Vade_Tarihi<'01.01.2026'"), 0);
    EXPECT_GT(count("Taksit_H where Taksit_Sayisi=0"), 0);
    EXPECT_GT(count("Taksit_H where Para_Birim not in ('TL','USD','EURO')"), 0);
    EXPECT_GT(count("Karne_Tanim where Bit_Trh>='01.01.2026' and Teslim=0"), 0);
    EXPECT_GT(count("Karne_Tanim where Bit_Trh<'01.01.2026'"), 0);
    EXPECT_GT(count("Karne_Tanim where Teslim<>0"), 0);
}

// The cases the open-item and transport steps are tested on, under the numbers and names
// every size of demo gives them.
TEST_F(DemoFolder, EachCaseOfTheOpenItemAndTransportStepsIsThereUnderItsOwnNumber)
{
    const QString cheque = "Cek_ inner join Kayit on Cek_.Kayit_No=Kayit.Kayit_No where Kayit.Sil=0 and ";
    const QString openLine = "Kayit inner join Cari_Sip on Kayit.Kayit_No=Cari_Sip.Kayit_No where Kayit.Sil=0 and Ftr=0 and ";
    const struct {
        const char* what;
        QString rows;
        qint64 expected;
    } cases[] = {
        {"cheque with an apostrophe, held", cheque + "Cek_No='DB''0045127' and B_Hs=101 and B_Gr='01' and Gizle=0", 1},
        {"EURO cheque, held", cheque + "Cek_No='EU-7730415' and Para_Birim='EURO' and Tutar>0", 1},
        {"hidden cheque, held", cheque + "Cek_No='5512093' and Gizle=1 and Tutar>0", 1},
        {"USD cheque, in and out", cheque + "Cek_No='US-2281604' and Para_Birim='USD'", 2},
        {"USD cheque into clearing, 101 on both sides", cheque + "Cek_No='US-2281604' and B_Hs=101 and B_Gr='02' and A_Hs=101 and Tutar<0", 1},
        {"order with an apostrophe", openLine + "Kayit.Evrak_No='BY''2025-041' and Evrak_Kodu=7", 2},
        {"its invoice settings", "Fatura where Evrak_No='BY''2025-041'", 1},
        {"deleted open order line", "Kayit inner join Cari_Sip on Kayit.Kayit_No=Cari_Sip.Kayit_No where Kayit.Evrak_No='BY-2025-039' and Kayit.Sil=1 and Ftr=0", 1},
        {"open line without a document number", openLine + "Kayit.Evrak_No=''", 1},
        {"open line dated after it", openLine + "Kayit.Evrak_No='VS-2025-043' and Evrak_Kodu=8 and tarih>'22.12.2025'", 1},
        {"document without invoice settings", "Fatura where Evrak_No='VS-2025-043'", 0},
        {"instalment due on the period's last day", "Taksit_H where Vade_Tarihi='31.12.2025' and Taksit_Sayisi<>0 and Sil=0", 1},
        {"instalment due on the new period's first day", "Taksit_H where Vade_Tarihi='01.01.2026' and Taksit_Sayisi<>0 and Sil=0", 1},
        {"no instalment, due the same day", "Taksit_H where Vade_Tarihi='01.01.2026' and Taksit_Sayisi=0 and Sil=0", 1},
        {"city without its country", "Plk_Kod_Yi where Ulke_Kod not in (select Plaka_Kod from Plk_Kod)", 1},
        {"route without transport type", "Guzergah where Tasima_Tur is null and ID < (select max(ID) from Guzergah)", 1},
        {"two live drivers of one name", "Sofor_Yi where Ad_Soyad='Murat Çelik' and Sil=0", 2},
        {"vehicle of the second namesake", "Arac_Tanim_Yi where Plaka='06 ANT 214' and Sofor_No=(select max(ID) from Sofor_Yi where Ad_Soyad='Murat Çelik')", 1},
    };
    for (const auto& c : cases) EXPECT_EQ(count(c.rows), c.expected) << c.what;

    for (const char* column : {"Yi", "YD"}) {
        const QString vehicles = QStringLiteral("Arac_Tanim_%1 inner join Sofor_%1 on Arac_Tanim_%1.Sofor_No=Sofor_%1.ID "
                                                "where Arac_Tanim_%1.sil=0 and ").arg(column);
        EXPECT_EQ(count(vehicles + "Ad_Soyad='Ali O''Şoför' and Sofor_" + column + ".Sil=0"), 1) << column;
        EXPECT_EQ(count(vehicles + "Sofor_" + column + ".Sil=1"), 1) << column << ": vehicle of a deleted driver";
    }
}

TEST_F(DemoFolder, EveryReferenceLeadsSomewhere)
{
    for (const char* lines : {"Cari_H", "Stok_H", "Cek_", "Cari_Sip", "Stok_Sip"})
        EXPECT_EQ(count(QStringLiteral("%1 where Kayit_No not in (select Kayit_No from Kayit)").arg(lines)), 0) << lines;
    EXPECT_EQ(count("Stok_H where Stok_Kodu not in (select SID2 from Stok_Tanim)"), 0);
    EXPECT_EQ(count("Kayit where B_Hs in (120,320) and B_MID not in (select MID1 from Hesaplar)"), 0);
    EXPECT_EQ(count("Kayit where A_Hs in (120,320) and A_MID not in (select MID1 from Hesaplar)"), 0);
    EXPECT_EQ(count("Stok_H where Depo_Kodu not in (select Depo_Kodu from Depo)"), 0);
    // The numbering series continue after the numbers already handed out.
    EXPECT_EQ(count("Kayit inner join Evr on Evr.On_Taki=MID(Kayit.Evrak_No,1,1) "
                    "where CDBL(MID(Kayit.Evrak_No,2)) >= Evr.Evr_No"),
              0);
    EXPECT_EQ(q(source_, "Select Evr_No from Evr where On_Taki='K'").intValue(), 1);
}

TEST_F(DemoFolder, TheSameSizeGivesTheSameData)
{
    QTemporaryDir again;
    demo::createDemoFolder(again.path(), demo::Size::Small, false);
    db::Connection other(pool_);
    other.open(app::ProgramFolder(again.path()).companyConnection(demo::kSourceCode));
    const QString fingerprint = "Select count(*) & '/' & sum(Tutar_Ytl) & '/' & sum(Tutar_Dvz1) & '/' & max(Aciklama) from Cari_H";
    EXPECT_EQ(q(source_, fingerprint), q(other, fingerprint));
    const QString titles = "Select max(TAMUNVAN) & min(TAMUNVAN) & count(*) from Hesaplar";
    EXPECT_EQ(q(source_, titles), q(other, titles));
}
