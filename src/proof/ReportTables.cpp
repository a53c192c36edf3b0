#include "proof/ReportTables.h"

#include "db/Value.h"
#include "db/VbConvert.h"

#include <QMap>

#include <algorithm>
#include <cmath>

namespace belmo::proof {

using namespace Qt::Literals::StringLiterals;

namespace {

bool accountDiffers(const AccountItem& a) { return a.ticked && a.differs(); }
bool stockDiffers(const StockItem& s) { return s.ticked && s.differs(); }

ReportTable table(const QString& section, const QString& title, const QStringList& headers, const QList<bool>& numeric)
{
    ReportTable t;
    t.section = section;
    t.title = title;
    t.headers = headers;
    t.numeric = numeric;
    return t;
}

// What the last column says of an item.
QString markText(bool ticked, bool differs)
{
    if (!ticked) return u"işaretsiz"_s;
    return differs ? u"FARK"_s : QString();
}

// Listed and carried sums of the ticked items, per key (a currency, or a main account and
// a currency), in key order.
struct Sums {
    int items = 0;
    double listed = 0, carried = 0;
};
using SumsByKey = QMap<QString, Sums>;

void add(SumsByKey& sums, const QString& key, double listed, double carried)
{
    Sums& s = sums[key];
    ++s.items;
    s.listed += listed;
    s.carried += carried;
}

ReportRow totalRow(int columns, int labelColumn, const QString& label, int firstFigure, const QStringList& figures)
{
    ReportRow row{QStringList(columns, QString()), false, true};
    row.cells[labelColumn] = label;
    for (qsizetype i = 0; i < figures.size(); ++i) row.cells[firstFigure + i] = figures[i];
    return row;
}

QString sumsText(const QString& currency, const Sums& s)
{
    return u"%1 %2 / %3"_s.arg(currency, amountText(s.listed), amountText(s.carried));
}

// The items of a part, those with a difference first, each group in the order given.
template <typename Item, typename Differs, typename Cells>
void addItems(ReportTable& table, const std::vector<Item>& items, Differs differs, Cells cells)
{
    std::vector<const Item*> order;
    for (const Item& item : items) order.push_back(&item);
    std::stable_partition(order.begin(), order.end(), [&](const Item* i) { return differs(*i); });
    for (const Item* item : order) {
        const bool d = differs(*item);
        QStringList c = cells(*item);
        c << markText(item->ticked, d);
        table.rows.push_back({c, d, false});
        ++table.items;
        table.ticked += item->ticked ? 1 : 0;
        table.differing += d ? 1 : 0;
    }
}

ReportTable accountTable(const Reconciliation& r)
{
    ReportTable t = table(u"current_accounts"_s, u"Cari Hesaplar"_s,
                  {u"Ana Hs"_s, u"Grup"_s, u"Kod"_s, u"Ünvan"_s, u"Döviz"_s, u"Kapanış"_s, u"Devreden"_s, u"Fark"_s, QString()},
                  {false, false, false, false, false, true, true, true, false});
    addItems(t, r.accounts, accountDiffers, [](const AccountItem& a) {
        return QStringList{a.main, a.group, a.code, a.title, a.currency, amountText(a.closing), amountText(a.carried),
                           amountText(a.difference())};
    });
    SumsByKey perMain, perCurrency;
    for (const AccountItem& a : r.accounts) {
        if (!a.ticked) continue;
        add(perMain, a.main + u'\t' + a.currency, a.closing, a.carried);
        add(perCurrency, a.currency, a.closing, a.carried);
    }
    auto figures = [](const Sums& s) {
        return QStringList{amountText(s.listed), amountText(s.carried), amountText(s.carried - s.listed)};
    };
    for (auto it = perMain.cbegin(); it != perMain.cend(); ++it) {
        const QStringList key = it.key().split(u'\t');
        auto row = totalRow(9, 3, u"Toplam %1"_s.arg(key[0]), 5, figures(it.value()));
        row.cells[4] = key[1];
        t.rows.push_back(row);
    }
    for (auto it = perCurrency.cbegin(); it != perCurrency.cend(); ++it) {
        auto row = totalRow(9, 3, u"Genel Toplam"_s, 5, figures(it.value()));
        row.cells[4] = it.key();
        t.rows.push_back(row);
        t.totals << sumsText(it.key(), it.value());
    }
    return t;
}

ReportTable stockTable(const Reconciliation& r)
{
    const bool lots = std::any_of(r.stock.begin(), r.stock.end(), [](const StockItem& s) { return !s.lot.isEmpty(); });
    ReportTable t = table(u"stock"_s, u"Stoklar"_s,
                  {u"Stok Kodu"_s, u"Depo"_s, u"Lot"_s, u"Miktar"_s, u"Değer"_s, u"Devreden Miktar"_s,
                   u"Devreden Değer"_s, u"Miktar Farkı"_s, QString()},
                  {false, false, false, true, true, true, true, true, false});
    addItems(t, r.stock, stockDiffers, [](const StockItem& s) {
        return QStringList{s.code,
                           s.warehouse,
                           s.lot,
                           quantityText(s.quantity),
                           amountText(s.value),
                           quantityText(s.carriedQuantity),
                           amountText(s.carriedValue),
                           quantityText(s.carriedQuantity - s.quantity)};
    });
    double quantity = 0, value = 0, carriedQuantity = 0, carriedValue = 0;
    for (const StockItem& s : r.stock) {
        if (!s.ticked) continue;
        quantity += s.quantity;
        value += s.value;
        carriedQuantity += s.carriedQuantity;
        carriedValue += s.carriedValue;
    }
    t.rows.push_back(totalRow(9, 0, u"Toplam"_s, 3,
                              {quantityText(quantity), amountText(value), quantityText(carriedQuantity),
                               amountText(carriedValue), quantityText(carriedQuantity - quantity)}));
    t.totals << u"miktar %1 / %2, değer %3 / %4"_s.arg(quantityText(quantity), quantityText(carriedQuantity),
                                                       amountText(value), amountText(carriedValue));
    if (!lots) {  // no lots listed: the column says nothing
        t.headers.removeAt(2);
        t.numeric.removeAt(2);
        for (ReportRow& row : t.rows) row.cells.removeAt(2);
    }
    return t;
}

ReportTable openItemTable(const QString& section, const QString& title, const QString& keyHeader,
                          const std::vector<OpenItem>& items, bool withList)
{
    ReportTable t = table(section, title,
                  {u"Liste"_s, keyHeader, u"Açıklama"_s, u"Döviz"_s, u"Tutar"_s, u"Devreden"_s, u"Beklenen"_s,
                   u"Bulunan"_s, QString()},
                  {false, false, false, false, true, true, true, true, false});
    addItems(t, items, [](const OpenItem& o) { return o.ticked && o.differs(); }, [](const OpenItem& o) {
        return QStringList{o.list,
                           o.key,
                           o.label,
                           o.currency,
                           amountText(o.amount),
                           amountText(o.carried),
                           QString::number(o.expected),
                           QString::number(o.found)};
    });
    SumsByKey perCurrency;
    for (const OpenItem& o : items)
        if (o.ticked) add(perCurrency, o.currency, o.amount, o.carried);
    for (auto it = perCurrency.cbegin(); it != perCurrency.cend(); ++it) {
        auto row = totalRow(9, 2, u"Toplam (%1 kalem)"_s.arg(it.value().items), 4,
                            {amountText(it.value().listed), amountText(it.value().carried)});
        row.cells[3] = it.key();
        t.rows.push_back(row);
        t.totals << u"%1 kalem "_s.arg(it.value().items) + sumsText(it.key(), it.value());
    }
    if (!withList) {
        t.headers.removeFirst();
        t.numeric.removeFirst();
        for (ReportRow& row : t.rows) row.cells.removeFirst();
    }
    return t;
}

QString countText(const std::optional<qint64>& n) { return n ? QString::number(*n) : u"-"_s; }

ReportTable tableCountTable(const Reconciliation& r)
{
    ReportTable t = table(u"tables"_s, u"Tanımlar"_s,
                  {u"Tablo"_s, u"Kaynak"_s, u"Hedef (önce)"_s, u"Hedef (sonra)"_s},
                  {false, true, true, true});
    for (const TableCount& c : r.tables) {
        t.rows.push_back({{c.table, countText(c.source), countText(c.targetBefore), countText(c.targetAfter)}});
        ++t.items;
    }
    t.ticked = t.items;
    return t;
}

ReportTable runTable(const RunSummary& run)
{
    ReportTable t = table(u"run"_s, u"Çalışma Özeti"_s,
                  {u"Adım"_s, u"Listelenen"_s, u"İşaretli"_s, u"Sonuç"_s, u"Uyarılar ve aktarılmayanlar"_s},
                  {false, true, true, false, false});
    for (const StepOutcome& s : run.steps) {
        const QStringList notes = s.warnings + s.leftOut;
        t.rows.push_back({{s.caption.isEmpty() ? s.key : s.caption, QString::number(s.listed),
                           QString::number(s.ticked), s.finished ? u"bitti"_s : u"bitmedi"_s, notes.join(u"; "_s)},
                          !s.finished});
    }
    return t;
}

QString companyLine(const QString& role, const CompanyFacts& c)
{
    QString line = role + u": "_s + c.code;
    if (!c.name.isEmpty()) line += u" "_s + c.name;
    if (!c.period.isEmpty()) line += u", dönem "_s + c.period;
    return line;
}

QString timeText(const QDateTime& t) { return t.isValid() ? t.toString(u"dd.MM.yyyy HH:mm"_s) : u"-"_s; }

// Whether a name in `unavailable` stands for this table: its own part, or the target (without
// its opening date no item part can be reconciled).
bool namesTable(const QString& name, const ReportTable& t)
{
    if (name == u"target"_s) return t.section != u"tables"_s && t.section != u"run"_s;
    return name == t.section;
}

}  // namespace

QString reportTitle() { return u"Devir Mutabakat Raporu"_s; }

QStringList companyLines(const RunSummary& run)
{
    QStringList lines{companyLine(u"Kaynak"_s, run.source), companyLine(u"Hedef"_s, run.target)};
    QStringList who;
    if (!run.user.isEmpty()) who << u"Kullanıcı: "_s + run.user;
    if (!run.machine.isEmpty()) who << u"bilgisayar: "_s + run.machine;
    if (run.started.isValid()) who << u"çalışma: %1 - %2"_s.arg(timeText(run.started), timeText(run.finished));
    if (run.dryRun) who << u"deneme"_s;
    if (!who.isEmpty()) lines << who.join(u", "_s);
    return lines;
}

std::vector<ReportTable> reportTables(const Reconciliation& r)
{
    std::vector<ReportTable> tables;
    tables.push_back(accountTable(r));
    tables.push_back(stockTable(r));
    tables.push_back(openItemTable(u"cheques"_s, u"Çekler"_s, u"Çek No"_s, r.cheques, true));
    tables.push_back(openItemTable(u"orders"_s, u"Siparişler"_s, u"Sipariş / Stok"_s, r.orders, false));
    tables.push_back(openItemTable(u"instalments"_s, u"Taksitler"_s, u"Fatura / Taksit"_s, r.instalments, false));
    tables.push_back(tableCountTable(r));
    tables.push_back(runTable(r.run));
    for (ReportTable& t : tables)
        for (auto it = r.unavailable.cbegin(); it != r.unavailable.cend(); ++it)
            if (namesTable(it.key(), t)) t.unavailable = it.value();
    return tables;
}

QStringList otherUnavailable(const Reconciliation& r)
{
    const std::vector<ReportTable> tables = reportTables(Reconciliation());  // the parts, without items
    QStringList causes;
    for (auto it = r.unavailable.cbegin(); it != r.unavailable.cend(); ++it) {
        const bool known =
            std::any_of(tables.begin(), tables.end(), [&](const ReportTable& t) { return namesTable(it.key(), t); });
        if (!known) causes << it.key() + u": "_s + it.value();
    }
    causes.sort();
    return causes;
}

QString amountText(double value) { return vb::formatNumber(value, u"##,###0.00"); }
QString quantityText(double value) { return vb::CStr(db::Value(value)); }

}  // namespace belmo::proof
