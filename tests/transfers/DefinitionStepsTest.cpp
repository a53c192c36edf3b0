// The definition steps that add what the target lacks: transaction definitions, document
// types, groups, warehouses and accounting accounts, each loaded, ticked and started on its
// panel as a user does.
#include "TransferFixture.h"

#include "transfers/definitions/IslemTanimlari.h"

#include <algorithm>
#include <functional>

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;
using console::StepId;
using Icon = services::Dialogs::Icon;

class TransactionDefinitions : public TransferTest {
protected:
    TransactionDefinitions()
    {
        for (const auto& [code, name] : {std::pair{1, "Satış Faturası"}, {15, "Çek Bordrosu"}, {123, "Uzun Kodlu Evrak"}})
            put(source(), u"Evrak_Turu"_s, {{"Evrak_Kodu", code}, {"Aciklama", name}});
        transaction(10, "Peşin Satış", 100, 600, 1, 0);
        transaction(20, "Çek Tahsilatı", 101, 120, 15, 0);
        transaction(30, "Masraf", Value::null(), 320, 0, 0);  // no main account, no document type
        transaction(40, "Uzun Kodlu", 153, 320, 123, 0);
        transaction(50, "Seçilmeyen", 100, 120, 1, 0);
        transaction(99, "Silinmiş", 100, 120, 1, 1);
        put(target(), u"islem"_s, {{"islem_Kod", 10}, {"islem", "Hedefteki Ad"}, {"B_Ana_Hs", 102}, {"Sil", 0}});
    }
    void transaction(int code, const char* name, const Value& debit, int credit, int documentType, int deleted)
    {
        put(source(), u"islem"_s,
            {{"islem_Kod", code}, {"islem", name}, {"B_Ana_Hs", debit}, {"A_Ana_Hs", credit}, {"Hesap_Tur", "C"},
             {"Msj1", "Mesaj"}, {"Msj2", Value::null()}, {"Evrak_Kodu", documentType}, {"Sil", deleted}});
    }
    QList<QStringList> targetRows()
    {
        return rows(target(), u"Select islem_Kod, islem, B_Ana_Hs, A_Ana_Hs, Hesap_Tur, Msj1, Msj2, Evrak_Kodu from "
                              "islem order by islem_Kod"_s);
    }
};

TEST_P(TransactionDefinitions, TheGridListsLiveTransactionsWithTheirDocumentTypes)
{
    console::PreviewStep& step = open(StepId::IslemTanimlari);
    EXPECT_EQ(step.frame.caption(), u"İşlem Tanımları"_s);
    EXPECT_EQ(step.grid.cols(), 9);
    EXPECT_EQ(step.grid.text(0, 8), u"Evrak Türü"_s);
    EXPECT_EQ(step.toplamKayit.text(), u"5"_s);
    EXPECT_EQ(step.belmoKayit.text(), u"5"_s);
    const int r = rowWith(step, 1, u"20"_s);
    EXPECT_EQ(gridRows(step).value(r - 1),
              (QStringList{"20", "Çek Tahsilatı", "101", "120", "C", "Mesaj", "", "15   Çek Bordrosu"}));
    EXPECT_EQ(step.grid.text(rowWith(step, 1, u"30"_s), 8), QString());
}

TEST_P(TransactionDefinitions, MissingCodesAreAddedAndACodeTheTargetHasIsLeftAsItIs)
{
    console::PreviewStep& step = open(StepId::IslemTanimlari);
    step.grid.click(rowWith(step, 1, u"50"_s), 0);
    EXPECT_EQ(step.belmoKayit.text(), u"4"_s);
    t.dialogs.expectMessage(u"İşlem Tanımları Aktarıldı."_s, u"Belmo"_s);
    step.basla.click();
    // 30: the empty main account and the missing document type leave the defaults;
    // 40: a three-digit document type is carried whole.
    EXPECT_EQ(targetRows(), (QList<QStringList>{{"10", "Hedefteki Ad", "102", "0", "<null>", "<null>", "<null>", "0"},
                                                {"20", "Çek Tahsilatı", "101", "120", "C", "Mesaj", "", "15"},
                                                {"30", "Masraf", "0", "320", "C", "Mesaj", "", "0"},
                                                {"40", "Uzun Kodlu", "153", "320", "C", "Mesaj", "", "123"}}));
    EXPECT_TRUE(done(StepId::IslemTanimlari));

    const auto once = targetRows();
    t.dialogs.expectMessage(u"İşlem Tanımları Aktarıldı."_s, u"Belmo"_s);
    step.basla.click();
    EXPECT_EQ(targetRows(), once);
}

