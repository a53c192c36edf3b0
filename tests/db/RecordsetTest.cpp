// Recordsets as the steps use them: static reads, dynamic inserts, updates and deletes.
#include "support/TestCompany.h"

#include "db/DbError.h"
#include "db/Recordset.h"

#include <gtest/gtest.h>

using namespace belmo;
using db::CursorType;
using db::LockType;
using db::Value;

namespace {

// Every case runs on a file and on a database of the test server.
class RecordsetTest : public ::testing::TestWithParam<test::Engine> {
protected:
    void SetUp() override
    {
        if (GetParam() == test::Engine::Server && !test::haveTestServer()) GTEST_SKIP() << "no test server (run through ctest)";
    }

    test::TestCompany co{QStringLiteral("TEST"), test::haveTestServer() ? GetParam() : test::Engine::File};

    db::Recordset open(const QString& sql, LockType lock = LockType::Optimistic)
    {
        db::Recordset rs;
        rs.open(sql, co.connection(), lock == LockType::ReadOnly ? CursorType::Static : CursorType::Dynamic, lock);
        return rs;
    }

    static qint32 errorOf(const std::function<void()>& f)
    {
        try {
            f();
        } catch (const db::DbError& e) {
            return e.number();
        }
        return 0;
    }

    void addBrm(int n)
    {
        for (int i = 1; i <= n; ++i) co.insert("BRM", {{"Birim", QStringLiteral("B%1").arg(i)}, {"Carpan", i}});
    }
};

INSTANTIATE_TEST_SUITE_P(Engines, RecordsetTest, ::testing::Values(test::Engine::File, test::Engine::Server), test::engineName);

}  // namespace

TEST_P(RecordsetTest, StaticSnapshotCountsAndBounds)
{
    addBrm(3);
    auto rs = open("Select * from BRM", LockType::ReadOnly);
    EXPECT_EQ(rs.recordCount(), 3);
    EXPECT_FALSE(rs.bof());
    EXPECT_EQ(rs.value("birim").textValue(), "B1");  // field names are case-insensitive
    co.insert("BRM", {{"Birim", "B4"}});           // a snapshot does not see later rows
    rs.moveNext();
    rs.moveNext();
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(errorOf([&] { rs.value("Birim"); }), db::err::NoCurrentRow);
    EXPECT_EQ(errorOf([&] { rs.moveNext(); }), db::err::NoCurrentRow);
    rs.moveFirst();
    EXPECT_EQ(errorOf([&] { rs.value("Yok"); }), db::err::ItemNotFound);
    EXPECT_EQ(errorOf([&] { rs.setValue("Birim", "X"); }), db::err::NotUpdatable);

    auto empty = open("Select * from BRM where Carpan > 100", LockType::ReadOnly);
    EXPECT_TRUE(empty.bof());
    EXPECT_TRUE(empty.eof());
    EXPECT_EQ(empty.recordCount(), 0);
    EXPECT_EQ(errorOf([&] { empty.moveFirst(); }), db::err::NoCurrentRow);
}

TEST_P(RecordsetTest, FieldNamesOfExpressionsAndJoins)
{
    co.insert("Kayit", {{"Evrak_No", "K1"}});
    co.insert("Cari_H", {{"Kayit_No", 1}, {"Aciklama", "satır"}});
    auto rs = open("Select '', Evrak_No, Sum(Kayit_No) as Top from Kayit group by Evrak_No", LockType::ReadOnly);
    EXPECT_EQ(rs.fieldName(0), "Expr1000");
    EXPECT_EQ(rs.fieldName(1), "Evrak_No");
    EXPECT_EQ(rs.fieldName(2), "Top");
    auto join = open("Select * from Kayit inner join Cari_H on Kayit.Kayit_No=Cari_H.Kayit_No", LockType::ReadOnly);
    EXPECT_EQ(join.value("Kayit.Kayit_No").intValue(), 1);
    EXPECT_EQ(join.value("Cari_H.Kayit_No").intValue(), 1);
    EXPECT_EQ(join.value("Aciklama").textValue(), "satır");
}

TEST_P(RecordsetTest, StatementErrorsKeepTheirOwnNumbers)
{
    EXPECT_EQ(errorOf([&] { open("Select Teslim2 from Karne_Tanim"); }), db::err::MissingParameter);
    EXPECT_EQ(errorOf([&] { open("Select * from Yok_Tablo"); }), db::err::NoSuchTable);
    EXPECT_EQ(errorOf([&] { open("Select * fromm Kayit"); }), db::err::Syntax);
    EXPECT_EQ(errorOf([&] { open("Select * from Kayit where", LockType::ReadOnly); }), db::err::Syntax);
}

