#include "proof/Reconciliation.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Recordset.h"
#include "db/VbConvert.h"
#include "services/Fragments.h"
#include "services/Listing.h"
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

#include <algorithm>

#include <cmath>
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

// The parts of a listing, by the keys of their steps.
const QString kAccounts = u"cari"_s, kStock = u"stok"_s, kCheques = u"cek"_s, kOrders = u"siparis"_s,
              kInstalments = u"taksit"_s;

// The opening entries a carry-forward dates 1 January of the target's period, document type 0
// and transaction 1, against the opening counter-account 500 / 001.
const QString kOpeningEntry =
    u"Kayit.Sil=0 AND Kayit.Evrak_Kodu=0 AND Kayit.islem_Kod=1 AND Kayit.tarih=? "
    "AND ((Kayit.A_Hs=500 AND Kayit.A_MID='001') OR (Kayit.B_Hs=500 AND Kayit.B_MID='001'))"_s;

// Lists the parts the panels did not list as they list them: each panel's own statements
// over its views, made temporary on the read-only source, every row ticked.
class SourceLister {
public:
    SourceLister(const Companies& c, services::Listing& listing) : c_(c), l_(listing) {}

    void accounts()
    {
        const services::ViewSet views(QString::fromUtf16(kAccountViews), c_.userCode);
        transfers::buildCurrentAccountViews(c_.source, views, c_.sql);
        l_.relist(kAccounts);
        eachRecord(c_.source, transfers::currentAccountLoader(c_.sql, views.stem(), false), [&](db::Recordset& rs) {
            l_.accounts.push_back({text(rs, u"Deyim1"_s), text(rs, u"Deyim2"_s), text(rs, u"Deyim3"_s), text(rs, u"Deyim4"_s),
                                   {number(rs, u"Ytl"_s), number(rs, u"Dvz1"_s), number(rs, u"Dvz2"_s)}, true});
        });
    }

    void stock()
    {
        const services::ViewSet views(QString::fromUtf16(kStockViews), c_.userCode);
        transfers::buildStockViews(c_.source, views, l_.lots);
        l_.relist(kStock);
        eachRecord(c_.source,
                   l_.lots ? transfers::stockLotLoader(c_.sql, views.stem(), true) : transfers::stockLoader(c_.sql, views.stem(), true),
                   [&](db::Recordset& rs) {
                       l_.stock.push_back({text(rs, u"Kart"_s), text(rs, u"Depo_Kodu"_s),
                                           l_.lots ? text(rs, u"Lot_No"_s) : QString(), number(rs, u"HamMiktar"_s),
                                           number(rs, u"HamTutar"_s), true});
                   });
    }

    void cheques()
    {
        const services::ViewSet views(QString::fromUtf16(kChequeViews), c_.userCode);
        transfers::buildChequeViews(c_.source, views);
        const std::pair<QString, db::Query> lists[] = {
            {u"Portföydeki Çekler"_s, transfers::chequePortfolioLoader(c_.sql, views.stem())},
            {u"Takastaki Çekler"_s, transfers::chequeClearingLoader(c_.sql, views.stem())}};
        for (const auto& [list, loader] : lists) {
            l_.relist(kCheques, list);
            eachRecord(c_.source, loader, [&](db::Recordset& rs) {
                l_.cheques.push_back({list, text(rs, u"Cek_No"_s), text(rs, u"Para_Birim"_s), number(rs, u"Tutar"_s), true});
            });
        }
    }

    void orders()
    {
        l_.relist(kOrders);
        eachRecord(c_.source, transfers::orderLoader(c_.sql), [&](db::Recordset& rs) {
            l_.orders.push_back({text(rs, u"Kayit_No"_s), text(rs, u"Evrak_No"_s), text(rs, u"Stok_Kodu"_s),
                                 text(rs, u"TAMUNVAN"_s), text(rs, u"BA"_s) == u"-"_s, number(rs, u"Miktar"_s),
                                 number(rs, u"Fiyat"_s), true});
        });
    }

    void instalments()
    {
        l_.relist(kInstalments);
        const QString cutoff = transfers::instalmentCutoff(transfers::companyPeriod(c_.source));
        eachRecord(c_.source, transfers::instalmentLoader(c_.sql, cutoff),
                   [&](db::Recordset& rs) { l_.instalments.push_back({text(rs, u"ID"_s), true}); });
    }

private:
    const Companies& c_;
    services::Listing& l_;
};

// Sets each part's listed items against the target.
class Reconciler {
public:
    Reconciler(const Companies& c, const services::Listing& listed, Reconciliation& report)
        : c_(c), l_(listed), report_(report)
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

