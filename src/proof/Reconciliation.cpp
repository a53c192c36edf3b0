#include "proof/Reconciliation.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Recordset.h"
#include "db/VbConvert.h"
#include "services/Fragments.h"
#include "services/NumberFormats.h"
#include "services/TemporaryViews.h"
#include "transfers/RecordWriting.h"
#include "transfers/balances/CurrentAccountQueries.h"
#include "transfers/balances/StockQueries.h"
#include "transfers/openitems/ChequeQueries.h"
#include "transfers/openitems/InstalmentQueries.h"
#include "transfers/openitems/OrderQueries.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMap>
#include <QSaveFile>

#include <cmath>
#include <deque>
#include <functional>

namespace belmo::proof {

using namespace Qt::Literals::StringLiterals;
using db::Value;

namespace {

// The views the report makes on its read-only connection to the source: temporary ones, of
// names no panel uses, so that a panel's views are neither read nor replaced.
constexpr auto kAccountViews = u"RCMZN";
constexpr auto kStockViews = u"RSMZN";
constexpr auto kChequeViews = u"RCK";

const QString kCurrencies[] = {u"TL"_s, u"USD"_s, u"EURO"_s};

// Every record of a statement, one callback per record, through a static read-only recordset.
void eachRecord(db::Connection& con, const db::Query& query, const std::function<void(db::Recordset&)>& record)
{
    db::Recordset rs;
    rs.open(query, con, db::CursorType::Static, db::LockType::ReadOnly);
    for (; !rs.eof(); rs.moveNext()) record(rs);
}

QString text(db::Recordset& rs, const QString& field)
{
    return vb::joined(rs.value(field));
}

// Null, empty text and anything that is not a number read as 0: a value the steps refuse
// is carried by none of them, so the report finds it on neither side.
double number(db::Recordset& rs, const QString& field)
{
    const Value v = rs.value(field);
    if (v.isNull()) return 0;
    try {
        const double d = vb::CDbl(v);
        return std::isfinite(d) ? d : 0;
    } catch (const db::DbError&) {
        return 0;
    }
}

double rounded(double value, int decimals) { return vb::roundToDecimals(value, decimals); }

// The step a part belongs to, by the key the command line and the ticks know it by.
const QString kAccounts = u"cari"_s, kStock = u"stok"_s, kCheques = u"cek"_s, kOrders = u"siparis"_s,
              kInstalments = u"taksit"_s;

// The opening entries a carry-forward dates 1 January of the target's period, document type 0
// and transaction 1, against the opening counter-account 500 / 001.
const QString kOpeningEntry =
    u"Kayit.Sil=0 AND Kayit.Evrak_Kodu=0 AND Kayit.islem_Kod=1 AND Kayit.tarih=? "
    "AND ((Kayit.A_Hs=500 AND Kayit.A_MID='001') OR (Kayit.B_Hs=500 AND Kayit.B_MID='001'))"_s;

class Reconciler {
public:
    Reconciler(const Companies& c, const Ticks& ticks, Reconciliation& report)
        : c_(c), ticks_(ticks), report_(report)
    {
    }

    // One part: a failure (a table or column the company lacks) marks it unavailable.
    void part(const QString& name, const std::function<void()>& work)
    {
        try {
            work();
        } catch (const db::DbError& e) {
            report_.unavailable.insert(name, e.description());
        }
    }

    void openingDate() { date_ = transfers::openingDate(c_.target); }

