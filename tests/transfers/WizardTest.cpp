// The wizard over every step: each step hands on to the next, and the salespeople step, the
// last, brings the menu back.
#include "TransferFixture.h"

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;
using console::MenuItem;
using console::StepId;
using Icon = services::Dialogs::Icon;

class Wizard : public TransferTest {
protected:
    Wizard()
    {
        put(source(), u"SIRKET"_s, {{"SIRKETCODE", "KAYNAK"}, {"DONEM", "2025"}});
        put(source(), u"Ana_Hesaplar"_s, {{"Ana_Hs", 153}, {"Hesap_Adi", "Ticari Mallar"}});
        put(source(), u"Depo"_s, {{"Depo_Kodu", "01"}, {"Depo_Adi", "Merkez"}, {"Ana_Hs", 153}, {"Sil", 0}});
        // An account and a stock card, each with a balance.
        put(source(), u"Hesaplar"_s, {{"MID1", "1"}, {"Ana_Hs", 120}, {"Grupkod", "01"}, {"TAMUNVAN", "ALICI"}, {"sil", 0}});
        put(source(), u"Kayit"_s, {{"Kayit_No", 1}, {"B_Hs", 120}, {"B_Gr", "01"}, {"B_MID", "1"}, {"A_Hs", 153}, {"A_MID", "S1"},
                                   {"Evrak_Kodu", 1}, {"Sil", 0}});
        put(source(), u"Cari_H"_s, {{"Kayit_No", 1}, {"islem_Dvz", "TL"}, {"Tutar_Ytl", 30}});
        put(source(), u"Stok_Tanim"_s, {{"SID2", "S1"}, {"Stok_Adi", "UN"}, {"A_Hs", 153}, {"sil", 0}});
        put(source(), u"Stok_H"_s, {{"Kayit_No", 1}, {"Stok_Kodu", "S1"}, {"Cikan1", 2}, {"Depo_Kodu", "01"}});
    }
    void startWizard(bool templates)
    {
        t.dialogs.expectMessage(u"Belmo İşlemi Adımları Sırasıyla Karşınıza Otomatik Olarak Gelecek.\n"
                                "Lütfen Gerekli İşlemleri Atlamayınız."_s);
        t.dialogs.expectMessage(u"Şirket bilgileri Aktarıldı."_s, u"Belmo"_s);
        t.dialogs.expectQuestion(u"Hedef Veri tabanındaki şablon dizaynları silinecektir.Devam edilsin mi?"_s, QString(),
                                 templates);
        if (templates) t.dialogs.expectMessage(u"Şablon Dizaynları Aktarıldı."_s);
        c->entry(MenuItem::Kind::Wizard).button.click();
        t.dialogs.verify();
    }
    // "Başla" on the panel in front, which must be the step's.
    void startInFront(StepId id)
    {
        ASSERT_EQ(c->panels.front(), &preview(id).frame) << c->entry(id).item.key.toStdString();
        start(id);
        t.dialogs.verify();
    }
};

TEST_P(Wizard, EachStepHandsOnToTheNextAndTheLastBringsTheMenuBack)
{
    startWizard(true);
    t.dialogs.expectMessage(u"İşlem Tanımları Aktarıldı."_s, u"Belmo"_s);
    startInFront(StepId::IslemTanimlari);
    t.dialogs.expectMessage(u"Evrak Tanımları Aktarıldı."_s, u"Belmo"_s);
    startInFront(StepId::EvrakTanimlari);
    t.dialogs.expectMessage(u"Grup Tanımları Aktarıldı."_s);
    startInFront(StepId::Gruplar);
    EXPECT_EQ(preview(StepId::Depolar).loadedRows(), 1);
    t.dialogs.expectMessage(u"Depo Tanımları Aktarıldı."_s);
    startInFront(StepId::Depolar);
    t.dialogs.expectMessage(u"Cari Hesap Belmo İşlemleri Tamamlandı."_s, u"Belmo"_s);
    startInFront(StepId::CariHesaplar);
    t.dialogs.expectMessage(u"Stok Kartarı ve Stok Bakiyeleri Belmo İşlemi Tamamlandı."_s, u"Belmo"_s);
    startInFront(StepId::Stok);
    // The open items of a source without any still finish and hand on.
    t.dialogs.expectMessage(u"Sipariş Belmoleri Tamamlandı."_s);
    startInFront(StepId::Siparisler);
    t.dialogs.expectMessage(u"Çek Belmoleri Tamamlandı."_s);
    startInFront(StepId::Cekler);
    t.dialogs.expectMessage(u"Muhasebe Hesapları Aktarıldı."_s);
    t.dialogs.expectMessage(u"Dikkat Muhasebe Hesapları Bekiyesiz Aktarılır.\rYeni Şirket üzerinden gerekli bakiye "
                            "girişlerini\rbelmo bakiyesi olarak giriniz"_s,
                            QString(), Icon::Critical);
    startInFront(StepId::Muhasebe);
    t.dialogs.expectMessage(u"Taksitler Aktarıldı."_s);
    startInFront(StepId::Taksitler);
    t.dialogs.expectMessage(u"Plasiyer Tanımları Aktarıldı."_s);
    startInFront(StepId::Plasiyerler);
    EXPECT_EQ(c->panels.front(), &c->menu);
    for (const StepId id : {StepId::SirketBilgileri, StepId::Sablonlar, StepId::IslemTanimlari, StepId::EvrakTanimlari,
                            StepId::Gruplar, StepId::Depolar, StepId::CariHesaplar, StepId::Stok, StepId::Siparisler,
                            StepId::Cekler, StepId::Muhasebe, StepId::Taksitler, StepId::Plasiyerler})
        EXPECT_TRUE(done(id)) << c->entry(id).item.key.toStdString();
    EXPECT_EQ(rows(target(), u"Select Depo_Kodu from Depo"_s), (QList<QStringList>{{"01"}}));
    // The company settings came first, so the entries are dated in the target's new period.
    EXPECT_EQ(rows(target(), u"Select Format(tarih,'dd.mm.yyyy'), B_MID from Kayit"_s), (QList<QStringList>{{"01.01.2026", "1"}}));
    EXPECT_EQ(rows(target(), u"Select SID2 from Stok_Tanim"_s), (QList<QStringList>{{"S1"}}));
}

TEST_P(Wizard, NoToTheTemplateQuestionStopsTheChainAtTheMenu)
{
    startWizard(false);
    EXPECT_EQ(c->panels.front(), &c->menu);
    EXPECT_TRUE(done(StepId::SirketBilgileri));
    EXPECT_FALSE(done(StepId::Sablonlar));
    EXPECT_EQ(preview(StepId::IslemTanimlari).loadedRows(), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, Wizard, bothEngines(), engineName);

}  // namespace
}  // namespace belmo::test