TEST_P(RecordsetTest, AddNewWritesDefaultsAndTheDatabaseNumber)
{
    for (int i = 0; i < 3; ++i) co.insert("Kayit", {{"Evrak_No", QStringLiteral("K%1").arg(i)}});
    co.connection().execute("DELETE FROM Kayit WHERE Kayit_No=3");  // max is now 2
    auto rs = open("select * from Kayit");
    rs.addNew();
    rs.field("Evrak_No") = "K9";
    rs.field("B_Hs") = "500";  // text into a number column is converted
    rs.update();
    // The row stays current and shows what the database gave it.
    EXPECT_EQ(rs.value("Kayit_No").intValue(), 4);
    EXPECT_EQ(rs.value("B_Hs").intValue(), 500);
    EXPECT_EQ(rs.value("Sil").intValue(), 0);
    EXPECT_EQ(rs.value("A_Hs").intValue(), 0);
    EXPECT_TRUE(rs.value("B_MID").isNull());
    EXPECT_EQ(co.connection().lastInsertId(), 4);
    EXPECT_EQ(rs.recordCount(), 3);
}

TEST_P(RecordsetTest, AddNewDoesNotRunTheQuery)
{
    // A row whose description is no number makes this query fail when it runs.
    co.insert("Cari_H", {{"Kayit_No", 1}, {"Aciklama", "abc"}});
    auto rs = open("select * from Cari_H where CDBL(Aciklama) > 0");
    rs.addNew();
    rs.field("Kayit_No") = 2;
    rs.field("Aciklama") = "5";
    rs.update();
    EXPECT_EQ(rs.value("Kayit_No").intValue(), 2);
    EXPECT_FALSE(rs.eof());  // the current row is the new one
    EXPECT_EQ(co.scalar("select count(*) from Cari_H").intValue(), 2);
    EXPECT_EQ(errorOf([&] { rs.moveFirst(); }), db::err::CriteriaMismatch);
}

TEST_P(RecordsetTest, AValueThatDoesNotFitLeavesTheFieldAndTheRestGoesOn)
{
    auto rs = open("select * from Cari_H");
    rs.addNew();
    rs.field("Kayit_No") = 7;
    rs.field("B_Fiyat") = "12,5";
    EXPECT_EQ(errorOf([&] { rs.field("Tutar_Ytl") = "on iki"; }), db::err::MultipleStep);
    EXPECT_EQ(errorOf([&] { rs.field("Vade") = "31.02.2026"; }), db::err::MultipleStep);
    EXPECT_EQ(errorOf([&] { rs.field("Alis_Kyt_No") = 1e12; }), db::err::MultipleStep);
    rs.field("Vade") = "15.03.2026";
    rs.update();
    EXPECT_EQ(co.rows("select Kayit_No, B_Fiyat, Tutar_Ytl, Vade from Cari_H"),
              QList<QStringList>({{"7", "12,5", "0", "15.03.2026"}}));
}

TEST_P(RecordsetTest, EditsAreSavedWhenTheCursorMovesOn)
{
    addBrm(3);
    auto rs = open("Select * from BRM order by Carpan");
    while (!rs.eof()) {
        rs.field("Carpan") = rs.value("Carpan").doubleValue() * 10;
        rs.moveNext();  // saves the row it leaves, the last one too
    }
    EXPECT_EQ(co.rows("Select Carpan from BRM order by Carpan"), QList<QStringList>({{"10"}, {"20"}, {"30"}}));
    rs.moveFirst();
    rs.field("Birim") = "Koli";
    rs.cancelUpdate();
    EXPECT_EQ(rs.value("Birim").textValue(), "B1");
    rs.field("Birim") = "Koli";
    EXPECT_EQ(errorOf([&] { rs.close(); }), db::err::NotAllowed);  // neither updated nor cancelled
    EXPECT_EQ(co.scalar("Select count(*) from BRM where Birim='Koli'").intValue(), 0);
}

TEST_P(RecordsetTest, UpdatesThroughAJoinReachTheirTables)
{
    for (int i = 1; i <= 2; ++i) {
        co.insert("Kayit", {{"Evrak_Kodu", 7}, {"Evrak_No", QStringLiteral("S%1").arg(i)}});
        co.insert("Cari_Sip", {{"Kayit_No", i}, {"Ftr", 0}});
    }
    co.insert("Kayit", {{"Evrak_Kodu", 1}});  // no order line: not in the join
    auto rs = open("Select * from Kayit inner join Cari_Sip on Kayit.Kayit_No=Cari_Sip.Kayit_No where Sil=0");
    EXPECT_TRUE(rs.supportsUpdates());
    while (!rs.eof()) {
        rs.field("sil") = 1;
        rs.moveNext();
    }
    EXPECT_EQ(co.rows("Select Kayit_No, Sil from Kayit order by Kayit_No"), QList<QStringList>({{"1", "1"}, {"2", "1"}, {"3", "0"}}));
}