    void accounts()
    {
        const services::ViewSet views(QString::fromUtf16(kAccountViews), c_.userCode);
        transfers::buildCurrentAccountViews(c_.source, views, c_.sql);
        struct Key {
            QString code, currency;
            bool operator<(const Key& o) const { return std::tie(code, currency) < std::tie(o.code, o.currency); }
        };
        QMap<Key, AccountItem> items;
        eachRecord(c_.source, transfers::currentAccountLoader(c_.sql, views.stem(), false), [&](db::Recordset& rs) {
            const QString raw[] = {u"Ytl"_s, u"Dvz1"_s, u"Dvz2"_s};
            for (int i = 0; i < 3; ++i) {
                const double balance = rounded(number(rs, raw[i]), decimals(i));
                if (balance == 0) continue;
                AccountItem& item = items[{text(rs, u"Deyim3"_s), kCurrencies[i]}];
                if (item.code.isEmpty()) {
                    item = {text(rs, u"Deyim1"_s), text(rs, u"Deyim2"_s), text(rs, u"Deyim3"_s), text(rs, u"Deyim4"_s),
                            kCurrencies[i]};
                    item.ticked = ticks_.isTicked(kAccounts, item.code);
                }
                item.closing += balance;
            }
        });
        // The target's opening entries: the account on the debit side (B) adds, on the credit
        // side (A) takes away, each in its own currency's amount.
        eachRecord(c_.target,
                   {u"SELECT Kayit.A_Hs, Kayit.A_Gr, Kayit.A_MID, Kayit.B_Hs, Kayit.B_Gr, Kayit.B_MID, Cari_H.islem_Dvz, "
                    "Cari_H.Tutar_Ytl, Cari_H.Tutar_Dvz1, Cari_H.Tutar_Dvz2, Hesaplar.TAMUNVAN "
                    "FROM (Kayit INNER JOIN Cari_H ON Kayit.Kayit_No=Cari_H.Kayit_No) LEFT JOIN Hesaplar ON "
                    "Hesaplar.MID1=IIF(Kayit.B_Hs IN (120,320), Kayit.B_MID, Kayit.A_MID) AND Hesaplar.Sil=0 WHERE "_s
                        + kOpeningEntry + u" AND (Kayit.B_Hs IN (120,320) OR Kayit.A_Hs IN (120,320))"_s,
                    {date_}},
                   [&](db::Recordset& rs) {
                       const int currency = currencyIndex(text(rs, u"islem_Dvz"_s));
                       if (currency < 0) return;
                       const bool debit = number(rs, u"B_Hs"_s) == 120 || number(rs, u"B_Hs"_s) == 320;
                       const QString side = debit ? u"B_"_s : u"A_"_s;
                       const QString amount[] = {u"Tutar_Ytl"_s, u"Tutar_Dvz1"_s, u"Tutar_Dvz2"_s};
                       AccountItem& item = items[{text(rs, side + u"MID"_s), kCurrencies[currency]}];
                       if (item.code.isEmpty()) {  // carried, but listed by no one
                           item = {text(rs, side + u"Hs"_s), text(rs, side + u"Gr"_s), text(rs, side + u"MID"_s),
                                   text(rs, u"TAMUNVAN"_s), kCurrencies[currency]};
                           item.ticked = ticks_.isTicked(kAccounts, item.code);
                       }
                       item.carried += (debit ? 1 : -1) * number(rs, amount[currency]);
                   });
        for (AccountItem& item : items) {
            item.carried = rounded(item.carried, decimals(currencyIndex(item.currency)));
            report_.accounts.push_back(item);
        }
        std::stable_sort(report_.accounts.begin(), report_.accounts.end(), [](const AccountItem& a, const AccountItem& b) {
            return std::tie(a.main, a.group) < std::tie(b.main, b.group);
        });
    }

    void stock()
    {
        const services::ViewSet views(QString::fromUtf16(kStockViews), c_.userCode);
        transfers::buildStockViews(c_.source, views, ticks_.lots);
        const db::Query loader = ticks_.lots ? transfers::stockLotLoader(c_.sql, views.stem(), true)
                                             : transfers::stockLoader(c_.sql, views.stem(), true);
        const int quantityDecimals = vb::shownDecimals(c_.formats.MiktarFormat);
        const int valueDecimals =
            vb::shownDecimals(ticks_.lots ? c_.formats.FiyatFormat : c_.formats.TutarFormat);
        QMap<QStringList, StockItem> items;
        // The opening stock the step posts: one entry per listed row with a quantity above 0.
        eachRecord(c_.source, loader, [&](db::Recordset& rs) {
            const double quantity = rounded(number(rs, u"HamMiktar"_s), quantityDecimals);
            if (quantity <= 0) return;
            const QString lot = ticks_.lots ? text(rs, u"Lot_No"_s) : QString();
            StockItem& item = items[{text(rs, u"Kart"_s), text(rs, u"Depo_Kodu"_s), lot}];
            item.code = text(rs, u"Kart"_s);
            item.warehouse = text(rs, u"Depo_Kodu"_s);
            item.lot = lot;
            item.quantity += quantity;
            item.value += rounded(number(rs, u"HamTutar"_s), valueDecimals);
            item.ticked = ticks_.isTicked(kStock, item.code);
        });
        eachRecord(c_.target,
                   {u"SELECT Stok_H.Stok_Kodu, Stok_H.Depo_Kodu, Stok_H.Lot_No, Stok_H.Giren1, Cari_H.Tutar_Ytl "
                    "FROM (Kayit INNER JOIN Stok_H ON Kayit.Kayit_No=Stok_H.Kayit_No) LEFT JOIN Cari_H ON "
                    "Kayit.Kayit_No=Cari_H.Kayit_No WHERE "_s
                        + kOpeningEntry,
                    {date_}},
                   [&](db::Recordset& rs) {
                       QString lot = text(rs, u"Lot_No"_s);
                       if (!ticks_.lots && lot == u"0"_s) lot.clear();
                       StockItem& item = items[{text(rs, u"Stok_Kodu"_s), text(rs, u"Depo_Kodu"_s), lot}];
                       if (item.code.isEmpty()) {
                           item.code = text(rs, u"Stok_Kodu"_s);
                           item.warehouse = text(rs, u"Depo_Kodu"_s);
                           item.lot = lot;
                           item.ticked = ticks_.isTicked(kStock, item.code);
                       }
                       item.carriedQuantity += number(rs, u"Giren1"_s);
                       item.carriedValue += number(rs, u"Tutar_Ytl"_s);
                   });
        for (StockItem& item : items) {
            item.carriedQuantity = rounded(item.carriedQuantity, quantityDecimals);
            item.carriedValue = rounded(item.carriedValue, valueDecimals);
            item.quantity = rounded(item.quantity, quantityDecimals);
            item.value = rounded(item.value, valueDecimals);
            report_.stock.push_back(item);
        }
    }

