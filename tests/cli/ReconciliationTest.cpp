// The demo company carried forward by `belmo run`: the new period's opening entries must
// equal the old period's closing balances per account and currency, and its opening stock
// the stock on hand per card and warehouse. The expected figures are worked out here from
// the source's movements, row by row, without the step's views.
#include "DemoRun.h"

#include "cli/Cli.h"

#include "db/Recordset.h"
#include "db/VbConvert.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QSet>

#include <cmath>

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;
using Key = std::pair<QString, QString>;  // account and currency, or card and warehouse
using Totals = QMap<Key, double>;

// Reads every row of a statement through a static recordset, one callback per row.
template <typename Row>
void eachRow(db::Connection& con, const QString& sql, Row&& row)
{
    db::Recordset rs;
    rs.open(sql, con, db::CursorType::Static, db::LockType::ReadOnly);
    for (; !rs.eof(); rs.moveNext()) row(rs);
}

QString text(db::Recordset& rs, const QString& column)
{
    const db::Value v = rs.value(column);
    return v.isNull() ? QString() : vb::CStr(v);
}
double number(db::Recordset& rs, const QString& column)
{
    const db::Value v = rs.value(column);
    return v.isNull() ? 0.0 : vb::CDbl(v);
}

// The amount member of a movement's currency; none for Null or any other currency.
std::optional<double> amountOf(db::Recordset& rs)
{
    const QString currency = text(rs, u"islem_Dvz"_s);
    if (currency == u"TL"_s) return number(rs, u"Tutar_Ytl"_s);
    if (currency == u"USD"_s) return number(rs, u"Tutar_Dvz1"_s);
    if (currency == u"EURO"_s) return number(rs, u"Tutar_Dvz2"_s);
    return std::nullopt;
}

bool currentAccount(double main) { return main == 120 || main == 320; }

// Debit minus credit per live titled account and currency, over live headers of a document
// type other than 5 and 6; account "000" counts on the credit side only.
Totals closingBalances(db::Connection& source)
{
    QSet<QString> accounts;
    eachRow(source, u"SELECT MID1 FROM Hesaplar WHERE sil=0 AND TAMUNVAN<>''"_s,
            [&](db::Recordset& rs) { accounts.insert(text(rs, u"MID1"_s)); });
    Totals balances;
    eachRow(source,
            u"SELECT Kayit.B_Hs, Kayit.B_MID, Kayit.A_Hs, Kayit.A_MID, Kayit.Evrak_Kodu, Kayit.Sil, Cari_H.islem_Dvz, "
            "Cari_H.Tutar_Ytl, Cari_H.Tutar_Dvz1, Cari_H.Tutar_Dvz2 FROM Kayit INNER JOIN Cari_H ON Kayit.Kayit_No = Cari_H.Kayit_No"_s,
            [&](db::Recordset& rs) {
                const double type = number(rs, u"Evrak_Kodu"_s);
                const std::optional<double> amount = amountOf(rs);
                if (number(rs, u"Sil"_s) != 0 || type == 5 || type == 6 || !amount) return;
                const QString currency = text(rs, u"islem_Dvz"_s);
                const QString debit = text(rs, u"B_MID"_s), credit = text(rs, u"A_MID"_s);
                if (currentAccount(number(rs, u"B_Hs"_s)) && accounts.contains(debit) && debit != u"000"_s)
                    balances[{debit, currency}] += *amount;
                if (currentAccount(number(rs, u"A_Hs"_s)) && accounts.contains(credit))
                    balances[{credit, currency}] -= *amount;
            });
    return balances;
}

// The target's live opening entries of current accounts, debits positive.
Totals openingBalances(db::Connection& target)
{
    Totals balances;
    eachRow(target,
            u"SELECT Kayit.B_Hs, Kayit.B_MID, Kayit.A_Hs, Kayit.A_MID, Cari_H.islem_Dvz, Cari_H.Tutar_Ytl, Cari_H.Tutar_Dvz1, "
            "Cari_H.Tutar_Dvz2 FROM Kayit INNER JOIN Cari_H ON Kayit.Kayit_No = Cari_H.Kayit_No "
            "WHERE Kayit.Sil=0 AND Kayit.Evrak_Kodu=0"_s,
            [&](db::Recordset& rs) {
                const QString currency = text(rs, u"islem_Dvz"_s);
                if (currentAccount(number(rs, u"B_Hs"_s))) balances[{text(rs, u"B_MID"_s), currency}] += *amountOf(rs);
                if (currentAccount(number(rs, u"A_Hs"_s))) balances[{text(rs, u"A_MID"_s), currency}] -= *amountOf(rs);
            });
    return balances;
}