    // Per account and currency with a balance; the target's opening entries add on the debit
    // side (B) and take away on the credit side (A), each in its currency's own amount.
    void accounts()
    {
        QMap<QStringList, AccountItem> items;  // by main account, group, code and currency
        for (const services::ListedAccount& a : l_.accounts)
            for (int i = 0; i < 3; ++i) {
                const double balance = rounded(a.balances[i], decimals(i));
                if (balance == 0) continue;
                AccountItem& item = items[{a.main, a.group, a.code, kCurrencies[i]}];
                if (item.code.isEmpty()) item = {a.main, a.group, a.code, a.title, kCurrencies[i], 0, 0, a.ticked};
                item.closing += balance;
            }
        eachRecord(c_.target,
                   {u"SELECT Kayit.A_Hs, Kayit.A_Gr, Kayit.A_MID, Kayit.B_Hs, Kayit.B_Gr, Kayit.B_MID, Cari_H.islem_Dvz, "
                    "Cari_H.Tutar_Ytl, Cari_H.Tutar_Dvz1, Cari_H.Tutar_Dvz2 "
                    "FROM Kayit INNER JOIN Cari_H ON Kayit.Kayit_No=Cari_H.Kayit_No WHERE "_s
                        + kOpeningEntry + u" AND (Kayit.B_Hs IN (120,320) OR Kayit.A_Hs IN (120,320))"_s,
                    {date_}},
                   [&](db::Recordset& rs) {
                       const int currency = currencyIndex(text(rs, u"islem_Dvz"_s));
                       if (currency < 0) return;
                       const bool debit = number(rs, u"B_Hs"_s) == 120 || number(rs, u"B_Hs"_s) == 320;
                       const QString side = debit ? u"B_"_s : u"A_"_s;
                       const QString amount[] = {u"Tutar_Ytl"_s, u"Tutar_Dvz1"_s, u"Tutar_Dvz2"_s};
                       AccountItem& item = items[{text(rs, side + u"Hs"_s), text(rs, side + u"Gr"_s),
                                                  text(rs, side + u"MID"_s), kCurrencies[currency]}];
                       if (item.code.isEmpty())
                           item = {text(rs, side + u"Hs"_s), text(rs, side + u"Gr"_s), text(rs, side + u"MID"_s),
                                   kNotListed, kCurrencies[currency]};
                       item.carried += (debit ? 1 : -1) * number(rs, amount[currency]);
                   });
        for (AccountItem& item : items) {
            item.carried = rounded(item.carried, decimals(currencyIndex(item.currency)));
            report_.accounts.push_back(item);
        }
    }

    // Per card, warehouse (and lot): the rows with a quantity above 0, which the step posts.
    void stock()
    {
        const int quantityDecimals = vb::shownDecimals(c_.formats.MiktarFormat);
        const int valueDecimals = vb::shownDecimals(l_.lots ? c_.formats.FiyatFormat : c_.formats.TutarFormat);
        QMap<QStringList, StockItem> items;
        for (const services::ListedStock& s : l_.stock) {
            const double quantity = rounded(s.quantity, quantityDecimals);
            if (quantity <= 0) continue;
            StockItem& item = items[{s.card, s.warehouse, s.lot}];
            if (item.code.isEmpty()) item = {s.card, s.warehouse, s.lot, 0, 0, 0, 0, s.ticked};
            item.quantity += quantity;
            item.value += rounded(s.value, valueDecimals);
            item.ticked = item.ticked && s.ticked;
        }
        eachRecord(c_.target,
                   {u"SELECT Stok_H.Stok_Kodu, Stok_H.Depo_Kodu, Stok_H.Lot_No, Stok_H.Giren1, Cari_H.Tutar_Ytl "
                    "FROM (Kayit INNER JOIN Stok_H ON Kayit.Kayit_No=Stok_H.Kayit_No) LEFT JOIN Cari_H ON "
                    "Kayit.Kayit_No=Cari_H.Kayit_No WHERE "_s
                        + kOpeningEntry,
                    {date_}},
                   [&](db::Recordset& rs) {
                       QString lot = text(rs, u"Lot_No"_s);
                       if (!l_.lots && lot == u"0"_s) lot.clear();
                       StockItem& item = items[{text(rs, u"Stok_Kodu"_s), text(rs, u"Depo_Kodu"_s), lot}];
                       if (item.code.isEmpty()) item = {text(rs, u"Stok_Kodu"_s), text(rs, u"Depo_Kodu"_s), lot};
                       item.carriedQuantity += number(rs, u"Giren1"_s);
                       item.carriedValue += number(rs, u"Tutar_Ytl"_s);
                   });
        for (StockItem& item : items) {
            item.carriedQuantity = rounded(item.carriedQuantity, quantityDecimals);
            item.carriedValue = rounded(item.carriedValue, valueDecimals);
            report_.stock.push_back(item);
        }
    }

