#include "db/CompanyCopy.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/PgDialect.h"
#include "db/ServerSql.h"

#include <QCoreApplication>
#include <QRandomGenerator>

namespace belmo::db {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kPageRows = 10000;     // rows of the source read at a time
constexpr int kBatchRows = 100;      // rows of one INSERT
constexpr int kMostValues = 30000;   // values one statement binds, below either engine's limit
const QString kWorkPrefix = u"belmo_work_"_s;

FieldType fieldTypeOf(schema::Kind kind)
{
    switch (kind) {
    case schema::Kind::AutoNumber:
    case schema::Kind::Long: return FieldType::Long;
    case schema::Kind::Short: return FieldType::Short;
    case schema::Kind::Double: return FieldType::Double;
    case schema::Kind::Text: return FieldType::Text;
    case schema::Kind::Date: return FieldType::Date;
    }
    return FieldType::Unknown;
}

// Both engines read a name between double quotes; the server's form lowers it.
QString quoted(const QString& name) { return u'"' + name + u'"'; }

// What is copied of one table: the columns the source has, in the schema's spelling where it
// declares them, with the types they are read as.
struct Plan {
    const schema::Table* table = nullptr;
    QStringList columns;
    QList<FieldType> types;
    QString autoNumber;  // the AutoNumber column, when the source has it
};

Plan planOf(const schema::Table& table, Database& from, Database& to)
{
    Plan plan{&table, {}, {}, {}};
    const QStringList targetColumns = to.columns(table.name);
    for (const QString& name : from.columns(table.name)) {
        const schema::Column* declared = table.column(name);
        if (!targetColumns.contains(name, Qt::CaseInsensitive))
            throw DbError(err::Unspecified, u"The column %1 of %2 is not in %3."_s.arg(name, table.name, to.path()),
                          DbError::Kind::Database, to.path(), u"%1.%2: no such column in the target"_s.arg(table.name, name));
        plan.columns << (declared ? declared->name : name);
        plan.types << (declared ? fieldTypeOf(declared->kind) : FieldType::Unknown);
        if (declared && declared->kind == schema::Kind::AutoNumber) plan.autoNumber = declared->name;
    }
    return plan;
}

// Rows written to one table in INSERTs of many rows each: one text for a full batch and one for
// the rest at the end, each prepared once by the database's statement cache.
class Writer {
public:
    Writer(Database& db, const Plan& plan)
        : db_(db), plan_(plan), batch_(std::max(1, std::min<int>(kBatchRows, kMostValues / std::max<int>(1, plan.columns.size()))))
    {
        QStringList names;
        for (const QString& c : plan.columns) names << quoted(c);
        head_ = u"INSERT INTO %1 (%2) VALUES "_s.arg(quoted(plan.table->name), names.join(u", "_s));
        values_.reserve(batch_ * plan.columns.size());
    }
    void add(const QList<Value>& row)
    {
        values_ += row;
        if (++rows_ == batch_) flush();
    }
    void flush()
    {
        if (rows_ == 0) return;
        Statement st = db_.prepareNative(text(rows_));
        for (int i = 0; i < values_.size(); ++i) st->bind(i + 1, values_[i]);
        db_.run(*st);
        written_ += rows_;
        rows_ = 0;
        values_.clear();
    }
    qint64 written() const { return written_; }

private:
    QString text(int rows) const
    {
        const QString one = u'(' + QStringList(plan_.columns.size(), u"?"_s).join(u", "_s) + u')';
        return head_ + QStringList(rows, one).join(u", "_s);
    }

    Database& db_;
    const Plan& plan_;
    int batch_;
    QString head_;
    QList<Value> values_;
    int rows_ = 0;
    qint64 written_ = 0;
};

// Reads the source table page by page in the order of its row ids, each page after the last id
// of the one before, and hands each row to the writer.
void copyRows(Database& from, Writer& writer, const Plan& plan, const CopyProgress& progress)
{
    QStringList names;
    for (const QString& c : plan.columns) names << quoted(c);
    const QString id = from.rowIdColumn();
    const QString select = u"SELECT %1, %2 FROM %3"_s.arg(id, names.join(u", "_s), quoted(plan.table->name));
    const QString order = u" ORDER BY %1 LIMIT %2"_s.arg(id).arg(kPageRows);
    const QString first = select + order, next = select + u" WHERE %1 > ?"_s.arg(id) + order;
    std::optional<qint64> last;
    QList<Value> row;
    for (;;) {
        Statement st = from.prepareNative(last ? next : first);
        if (last) st->bind(1, from.rowIdValue(*last));
        int read = 0;
        while (st->step()) {
            last = st->rowId(0);
            row.clear();
            for (int i = 0; i < plan.columns.size(); ++i) row << st->value(i + 1, plan.types[i]);
            writer.add(row);
            ++read;
        }
        if (read < kPageRows) break;
        if (progress) progress(plan.table->name, writer.written(), false);
    }
    writer.flush();
}

qint64 countRows(Database& db, const QString& table)
{
    Statement st = db.prepareNative(u"SELECT count(*) FROM %1"_s.arg(quoted(table)));
    return st->step() ? st->value(0, FieldType::Long).intValue() : 0;
}

}  // namespace