// Stock on hand of live cards per card, unit and warehouse under 153 over live headers;
// what is positive is carried, summed per card and warehouse.
Totals stockOnHand(db::Connection& source)
{
    QSet<QString> cards, warehouses;
    eachRow(source, u"SELECT SID2 FROM Stok_Tanim WHERE sil=0"_s, [&](db::Recordset& rs) { cards.insert(text(rs, u"SID2"_s)); });
    eachRow(source, u"SELECT Depo_Kodu FROM Depo WHERE Ana_Hs=153"_s,
            [&](db::Recordset& rs) { warehouses.insert(text(rs, u"Depo_Kodu"_s)); });
    QMap<std::tuple<QString, QString, QString>, double> perUnit;
    eachRow(source,
            u"SELECT Stok_H.Stok_Kodu, Stok_H.Birim1, Stok_H.Depo_Kodu, Stok_H.Giren1, Stok_H.Cikan1 "
            "FROM Stok_H INNER JOIN Kayit ON Stok_H.Kayit_No = Kayit.Kayit_No WHERE Kayit.Sil=0"_s,
            [&](db::Recordset& rs) {
                const QString card = text(rs, u"Stok_Kodu"_s), warehouse = text(rs, u"Depo_Kodu"_s);
                if (!cards.contains(card) || !warehouses.contains(warehouse)) return;
                perUnit[{card, text(rs, u"Birim1"_s), warehouse}] += number(rs, u"Giren1"_s) - number(rs, u"Cikan1"_s);
            });
    Totals onHand;
    for (auto it = perUnit.cbegin(); it != perUnit.cend(); ++it)
        if (std::round(it.value() * 100) > 0) onHand[{std::get<0>(it.key()), std::get<2>(it.key())}] += it.value();
    return onHand;
}

Totals openingStock(db::Connection& target)
{
    Totals stock;
    eachRow(target,
            u"SELECT Stok_H.Stok_Kodu, Stok_H.Depo_Kodu, Stok_H.Giren1 FROM Stok_H INNER JOIN Kayit ON "
            "Stok_H.Kayit_No = Kayit.Kayit_No WHERE Kayit.Sil=0 AND Kayit.Evrak_Kodu=0 AND Stok_H.Aciklama1='STOK BELMO'"_s,
            [&](db::Recordset& rs) { stock[{text(rs, u"Stok_Kodu"_s), text(rs, u"Depo_Kodu"_s)}] += number(rs, u"Giren1"_s); });
    return stock;
}

// The totals to the cent, leaving out what is zero.
QMap<Key, qint64> cents(const Totals& totals)
{
    QMap<Key, qint64> out;
    for (auto it = totals.cbegin(); it != totals.cend(); ++it)
        if (const qint64 c = std::llround(it.value() * 100)) out[it.key()] = c;
    return out;
}

using Reconciliation = DemoRun;

// A report's items summed per key: accounts per code and currency, stock per card and warehouse.
QMap<Key, qint64> reported(const QJsonArray& items, const QString& first, const QString& second, const QString& figure)
{
    Totals totals;
    for (const QJsonValue& v : items) {
        const QJsonObject item = v.toObject();
        totals[{item[first].toString(), item[second].toString()}] += item[figure].toDouble();
    }
    return cents(totals);
}

QJsonObject readJson(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
}

// The items of a report part that differ.
QStringList differing(const QJsonObject& report, const QString& part)
{
    QStringList keys;
    for (const QJsonValue& v : report[part].toArray()) {
        const QJsonObject item = v.toObject();
        const bool differs = std::abs(item[u"difference"_s].toDouble()) > 0.004 ||
                             std::abs(item[u"difference_quantity"_s].toDouble()) > 0.0004 ||
                             item[u"found"_s].toInt(1) != item[u"expected"_s].toInt(1);
        if (differs) keys << item[u"code"_s].toString() + item[u"key"_s].toString();
    }
    return keys;
}