    // Both lists of the cheque panel. A ticked row is carried with every record of its cheque's
    // history, each dated the period's first day with document type 15: the report finds those
    // records in the target, more of them than the source holds being a duplicate.
    void cheques()
    {
        const services::ViewSet views(QString::fromUtf16(kChequeViews), c_.userCode);
        transfers::buildChequeViews(c_.source, views);
        QHash<QString, int> history;
        eachRecord(c_.source,
                   u"SELECT Cek_.Cek_No, Count(*) AS Kayitlar FROM Kayit INNER JOIN Cek_ ON Cek_.Kayit_No=Kayit.Kayit_No "
                   "WHERE Kayit.Sil=0 GROUP BY Cek_.Cek_No",
                   [&](db::Recordset& rs) { history.insert(text(rs, u"Cek_No"_s), int(number(rs, u"Kayitlar"_s))); });
        struct Found {
            int records = 0;
            double entered = 0;
        };
        QHash<QString, Found> found;
        eachRecord(c_.target,
                   {u"SELECT Cek_.Cek_No, Cek_.Tutar FROM Kayit INNER JOIN Cek_ ON Cek_.Kayit_No=Kayit.Kayit_No "
                    "WHERE Kayit.Sil=0 AND Kayit.Evrak_Kodu=15 AND Kayit.tarih=?"_s,
                    {date_}},
                   [&](db::Recordset& rs) {
                       Found& f = found[text(rs, u"Cek_No"_s)];
                       ++f.records;
                       if (number(rs, u"Tutar"_s) > 0) f.entered += number(rs, u"Tutar"_s);
                   });
        const std::pair<QString, db::Query> lists[] = {
            {u"Portföydeki Çekler"_s, transfers::chequePortfolioLoader(c_.sql, views.stem())},
            {u"Takastaki Çekler"_s, transfers::chequeClearingLoader(c_.sql, views.stem())}};
        QHash<QString, std::size_t> index;  // a cheque listed on several rows is one item
        QHash<QString, int> rows;           // ... carried once per row
        for (const auto& [list, loader] : lists)
            eachRecord(c_.source, loader, [&](db::Recordset& rs) {
                const QString key = text(rs, u"Cek_No"_s);
                if (!index.contains(key)) {
                    index.insert(key, report_.cheques.size());
                    OpenItem item;
                    item.list = list;
                    item.key = key;
                    item.currency = text(rs, u"Para_Birim"_s);
                    item.ticked = ticks_.isTicked(kCheques, key);
                    report_.cheques.push_back(item);
                }
                report_.cheques[index.value(key)].amount += rounded(number(rs, u"Tutar"_s), 2);
                ++rows[key];
            });
        for (OpenItem& item : report_.cheques) {
            item.expected = history.value(item.key) * rows.value(item.key);
            item.found = found.value(item.key).records;
            item.carried = rounded(found.value(item.key).entered, 2);
        }
        for (auto it = found.cbegin(); it != found.cend(); ++it)
            if (!index.contains(it.key())) {
                OpenItem item;
                item.key = it.key();
                item.label = u"listede yok"_s;
                item.expected = 0;
                item.found = it->records;
                item.carried = rounded(it->entered, 2);
                report_.cheques.push_back(item);
            }
    }