TEST_P(RecordsetTest, DeletedRowIsUnreadableUntilAMove)
{
    addBrm(3);
    auto rs = open("Select * from BRM");
    rs.moveNext();
    rs.deleteCurrent();
    EXPECT_FALSE(rs.eof());
    EXPECT_EQ(errorOf([&] { rs.value("Birim"); }), db::err::NoCurrentRow);
    rs.moveNext();  // lands on the row that followed the deleted one
    EXPECT_EQ(rs.value("Birim").textValue(), "B3");
    EXPECT_EQ(rs.recordCount(), 2);
    rs.movePrevious();
    EXPECT_EQ(rs.value("Birim").textValue(), "B1");
}

TEST_P(RecordsetTest, DeleteLoopsEmptyATable)
{
    addBrm(5);
    auto first = open("Select * from BRM");
    while (!first.eof()) {  // delete, move to the first row, until empty
        first.deleteCurrent();
        if (first.recordCount() > 0) first.moveFirst();
    }
    EXPECT_EQ(co.scalar("Select count(*) from BRM").intValue(), 0);

    addBrm(4);
    auto last = open("Select * from BRM");
    int turns = 0;
    while (!last.eof() && turns++ < 10) {  // delete, move to the last row
        last.deleteCurrent();
        if (last.recordCount() > 0) last.moveLast();
    }
    EXPECT_EQ(turns, 4);
    EXPECT_EQ(co.scalar("Select count(*) from BRM").intValue(), 0);
    EXPECT_EQ(errorOf([&] { last.moveLast(); }), db::err::NoCurrentRow);
}

TEST_P(RecordsetTest, WalkingAndChangingTheFilteredColumnVisitsEveryRowOnce)
{
    for (int i = 0; i < 50; ++i) co.insert("Taksit_H", {{"Evrak_No", QString::number(i)}, {"Sil", 0}});
    auto rs = open("Select * from Taksit_H where Sil=0");
    int visited = 0;
    while (!rs.eof()) {
        rs.field("Sil") = 1;
        ++visited;
        rs.moveNext();
    }
    EXPECT_EQ(visited, 50);
    EXPECT_EQ(co.scalar("Select count(*) from Taksit_H where Sil=1").intValue(), 50);
}

TEST_P(RecordsetTest, StatementsWithoutRowsRunAtOpen)
{
    co.insert("Kayit", {{"Evrak_No", "K1"}, {"Sil", 0}});
    co.insert("Kayit", {{"Evrak_No", "K2"}, {"Sil", 0}});
    auto rs = open("UPDATE Kayit Set Sil=1 where Evrak_No='K1' AND Sil=0 ");
    EXPECT_FALSE(rs.isOpen());
    EXPECT_EQ(errorOf([&] { rs.eof(); }), db::err::ObjectClosed);
    EXPECT_EQ(co.rows("Select Evrak_No, Sil from Kayit order by Evrak_No"), QList<QStringList>({{"K1", "1"}, {"K2", "0"}}));
}

TEST_P(RecordsetTest, ReadOnlyViewsAndGroupsCannotBeUpdated)
{
    co.insert("Gruplar", {{"Grup", "A"}});
    auto grouped = open("Select Grup from Gruplar group by Grup");
    EXPECT_FALSE(grouped.supportsUpdates());
    EXPECT_EQ(grouped.value("Grup").textValue(), "A");
    EXPECT_EQ(errorOf([&] { grouped.field("Grup") = "B"; }), db::err::NotUpdatable);
    EXPECT_EQ(errorOf([&] { grouped.addNew(); }), db::err::NotUpdatable);
}

namespace {

// A statement opened again and again with other values: the values are bound, so one with an
// apostrophe is found as it stands, and an updatable recordset over it writes its row back.
TEST_P(RecordsetTest, BoundValuesSelectTheRowsOfEveryKind)
{
    co.insert("Gruplar", {{"Grup", "OTO'YED"}, {"Grupadi", "Yedek"}, {"Ana_Hs", 153}});
    co.insert("Gruplar", {{"Grup", "GIDA"}, {"Grupadi", "Gıda"}, {"Ana_Hs", 153}});
    const QString sql = QStringLiteral("Select * from Gruplar where Grup=? and Ana_Hs=?");
    for (const QString& code : {QStringLiteral("OTO'YED"), QStringLiteral("GIDA")}) {
        db::Recordset read;
        read.open(sql, co.connection(), CursorType::Static, LockType::ReadOnly, {code, 153});
        ASSERT_EQ(read.recordCount(), 1);
        EXPECT_EQ(read.value("Grup").textValue(), code);
    }
    db::Recordset write;
    write.open(sql, co.connection(), CursorType::Dynamic, LockType::Optimistic, {QStringLiteral("OTO'YED"), 153});
    write.setValue("Grupadi", QStringLiteral("Oto Yedek"));
    write.update();
    db::Recordset none;
    none.open(sql, co.connection(), CursorType::Static, LockType::ReadOnly, {QStringLiteral("x' OR '1'='1"), 153});
    EXPECT_TRUE(none.eof());
    EXPECT_EQ(co.rows("Select Grupadi from Gruplar order by ID"), (QList<QStringList>{{"Oto Yedek"}, {"Gıda"}}));
}

}  // namespace