    // A ticked row is carried with every record of its cheque's history, each dated the
    // period's first day with document type 15: the report finds those records in the target,
    // more of them than the source holds being a duplicate. A cheque listed on several rows is
    // one item, carried once per ticked row.
    void cheques()
    {
        QHash<QString, std::size_t> index;
        QHash<QString, int> carriedRows;
        for (const services::ListedCheque& c : l_.cheques) {
            if (!index.contains(c.number)) {
                index.insert(c.number, report_.cheques.size());
                OpenItem item;
                item.list = c.list;
                item.key = c.number;
                item.currency = c.currency;
                item.ticked = false;
                report_.cheques.push_back(item);
            }
            OpenItem& item = report_.cheques[index.value(c.number)];
            item.amount += rounded(c.amount, 2);
            item.ticked = item.ticked || c.ticked;
            carriedRows[c.number] += c.ticked;
        }
        QHash<QString, int> history;
        eachRecord(c_.source,
                   u"SELECT Cek_.Cek_No, Count(*) AS Kayitlar FROM Kayit INNER JOIN Cek_ ON Cek_.Kayit_No=Kayit.Kayit_No "
                   "WHERE Kayit.Sil=0 GROUP BY Cek_.Cek_No",
                   [&](db::Recordset& rs) { history.insert(text(rs, u"Cek_No"_s), int(number(rs, u"Kayitlar"_s))); });
        eachRecord(c_.target,
                   {u"SELECT Cek_.Cek_No, Cek_.Tutar FROM Kayit INNER JOIN Cek_ ON Cek_.Kayit_No=Kayit.Kayit_No "
                    "WHERE Kayit.Sil=0 AND Kayit.Evrak_Kodu=15 AND Kayit.tarih=?"_s,
                    {date_}},
                   [&](db::Recordset& rs) {
                       const QString number = text(rs, u"Cek_No"_s);
                       if (!index.contains(number)) {
                           index.insert(number, report_.cheques.size());
                           OpenItem stray;
                           stray.key = number;
                           stray.label = kNotListed;
                           stray.expected = 0;
                           report_.cheques.push_back(stray);
                       }
                       OpenItem& item = report_.cheques[index.value(number)];
                       ++item.found;
                       if (proof::number(rs, u"Tutar"_s) > 0) item.carried += proof::number(rs, u"Tutar"_s);
                   });
        for (OpenItem& item : report_.cheques) {
            if (item.label != kNotListed) item.expected = history.value(item.key) * carriedRows.value(item.key);
            item.carried = rounded(item.carried, 2);
        }
    }

    // An order line is found when the target holds a live order of the same type, document
    // and stock card dated the period's first day, paired by the nearest amount.
    void orders()
    {
        QHash<QString, QList<double>> carried;
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
        for (const services::ListedOrder& o : l_.orders) {
            OpenItem item;
            item.key = o.document + u" / "_s + o.stockCode;
            item.label = o.title;
            item.currency = u"TL"_s;
            item.amount = rounded(o.quantity * o.price, 2);
            item.ticked = o.ticked;
            if (item.ticked) take(carried[orderKey(o.document, o.stockCode, o.customerOrder)], item);
            else item.expected = 0;
            report_.orders.push_back(item);
        }
        leftOver(carried, report_.orders);
    }

