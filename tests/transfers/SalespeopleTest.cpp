// Salespeople: new IDs are added, and the overwrite question with its four answers decides
// about the IDs the target holds.
#include "TransferFixture.h"

#include "services/Dialogs.h"

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;
using console::StepId;
namespace answer = services::answer;

class Salespeople : public TransferTest {
protected:
    Salespeople()
    {
        for (const auto& [code, name] : {std::pair{"001", "Mehmet Yıldız"}, {"002", "Zeynep Aydın"},
                                         {"003", "Mustafa Öztürk"}, {"004", "Elif Şahin"}})
            put(source(), u"Diger_Hs"_s, {{"Ana_Hs", 335}, {"Grup_Kodu", "01"}, {"Hesap_Kodu", code}, {"Hesap_Adi", name}});
        for (const auto& [code, name, main] : {std::tuple{"GIDA", "Gıda", 153}, {"TEMIZ", "Temizlik", 153},
                                               {"01", "Yurtiçi Müşteriler", 120}})
            put(source(), u"Gruplar"_s, {{"Grup", code}, {"Grupadi", name}, {"Ana_Hs", main}, {"Sil", 0}});
        seller(source(), 1, "001", "GIDA", "05", 2.5);
        seller(source(), 2, "002", "TEMIZ", "05", 3.0);
        seller(source(), 3, "003", "GIDA", "07", 1.75);
        seller(source(), 4, "004", "TEMIZ", "09", 4.0);
        seller(source(), 5, "001", "01", "05", 1.0);        // earns on a group not under 153
        seller(source(), 6, "001", "GIDA", "05", 9.0, 1);   // deleted
        seller(source(), 7, "099", "GIDA", "05", 9.0);      // no account

        // The target holds 1 to 3: 1 with its account, 2 and 3 without.
        put(target(), u"Diger_Hs"_s, {{"Ana_Hs", 335}, {"Grup_Kodu", "01"}, {"Hesap_Kodu", "101"}, {"Hesap_Adi", "Eski Personel"}});
        put(target(), u"Gruplar"_s, {{"Grup", "ESKI"}, {"Grupadi", "Eski Grup"}, {"Ana_Hs", 153}, {"Sil", 0}});
        seller(target(), 1, "101", "ESKI", "01", 0.5);
        seller(target(), 2, "102", "ESKI", "01", 0.5);
        seller(target(), 3, "103", "YOK", "01", 0.5);
    }
    void seller(db::Connection& con, int id, const char* code, const char* group, const char* user, double rate, int sil = 0)
    {
        put(con, u"Plasiyer"_s, {{"ID", id}, {"A_Hs", 335}, {"Grup_Kodu", "01"}, {"Hesap_Kodu", code},
                                 {"Stok_Grubu", group}, {"USERCODE", user}, {"Oran", rate}, {"Sil", sil}});
    }
    QList<QStringList> targetRows()
    {
        return rows(target(), u"Select ID, Hesap_Kodu, Stok_Grubu, USERCODE, Oran from Plasiyer order by ID"_s);
    }
    // The questions for the IDs the target holds, in grid order, with the answers given.
    void expectQuestions(const QList<std::pair<int, QString>>& answers)
    {
        const QMap<int, std::pair<QString, QString>> texts = {
            {1, {u"Kaynak = Mehmet Yıldız GIDA Gıda"_s, u"Hedef = Eski Personel ESKI Eski Grup üzerine kaydedilsin mi?"_s}},
            {2, {u"Kaynak = Zeynep Aydın TEMIZ Temizlik"_s,
                 u"Hedef = TANIMSIZ PERSONEL ESKI Eski Grup üzerine kaydedilsin mi?"_s}},
            {3, {u"Kaynak = Mustafa Öztürk GIDA Gıda"_s, u"Hedef = TANIMSIZ PERSONEL YOK  üzerine kaydedilsin mi?"_s}},
            {4, {u"Kaynak = Elif Şahin TEMIZ Temizlik"_s, u"Hedef = TANIMSIZ PERSONEL TEMIZ  üzerine kaydedilsin mi?"_s}}};
        for (const auto& [id, code] : answers) t.dialogs.expectOverwrite(texts[id].first, texts[id].second, code);
        t.dialogs.expectMessage(u"Plasiyer Tanımları Aktarıldı."_s);
    }
    void start()
    {
        console::PreviewStep& step = open(StepId::Plasiyerler);
        // The grid is in ID order here; the questions follow it.
        ASSERT_EQ(step.grid.text(1, 1), u"1"_s);
        step.basla.click();
        t.dialogs.verify();
    }

