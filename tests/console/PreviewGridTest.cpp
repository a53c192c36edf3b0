// The preview-grid machinery on a real company file: loading, ticks, select-all, counters
// and the reading of the ticked rows, pressed as a user presses them.
#include "TestSteps.h"
#include "support/TestProgram.h"

#include <gtest/gtest.h>

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;
using console::StepId;
using widgets::Grid;

class PreviewGridTest : public ::testing::Test {
protected:
    PreviewGridTest()
    {
        console::StepRegistry steps;
        steps.add(StepId::Depolar, u"depo"_s, u"Depo Tanımları"_s, keep(step, StepId::Depolar));
        steps.add(StepId::Gruplar, u"grup"_s, u"Grup Tanımları"_s, keep(broken, StepId::Gruplar, u"Yok_Tablo"_s));
        t = std::make_unique<TestProgram>(std::move(steps));
    }

    void addWarehouses(std::initializer_list<std::pair<const char*, double>> rows)
    {
        for (const auto& [code, amount] : rows)
            t->company.insert(u"Depo"_s, {{"Depo_Kodu", code}, {"Depo_Adi", code}, {"Ana_Hs", amount * 100}, {"Sil", 0}});
    }
    void open() { t->logIn().entry(StepId::Depolar).button.click(); }
    QString ticks() const
    {
        QString marks;
        for (int r = 1; r < step->grid.rows(); ++r) marks += step->ticked(r) ? u'x' : u'.';
        return marks;
    }

    WarehouseStep* step = nullptr;
    WarehouseStep* broken = nullptr;
    std::unique_ptr<TestProgram> t;
};

TEST_F(PreviewGridTest, LoadingTicksEveryRowAndLaysOutTheColumns)
{
    addWarehouses({{"D2", 10}, {"D1", 5}, {"D3", 1}});
    EXPECT_EQ(step, nullptr);  // made with the console
    open();
    EXPECT_EQ(t->console()->panels.front(), &step->frame);
    const Grid& g = step->grid;
    ASSERT_EQ(g.rows(), 4);
    EXPECT_EQ(g.cols(), 5);
    EXPECT_EQ(g.text(0, 0), QString());
    EXPECT_EQ(g.text(0, 2), u"Depo Adı"_s);
    EXPECT_EQ(g.text(1, 1), u"D1"_s);  // in the query's order
    EXPECT_EQ(g.colWidth(0), 280);
    EXPECT_EQ(g.colWidth(4), 0);  // the key column is hidden
    EXPECT_EQ(g.colAlignment(3), Grid::Alignment::Amount);
    EXPECT_EQ(g.headerAlignment(1), Grid::Alignment::CenterTop);
    EXPECT_EQ(g.headerAlignment(2), Grid::Alignment::General);
    for (int r = 1; r <= 3; ++r) {
        EXPECT_EQ(g.text(r, 0), u"."_s);
        EXPECT_EQ(g.picture(r, 0), Grid::Picture::Ticked);
        EXPECT_EQ(g.colour(r, 0), int(Grid::kWhite));
    }
    EXPECT_EQ(step->toplamKayit.text(), u"3"_s);
    EXPECT_EQ(step->belmoKayit.text(), u"3"_s);
    EXPECT_EQ(step->tumunuSec.value(), 1);
}

TEST_F(PreviewGridTest, AnEmptyResultShowsOneBlankRowThatCannotBeTickedOrCarried)
{
    t->logIn();
    EXPECT_EQ(step->toplamKayit.text(), u"0,00"_s);  // until first filled
    t->console()->entry(StepId::Depolar).button.click();
    EXPECT_EQ(step->grid.rows(), 2);
    EXPECT_EQ(step->grid.text(1, 1), QString());
    EXPECT_FALSE(step->ticked(1));
    EXPECT_EQ(step->toplamKayit.text(), u"0"_s);
    EXPECT_EQ(step->belmoKayit.text(), u"0"_s);

    step->grid.click(1, 0);
    step->tumunuSec.setValue(0);
    step->tumunuSec.setValue(1);
    EXPECT_FALSE(step->ticked(1));
    EXPECT_EQ(step->belmoKayit.text(), u"0"_s);

    t->dialogs.expectMessage(u"Depolar aktarıldı."_s, u"Belmo"_s);
    step->basla.click();
    EXPECT_TRUE(step->read.isEmpty());
}

