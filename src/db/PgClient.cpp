#include "db/PgClient.h"

#include "db/ConnectionString.h"

#include <libpq-fe.h>

#include <poll.h>

#include <cerrno>
#include <vector>

namespace belmo::db {

namespace {

constexpr int kLockPollMs = 50;
constexpr int kLongestName = 63;  // bytes of an identifier the server keeps; it cuts longer ones

// The type numbers of the server's catalog that the values map to.
enum : Oid { kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kOid = 26, kFloat4 = 700, kFloat8 = 701,
             kDate = 1082, kTimestamp = 1114, kNumeric = 1700 };

const QString kNoAnswer = QStringLiteral("Server Cevap Vermedi. Lütfen Ayarlarınızı Kontrol Ediniz.");

using Result = std::unique_ptr<PGresult, void (*)(PGresult*)>;

QString firstLine(const char* text)
{
    return QString::fromUtf8(text).section(u'\n', 0, 0).trimmed();
}

QString tail(const QString& sql)
{
    return sql.size() > 300 ? sql.left(300) + QStringLiteral("...") : sql;
}

// The keyword/value pairs of a session: every value is passed as it is, none is parsed as a
// connection string. Empty values are left to libpq's defaults. The date style is fixed so that
// the dates the server writes can be read back.
class Keywords {
public:
    Keywords(const PgServer& server, const QString& database, int lockTimeoutMs)
        : texts_{server.host.toUtf8(), server.port > 0 ? QByteArray::number(server.port) : QByteArray(),
                 server.user.toUtf8(), server.password.toUtf8(), database.toUtf8(), server.applicationName.toUtf8(),
                 QByteArrayLiteral("UTF8"),
                 "-c datestyle=ISO,DMY -c lock_timeout=" + QByteArray::number(std::max(lockTimeoutMs, 1))}
    {
        for (const QByteArray& t : texts_) values_.push_back(t.constData());
        values_.push_back(nullptr);
    }
    const char* const* keywords() const
    {
        static const char* const names[] = {"host",   "port",          "user",   "password", "dbname", "application_name",
                                            "client_encoding", "options", nullptr};
        return names;
    }
    const char* const* values() const { return values_.data(); }

private:
    std::vector<QByteArray> texts_;
    std::vector<const char*> values_;
};

// How a failure the server reports by its SQLSTATE is numbered: the provider's number for the
// same failure of a file, the kind, and the words before the server's message. The first rule
// whose prefix the state starts with applies.
struct StateRule {
    const char* prefix;
    qint32 number;
    DbError::Kind kind;
    const char* words;
};
constexpr DbError::Kind kField = DbError::Kind::Field;
constexpr DbError::Kind kDatabase = DbError::Kind::Database;
constexpr StateRule kStateRules[] = {
    {"22018", err::CriteriaMismatch, kField, ""},  // a conversion of the dialect's functions failed
    {"22", err::MultipleStep, kField, ""},         // a value that does not fit its column
    {"23", err::Unspecified, kField, ""},   // a constraint of the row
    {"42P01", err::NoSuchTable, kDatabase, "Table or query not found: "},
    {"42703", err::MissingParameter, kDatabase, "No value given for one or more required parameters: "},
    {"42601", err::Syntax, kDatabase, "Syntax error: "},
    {"42P07", err::Syntax, kDatabase, "Syntax error: "},  // already exists
    {"42883", err::Syntax, kDatabase, "Syntax error: "},  // no such function
    {"55P03", err::Unspecified, kDatabase, "database is locked by another program: "},
    {"40P01", err::Unspecified, kDatabase, "database is locked by another program: "},
    {"25006", err::Unspecified, kDatabase, "the database is read-only: "},
    {"53100", err::Unspecified, kDatabase, "the server's disk is full: "},
    {"", err::Unspecified, kDatabase, ""},
};

const StateRule& ruleOf(const QByteArray& state)
{
    for (const StateRule& rule : kStateRules)
        if (state.startsWith(rule.prefix)) return rule;
    return kStateRules[std::size(kStateRules) - 1];
}

// A value as the server reads it in text form, with its type where the server cannot tell it
// from the statement (0 lets the server choose, as for a quoted literal).
struct Param {
    QByteArray text;
    Oid type = 0;
    bool null = false;
};

Param paramOf(const Value& v)
{
    switch (v.type()) {
    case Value::Type::Empty:
    case Value::Type::Null: return {{}, 0, true};
    case Value::Type::Bool: return {v.boolValue() ? "t" : "f", kBool};
    case Value::Type::Int: return {QByteArray::number(v.intValue()), kInt8};
    case Value::Type::Double: return {QByteArray::number(v.doubleValue(), 'g', 17), kFloat8};
    case Value::Type::Text: return {v.textValue().toUtf8(), 0};
    case Value::Type::Date: return {v.dateValue().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toLatin1(), kTimestamp};
    }
    return {{}, 0, true};
}

// A field of a row as a value; a date the client cannot read (infinity, before Christ) stays text.
Value valueOf(const PGresult* r, int row, int column)
{
    if (PQgetisnull(r, row, column)) return Value::null();
    const QByteArray text(PQgetvalue(r, row, column), PQgetlength(r, row, column));
    switch (PQftype(r, column)) {
    case kBool: return Value(text == "t");
    case kInt2:
    case kInt4:
    case kInt8:
    case kOid: return Value(text.toLongLong());
    case kFloat4:
    case kFloat8:
    case kNumeric: return Value(text.toDouble());
    case kDate:
        if (const QDate d = QDate::fromString(QString::fromLatin1(text), Qt::ISODate); d.isValid()) return Value(d);
        break;
    case kTimestamp:
        if (const QDateTime t = QDateTime::fromString(QString::fromLatin1(text).replace(u' ', u'T'), Qt::ISODateWithMs);
            t.isValid())
            return Value(t);
        break;
    }
    return Value(QString::fromUtf8(text));
}

PgRows rowsOf(const PGresult* r)
{
    PgRows rows;
    const int columns = PQnfields(r);
    for (int c = 0; c < columns; ++c) rows.columns.append(QString::fromUtf8(PQfname(r, c)));
    for (int i = 0, n = PQntuples(r); i < n; ++i) {
        QList<Value>& row = rows.rows.emplace_back();
        row.reserve(columns);
        for (int c = 0; c < columns; ++c) row.append(valueOf(r, i, c));
    }
    rows.affected = QByteArray(PQcmdTuples(const_cast<PGresult*>(r))).toLongLong();
    return rows;
}

}  // namespace

QString PgServer::label() const
{
    return port > 0 ? QStringLiteral("%1:%2").arg(host).arg(port) : host;
}

bool isPlainDatabaseCode(const QString& code)
{
    return isPlainCode(code) && code.toUtf8().size() <= kLongestName;
}

void PgClient::Closer::operator()(pg_conn* conn) const noexcept { PQfinish(conn); }

void PgClient::ClearResult::operator()(pg_result* r) const noexcept { PQclear(r); }

PgClient::PgClient(const PgServer& server, const QString& database, std::shared_ptr<const PoolSettings> settings)
    : server_(server), name_(server.label() + u'/' + database), settings_(std::move(settings))
{
    lockTimeoutMs_ = settings_->lockTimeoutMs;
    conn_ = open(server_, database, lockTimeoutMs_);
}

PgClient::~PgClient() = default;

PgClient::Handle PgClient::open(const PgServer& server, const QString& database, int lockTimeoutMs)
{
    const Keywords params(server, database, lockTimeoutMs);
    Handle conn(PQconnectdbParams(params.keywords(), params.values(), 0));
    if (!conn) throw DbError(err::Unspecified, QStringLiteral("Out of memory."), kDatabase);
    if (PQstatus(conn.get()) == CONNECTION_OK) {
        // The server's notices ("... already exists, skipping") are no business of the user's.
        PQsetNoticeProcessor(conn.get(), [](void*, const char*) {}, nullptr);
        return conn;
    }

    const QString name = server.label() + u'/' + database;
    const QString cause = firstLine(PQerrorMessage(conn.get()));
    if (PQconnectionNeedsPassword(conn.get()))
        throw DbError(err::InvalidPassword, QStringLiteral("Not a valid password for '%1'.").arg(name), kDatabase, name, cause);
    if (PQpingParams(params.keywords(), params.values(), 0) == PQPING_NO_RESPONSE)
        throw DbError(err::Unspecified, kNoAnswer, kDatabase, name, cause);
    throw DbError(err::Unspecified, QStringLiteral("Cannot open '%1': %2").arg(name, cause), kDatabase, name, cause);
}

bool PgClient::inTransaction() const { return PQtransactionStatus(conn_.get()) != PQTRANS_IDLE; }

void PgClient::begin() { execute(QStringLiteral("BEGIN READ WRITE")); }

void PgClient::beginSnapshot() { execute(QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY")); }

void PgClient::commit()
{
    // The server answers COMMIT of a failed transaction by rolling it back, without an error.
    if (PQtransactionStatus(conn_.get()) == PQTRANS_INERROR) {
        rollback();
        const QString cause = QStringLiteral("the transaction was rolled back by the database");
        throw DbError(err::Unspecified, cause + QStringLiteral(" [%1; SQL: COMMIT]").arg(name_), kDatabase, name_, cause);
    }
    execute(QStringLiteral("COMMIT"));
}

void PgClient::rollback()
{
    execute(QStringLiteral("ROLLBACK"));
    lockTimeoutMs_ = -1;  // a change of the setting inside the transaction went with it
}

void PgClient::createDatabase(const QString& code) { databaseStatement("CREATE DATABASE ", code); }

void PgClient::dropDatabase(const QString& code) { databaseStatement("DROP DATABASE ", code); }

void PgClient::databaseStatement(const char* verb, const QString& code)
{
    execute(QLatin1String(verb) + databaseName(code));
}

void PgClient::renameDatabase(const QString& code, const QString& newCode)
{
    const QString from = databaseName(code);
    execute(QStringLiteral("ALTER DATABASE %1 RENAME TO %2").arg(from, databaseName(newCode)));
}

QString PgClient::databaseName(const QString& code)
{
    if (!isPlainDatabaseCode(code))
        throw DbError(err::InvalidCall,
                      QStringLiteral("The company code '%1' is not a plain code (use letters, digits, '_' and '-', "
                                     "at most 50 characters, 63 bytes).")
                          .arg(code),
                      kDatabase, name_);
    const QByteArray utf8 = code.toUtf8();
    const std::unique_ptr<char, void (*)(void*)> quoted(PQescapeIdentifier(conn_.get(), utf8.constData(), utf8.size()),
                                                        PQfreemem);
    if (!quoted) throw DbError(err::Unspecified, firstLine(PQerrorMessage(conn_.get())), kDatabase, name_);
    return QString::fromUtf8(quoted.get());
}

void PgClient::applyLockTimeout()
{
    if (settings_->lockTimeoutMs == lockTimeoutMs_) return;
    lockTimeoutMs_ = settings_->lockTimeoutMs;
    execute(QStringLiteral("SELECT set_config('lock_timeout', $1, false)"),
            {QString::number(std::max(lockTimeoutMs_, 1))});
}

template <typename Send>
std::unique_ptr<pg_result, PgClient::ClearResult> PgClient::exchange(const QString& sql, Send send)
{
    if (!send(conn_.get())) throw failure(nullptr, sql, {});
    Outcome outcome = await();
    if (outcome.cancelled) throw Cancelled();
    if (!succeeded(outcome.results[0].get())) throw failure(outcome.results[0].get(), sql, outcome.holders);
    return std::move(outcome.results[0]);
}

bool PgClient::succeeded(const pg_result* r)
{
    const ExecStatusType status = r ? PQresultStatus(r) : PGRES_FATAL_ERROR;
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

namespace {

// The bound values as the server's call takes them: texts (Null as a null pointer) and types.
struct BoundValues {
    explicit BoundValues(const QList<Value>& params, bool typed)
    {
        bound.reserve(params.size());
        for (const Value& v : params) {
            Param p = paramOf(v);
            if (!typed) {
                p.type = 0;
                if (v.type() == Value::Type::Bool) p.text = v.boolValue() ? "-1" : "0";  // Jet's True
            }
            bound.push_back(std::move(p));
        }
        for (const Param& p : bound) {
            values.push_back(p.null ? nullptr : p.text.constData());
            types.push_back(p.type);
        }
    }
    int count() const { return int(bound.size()); }
    std::vector<Param> bound;
    std::vector<const char*> values;
    std::vector<Oid> types;
};

}  // namespace

PgRows PgClient::execute(const QString& sql, const QList<Value>& params)
{
    applyLockTimeout();
    const BoundValues b(params, true);
    const QByteArray text = sql.toUtf8();
    const auto result = exchange(sql, [&](pg_conn* conn) {
        return PQsendQueryParams(conn, text.constData(), b.count(), b.types.data(), b.values.data(), nullptr, nullptr, 0);
    });
    return rowsOf(result.get());
}

std::shared_ptr<const PgPrepared> PgClient::prepare(const QString& sql)
{
    auto statement = std::make_shared<PgPrepared>();
    statement->name = "s" + QByteArray::number(++statements_);
    statement->sql = sql;
    const QByteArray text = sql.toUtf8();
    exchange(sql, [&](pg_conn* conn) { return PQsendPrepare(conn, statement->name.constData(), text.constData(), 0, nullptr); });
    const auto described = exchange(sql, [&](pg_conn* conn) { return PQsendDescribePrepared(conn, statement->name.constData()); });
    for (int c = 0, n = PQnfields(described.get()); c < n; ++c)
        statement->columns.append({QString::fromUtf8(PQfname(described.get(), c)), PQftable(described.get(), c),
                                   PQftablecol(described.get(), c), PQftype(described.get(), c)});
    statement->parameters = PQnparams(described.get());
    return statement;
}

PgResult PgClient::run(const PgPrepared& statement, const QList<Value>& params)
{
    applyLockTimeout();
    const BoundValues b(params, false);
    auto result = exchange(statement.sql, [&](pg_conn* conn) {
        return PQsendQueryPrepared(conn, statement.name.constData(), b.count(), b.values.data(), nullptr, nullptr, 0);
    });
    return PgResult(result.release());
}

PgResult PgClient::runInSavepoint(const PgPrepared& statement, const QList<Value>& params)
{
    applyLockTimeout();
    const BoundValues b(params, false);
    if (!savepointsPrepared_) {
        // Prepared once a session, as the server parses a statement text every time it is sent.
        exchange(QStringLiteral("SAVEPOINT"), [](pg_conn* c) { return PQsendPrepare(c, "belmo_save", "SAVEPOINT belmo_statement", 0, nullptr); });
        exchange(QStringLiteral("RELEASE SAVEPOINT"), [](pg_conn* c) {
            return PQsendPrepare(c, "belmo_release", "RELEASE SAVEPOINT belmo_statement", 0, nullptr);
        });
        savepointsPrepared_ = true;
    }
    pg_conn* conn = conn_.get();
    auto prepared = [conn](const char* name) { return PQsendQueryPrepared(conn, name, 0, nullptr, nullptr, nullptr, 0); };
    const bool sent = PQenterPipelineMode(conn) && prepared("belmo_save") &&
                      PQsendQueryPrepared(conn, statement.name.constData(), b.count(), b.values.data(), nullptr, nullptr, 0) &&
                      prepared("belmo_release") && PQpipelineSync(conn);
    Outcome outcome;
    if (sent) outcome = await(3);
    PQexitPipelineMode(conn);
    if (!sent) throw failure(nullptr, statement.sql, {});
    const bool saved = succeeded(outcome.results[0].get());
    if (saved && succeeded(outcome.results[1].get()) && succeeded(outcome.results[2].get()))
        return PgResult(outcome.results[1].release());
    // The statement's failure is told after the transaction is back where it was before it.
    const DbError error = !saved ? failure(outcome.results[0].get(), QStringLiteral("SAVEPOINT"), {})
                          : !succeeded(outcome.results[1].get())
                              ? failure(outcome.results[1].get(), statement.sql, outcome.holders)
                              : failure(outcome.results[2].get(), QStringLiteral("RELEASE SAVEPOINT"), {});
    if (saved && PQstatus(conn) == CONNECTION_OK) {
        execute(QStringLiteral("ROLLBACK TO SAVEPOINT belmo_statement"));
        execute(QStringLiteral("RELEASE SAVEPOINT belmo_statement"));
    }
    if (outcome.cancelled) throw Cancelled();
    throw error;
}

void PgClient::forgetPrepared()
{
    if (statements_ == 0 && !savepointsPrepared_) return;
    execute(QStringLiteral("DEALLOCATE ALL"));
    savepointsPrepared_ = false;
}

PgResult::PgResult(pg_result* r) : result_(r, Clear()) {}

void PgResult::Clear::operator()(pg_result* r) const noexcept { PQclear(r); }

int PgResult::rows() const { return result_ ? PQntuples(result_.get()) : 0; }

Value PgResult::value(int row, int column) const { return valueOf(result_.get(), row, column); }

bool PgResult::isNull(int row, int column) const { return PQgetisnull(result_.get(), row, column); }

QByteArray PgResult::text(int row, int column) const
{
    return QByteArray(PQgetvalue(result_.get(), row, column), PQgetlength(result_.get(), row, column));
}

PgClient::Outcome PgClient::await(int pipelined)
{
    pg_conn* conn = conn_.get();
    Outcome outcome;
    outcome.results.resize(std::max(1, pipelined));
    size_t current = 0;  // the statement whose answer comes next
    int waitedMs = 0;
    for (;;) {
        while (PQconsumeInput(conn) && PQisBusy(conn)) {
            pollfd socket{PQsocket(conn), POLLIN, 0};
            const int ready = ::poll(&socket, 1, kLockPollMs);
            if (ready != 0 || outcome.cancelled) continue;
            // A slice gone without an answer: if the statement waits for a lock, who holds it is said.
            const QString holders = lockHolders(PQbackendPID(conn));
            if (holders.isEmpty()) continue;
            outcome.holders = holders;
            waitedMs += kLockPollMs;
            if (settings_->onLockWait && !settings_->onLockWait(name_, waitedMs)) {
                outcome.cancelled = true;
                if (PGcancel* cancel = PQgetCancel(conn)) {
                    char message[256];
                    PQcancel(cancel, message, sizeof message);
                    PQfreeCancel(cancel);
                }
            }
        }
        PGresult* r = PQgetResult(conn);
        if (!r) {  // the end of one statement's answers
            if (pipelined == 0 || PQstatus(conn) != CONNECTION_OK) break;
            ++current;
            continue;
        }
        if (PQresultStatus(r) == PGRES_PIPELINE_SYNC) {
            PQclear(r);
            break;
        }
        // The last answer, or the first failure, of the statement.
        Answer& kept = outcome.results[std::min(current, outcome.results.size() - 1)];
        if (!kept || PQresultStatus(kept.get()) != PGRES_FATAL_ERROR) kept.reset(r);
        else PQclear(r);
    }
    return outcome;
}

QString PgClient::lockHolders(int pid)
{
    if (!watcher_) {
        PgServer watcher = server_;
        watcher.applicationName += QStringLiteral(" (lock watch)");
        try {
            watcher_ = open(watcher, QStringLiteral("postgres"), 1);
        } catch (const DbError&) {
            return {};  // a full server: the wait goes on untold, and ends at the server's lock timeout
        }
    }
    const QByteArray pidText = QByteArray::number(pid);
    const char* values[] = {pidText.constData()};
    const Result r(PQexecParams(watcher_.get(),
                                "SELECT coalesce(application_name, ''), coalesce(usename::text, ''), pid "
                                "FROM pg_stat_activity WHERE pid = ANY (pg_blocking_pids($1::int)) ORDER BY pid",
                                1, nullptr, values, nullptr, nullptr, 0),
                   PQclear);
    if (PQresultStatus(r.get()) != PGRES_TUPLES_OK) {
        watcher_.reset();  // opened again at the next slice
        return {};
    }
    QStringList holders;
    for (int i = 0, n = PQntuples(r.get()); i < n; ++i)
        holders.append(QStringLiteral("%1 (user %2, session %3)")
                           .arg(QString::fromUtf8(PQgetvalue(r.get(), i, 0)), QString::fromUtf8(PQgetvalue(r.get(), i, 1)),
                                QString::fromUtf8(PQgetvalue(r.get(), i, 2))));
    return holders.join(QStringLiteral(", "));
}

DbError PgClient::failure(const PGresult* result, const QString& sql, const QString& holders) const
{
    const QString where = QStringLiteral("[%1; SQL: %2]").arg(name_, tail(sql));
    // No answer at all: the session is gone.
    if (!result || PQstatus(conn_.get()) == CONNECTION_BAD) {
        const QString cause = QStringLiteral("the connection to the server was lost: ") + firstLine(PQerrorMessage(conn_.get()));
        return DbError(err::Unspecified, kNoAnswer + u' ' + where, kDatabase, name_, cause);
    }
    const QByteArray state(PQresultErrorField(result, PG_DIAG_SQLSTATE));
    const StateRule& rule = ruleOf(state);
    QString cause = QString::fromUtf8(PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY));
    if (state == "55P03")
        cause = QStringLiteral("waited %1 s").arg(settings_->lockTimeoutMs / 1000.0, 0, 'g', 3);
    if (!holders.isEmpty()) cause += QStringLiteral("; held by ") + holders;
    cause = QString::fromUtf8(rule.words) + cause;
    return DbError(rule.number, cause + u' ' + where, rule.kind, name_, cause);
}

}  // namespace belmo::db