    // Open order lines: a line is found when the target holds a live order of the same type,
    // document, stock card, quantity and price dated the period's first day.
    void orders()
    {
        QHash<QString, std::deque<double>> carried;  // content -> amounts, one per line found
        eachRecord(c_.target,
                   {u"SELECT Kayit.Evrak_Kodu, Kayit.Evrak_No, Stok_Tanim.Stok_Kodu, Stok_Sip.Giren1, Stok_Sip.Cikan1, "
                    "Cari_Sip.B_Fiyat FROM ((Kayit INNER JOIN Stok_Sip ON Kayit.Kayit_No=Stok_Sip.Kayit_No) INNER JOIN "
                    "Cari_Sip ON Kayit.Kayit_No=Cari_Sip.Kayit_No) LEFT JOIN Stok_Tanim ON Stok_Tanim.SID2=Stok_Sip.Stok_Kodu "
                    "WHERE Kayit.Sil=0 AND Kayit.Evrak_Kodu IN (7,8) AND Kayit.tarih=?"_s,
                    {date_}},
                   [&](db::Recordset& rs) {
                       const bool out = number(rs, u"Evrak_Kodu"_s) == 7;
                       const double quantity = number(rs, out ? u"Cikan1"_s : u"Giren1"_s);
                       carried[orderKey(text(rs, u"Evrak_No"_s), text(rs, u"Stok_Kodu"_s), out)].push_back(
                           rounded(quantity * number(rs, u"B_Fiyat"_s), 2));
                   });
        eachRecord(c_.source, transfers::orderLoader(c_.sql), [&](db::Recordset& rs) {
            const bool out = text(rs, u"BA"_s) == u"-"_s;
            OpenItem item;
            item.key = text(rs, u"Evrak_No"_s) + u" / "_s + text(rs, u"Stok_Kodu"_s);
            item.label = text(rs, u"TAMUNVAN"_s);
            item.currency = u"TL"_s;
            item.amount = rounded(number(rs, u"Miktar"_s) * number(rs, u"Fiyat"_s), 2);
            item.ticked = ticks_.isTicked(kOrders, text(rs, u"Kayit_No"_s));
            take(carried[orderKey(text(rs, u"Evrak_No"_s), text(rs, u"Stok_Kodu"_s), out)], item);
            report_.orders.push_back(item);
        });
        leftOver(carried, report_.orders);
    }

    // Instalments: one is found when the target holds a live instalment of the same invoice,
    // number and due date.
    void instalments()
    {
        QHash<QString, std::deque<double>> carried;
        eachRecord(c_.target, u"SELECT Evrak_No, Taksit_Sayisi, Vade_Tarihi, Tutar FROM Taksit_H WHERE Sil=0",
                   [&](db::Recordset& rs) { carried[instalmentKey(rs)].push_back(rounded(number(rs, u"Tutar"_s), 2)); });
        QHash<QString, std::pair<double, QString>> amounts;  // by ID: amount and currency
        eachRecord(c_.source, u"SELECT ID, Tutar, Para_Birim FROM Taksit_H WHERE Sil=0", [&](db::Recordset& rs) {
            amounts.insert(text(rs, u"ID"_s), {rounded(number(rs, u"Tutar"_s), 2), text(rs, u"Para_Birim"_s)});
        });
        const int sourcePeriod = transfers::companyPeriod(c_.source);
        eachRecord(c_.source, transfers::instalmentLoader(c_.sql, transfers::instalmentCutoff(sourcePeriod)),
                   [&](db::Recordset& rs) {
                       OpenItem item;
                       item.key = instalmentKey(rs);
                       item.label = text(rs, u"Aciklama"_s);
                       std::tie(item.amount, item.currency) = amounts.value(text(rs, u"ID"_s));
                       item.ticked = ticks_.isTicked(kInstalments, text(rs, u"ID"_s));
                       take(carried[item.key], item);
                       report_.instalments.push_back(item);
                   });
        leftOver(carried, report_.instalments);
    }

