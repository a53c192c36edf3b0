#include "db/Recordset.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/JetDialect.h"
#include "db/Database.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

namespace belmo::db {

namespace {

[[noreturn]] void noCurrentRow()
{
    throw DbError(err::NoCurrentRow,
                  QStringLiteral("Either BOF or EOF is True, or the current record has been deleted."));
}

[[noreturn]] void notUpdatable()
{
    throw DbError(err::NotUpdatable, QStringLiteral("Current Recordset does not support updating."));
}

[[noreturn]] void closedObject()
{
    throw DbError(err::ObjectClosed, QStringLiteral("Operation is not allowed when the object is closed."));
}

QString quoteName(const QString& name)
{
    return u'"' + QString(name).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// SQLite names an unnamed expression after its text, a server gives it no name; Jet calls it
// Expr1000, Expr1001, ...
bool isExpressionText(const QString& name)
{
    static const QRegularExpression re(QStringLiteral("[()'\"+*/&|=<>,\\[\\]]"));
    return name.trimmed().isEmpty() || re.match(name).hasMatch();
}


}  // namespace

// What a statement's recordset looks like, worked out once per statement text and file and
// shared by every recordset that opens the same text: its fields, how they are found by name,
// and, for an updatable recordset, how rows are read and written back by row id. Only the
// writing statements that depend on the columns assigned are built on first use.
struct StatementShape {
    struct FieldInfo {
        QString name;
        QString table;   // origin table, empty for an expression
        QString column;  // origin column
        QString quotedColumn;
        FieldType type = FieldType::Unknown;
        int slot = -1;   // index into tables when the recordset is updatable
    };
    struct TableSlot {
        QString name;
        QString quotedName;
        QList<int> fields;  // fields of this table, in field order
        QString fetchSql;   // reads those fields of one row by rowid
        // INSERT and UPDATE statements by the fields they assign (a bit per field of the slot).
        mutable QHash<quint64, QString> insertSql, updateSql;
    };

    QList<FieldInfo> fields;
    QHash<QString, int> byName;   // lower-case names, as Jet finds fields whatever their case
    QHash<QString, int> byExact;  // the names as they are spelt: most lookups, without a copy
    QList<TableSlot> tables;
    QString keySql;
    bool updatable = false;

    void describeFields(const Cursor& st);
    void planUpdates(Database& db, const QString& nativeSql);
};

struct Recordset::Impl {
    using FieldInfo = StatementShape::FieldInfo;
    using TableSlot = StatementShape::TableSlot;
    enum class Edit { None, Change, Add };

    std::shared_ptr<Database> file;
    QString source;
    QList<Value> params;  // bound to the '?' of the source, in order
    std::shared_ptr<const StatementShape> shape;
    bool loaded = false;
    const QList<FieldInfo>& fields() const { return shape->fields; }
    const QList<TableSlot>& tables() const { return shape->tables; }
    bool updatable() const { return shape->updatable; }

    // Materialized rows (read-only), or row ids (updatable; tables.size() per row).
    std::vector<std::vector<Value>> rows;
    std::vector<qint64> keys;
    std::vector<bool> deleted;
    qint64 live = 0;
    qint64 firstLiveHint = 0;
    qint64 lastLiveHint = -1;
    qint64 pos = 0;

    // Rows added before the query first ran.
    std::vector<qint64> pendingKeys;
    std::optional<std::vector<qint64>> currentPending;

    // The current row as last read or written, for updatable recordsets, by its row ids
    // (none when empty).
    std::vector<qint64> cachedKey;
    std::vector<Value> cached;

    Edit edit = Edit::None;
    std::vector<std::optional<Value>> buffer;

    int stride() const { return static_cast<int>(tables().size()); }
    qint64 count() const { return updatable() ? static_cast<qint64>(keys.size()) / std::max(1, stride()) : static_cast<qint64>(rows.size()); }
    bool isDeleted(qint64 i) const { return !deleted.empty() && deleted[static_cast<size_t>(i)]; }