    // An instalment is found when the target holds a live instalment of the same invoice,
    // number and due date.
    void instalments()
    {
        struct Source {
            QString key, label, currency;
            double amount;
        };
        QHash<QString, Source> byId;
        for (const services::ListedInstalment& i : l_.instalments) byId.insert(i.id, {});
        eachRecord(c_.source, u"SELECT ID, Evrak_No, Taksit_Sayisi, Vade_Tarihi, Aciklama, Tutar, Para_Birim FROM Taksit_H"_s,
                   [&](db::Recordset& rs) {
                       const auto listed = byId.find(text(rs, u"ID"_s));
                       if (listed != byId.end())
                           *listed = {instalmentKey(rs), text(rs, u"Aciklama"_s), text(rs, u"Para_Birim"_s),
                                      rounded(number(rs, u"Tutar"_s), 2)};
                   });
        QHash<QString, QList<double>> carried;
        eachRecord(c_.target, u"SELECT Evrak_No, Taksit_Sayisi, Vade_Tarihi, Tutar FROM Taksit_H WHERE Sil=0",
                   [&](db::Recordset& rs) { carried[instalmentKey(rs)].push_back(rounded(number(rs, u"Tutar"_s), 2)); });
        for (const services::ListedInstalment& i : l_.instalments) {
            const Source s = byId.value(i.id);
            OpenItem item;
            item.key = s.key;
            item.label = s.label;
            item.currency = s.currency;
            item.amount = s.amount;
            item.ticked = i.ticked;
            if (item.ticked) take(carried[item.key], item);
            else item.expected = 0;
            report_.instalments.push_back(item);
        }
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
    static inline const QString kNotListed = u"listede yok"_s;

    static int currencyIndex(const QString& currency)
    {
        for (int i = 0; i < 3; ++i)
            if (kCurrencies[i] == currency) return i;
        return -1;
    }
    int decimals(int currency) const { return vb::shownDecimals(c_.formats.amountFormat(currency)); }

    static QString orderKey(const QString& document, const QString& stockCode, bool out)
    {
        return document + u" / "_s + stockCode + (out ? u" (-)"_s : u" (+)"_s);
    }
    static QString instalmentKey(db::Recordset& rs)
    {
        const Value due = rs.value(u"Vade_Tarihi"_s);
        return text(rs, u"Evrak_No"_s) + u" / "_s + text(rs, u"Taksit_Sayisi"_s) + u" / "_s
            + (due.isDate() ? due.dateValue().date().toString(u"dd.MM.yyyy"_s) : vb::joined(due));
    }

    // Pairs a listed item with one carried record of the same content, the nearest amount first.
    static void take(QList<double>& found, OpenItem& item)
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
    static void leftOver(const QHash<QString, QList<double>>& carried, std::vector<OpenItem>& items)
    {
        for (auto it = carried.cbegin(); it != carried.cend(); ++it)
            for (const double amount : *it) {
                OpenItem item;
                item.key = it.key();
                item.label = kNotListed;
                item.expected = 0;
                item.found = 1;
                item.carried = amount;
                items.push_back(item);
            }
    }

    const Companies& c_;
    const services::Listing& l_;
    Reconciliation& report_;
    Value date_;
};

QJsonValue orNull(const std::optional<qint64>& n) { return n ? QJsonValue(*n) : QJsonValue(); }

}  // namespace

namespace {
// Figures that round to the same cents (a quantity to the same thousandth) are equal: the
// files hold doubles.
bool sameAmount(double a, double b) { return std::abs(a - b) < 0.005; }
}  // namespace

bool AccountItem::differs() const { return !sameAmount(closing, carried); }

bool StockItem::differs() const
{
    return std::abs(quantity - carriedQuantity) >= 0.0005 || !sameAmount(value, carriedValue);
}

bool OpenItem::differs() const { return found != expected || (expected > 0 && !sameAmount(carried, amount)); }

int Reconciliation::differences() const
{
    int n = 0;
    for (const AccountItem& a : accounts) n += a.ticked && a.differs();
    for (const StockItem& s : stock) n += s.ticked && s.differs();
    for (const auto* items : {&cheques, &orders, &instalments})
        for (const OpenItem& i : *items) n += i.ticked && i.differs();
    return n;
}

