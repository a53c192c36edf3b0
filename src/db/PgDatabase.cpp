#include "db/PgDatabase.h"

#include <QRegularExpression>

#include "db/ConnectionString.h"
#include "db/JetDialect.h"
#include "db/PgDialect.h"
#include "db/Schema.h"
#include "db/ServerSql.h"

namespace belmo::db {

namespace {

// A statement of a server database as the recordsets see it: it runs when its first row is
// asked for, with the values bound by then, and its answer is walked row by row.
class PgCursor final : public Cursor {
public:
    PgCursor(PgDatabase& db, std::shared_ptr<const PgPrepared> statement) : db_(db), st_(std::move(statement)) {}

    void bind(int index, const Value& v) override
    {
        if (params_.size() < index) params_.resize(index);
        params_[index - 1] = v;
    }
    bool step() override
    {
        if (!ran_) {
            result_ = db_.execute(*st_, params_);
            ran_ = true;
        }
        return ++row_ < result_.rows();
    }
    int columnCount() const override { return st_->columns.size(); }
    ColumnInfo column(int i) const override
    {
        // Names as the schema declares them, or as the statement spells them: the server keeps
        // them in lower case. An expression without an alias has no name (Jet numbers it).
        const PgColumn& c = st_->columns[i];
        ColumnInfo info{pg::resultSpelling(st_->sql, c.name, c.table != 0), {}, {}, FieldType::Unknown};
        if (c.table != 0) {
            const QString table = db_.tableName(c.table);
            info.table = pg::tableSpelling(table);
            info.column = pg::columnSpelling(table, db_.columnName(c.table, c.tableColumn));
            if (info.name.compare(info.column, Qt::CaseInsensitive) == 0) info.name = info.column;
            info.type = db_.fieldType(c.type);
        }
        return info;
    }
    Value value(int i, FieldType) const override { return result_.value(row_, i); }
    qint64 rowId(int i) const override { return result_.isNull(row_, i) ? kNoRow : PgDatabase::rowIdOf(result_.text(row_, i)); }
    QString nativeText() const override { return st_->sql; }

private:
    PgDatabase& db_;
    std::shared_ptr<const PgPrepared> st_;
    QList<Value> params_;
    PgResult result_;
    bool ran_ = false;
    int row_ = -1;
};

QString textOf(const Value& v) { return v.type() == Value::Type::Text ? v.textValue() : QString(); }

}  // namespace

PgDatabase::Verb PgDatabase::verbOf(const QString& sql)
{
    Verb verb;
    int words = 0;
    const QList<jet::Token> tokens = jet::tokenize(sql);
    qsizetype i = 0;
    for (; i < tokens.size(); ++i) {
        const jet::Token& t = tokens[i];
        if (t.kind == jet::Token::Space) continue;
        if (t.kind != jet::Token::Word && t.kind != jet::Token::QuotedName) break;
        const QString w = t.kind == jet::Token::QuotedName ? t.text.mid(1, t.text.size() - 2) : t.text.toUpper();
        if (words == 0) verb.word = w;
        else if ((verb.word == u"UPDATE" && words == 1) || ((verb.word == u"INSERT" || verb.word == u"DELETE") && words == 2))
            verb.table = t.kind == jet::Token::QuotedName ? w : t.text;
        if (++words > 2) break;
    }
    static const QRegularExpression temporary(QStringLiteral("^\\s*(CREATE\\s+TEMP(ORARY)?\\s|DROP\\s+VIEW\\s+pg_temp\\.)"),
                                              QRegularExpression::CaseInsensitiveOption);
    verb.temporaryObject = temporary.match(sql).hasMatch();
    const schema::Table* table = verb.word == u"INSERT" ? schema::findTable(schema::companyTables(), verb.table) : nullptr;
    for (++i; table && i < tokens.size() && tokens[i].kind == jet::Token::Space; ++i) {
    }
    if (!table || i >= tokens.size() || tokens[i].kind != jet::Token::LParen) return verb;
    // The INSERT's column list: does it give the table's AutoNumber column its value?
    QStringList columns;
    for (++i; i < tokens.size() && tokens[i].kind != jet::Token::RParen; ++i)
        if (tokens[i].kind == jet::Token::Word) columns << tokens[i].text;
        else if (tokens[i].kind == jet::Token::QuotedName) columns << tokens[i].text.mid(1, tokens[i].text.size() - 2);
    for (const schema::Column& c : table->columns)
        if (c.kind == schema::Kind::AutoNumber && columns.contains(c.name, Qt::CaseInsensitive)) verb.autoNumberGiven = c.name;
    return verb;
}

PgDatabase::PgDatabase(const ConnectionString& server, std::shared_ptr<const PoolSettings> settings)
    : client_(
          [&] {
              if (!isPlainDatabaseCode(server.database))
                  throw DbError(err::InvalidCall,
                                QStringLiteral("The company code '%1' is not a plain code.").arg(server.database),
                                DbError::Kind::Database, server.dataSource);
              return PgServer{server.host, server.port, server.user, server.password};
          }(),
          server.database, std::move(settings)),
      readOnly_(server.readOnly)
{
    for (const QString& sql : pg::sessionStatements()) query(sql);
    if (readOnly_) query(QStringLiteral("SET default_transaction_read_only = on"));
    upgradeDialect();
}

// A company made by an earlier version of the program gets this version's dialect functions
// when it is first opened, even by a session that reads only: they are the program's, not the
// company's data, and compare and convert as the earlier ones did, only faster. A login that
// may not replace them (not their owner, or another session replacing them at the same moment)
// goes on with the earlier ones.
void PgDatabase::upgradeDialect()
{
    const PgRows installed = query(QStringLiteral(
        "SELECT p.prosrc FROM pg_proc p JOIN pg_namespace n ON n.oid = p.pronamespace "
        "WHERE n.nspname = 'belmo' AND p.proname = 'version'"));
    if (installed.rows.isEmpty()) return;  // no company database, or one still being made
    if (QString(installed.rows[0].value(0).textValue()).remove(QStringLiteral("SELECT")).trimmed().toInt() >= pg::kDialectVersion)
        return;
    try {
        client_.begin();  // READ WRITE, whatever the session's default
        for (const QString& sql : pg::installStatements()) query(sql);
        client_.commit();
    } catch (const DbError&) {
        if (client_.inTransaction()) client_.rollback();
    }
}

PgRows PgDatabase::query(const QString& sql, const QList<Value>& params) { return client_.execute(sql, params); }

template <typename Work>
auto PgDatabase::guarded(Work work)
{
    // A statement the server refuses takes the transaction down with it: inside one, each is
    // prepared and run in a savepoint of its own, and a failure takes back only the statement.
    if (depth_ == 0) return work();
    query(QStringLiteral("SAVEPOINT belmo_statement"));
    try {
        auto result = work();
        query(QStringLiteral("RELEASE SAVEPOINT belmo_statement"));
        return result;
    } catch (const DbError&) {
        query(QStringLiteral("ROLLBACK TO SAVEPOINT belmo_statement"));
        query(QStringLiteral("RELEASE SAVEPOINT belmo_statement"));
        throw;
    }
}

Statement PgDatabase::prepare(const QString& accessSql) { return prepared(QStringLiteral("\x01") + accessSql, accessSql, true); }

Statement PgDatabase::prepareNative(const QString& sql) { return prepared(sql, sql, false); }

// A statement is rewritten and prepared on the session once per text as given: a recordset that
// reads row after row by id asks for the same text every time.
Statement PgDatabase::prepared(const QString& key, const QString& sql, bool access)
{
    std::shared_ptr<const PgPrepared> statement = statements_.value(key);
    if (!statement) {
        const QString text = access ? pg::rewrite(sql) : jet::serverNames(sql);
        statement = guarded([&] { return client_.prepare(text); });
        statements_.insert(key, statement);
    }
    return std::make_unique<PgCursor>(*this, std::move(statement));
}

PgResult PgDatabase::execute(const PgPrepared& statement, const QList<Value>& params)
{
    if (params.size() > statement.parameters) {  // the program's defect: nothing runs
        const QString cause = QStringLiteral("a value bound to no parameter of the statement (it has %1)").arg(statement.parameters);
        throw DbError(err::Unspecified, cause + QStringLiteral(" [%1; SQL: %2]").arg(path(), statement.sql.left(300)),
                      DbError::Kind::Database, path(), cause);
    }
    return depth_ == 0 ? client_.run(statement, params) : client_.runInSavepoint(statement, params);
}

void PgDatabase::run(Cursor& st)
{
    auto known = verbs_.find(st.nativeText());
    if (known == verbs_.end()) known = verbs_.insert(st.nativeText(), verbOf(st.nativeText()));
    const Verb& verb = *known;
    if (!verb.table.isEmpty()) beforeWrite(verb.table);
    // A read-only session refuses even its own temporary views; they are this session's alone,
    // so outside a transaction one is made (or dropped) in a short writing transaction.
    if (readOnly_ && depth_ == 0 && verb.temporaryObject) {
        query(QStringLiteral("BEGIN READ WRITE"));
        try {
            st.runToEnd();
        } catch (const DbError&) {
            query(QStringLiteral("ROLLBACK"));
            throw;
        }
        query(QStringLiteral("COMMIT"));
    } else {
        st.runToEnd();
    }
    // A number written into an AutoNumber column moves the column's next number past it, as on
    // a file: the next row added without one must not take it again.
    if (!verb.autoNumberGiven.isEmpty()) followKeys(verb.table, verb.autoNumberGiven);
    if (verb.word == u"CREATE" || verb.word == u"DROP" || verb.word == u"ALTER") {
        // What the statements prepared so far read may have changed its columns.
        shapes_.clear();
        statements_.clear();
        client_.forgetPrepared();
    }
}

void PgDatabase::beginTransaction()
{
    // A read-only session's transaction is read-only too: its writes are refused, as a file
    // opened read-only refuses them.
    if (depth_ == 0 && readOnly_) query(QStringLiteral("BEGIN READ ONLY"));
    else if (depth_ == 0) client_.begin();
    else query(QStringLiteral("SAVEPOINT belmo_%1").arg(depth_));
    ++depth_;
}

void PgDatabase::beginReadTransaction()
{
    if (depth_ == 0) client_.beginSnapshot();
    else query(QStringLiteral("SAVEPOINT belmo_%1").arg(depth_));
    ++depth_;
}

void PgDatabase::commitTransaction()
{
    if (depth_ == 0) return;
    if (depth_ == 1) {
        // The depth goes back whatever the commit does: a failed commit has ended the transaction.
        depth_ = 0;
        afterEnd();
        client_.commit();
        return;
    }
    --depth_;
    query(QStringLiteral("RELEASE SAVEPOINT belmo_%1").arg(depth_));
}

void PgDatabase::rollbackTransaction()
{
    if (depth_ == 0) return;
    if (--depth_ == 0) {
        afterEnd();
        if (client_.inTransaction()) client_.rollback();
        return;
    }
    query(QStringLiteral("ROLLBACK TO SAVEPOINT belmo_%1").arg(depth_));
    query(QStringLiteral("RELEASE SAVEPOINT belmo_%1").arg(depth_));
}

void PgDatabase::afterEnd() { lockedTables_.clear(); }

void PgDatabase::beforeWrite(const QString& table)
{
    // Other writers wait until the step ends; readers go on. Outside a transaction a write is
    // its own transaction and needs nothing more.
    if (depth_ == 0 || readOnly_ || lockedTables_.contains(table.toLower())) return;
    query(QStringLiteral("LOCK TABLE %1 IN SHARE ROW EXCLUSIVE MODE").arg(pg::quotedName(pg::folded(table))));
    lockedTables_.insert(table.toLower());
}

void PgDatabase::followKeys(const QString& table, const QString& column)
{
    // The identity's sequence gives the highest number plus one next (1 for an empty table), and
    // never a number it gave before: as a file's AUTOINCREMENT, numbers are not used again.
    const QString name = pg::folded(column);
    query(QStringLiteral("SELECT setval(q.s, greatest((SELECT coalesce(max(%1), 0) FROM %2) + 1, "
                         "coalesce(pg_sequence_last_value(q.s) + 1, 1)), false) "
                         "FROM (SELECT pg_get_serial_sequence($1, $2)::regclass AS s) q")
              .arg(pg::quotedName(name), pg::quotedName(pg::folded(table))),
          {pg::quotedName(pg::folded(table)), name});
}

qint64 PgDatabase::lastInsertRowId()
{
    const PgRows rows = query(QStringLiteral("SELECT lastval()"));
    const Value id = rows.rows.value(0).value(0);
    return id.type() == Value::Type::Int ? id.intValue() : 0;
}

QStringList PgDatabase::columns(const QString& table)
{
    const PgRows rows = query(QStringLiteral(
        "SELECT a.attname::text FROM pg_attribute a JOIN pg_class c ON c.oid = a.attrelid "
        "JOIN pg_namespace n ON n.oid = c.relnamespace "
        "WHERE lower(c.relname) = lower($1) AND (n.nspname = 'public' OR n.oid = pg_my_temp_schema()) "
        "AND a.attnum > 0 AND NOT a.attisdropped ORDER BY n.nspname = 'public', a.attnum"),
        {table});
    QStringList names;
    for (const QList<Value>& row : rows.rows) names << textOf(row.value(0));
    return names;
}

bool PgDatabase::hasObject(const QString& schema, const QString& type, const QString& name)
{
    const QString kind = type == u"view" ? QStringLiteral("v") : QStringLiteral("r");
    const QString where = schema == u"temp" ? QStringLiteral("c.relnamespace = pg_my_temp_schema()")
                                            : QStringLiteral("c.relnamespace = 'public'::regnamespace");
    return !query(QStringLiteral("SELECT 1 FROM pg_class c WHERE %1 AND c.relkind = $1::\"char\" AND lower(c.relname) = lower($2)")
                      .arg(where),
                  {kind, name})
                .rows.isEmpty();
}

Value PgDatabase::rowIdValue(qint64 id) const
{
    return Value(QStringLiteral("(%1,%2)").arg(id >> 16).arg(id & 0xFFFF));
}

qint64 PgDatabase::rowIdOf(const QByteArray& text)
{
    const QList<QByteArray> parts = text.mid(1, text.size() - 2).split(',');
    return parts.size() == 2 ? (parts[0].toLongLong() << 16) | parts[1].toLongLong() : kNoRow;
}

QString PgDatabase::tableName(unsigned table)
{
    auto it = tableNames_.find(table);
    if (it == tableNames_.end())
        it = tableNames_.insert(
            table, textOf(query(QStringLiteral("SELECT relname::text FROM pg_class WHERE oid = $1::oid"), {qint64(table)}).rows.value(0).value(0)));
    return *it;
}

QString PgDatabase::columnName(unsigned table, int column)
{
    const QPair<unsigned, int> key(table, column);
    auto it = columnNames_.find(key);
    if (it == columnNames_.end())
        it = columnNames_.insert(key, textOf(query(QStringLiteral("SELECT attname::text FROM pg_attribute "
                                                                  "WHERE attrelid = $1::oid AND attnum = $2::int"),
                                                   {qint64(table), qint64(column)})
                                                 .rows.value(0)
                                                 .value(0)));
    return *it;
}

FieldType PgDatabase::fieldType(unsigned type)
{
    auto it = types_.find(type);
    if (it != types_.end()) return *it;
    const QString name =
        textOf(query(QStringLiteral("SELECT typname::text FROM pg_type WHERE oid = $1::oid"), {qint64(type)}).rows.value(0).value(0));
    return *types_.insert(type, pg::fieldTypeOf(name));
}

std::shared_ptr<const void> PgDatabase::shape(const QString& key) { return shapes_.value(key); }

void PgDatabase::keepShape(const QString& key, std::shared_ptr<const void> shape) { shapes_.insert(key, std::move(shape)); }

}  // namespace belmo::db