    void bindParams(Cursor& st) const
    {
        for (int i = 0; i < params.size(); ++i) st.bind(i + 1, params[i]);
    }
    void ensureLoaded();
    void loadRows();
    void loadKeys();
    qint64 nextLive(qint64 from) const;
    qint64 prevLive(qint64 from) const;
    qint64 firstLive();
    qint64 lastLive();
    std::vector<qint64> currentKey();
    const std::vector<Value>& currentRow();
    void requireRow();
    void saveEdit();
    void insertRow();
    void updateRow();
    QString returning(const TableSlot& slot) const;
    void keepWritten(const Cursor& st, const TableSlot& slot, qint64 id);
    void appendKey(const std::vector<qint64>& key);
    void moveKey(int table, qint64 from, qint64 to);
};

// ---- open: fields and the update plan ---------------------------------------------------------

void StatementShape::describeFields(const Cursor& st)
{
    const int n = st.columnCount();
    int expr = 1000;
    for (int i = 0; i < n; ++i) {
        FieldInfo f;
        const ColumnInfo c = st.column(i);
        f.name = c.name;
        f.table = c.table;
        f.column = c.column;
        f.quotedColumn = quoteName(f.column);
        f.type = c.type;
        if (isExpressionText(f.name)) f.name = QStringLiteral("Expr%1").arg(expr++);  // Jet's names for expressions
        fields.append(f);
    }
    // Two fields of one name (select * over a join) are told apart as Table.Column.
    QHash<QString, int> seen;
    for (const auto& f : fields) seen[f.name.toLower()]++;
    for (auto& f : fields)
        if (seen[f.name.toLower()] > 1 && !f.table.isEmpty()) f.name = f.table + u'.' + f.name;
    for (int i = fields.size() - 1; i >= 0; --i) {
        byName.insert(fields[i].name.toLower(), i);
        byExact.insert(fields[i].name, i);
        if (!fields[i].table.isEmpty())
            byName.insert((fields[i].table + u'.' + fields[i].column).toLower(), i);
    }
}

// A statement is updatable when it returns one row per record and every field is a column
// of a table named in it. Its row ids come from the same statement with the tables' row id
// columns ("T".rowid on a file) added
// after SELECT; when that does not prepare (an alias, a view) the recordset stays read-only.
void StatementShape::planUpdates(Database& db, const QString& nativeSql)
{
    const jet::SelectShape shape = jet::inspectSelect(nativeSql);
    if (!shape.isSelect || !shape.rowPerRecord || fields.isEmpty()) return;
    for (const auto& f : fields)
        if (f.table.isEmpty() || f.column.isEmpty()) return;
    QList<TableSlot> tableSlots;
    for (int i = 0; i < fields.size(); ++i) {
        int s = -1;
        for (int j = 0; j < tableSlots.size(); ++j)
            if (tableSlots[j].name.compare(fields[i].table, Qt::CaseInsensitive) == 0) s = j;
        if (s < 0) {
            tableSlots.append(TableSlot{fields[i].table, quoteName(fields[i].table), {}, {}, {}, {}});
            s = tableSlots.size() - 1;
        }
        tableSlots[s].fields.append(i);
    }
    QStringList ids;
    const QString rowId = db.rowIdColumn();
    for (auto& slot : tableSlots) {
        ids << slot.quotedName + u'.' + rowId;
        QStringList cols;
        for (int fi : slot.fields) cols << fields[fi].quotedColumn;
        slot.fetchSql = QStringLiteral("SELECT %1 FROM %2 WHERE %3=?").arg(cols.join(u','), slot.quotedName, rowId);
    }
    const QString candidate = nativeSql.left(shape.afterSelect) + u' ' + ids.join(u',') + u',' + nativeSql.mid(shape.afterSelect);
    try {
        Statement probe = db.prepareNative(candidate);
    } catch (const DbError&) {
        return;  // not updatable: the fields stay readable
    }
    keySql = candidate;
    tables = tableSlots;
    for (int s = 0; s < tables.size(); ++s)
        for (int fi : tables[s].fields) fields[fi].slot = s;
    updatable = true;
}

// ---- loading ----------------------------------------------------------------------------------

void Recordset::Impl::ensureLoaded()
{
    if (loaded) return;
    if (updatable()) loadKeys();
    else loadRows();
    deleted.assign(static_cast<size_t>(count()), false);
    live = count();
    firstLiveHint = 0;
    lastLiveHint = count() - 1;
    loaded = true;
}

void Recordset::Impl::loadRows()
{
    Statement st = file->prepare(source);
    bindParams(*st);
    const int n = fields().size();
    while (st->step()) {
        std::vector<Value> row;
        row.reserve(n);
        for (int i = 0; i < n; ++i) row.push_back(st->value(i, fields()[i].type));
        rows.push_back(std::move(row));
    }
    pos = 0;
}

void Recordset::Impl::loadKeys()
{
    Statement st = file->prepareNative(shape->keySql);
    bindParams(*st);
    const int s = stride();
    while (st->step())
        for (int t = 0; t < s; ++t) keys.push_back(st->rowId(t));
    pos = 0;
    // Rows this recordset added before the query ran keep their place at the end, and the
    // one added last stays current.
    for (size_t p = 0; p < pendingKeys.size(); p += s) {
        const std::vector<qint64> key(pendingKeys.begin() + p, pendingKeys.begin() + p + s);
        qint64 found = -1;
        for (qint64 r = count() - 1; r >= 0 && found < 0; --r)
            if (std::equal(key.begin(), key.end(), keys.begin() + r * s)) found = r;
        if (found < 0) {
            keys.insert(keys.end(), key.begin(), key.end());
            found = count() - 1;
        }
        if (currentPending && *currentPending == key) pos = found;
    }
    pendingKeys.clear();
    currentPending.reset();
}

qint64 Recordset::Impl::nextLive(qint64 from) const
{
    const qint64 n = count();
    while (from < n && isDeleted(from)) ++from;
    return from;
}

qint64 Recordset::Impl::prevLive(qint64 from) const
{
    while (from >= 0 && isDeleted(from)) --from;
    return from;
}

qint64 Recordset::Impl::firstLive()
{
    firstLiveHint = nextLive(std::max<qint64>(0, firstLiveHint));
    return firstLiveHint;
}

qint64 Recordset::Impl::lastLive()
{
    lastLiveHint = prevLive(std::min(count() - 1, lastLiveHint));
    return lastLiveHint;
}

// ---- the current row --------------------------------------------------------------------------

std::vector<qint64> Recordset::Impl::currentKey()
{
    if (!loaded && currentPending) return *currentPending;
    ensureLoaded();
    if (pos < 0 || pos >= count() || isDeleted(pos)) noCurrentRow();
    const int s = stride();
    return std::vector<qint64>(keys.begin() + pos * s, keys.begin() + (pos + 1) * s);
}

void Recordset::Impl::requireRow()
{
    if (updatable()) {
        currentKey();
        return;
    }
    ensureLoaded();
    if (pos < 0 || pos >= count()) noCurrentRow();
}

const std::vector<Value>& Recordset::Impl::currentRow()
{
    if (!updatable()) {
        requireRow();
        return rows[static_cast<size_t>(pos)];
    }
    const std::vector<qint64> key = currentKey();
    if (cachedKey == key) return cached;
    cached.assign(fields().size(), Value::null());
    for (int t = 0; t < tables().size(); ++t) {
        if (key[t] == kNoRow) continue;  // the outer side of a join without a match
        Statement st = file->prepareNative(tables()[t].fetchSql);
        st->bind(1, file->rowIdValue(key[t]));
        if (!st->step()) noCurrentRow();  // removed behind this recordset's back
        const auto& fis = tables()[t].fields;
        for (int c = 0; c < fis.size(); ++c) cached[fis[c]] = st->value(c, fields()[fis[c]].type);
    }
    cachedKey = key;
    return cached;
}

// ---- writing ----------------------------------------------------------------------------------

void Recordset::Impl::appendKey(const std::vector<qint64>& key)
{
    if (loaded) {
        keys.insert(keys.end(), key.begin(), key.end());
        deleted.push_back(false);
        ++live;
        lastLiveHint = count() - 1;
        pos = count() - 1;
    } else {
        pendingKeys.insert(pendingKeys.end(), key.begin(), key.end());
        currentPending = key;
    }
}

// A row the engine moved when it was written: its id changes wherever the recordset holds it.
void Recordset::Impl::moveKey(int table, qint64 from, qint64 to)
{
    if (from == to) return;
    const int s = stride();
    for (auto* ids : {&keys, &pendingKeys})
        for (size_t i = size_t(table); i < ids->size(); i += size_t(s))
            if ((*ids)[i] == from) (*ids)[i] = to;
    if (currentPending && (*currentPending)[size_t(table)] == from) (*currentPending)[size_t(table)] = to;
}

namespace {

// The fields of a table slot that the edit assigns, as a bit each (slots of more than 64
// fields are never looked up by mask: their statements are built every time).
std::optional<quint64> assignedMask(const StatementShape::TableSlot& slot, const std::vector<std::optional<Value>>& buffer)
{
    if (slot.fields.size() > 64) return std::nullopt;
    quint64 mask = 0;
    for (int i = 0; i < slot.fields.size(); ++i)
        if (buffer[static_cast<size_t>(slot.fields[i])]) mask |= quint64(1) << i;
    return mask;
}

// The statement text for these assigned fields, built once per slot and mask.
template <typename Build>
QString cachedText(QHash<quint64, QString>& cache, std::optional<quint64> mask, Build build)
{
    if (!mask) return build();
    auto it = cache.find(*mask);
    if (it == cache.end()) it = cache.insert(*mask, build());
    return *it;
}

}  // namespace

void Recordset::Impl::insertRow()
{
    std::vector<qint64> key(tables().size(), kNoRow);
    bool any = false;
    for (int t = 0; t < tables().size(); ++t) {
        const TableSlot& slot = tables()[t];
        const std::optional<quint64> mask = assignedMask(slot, buffer);
        const bool none = mask ? *mask == 0 : std::none_of(slot.fields.begin(), slot.fields.end(), [&](int fi) { return bool(buffer[fi]); });
        if (none && (any || t + 1 < tables().size())) continue;
        const QString sql = cachedText(slot.insertSql, mask, [&] {
            QStringList cols, marks;
            for (int fi : slot.fields) {
                if (!buffer[fi]) continue;
                cols << fields()[fi].quotedColumn;
                marks << QStringLiteral("?");
            }
            return (cols.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(slot.quotedName)
                                   : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(slot.quotedName, cols.join(u','), marks.join(u',')))
                + returning(slot);
        });
        file->beforeWrite(slot.name);
        Statement st = file->prepareNative(sql);
        int i = 1;
        for (int fi : slot.fields)
            if (buffer[fi]) st->bind(i++, *buffer[fi]);
        // The row's id comes back from the statement where the engine gives it so, else it is
        // the number the database gave the row.
        if (st->step()) {
            key[t] = st->rowId(0);
            keepWritten(*st, slot, key[t]);
            st->runToEnd();
        } else {
            key[t] = file->lastInsertRowId();
        }
        any = true;
    }
    appendKey(key);
}

void Recordset::Impl::updateRow()
{
    const std::vector<qint64> key = currentKey();
    for (int t = 0; t < tables().size(); ++t) {
        const TableSlot& slot = tables()[t];
        const std::optional<quint64> mask = assignedMask(slot, buffer);
        if (mask && *mask == 0) continue;
        if (!mask && std::none_of(slot.fields.begin(), slot.fields.end(), [&](int fi) { return bool(buffer[fi]); })) continue;
        if (key[t] == kNoRow) notUpdatable();
        const QString sql = cachedText(slot.updateSql, mask, [&] {
            QStringList sets;
            for (int fi : slot.fields)
                if (buffer[fi]) sets << fields()[fi].quotedColumn + QStringLiteral("=?");
            return QStringLiteral("UPDATE %1 SET %2 WHERE %3=?").arg(slot.quotedName, sets.join(u','), file->rowIdColumn())
                + returning(slot);
        });
        file->beforeWrite(slot.name);
        Statement st = file->prepareNative(sql);
        int i = 1;
        for (int fi : slot.fields)
            if (buffer[fi]) st->bind(i++, *buffer[fi]);
        st->bind(i, file->rowIdValue(key[t]));
        // An engine that moves a row it writes gives its new id back.
        if (st->step()) {
            moveKey(t, key[t], st->rowId(0));
            keepWritten(*st, slot, st->rowId(0));
            st->runToEnd();
        }
    }
}

// What a write gives back: the row id where the engine gives it so (the server), and then, for a
// recordset of one table, the row's fields as written, so that reading the row just written
// costs no second statement.
QString Recordset::Impl::returning(const TableSlot& slot) const
{
    QString clause = file->returningRowId();
    if (clause.isEmpty() || stride() != 1) return clause;
    for (int fi : slot.fields) clause += u',' + fields()[fi].quotedColumn;
    return clause;
}

void Recordset::Impl::keepWritten(const Cursor& st, const TableSlot& slot, qint64 id)
{
    if (stride() != 1 || st.columnCount() != slot.fields.size() + 1) return;
    cached.assign(fields().size(), Value::null());
    for (int c = 0; c < slot.fields.size(); ++c) cached[slot.fields[c]] = st.value(c + 1, fields()[slot.fields[c]].type);
    cachedKey = {id};
}

void Recordset::Impl::saveEdit()
{
    if (edit == Edit::None) return;
    cachedKey.clear();  // the row as written is kept again where the engine gives it back
    // The buffer is dropped whatever happens: a row that cannot be saved is not retried
    // on the next move.
    struct Reset {
        Impl* d;
        ~Reset()
        {
            d->edit = Edit::None;
            d->buffer.assign(d->fields().size(), std::nullopt);
        }
    } reset{this};
    if (edit == Edit::Add) insertRow();
    else updateRow();
}

// ---- Recordset --------------------------------------------------------------------------------

Recordset::Recordset() = default;
Recordset::~Recordset() = default;
Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;

void Recordset::open(const QString& source, Connection& connection, CursorType cursor, LockType lock)
{
    open(source, connection, cursor, lock, {});
}

void Recordset::open(const QString& source, Connection& connection, CursorType, LockType lock, const QList<Value>& params)
{
    if (d_)
        throw DbError(err::ObjectOpen, QStringLiteral("Operation is not allowed when the object is open."));
    auto d = std::make_unique<Impl>();
    d->file = connection.file();
    d->source = source;
    d->params = params;
    const bool readOnly = lock == LockType::ReadOnly;
    // A read-only open and an updatable one of the same text differ in their update plan.
    const QString shapeKey = readOnly ? source : QStringLiteral("\x02") + source;
    d->shape = std::static_pointer_cast<const StatementShape>(d->file->shape(shapeKey));
    if (!d->shape) {
        Statement st = d->file->prepare(source);
        if (st->columnCount() == 0) {
            d->bindParams(*st);
            d->file->run(*st);  // a statement without rows: it has run, the recordset stays closed
            return;
        }
        auto shape = std::make_shared<StatementShape>();
        shape->describeFields(*st);
        const QString nativeSql = st->nativeText();
        st.reset();
        if (!readOnly) shape->planUpdates(*d->file, nativeSql);
        d->file->keepShape(shapeKey, shape);
        d->shape = std::move(shape);
    }
    if (readOnly) d->ensureLoaded();
    d->buffer.assign(d->fields().size(), std::nullopt);
    d_ = std::move(d);
}

void Recordset::close()
{
    if (!d_) return;
    const bool pending = d_->edit != Impl::Edit::None;
    d_.reset();
    if (pending)
        throw DbError(err::NotAllowed, QStringLiteral("Operation is not allowed in this context: an edit was neither updated nor cancelled."));
}

bool Recordset::isOpen() const { return d_ != nullptr; }

bool Recordset::eof()
{
    if (!d_) closedObject();
    if (!d_->loaded && d_->currentPending) return false;
    d_->ensureLoaded();
    return d_->live == 0 || d_->pos >= d_->count();
}

bool Recordset::bof()
{
    if (!d_) closedObject();
    if (!d_->loaded && d_->currentPending) return false;
    d_->ensureLoaded();
    return d_->live == 0 || d_->pos < 0;
}

qint64 Recordset::recordCount()
{
    if (!d_) closedObject();
    d_->ensureLoaded();
    return d_->live;
}

Recordset::Impl& Recordset::beforeMove()
{
    if (!d_) closedObject();
    d_->saveEdit();
    d_->ensureLoaded();
    return *d_;
}

void Recordset::moveFirst()
{
    Impl& d = beforeMove();
    if (d.live == 0) noCurrentRow();
    d.pos = d.firstLive();
}

void Recordset::moveLast()
{
    Impl& d = beforeMove();
    if (d.live == 0) noCurrentRow();
    d.pos = d.lastLive();
}

void Recordset::moveNext()
{
    Impl& d = beforeMove();
    if (d.live == 0 || d.pos >= d.count()) noCurrentRow();
    // From a row deleted here the next row is the one that followed it.
    d.pos = d.nextLive(d.pos + 1);
}

void Recordset::movePrevious()
{
    Impl& d = beforeMove();
    if (d.live == 0 || d.pos < 0) noCurrentRow();
    d.pos = d.prevLive(d.pos - 1);
}

int Recordset::fieldCount() const { return d_ ? d_->fields().size() : 0; }

QString Recordset::fieldName(int index) const
{
    if (!d_) closedObject();
    if (index < 0 || index >= d_->fields().size())
        throw DbError(err::ItemNotFound, QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal."));
    return d_->fields()[index].name;
}

FieldType Recordset::fieldType(int index) const
{
    fieldName(index);
    return d_->fields()[index].type;
}

int Recordset::fieldIndex(const QString& name) const
{
    if (!d_) closedObject();
    if (const auto exact = d_->shape->byExact.find(name); exact != d_->shape->byExact.end()) return *exact;
    const auto it = d_->shape->byName.find(name.toLower());
    if (it == d_->shape->byName.end())
        throw DbError(err::ItemNotFound,
                      QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal: %1").arg(name));
    return *it;
}

Value Recordset::value(int index)
{
    fieldName(index);
    if (d_->edit != Impl::Edit::None && d_->buffer[index]) return *d_->buffer[index];
    if (d_->edit == Impl::Edit::Add) return Value::null();
    return d_->currentRow()[index];
}

void Recordset::setValue(int index, const Value& v)
{
    fieldName(index);
    if (!d_->updatable()) notUpdatable();
    if (d_->edit == Impl::Edit::None) {
        d_->requireRow();
        d_->edit = Impl::Edit::Change;
    }
    d_->buffer[index] = convertForField(v, d_->fields()[index].type);
}

void Recordset::addNew()
{
    if (!d_) closedObject();
    if (!d_->updatable()) notUpdatable();
    d_->saveEdit();
    d_->edit = Impl::Edit::Add;
}

void Recordset::update()
{
    if (!d_) closedObject();
    d_->saveEdit();
}

void Recordset::cancelUpdate()
{
    if (!d_) closedObject();
    d_->edit = Impl::Edit::None;
    d_->buffer.assign(d_->fields().size(), std::nullopt);
}

void Recordset::deleteCurrent()
{
    if (!d_) closedObject();
    if (!d_->updatable() || d_->tables().size() != 1) notUpdatable();
    if (d_->edit == Impl::Edit::Add) {  // deleting a row never saved only drops it
        cancelUpdate();
        return;
    }
    cancelUpdate();
    d_->ensureLoaded();
    const std::vector<qint64> key = d_->currentKey();
    d_->file->beforeWrite(d_->tables()[0].name);
    Statement st = d_->file->prepareNative(
        QStringLiteral("DELETE FROM %1 WHERE %2=?").arg(d_->tables()[0].quotedName, d_->file->rowIdColumn()));
    st->bind(1, d_->file->rowIdValue(key[0]));
    st->runToEnd();
    d_->deleted[static_cast<size_t>(d_->pos)] = true;
    --d_->live;
    d_->cachedKey.clear();
}

bool Recordset::isEditing() const { return d_ && d_->edit != Impl::Edit::None; }

bool Recordset::supportsUpdates() const { return d_ && d_->updatable(); }

Value Field::value() const { return rs_->value(index_); }

Field& Field::operator=(const Value& v)
{
    rs_->setValue(index_, v);
    return *this;
}

QString Field::name() const { return rs_->fieldName(index_); }

}  // namespace belmo::db