// How the transaction step shows its rows: its statement and its layout edited.
struct Shown {
    std::function<QString(QString)> sql;
    std::function<void(console::GridLayout&)> cols;
    int col;       // a column of the grid ...
    QString text;  // ... that shows this in one of its rows, the header's included
};
struct ShownTransactions : transfers::IslemTanimlari {
    ShownTransactions(console::StepHost& host, const Shown& way) : IslemTanimlari(host), way(way) {}
    db::Query query() override { return way.sql(IslemTanimlari::query().text); }
    console::GridLayout layout() const override { auto l = IslemTanimlari::layout(); way.cols(l); return l; }
    const Shown& way;
};

// "Başla" adds the rows read from the statement by name, whatever the grid shows: the columns
// in reverse order, a caption widened, the document types' codes with three digits.
TEST_P(TransactionDefinitions, WhatIsAddedDoesNotDependOnHowTheGridShowsIt)
{
    const auto same = [](QString sql) { return sql; };
    const auto keep = [](console::GridLayout&) {};
    const QList<Shown> ways = {
        {same, keep, 8, u"15   Çek Bordrosu"_s},
        {[](QString sql) {
             return u"SELECT '',Deyim1,Msj2,Msj1,Hesap_Tur,A_Ana_Hs,B_Ana_Hs,islem,islem_Kod,HamEvrakKodu FROM ("_s + sql + u")"_s;
         },
         [](console::GridLayout& l) { std::reverse(l.columns.begin() + 1, l.columns.end()); }, 1, u"15   Çek Bordrosu"_s},
        {same, [](console::GridLayout& l) { l.columns[1] = {u"İşlem Kodu (Kaynak)"_s, 4000}; }, 1, u"İşlem Kodu (Kaynak)"_s},
        {[this](QString sql) {
             const services::Fragments& f = c->session().sql;
             return sql.replace(f.KirpBas + u"islem.Evrak_Kodu"_s + f.KirpSon, u"FORMAT(islem.Evrak_Kodu,'000')"_s);
         },
         keep, 8,
         u"015   Çek Bordrosu"_s}};
    QList<QStringList> carried;
    for (const Shown& way : ways) {
        target().execute(u"DELETE FROM islem WHERE islem_Kod<>10"_s);
        ShownTransactions step(*c, way);
        step.FILTRELE();
        QStringList column;
        for (int r = 0; r < step.grid.rows(); ++r) column << step.grid.text(r, way.col);
        EXPECT_TRUE(column.contains(way.text)) << column.join(u'|').toStdString();
        t.dialogs.expectMessage(u"İşlem Tanımları Aktarıldı."_s, u"Belmo"_s);
        step.basla.click();
        if (carried.isEmpty()) carried = targetRows();
        EXPECT_EQ(targetRows(), carried) << way.text.toStdString();
    }
    EXPECT_EQ(carried.size(), 5);
}

class DocumentTypes : public TransferTest {
protected:
    QList<QStringList> targetRows()
    {
        return rows(target(), u"Select Evrak_Kodu, Aciklama from Evrak_Turu order by Evrak_Kodu"_s);
    }
};