    const QStringList kOld1 = {"1", "101", "ESKI", "01", "0,5"};
    const QStringList kOld2 = {"2", "102", "ESKI", "01", "0,5"};
    const QStringList kOld3 = {"3", "103", "YOK", "01", "0,5"};
    const QStringList kNew1 = {"1", "001", "GIDA", "05", "2,5"};
    const QStringList kNew2 = {"2", "002", "TEMIZ", "05", "3"};
    const QStringList kNew3 = {"3", "003", "GIDA", "07", "1,75"};
    const QStringList kAdded4 = {"4", "004", "TEMIZ", "09", "4"};
};

TEST_P(Salespeople, TheGridListsLiveSalespeopleWithAnAccountEarningOnAStockGroup)
{
    console::PreviewStep& step = open(StepId::Plasiyerler);
    EXPECT_EQ(step.frame.caption(), u"Plasiyer Belmoleri"_s);
    EXPECT_EQ(step.toplamKayit.text(), u"4"_s);
    EXPECT_EQ(step.grid.cols(), 5);  // USERCODE is loaded but not shown
    EXPECT_EQ(step.grid.text(1, 2), u"Mehmet Yıldız"_s);
    EXPECT_EQ(step.grid.text(1, 3), u"GIDA Gıda"_s);
    EXPECT_EQ(step.grid.text(3, 4), u"1,8"_s);
    EXPECT_EQ(step.grid.colWidth(1), 0);
}

TEST_P(Salespeople, NoAndYesAnswerForOneSalespersonEach)
{
    expectQuestions({{1, answer::kNo}, {2, answer::kYes}, {3, answer::kNo}});
    start();
    EXPECT_EQ(targetRows(), (QList<QStringList>{kOld1, kNew2, kOld3, kAdded4}));
    EXPECT_TRUE(done(StepId::Plasiyerler));
}

TEST_P(Salespeople, YesToAllOverwritesEveryLaterSalespersonWithoutAsking)
{
    expectQuestions({{1, answer::kYesToAll}});
    start();
    EXPECT_EQ(targetRows(), (QList<QStringList>{kNew1, kNew2, kNew3, kAdded4}));
}

TEST_P(Salespeople, NoToAllLeavesEveryLaterSalespersonAloneAndStillAddsNewOnes)
{
    expectQuestions({{1, answer::kYes}, {2, answer::kNoToAll}});
    start();
    EXPECT_EQ(targetRows(), (QList<QStringList>{kNew1, kOld2, kOld3, kAdded4}));
}

TEST_P(Salespeople, TheRememberedAnswerLastsOneRun)
{
    expectQuestions({{1, answer::kNoToAll}});
    start();
    // 4 was added by the first run and is asked about now.
    expectQuestions({{1, answer::kNo}, {2, answer::kNo}, {3, answer::kYes}, {4, answer::kNo}});
    preview(StepId::Plasiyerler).basla.click();
    EXPECT_EQ(targetRows(), (QList<QStringList>{kOld1, kOld2, kNew3, kAdded4}));
}

TEST_P(Salespeople, ANewSalespersonIsAddedWithoutAQuestionAndAnUntickedOneIsNotCarried)
{
    target().execute(u"DELETE FROM Plasiyer"_s);
    console::PreviewStep& step = open(StepId::Plasiyerler);
    step.grid.click(2, 0);
    t.dialogs.expectMessage(u"Plasiyer Tanımları Aktarıldı."_s);
    step.basla.click();
    EXPECT_EQ(targetRows(), (QList<QStringList>{kNew1, kNew3, kAdded4}));
}

INSTANTIATE_TEST_SUITE_P(Engines, Salespeople, bothEngines(), engineName);

}  // namespace
}  // namespace belmo::test