// Run twice, answering Yes to deleting the target's data: the second run marks the first
// run's entries deleted and the live entries still reconcile.
TEST_F(Reconciliation, TheOpeningEntriesEqualTheClosingBalancesAndTheStockOnHand)
{
    db::Connection source(reader.pool()), target(reader.pool());
    openCompany(source, u"DEMO2025"_s);
    const QMap<Key, qint64> balances = cents(closingBalances(source));
    ASSERT_GT(balances.size(), 30);
    QSet<QString> currencies;
    for (const Key& k : balances.keys()) currencies.insert(k.second);
    EXPECT_EQ(currencies, (QSet<QString>{u"TL"_s, u"USD"_s, u"EURO"_s}));
    const QMap<Key, qint64> onHand = cents(stockOnHand(source));
    ASSERT_GT(onHand.size(), 30);

    for (const char* run : {"first run", "second run"}) {
        const RunResult r = belmoRun(login(u"1234"_s) + QStringList{u"--yes"_s});
        ASSERT_EQ(r.code, cli::kOk) << r.out.toStdString();
        if (!target.isOpen()) openCompany(target, u"DEMO2026"_s);
        EXPECT_EQ(cents(openingBalances(target)), balances) << run;
        EXPECT_EQ(cents(openingStock(target)), onHand) << run;
    }
}

// The report of a run lists the source's closing figures as worked out here, finds them all
// carried, and then finds exactly what is changed in the target afterwards; a part whose
// table the target lacks is reported unavailable and the others go on.
TEST_F(Reconciliation, TheReportShowsTheClosingFiguresAndFindsEveryChangeMadeAfterTheRun)
{
    db::Connection source(reader.pool());
    openCompany(source, u"DEMO2025"_s);
    const QString path = folder_.filePath(u"r.json"_s);
    ASSERT_EQ(belmoRun(login(u"1234"_s) + QStringList{u"--yes"_s, u"--report"_s, path}).code, cli::kOk);
    const QJsonObject run = readJson(path);
    EXPECT_EQ(run[u"differences"_s].toInt(-1), 0);
    EXPECT_EQ(reported(run[u"current_accounts"_s].toArray(), u"code"_s, u"currency"_s, u"closing"_s),
              cents(closingBalances(source)));
    EXPECT_EQ(reported(run[u"stock"_s].toArray(), u"code"_s, u"warehouse"_s, u"quantity"_s), cents(stockOnHand(source)));
    EXPECT_NE(run[u"target"_s][u"sha256_before"_s], run[u"target"_s][u"sha256_after"_s]);

    const QString account = cell(u"DEMO2026"_s, u"SELECT Min(Kayit.B_MID) FROM Kayit INNER JOIN Cari_H ON "
                                               "Kayit.Kayit_No=Cari_H.Kayit_No WHERE Kayit.Evrak_Kodu=0 AND Kayit.B_Hs=120 "
                                               "AND Cari_H.islem_Dvz='TL'"_s);
    const QString cheque = cell(u"DEMO2026"_s, u"SELECT Min(Cek_No) FROM Cek_"_s);
    struct Change {
        const char* what;
        QString sql;
        QString part;
        QStringList differing;
    } changes[] = {
        {"an opening entry edited",
         u"UPDATE Cari_H SET Tutar_Ytl=Tutar_Ytl+10 WHERE Kayit_No=(SELECT Min(Kayit.Kayit_No) FROM Kayit INNER JOIN "
         "Cari_H ON Kayit.Kayit_No=Cari_H.Kayit_No WHERE Kayit.Evrak_Kodu=0 AND Kayit.B_MID='%1' AND Cari_H.islem_Dvz='TL')"_s
             .arg(account),
         u"current_accounts"_s, {account}},
        {"a cheque written twice",
         u"INSERT INTO Cek_ (Kayit_No, Cek_No, Tutar) SELECT Kayit_No, Cek_No, Tutar FROM Cek_ WHERE Cek_No='%1'"_s.arg(cheque),
         u"cheques"_s, {cheque}},
        {"the instalments gone", u"DROP TABLE Taksit_H"_s, u"instalments"_s, {}},
    };
    const QStringList args = QStringList{u"report"_s, u"--report"_s, path} + login(u"1234"_s);
    int differences = 0;  // the changes stay: each report finds the earlier ones too
    for (const Change& change : changes) {
        differences += int(change.differing.size());
        db::Connection target(reader.pool());
        openCompany(target, u"DEMO2026"_s);
        target.execute(change.sql);
        target.close();
        const RunResult r = belmo(args);
        const QJsonObject report = readJson(path);
        EXPECT_EQ(r.code, cli::kFailed) << change.what << r.out.toStdString();
        EXPECT_EQ(differing(report, change.part), change.differing) << change.what;
        EXPECT_EQ(report[u"differences"_s].toInt(), differences) << change.what;
        EXPECT_EQ(report[u"unavailable"_s].toObject().keys(),
                  change.differing.isEmpty() ? QStringList{change.part} : QStringList()) << change.what;
    }
}

}  // namespace
}  // namespace belmo::test