TEST_P(DocumentTypes, ACodeTheTargetHasKeepsItsNameAndMissingOnesAreAdded)
{
    put(source(), u"Evrak_Turu"_s, {{"Evrak_Kodu", 1}, {"Aciklama", "Satış Faturası"}});
    put(source(), u"Evrak_Turu"_s, {{"Evrak_Kodu", 7}, {"Aciklama", "Alınan Sipariş"}});
    put(target(), u"Evrak_Turu"_s, {{"Evrak_Kodu", 1}, {"Aciklama", "Fatura (hedef)"}});
    console::PreviewStep& step = open(StepId::EvrakTanimlari);
    EXPECT_EQ(step.grid.cols(), 3);
    EXPECT_EQ(step.grid.headerAlignment(2), widgets::Grid::Alignment::LeftCenter);
    for (int run = 0; run < 2; ++run) {
        t.dialogs.expectMessage(u"Evrak Tanımları Aktarıldı."_s, u"Belmo"_s);
        step.basla.click();
        EXPECT_EQ(targetRows(), (QList<QStringList>{{"1", "Fatura (hedef)"}, {"7", "Alınan Sipariş"}}));
    }
}

TEST_P(DocumentTypes, AnEmptySourceShowsOneBlankRowAndStillAnnouncesTheTransfer)
{
    console::PreviewStep& step = open(StepId::EvrakTanimlari);
    EXPECT_EQ(step.grid.rows(), 2);
    EXPECT_FALSE(step.ticked(1));
    EXPECT_EQ(step.toplamKayit.text(), u"0"_s);
    t.dialogs.expectMessage(u"Evrak Tanımları Aktarıldı."_s, u"Belmo"_s);
    step.basla.click();
    EXPECT_TRUE(targetRows().isEmpty());
    EXPECT_TRUE(done(StepId::EvrakTanimlari));
}

// Groups and warehouses: a code under a main account, with a deletion mark.
class CodedDefinitions : public TransferTest {
protected:
    CodedDefinitions()
    {
        for (const auto& [main, name] : {std::pair{120, "Alıcılar"}, {153, "Ticari Mallar"}, {320, "Satıcılar"}})
            put(source(), u"Ana_Hesaplar"_s, {{"Ana_Hs", main}, {"Hesap_Adi", name}});
    }
    void definition(db::Connection& con, const QString& table, const char* code, const char* name, int main, int sil)
    {
        if (table == u"Gruplar"_s)
            put(con, table, {{"Grup", code}, {"Grupadi", name}, {"Ana_Hs", main}, {"Sil", sil}});
        else
            put(con, table, {{"Depo_Kodu", code}, {"Depo_Adi", name}, {"Ana_Hs", main}, {"Sil", sil}});
    }
    // The same source and target in both tables: "01" under 120 and under 320, a code with an
    // apostrophe, one under a main account the source does not know, one deleted in the
    // source; the target holds "01" under 120 live and under 320 deleted.
    void fill(const QString& table)
    {
        definition(source(), table, "01", "Yurtiçi", 120, 0);
        definition(source(), table, "01", "Tedarikçiler", 320, 0);
        definition(source(), table, "OTO'YED", "Kadıköy'deki Yedek Parça", 153, 0);
        definition(source(), table, "X", "Ana hesabı yok", 999, 0);
        definition(source(), table, "ESKI", "Silinmiş", 153, 1);
        definition(target(), table, "01", "Hedefteki Yurtiçi", 120, 0);
        definition(target(), table, "01", "Silinmiş Tedarikçiler", 320, 1);
    }
    QList<QStringList> targetRows(const QString& table, const QString& columns)
    {
        return rows(target(), u"Select "_s + columns + u", Ana_Hs, Sil from "_s + table + u" order by ID"_s);
    }
    void expectCarried(StepId id, const QString& table, const QString& columns, const QString& message)
    {
        fill(table);
        console::PreviewStep& step = open(id);
        EXPECT_EQ(step.grid.rows(), 4);  // three live groups under known main accounts
        EXPECT_EQ(step.grid.colWidth(1), 0);
        const int apostrophe = rowWith(step, 2, u"OTO'YED"_s);
        ASSERT_GT(apostrophe, 0);
        EXPECT_EQ(step.grid.text(apostrophe, 4), u"153   Ticari Mallar"_s);
        const QList<QStringList> expected = {{"01", "Hedefteki Yurtiçi", "120", "0"},
                                             {"01", "Silinmiş Tedarikçiler", "320", "1"},
                                             {"01", "Tedarikçiler", "320", "0"},
                                             {"OTO'YED", "Kadıköy'deki Yedek Parça", "153", "0"}};
        for (int run = 0; run < 2; ++run) {  // the second run adds nothing
            t.dialogs.expectMessage(message);
            step.basla.click();
            t.dialogs.verify();
            QList<QStringList> carried = targetRows(table, columns);
            std::sort(carried.begin() + 2, carried.end());
            EXPECT_EQ(carried, expected) << "run " << run + 1;
        }
        EXPECT_TRUE(done(id));
    }
};