TEST_F(PreviewGridTest, OnlyAClickInTheTickColumnTogglesARow)
{
    addWarehouses({{"D1", 1}, {"D2", 2}, {"D3", 3}});
    open();
    step->grid.click(2, 0);
    EXPECT_EQ(ticks(), u"x.x"_s);
    EXPECT_EQ(step->grid.picture(2, 0), Grid::Picture::Empty);
    EXPECT_EQ(step->belmoKayit.text(), u"2"_s);

    step->grid.click(1, 2);
    step->grid.click(3, 3);
    step->grid.click(0, 0);  // the header row holds no record
    EXPECT_EQ(ticks(), u"x.x"_s);
    EXPECT_EQ(step->belmoKayit.text(), u"2"_s);

    step->grid.click(2, 0);
    EXPECT_EQ(ticks(), u"xxx"_s);
    EXPECT_EQ(step->grid.picture(2, 0), Grid::Picture::Ticked);
}

TEST_F(PreviewGridTest, SelectAllUnticksAndTicksEveryRowAndAReloadTicksAllAgain)
{
    addWarehouses({{"D1", 1}, {"D2", 2}, {"D3", 3}});
    open();
    step->tumunuSec.press();
    EXPECT_EQ(ticks(), u"..."_s);
    EXPECT_EQ(step->belmoKayit.text(), u"0"_s);
    step->tumunuSec.press();
    EXPECT_EQ(ticks(), u"xxx"_s);
    EXPECT_EQ(step->belmoKayit.text(), u"3"_s);

    step->grid.click(1, 0);
    step->grid.click(3, 0);
    addWarehouses({{"D4", 4}});
    t->console()->entry(StepId::Depolar).button.click();
    EXPECT_EQ(ticks(), u"xxxx"_s);
    EXPECT_EQ(step->toplamKayit.text(), u"4"_s);
    EXPECT_EQ(step->belmoKayit.text(), u"4"_s);
    EXPECT_EQ(step->tumunuSec.value(), 1);
}

TEST_F(PreviewGridTest, StartReadsTheTickedRowsInGridOrderAndFormattedAmountsWithoutLoss)
{
    addWarehouses({{"A", 1234567.89}, {"B", 0.5}, {"C", -2.35}, {"D", 1000}, {"E", 0.01}});
    open();
    EXPECT_EQ(step->grid.text(1, 3), u"1.234.567,89"_s);
    step->grid.click(4, 0);
    t->dialogs.expectMessage(u"Depolar aktarıldı."_s, u"Belmo"_s);
    step->basla.click();
    const QList<ReadRow> expected{{u"A"_s, 1234567.89}, {u"B"_s, 0.5}, {u"C"_s, -2.35}, {u"E"_s, 0.01}};
    EXPECT_EQ(step->read, expected);
    EXPECT_EQ(ticks(), u"xxx.x"_s);  // "Başla" changes no tick
    EXPECT_TRUE(t->console()->entry(StepId::Depolar).done.visible());
}

// A load that failed leaves an empty grid that is no list of the source: "Başla" on it says
// why and carries nothing, and the step does not finish.
TEST_F(PreviewGridTest, AFailedLoadIsNoListAndBaslaCarriesNothingFromIt)
{
    t->logIn();
    t->dialogs.expectError(u"Hatalı Veri Girişi Algılandı. Lütfen Verilerinizi Kontrol Ediniz."_s, {u"Yok_Tablo"_s});
    t->console()->entry(StepId::Gruplar).button.click();
    EXPECT_EQ(broken->grid.rows(), 2);
    EXPECT_FALSE(broken->isLoaded());
    EXPECT_EQ(broken->toplamKayit.text(), u"0"_s);
    EXPECT_EQ(t->console()->panels.front(), &broken->frame);  // the panel still comes forward

    t->dialogs.expectMessage(u"Liste kaynak şirketten yüklenemedi; aktarım yapılmadı.\rSorunu giderip listeyi yeniden "
                             u"yükleyiniz."_s,
                             u"Belmo"_s, services::Dialogs::Icon::Critical);
    broken->basla.click();
    EXPECT_TRUE(broken->read.isEmpty());
    EXPECT_FALSE(t->console()->entry(StepId::Gruplar).done.visible());
}

}  // namespace
}  // namespace belmo::test