namespace {

QJsonObject accountJson(const AccountItem& a)
{
    return {{u"main"_s, a.main},         {u"group"_s, a.group},     {u"code"_s, a.code},
            {u"title"_s, a.title},       {u"currency"_s, a.currency}, {u"closing"_s, a.closing},
            {u"carried"_s, a.carried},   {u"difference"_s, a.difference()}, {u"ticked"_s, a.ticked}};
}

QJsonObject stockJson(const StockItem& s)
{
    return {{u"code"_s, s.code},
            {u"warehouse"_s, s.warehouse},
            {u"lot"_s, s.lot},
            {u"quantity"_s, s.quantity},
            {u"value"_s, s.value},
            {u"carried_quantity"_s, s.carriedQuantity},
            {u"carried_value"_s, s.carriedValue},
            {u"difference_quantity"_s, s.carriedQuantity - s.quantity},
            {u"difference_value"_s, s.carriedValue - s.value},
            {u"ticked"_s, s.ticked}};
}

QJsonObject openItemJson(const OpenItem& i)
{
    return {{u"list"_s, i.list},         {u"key"_s, i.key},         {u"label"_s, i.label},
            {u"currency"_s, i.currency}, {u"amount"_s, i.amount},   {u"carried"_s, i.carried},
            {u"difference"_s, i.carried - i.amount}, {u"expected"_s, i.expected}, {u"found"_s, i.found},
            {u"ticked"_s, i.ticked}};
}

QJsonObject tableJson(const TableCount& t)
{
    QJsonObject row{{u"table"_s, t.table},
                    {u"source"_s, orNull(t.source)},
                    {u"target_before"_s, orNull(t.targetBefore)},
                    {u"target_after"_s, orNull(t.targetAfter)}};
    if (t.targetBefore && t.targetAfter) row.insert(u"added"_s, qMax<qint64>(0, *t.targetAfter - *t.targetBefore));
    return row;
}

// Each item list of the report under its JSON name, the items made one at a time.
using ItemList = std::function<void(const QString& name, qsizetype count, const std::function<QJsonObject(qsizetype)>& item)>;
template <typename Item>
void itemList(const ItemList& list, const QString& name, const std::vector<Item>& items, QJsonObject (*json)(const Item&))
{
    list(name, qsizetype(items.size()), [&](qsizetype i) { return json(items[std::size_t(i)]); });
}
void eachItemList(const Reconciliation& r, const ItemList& list)
{
    itemList(list, u"current_accounts"_s, r.accounts, accountJson);
    itemList(list, u"stock"_s, r.stock, stockJson);
    itemList(list, u"cheques"_s, r.cheques, openItemJson);
    itemList(list, u"orders"_s, r.orders, openItemJson);
    itemList(list, u"instalments"_s, r.instalments, openItemJson);
    itemList(list, u"tables"_s, r.tables, tableJson);
}

// The heading and the totals of the report, without its item lists.
QJsonObject heading(const Reconciliation& r)
{
    QJsonObject json = r.run.toJson();
    QJsonObject missing;
    for (auto it = r.unavailable.cbegin(); it != r.unavailable.cend(); ++it) missing.insert(it.key(), it.value());
    json.insert(u"unavailable"_s, missing);
    json.insert(u"differences"_s, r.differences());
    return json;
}

// The report as JSON, written a part at a time: the heading's members, then each list, one
// item a line, so that a large company's report never stands whole in memory as a tree.
QByteArray jsonText(const Reconciliation& r)
{
    QByteArray out = QJsonDocument(heading(r)).toJson(QJsonDocument::Indented);
    out.chop(2);  // "}\n"
    eachItemList(r, [&](const QString& name, qsizetype count, const std::function<QJsonObject(qsizetype)>& item) {
        out += ",\n    \"" + name.toUtf8() + "\": [";
        for (qsizetype i = 0; i < count; ++i) {
            out += i ? ",\n        " : "\n        ";
            out += QJsonDocument(item(i)).toJson(QJsonDocument::Compact);
        }
        out += count ? "\n    ]" : "]";
    });
    out += "\n}\n";
    return out;
}

}  // namespace

QByteArray Reconciliation::toJsonText() const { return jsonText(*this); }

QJsonObject Reconciliation::toJson() const
{
    QJsonObject json = heading(*this);
    eachItemList(*this, [&](const QString& name, qsizetype count, const std::function<QJsonObject(qsizetype)>& item) {
        QJsonArray items;
        for (qsizetype i = 0; i < count; ++i) items.append(item(i));
        json.insert(name, items);
    });
    return json;
}

void reconcile(const Companies& companies, const services::Listing& listed, const QHash<QString, qint64>& before,
               Reconciliation& report)
{
    services::Listing listing = listed;
    SourceLister lister(companies, listing);
    Reconciler r(companies, listing, report);
    // Each part: its step's key in the listing, its name in the report, how the source is
    // listed when no panel listed it, and how it is set against the target.
    struct Part {
        QString step, name;
        void (SourceLister::*list)();
        void (Reconciler::*reconcile)();
    };
    const Part parts[] = {{kAccounts, u"current_accounts"_s, &SourceLister::accounts, &Reconciler::accounts},
                          {kStock, u"stock"_s, &SourceLister::stock, &Reconciler::stock},
                          {kCheques, u"cheques"_s, &SourceLister::cheques, &Reconciler::cheques},
                          {kOrders, u"orders"_s, &SourceLister::orders, &Reconciler::orders},
                          {kInstalments, u"instalments"_s, &SourceLister::instalments, &Reconciler::instalments}};
    bool dated = false;  // every part but the tables needs the target's opening day
    r.part(u"target"_s, [&] {
        r.openingDate();
        dated = true;
    });
    for (const Part& part : parts)
        if (dated)
            r.part(part.name, [&] {
                if (!listing.parts.contains(part.step)) (lister.*part.list)();
                (r.*part.reconcile)();
            });
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
        bytes = report.toJsonText();
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