TEST_P(CodedDefinitions, GroupsAreKeptByCodeAndMainAccountAndADeletedOneIsAddedAgain)
{
    expectCarried(StepId::Gruplar, u"Gruplar"_s, u"Grup, Grupadi"_s, u"Grup Tanımları Aktarıldı."_s);
}

TEST_P(CodedDefinitions, WarehousesAreKeptByCodeAndMainAccountAndADeletedOneIsAddedAgain)
{
    expectCarried(StepId::Depolar, u"Depo"_s, u"Depo_Kodu, Depo_Adi"_s, u"Depo Tanımları Aktarıldı."_s);
}

TEST_P(CodedDefinitions, AnUntickedWarehouseIsNotCarried)
{
    fill(u"Depo"_s);
    console::PreviewStep& step = open(StepId::Depolar);
    step.grid.click(rowWith(step, 2, u"OTO'YED"_s), 0);
    t.dialogs.expectMessage(u"Depo Tanımları Aktarıldı."_s);
    step.basla.click();
    EXPECT_EQ(rows(target(), u"Select count(*) from Depo where Depo_Kodu<>'01'"_s), (QList<QStringList>{{"0"}}));
}

// The step frame on a target that cannot take the step's rows: nothing written, no done mark,
// the reason shown.
TEST_P(CodedDefinitions, AReadOnlyTargetLeavesTheStepNotFinishedAndNamesTheFile)
{
    fill(u"Depo"_s);
    console::PreviewStep& step = open(StepId::Depolar);
    c->session().HedefBag += u";Mode=Read"_s;
    t.dialogs.expectError(u"Hatalı Veri Girişi Algılandı. Lütfen Verilerinizi Kontrol Ediniz."_s,
                          {t.company.path(u"HEDEF"_s) + u": "_s, u"read-only"_s});
    step.basla.click();
    EXPECT_FALSE(done(StepId::Depolar));
    EXPECT_EQ(rows(target(), u"Select count(*) from Depo"_s), (QList<QStringList>{{"2"}}));
}

// On files only: the refusing trigger is written in the file's own SQL.
TEST_F(CodedDefinitions, AStepWhoseEveryRowFailsIsNotFinished)
{
    fill(u"Depo"_s);
    console::PreviewStep& step = open(StepId::Depolar);
    target().execute(u"CREATE TRIGGER Kapali BEFORE INSERT ON Depo BEGIN SELECT RAISE(ABORT, 'kapalı'); END"_s);
    step.grid.click(rowWith(step, 3, u"Yurtiçi"_s), 0);  // the target has it: it would count as carried
    t.dialogs.expectMessage(u"Hiçbir kayıt aktarılamadı; hedef veri tabanına hiçbir şey yazılmadı.\r"
                            u"01 Tedarikçiler: kapalı\rOTO'YED Kadıköy'deki Yedek Parça: kapalı"_s,
                            u"Belmo"_s, services::Dialogs::Icon::Critical);
    step.basla.click();
    EXPECT_FALSE(done(StepId::Depolar));
}