QList<TableCount> copyCompany(Connection& source, Connection& target, const CopyProgress& progress)
{
    Database& from = *source.file();
    Database& to = *target.file();
    QList<Plan> plans;
    TransactionScope reading(source, TransactionScope::Mode::Read);
    for (const schema::Table& table : schema::companyTables())
        if (from.hasObject(u"main"_s, u"table"_s, table.name)) plans << planOf(table, from, to);
    {
        TransactionScope writing(target);
        for (const Plan& plan : plans) {
            try {
                Writer writer(to, plan);
                copyRows(from, writer, plan, progress);
                if (!plan.autoNumber.isEmpty()) to.followKeys(plan.table->name, plan.autoNumber);
                if (progress) progress(plan.table->name, writer.written(), true);
            } catch (const DbError& e) {
                throw e.in({}, plan.table->name);
            }
        }
        writing.commit();
    }
    QList<TableCount> counts;
    for (const Plan& plan : plans) counts << TableCount{plan.table->name, countRows(from, plan.table->name), countRows(to, plan.table->name)};
    reading.commit();
    return counts;
}

void createServerDatabase(const PgServer& server, const QString& name, const QList<schema::Table>& tables)
{
    const auto settings = std::make_shared<PoolSettings>();
    PgClient(server, u"postgres"_s, settings).createDatabase(name);
    PgClient company(server, name, settings);
    company.begin();
    for (const QString& sql : pg::installStatements()) company.execute(sql);
    for (const QString& sql : pg::sessionStatements()) company.execute(sql);
    for (const schema::Table& t : tables)
        for (const QString& sql : pg::createStatements(t)) company.execute(sql);
    company.commit();
}

bool serverHasDatabase(const PgServer& server, const QString& name)
{
    PgClient admin(server, u"postgres"_s, std::make_shared<PoolSettings>());
    return !admin.execute(u"SELECT 1 FROM pg_database WHERE datname = $1"_s, {name}).rows.isEmpty();
}

bool isWorkingDatabase(const QString& name) { return name.startsWith(kWorkPrefix); }

PendingDatabase::PendingDatabase(const PgServer& server, const QString& code)
    : server_(server),
      code_(code),
      workName_(kWorkPrefix + u"%1_%2"_s.arg(QCoreApplication::applicationPid()).arg(quint32(QRandomGenerator::system()->generate()), 8, 16, QChar(u'0')))
{
    if (!isPlainDatabaseCode(code))  // refused before anything reaches the server
        throw DbError(err::InvalidCall, u"The company code '%1' is not a plain code."_s.arg(code), DbError::Kind::Database);
    try {
        createServerDatabase(server_, workName_, schema::companyTables());
    } catch (...) {
        try {
            PgClient(server_, u"postgres"_s, std::make_shared<PoolSettings>()).execute(
                u"DROP DATABASE IF EXISTS %1"_s.arg(pg::quotedName(workName_)));
        } catch (const DbError&) {
        }
        throw;
    }
}

PendingDatabase::~PendingDatabase()
{
    if (committed_) return;
    try {
        PgClient(server_, u"postgres"_s, std::make_shared<PoolSettings>()).dropDatabase(workName_);
    } catch (const DbError&) {
        // A working database left behind holds no company: its name says so.
    }
}

void PendingDatabase::commit(bool replace)
{
    PgClient admin(server_, u"postgres"_s, std::make_shared<PoolSettings>());
    const bool exists = !admin.execute(u"SELECT 1 FROM pg_database WHERE datname = $1"_s, {code_}).rows.isEmpty();
    const QString place = server_.label() + u'/' + code_;
    if (exists && !replace)
        throw DbError(err::Unspecified, u"'%1' already exists; it is left as it is."_s.arg(place), DbError::Kind::Database, place,
                      u"the database already exists"_s);
    // The earlier database steps aside under a working name, and is dropped only once the new
    // one has its name; if the new one cannot take it, the earlier one takes it back.
    const QString aside = workName_ + u"_old"_s;
    if (exists) admin.renameDatabase(code_, aside);
    try {
        admin.renameDatabase(workName_, code_);
    } catch (const DbError&) {
        if (exists) admin.renameDatabase(aside, code_);
        throw;
    }
    committed_ = true;
    if (exists) admin.dropDatabase(aside);
}

}  // namespace belmo::db