    void tables(const QHash<QString, qint64>& before)
    {
        const QHash<QString, qint64> source = tableCounts(c_.source), after = tableCounts(c_.target);
        for (const QString& table : countedTables()) {
            TableCount count{table};
            if (source.contains(table)) count.source = source.value(table);
            if (before.contains(table)) count.targetBefore = before.value(table);
            if (after.contains(table)) count.targetAfter = after.value(table);
            report_.tables.push_back(count);
        }
    }

    static const QStringList& countedTables()
    {
        static const QStringList tables = {
            u"SIRKET"_s,         u"islem"_s,           u"Evrak_Turu"_s,  u"Gruplar"_s,        u"Depo"_s,
            u"Plasiyer"_s,       u"Dzyn"_s,            u"Diger_Hs"_s,    u"Hesaplar"_s,       u"Stok_Tanim"_s,
            u"Plk_Kod_Yi"_s,     u"Plk_Kod"_s,         u"Guzergah_Yi"_s, u"Guzergah"_s,       u"Masraf_Tanim_Yi"_s,
            u"Masraf_Tanim_YD"_s, u"Sofor_Yi"_s,       u"Sofor_YD"_s,    u"Arac_Tanim_Yi"_s,  u"Arac_Tanim_YD"_s,
            u"Karne_Tanim"_s};
        return tables;
    }

private:
    static int currencyIndex(const QString& currency)
    {
        for (int i = 0; i < 3; ++i)
            if (kCurrencies[i] == currency) return i;
        return -1;
    }
    int decimals(int currency) const { return vb::shownDecimals(c_.formats.amountFormat(currency)); }

    static QString orderKey(const QString& document, const QString& stockCode, bool out)
    {
        return document + u'\x1f' + stockCode + (out ? u"\x1f-"_s : u"\x1f+"_s);
    }
    static QString instalmentKey(db::Recordset& rs)
    {
        const Value due = rs.value(u"Vade_Tarihi"_s);
        return text(rs, u"Evrak_No"_s) + u" / "_s + text(rs, u"Taksit_Sayisi"_s) + u" / "_s
            + (due.isDate() ? due.dateValue().date().toString(u"dd.MM.yyyy"_s) : vb::joined(due));
    }

    // Pairs a listed item with one carried record of the same content, the nearest amount first.
    static void take(std::deque<double>& found, OpenItem& item)
    {
        if (found.empty()) return;
        auto best = found.begin();
        for (auto it = found.begin(); it != found.end(); ++it)
            if (std::abs(*it - item.amount) < std::abs(*best - item.amount)) best = it;
        item.found = 1;
        item.carried = *best;
        found.erase(best);
    }
    // Records in the target that no listed item accounts for: a duplicate or a stray.
    static void leftOver(const QHash<QString, std::deque<double>>& carried, std::vector<OpenItem>& items)
    {
        for (auto it = carried.cbegin(); it != carried.cend(); ++it)
            for (const double amount : *it) {
                OpenItem item;
                item.key = QString(it.key()).replace(u'\x1f', u" / "_s);
                item.label = u"listede yok"_s;
                item.expected = 0;
                item.found = 1;
                item.carried = amount;
                items.push_back(item);
            }
    }