class AccountingAccounts : public TransferTest {
protected:
    AccountingAccounts()
    {
        for (const auto& [main, name] : {std::pair{100, "Kasa"}, {770, "Genel Yönetim Giderleri"}})
            put(source(), u"Ana_Hesaplar"_s, {{"Ana_Hs", main}, {"Hesap_Adi", name}});
        account(source(), 100, "01", "001", "Merkez Kasa", "K");
        account(source(), 770, "01", "A'01", "Avukatlık Ücretleri", "M");
        account(source(), 770, "O'1", "002", "Kira", "M");
        account(source(), 999, "01", "001", "Ana hesabı yok", "M");
        account(target(), 100, "01", "001", "Hedefteki Kasa", "X");
    }
    void account(db::Connection& con, int main, const char* group, const char* code, const char* name, const char* type)
    {
        put(con, u"Diger_Hs"_s,
            {{"Ana_Hs", main}, {"Grup_Kodu", group}, {"Hesap_Kodu", code}, {"Hesap_Adi", name}, {"Hesap_Tur", type}});
    }
    void expectMessages()
    {
        t.dialogs.expectMessage(u"Muhasebe Hesapları Aktarıldı."_s);
        t.dialogs.expectMessage(u"Dikkat Muhasebe Hesapları Bekiyesiz Aktarılır.\rYeni Şirket üzerinden gerekli bakiye "
                                "girişlerini\rbelmo bakiyesi olarak giriniz"_s,
                                QString(), Icon::Critical);
    }
};

TEST_P(AccountingAccounts, MissingAccountsAreAddedWithTheirTypeAndBothMessagesFollowEveryRun)
{
    console::PreviewStep& step = open(StepId::Muhasebe);
    EXPECT_EQ(step.frame.caption(), u"Muhasebe Hesap Belmoleri"_s);
    EXPECT_EQ(step.toplamKayit.text(), u"3"_s);  // the account without a main account is not listed
    EXPECT_EQ(step.grid.text(rowWith(step, 3, u"A'01"_s), 5), u"Genel Yönetim Giderleri"_s);
    const QList<QStringList> expected = {{"100", "01", "001", "Hedefteki Kasa", "X"},
                                         {"770", "01", "A'01", "Avukatlık Ücretleri", "M"},
                                         {"770", "O'1", "002", "Kira", "M"}};
    for (int run = 0; run < 2; ++run) {
        expectMessages();
        step.basla.click();
        t.dialogs.verify();
        EXPECT_EQ(rows(target(), u"Select Ana_Hs, Grup_Kodu, Hesap_Kodu, Hesap_Adi, Hesap_Tur from Diger_Hs "
                                 "order by Ana_Hs, Grup_Kodu"_s),
                  expected);
    }
}

TEST_P(AccountingAccounts, AccountsThatCannotBeAddedAreLeftOutAndListed)
{
    console::PreviewStep& step = open(StepId::Muhasebe);
    target().execute(u"CREATE UNIQUE INDEX OneNamePerAccount ON Diger_Hs (Hesap_Adi)"_s);
    target().execute(u"INSERT INTO Diger_Hs (Ana_Hs, Grup_Kodu, Hesap_Kodu, Hesap_Adi) VALUES (1, '', '', 'Kira')"_s);
    expectMessages();
    // Each engine words the broken index in its own way.
    const QString cause = GetParam() == Engine::File
                              ? u"UNIQUE constraint failed: Diger_Hs.Hesap_Adi"_s
                              : u"duplicate key value violates unique constraint \"onenameperaccount\""_s;
    t.dialogs.expectMessage(u"Aşağıdaki kayıtlar aktarılamadı:\r770.O'1.002 Kira: "_s + cause, u"Belmo"_s,
                            services::Dialogs::Icon::Exclamation);
    step.basla.click();
    EXPECT_EQ(rows(target(), u"Select Hesap_Kodu from Diger_Hs where Ana_Hs=770"_s), (QList<QStringList>{{"A'01"}}));
    EXPECT_TRUE(done(StepId::Muhasebe));
}

INSTANTIATE_TEST_SUITE_P(Engines, TransactionDefinitions, bothEngines(), engineName);
INSTANTIATE_TEST_SUITE_P(Engines, DocumentTypes, bothEngines(), engineName);
INSTANTIATE_TEST_SUITE_P(Engines, CodedDefinitions, bothEngines(), engineName);
INSTANTIATE_TEST_SUITE_P(Engines, AccountingAccounts, bothEngines(), engineName);

}  // namespace
}  // namespace belmo::test