    const Companies& c_;
    const Ticks& ticks_;
    Reconciliation& report_;
    Value date_;
};

QJsonValue orNull(const std::optional<qint64>& n) { return n ? QJsonValue(*n) : QJsonValue(); }

QJsonArray openItemsJson(const std::vector<OpenItem>& items)
{
    QJsonArray out;
    for (const OpenItem& i : items)
        out.append(QJsonObject{{u"list"_s, i.list},
                               {u"key"_s, i.key},
                               {u"label"_s, i.label},
                               {u"currency"_s, i.currency},
                               {u"amount"_s, i.amount},
                               {u"carried"_s, i.carried},
                               {u"difference"_s, i.carried - i.amount},
                               {u"expected"_s, i.expected},
                               {u"found"_s, i.found},
                               {u"ticked"_s, i.ticked}});
    return out;
}

}  // namespace

bool OpenItem::differs() const
{
    return found != expected || (expected > 0 && std::abs(carried - amount) >= 0.005);
}

int Reconciliation::differences() const
{
    int n = 0;
    for (const AccountItem& a : accounts) n += a.ticked && std::abs(a.difference()) >= 0.005;
    for (const StockItem& s : stock)
        n += s.ticked && (std::abs(s.carriedQuantity - s.quantity) >= 0.0005 || std::abs(s.carriedValue - s.value) >= 0.005);
    for (const auto* items : {&cheques, &orders, &instalments})
        for (const OpenItem& i : *items) n += i.ticked && i.differs();
    return n;
}

QJsonObject Reconciliation::toJson() const
{
    QJsonObject json = run.toJson();
    QJsonArray accountsJson, stockJson, tablesJson;
    for (const AccountItem& a : accounts)
        accountsJson.append(QJsonObject{{u"main"_s, a.main},
                                        {u"group"_s, a.group},
                                        {u"code"_s, a.code},
                                        {u"title"_s, a.title},
                                        {u"currency"_s, a.currency},
                                        {u"closing"_s, a.closing},
                                        {u"carried"_s, a.carried},
                                        {u"difference"_s, a.difference()},
                                        {u"ticked"_s, a.ticked}});
    for (const StockItem& s : stock)
        stockJson.append(QJsonObject{{u"code"_s, s.code},
                                     {u"warehouse"_s, s.warehouse},
                                     {u"lot"_s, s.lot},
                                     {u"quantity"_s, s.quantity},
                                     {u"value"_s, s.value},
                                     {u"carried_quantity"_s, s.carriedQuantity},
                                     {u"carried_value"_s, s.carriedValue},
                                     {u"difference_quantity"_s, s.carriedQuantity - s.quantity},
                                     {u"difference_value"_s, s.carriedValue - s.value},
                                     {u"ticked"_s, s.ticked}});
    for (const TableCount& t : tables) {
        QJsonObject row{{u"table"_s, t.table},
                        {u"source"_s, orNull(t.source)},
                        {u"target_before"_s, orNull(t.targetBefore)},
                        {u"target_after"_s, orNull(t.targetAfter)}};
        if (t.targetBefore && t.targetAfter) row.insert(u"added"_s, qMax<qint64>(0, *t.targetAfter - *t.targetBefore));
        tablesJson.append(row);
    }
    QJsonObject missing;
    for (auto it = unavailable.cbegin(); it != unavailable.cend(); ++it) missing.insert(it.key(), it.value());
    json.insert(u"current_accounts"_s, accountsJson);
    json.insert(u"stock"_s, stockJson);
    json.insert(u"cheques"_s, openItemsJson(cheques));
    json.insert(u"orders"_s, openItemsJson(orders));
    json.insert(u"instalments"_s, openItemsJson(instalments));
    json.insert(u"tables"_s, tablesJson);
    json.insert(u"unavailable"_s, missing);
    json.insert(u"differences"_s, differences());
    return json;
}

void reconcile(const Companies& companies, const Ticks& ticks, const QHash<QString, qint64>& before,
               Reconciliation& report)
{
    Reconciler r(companies, ticks, report);
    bool dated = true;
    r.part(u"target"_s, [&] {
        try {
            r.openingDate();
        } catch (...) {
            dated = false;
            throw;
        }
    });
    if (dated) {
        r.part(u"current_accounts"_s, [&] { r.accounts(); });
        r.part(u"stock"_s, [&] { r.stock(); });
        r.part(u"cheques"_s, [&] { r.cheques(); });
        r.part(u"orders"_s, [&] { r.orders(); });
        r.part(u"instalments"_s, [&] { r.instalments(); });
    }
    r.part(u"tables"_s, [&] { r.tables(before); });
}

QHash<QString, qint64> tableCounts(db::Connection& company)
{
    QHash<QString, qint64> counts;
    for (const QString& table : Reconciler::countedTables()) {
        if (company.columns(table).isEmpty()) continue;
        eachRecord(company, u"SELECT Count(*) AS N FROM "_s + table,
                   [&](db::Recordset& rs) { counts.insert(table, qint64(number(rs, u"N"_s))); });
    }
    return counts;
}

bool writeReport(const Reconciliation& report, const QString& path, QString& error)
{
    const QString suffix = path.section(u'.', -1).toLower();
    if (suffix == u"pdf"_s) return writeReportPdf(report, path, error);
    QByteArray bytes;
    if (suffix == u"json"_s)
        bytes = QJsonDocument(report.toJson()).toJson(QJsonDocument::Indented);
    else if (suffix == u"txt"_s)
        bytes = report.toText().toUtf8();
    else {
        error = u"%1: a report is written as .json, .pdf or .txt"_s.arg(path);
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = path + u": "_s + file.errorString();
        return false;
    }
    return true;
}

}  // namespace belmo::proof
