#include "db/SqliteFile.h"

#include "db/Connection.h"
#include "db/JetDialect.h"
#include "db/JetFunctions.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <optional>
#include <thread>
#include <utility>

namespace belmo::db {

namespace {

constexpr int kCacheCapacity = 256;
constexpr int kLockPollMs = 50;
constexpr int kWorkTicks = 100000;  // virtual machine steps between two calls of onLongWork

// A failure that concerns the file as a whole: opening it, reading it at all. The description
// is the provider's text; the cause says in a few words what is wrong with the file.
DbError fileError(const QString& path, const QString& description, const QString& cause)
{
    return DbError(err::Unspecified, description, DbError::Kind::Database, path, cause);
}

// Why a write failed when the system no longer says: a file of the database at the process's
// file size limit (within the largest write SQLite makes), or a disk without room for it.
QString writeLimitCause(const QString& path)
{
    constexpr qint64 kLargestWrite = 65536 + 24;  // a page of the largest size with its WAL frame header
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        for (const char* suffix : {"", "-wal", "-journal"})
            if (const QFileInfo f(path + QLatin1String(suffix)); f.exists() && f.size() + kLargestWrite > qint64(limit.rlim_cur))
                return QStringLiteral("the file size limit is reached");
    struct statvfs disk {};
    if (::statvfs(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), &disk) == 0 &&
        qint64(disk.f_bavail) * qint64(disk.f_frsize) < kLargestWrite)
        return QStringLiteral("the disk is full");
    return {};
}

bool succeeded(int rc) { return rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE; }

QString tail(const QString& sql)
{
    return sql.size() > 300 ? sql.left(300) + QStringLiteral("...") : sql;
}

// The provider's number for a statement that SQLite could not compile or run, and the words
// the provider puts before the cause.
struct StatementFailure {
    qint32 number;
    QString prefix;
};

// SQLite reports a statement it cannot compile with the one result code SQLITE_ERROR, without
// an extended code: a missing table, a missing column, a syntax error and an object that
// already exists look alike to every interface but the message (sqlite3_error_offset only
// points at the token). The provider numbers them apart and the steps branch on those numbers
// (a loader falls back when a column is missing, a view that exists is made again), so this
// is the one place that reads SQLite's message text; the kind never comes from it.
StatementFailure statementFailure(const QString& msg)
{
    if (msg.startsWith(u"no such column"))
        return {err::MissingParameter, QStringLiteral("No value given for one or more required parameters: ")};
    if (msg.startsWith(u"no such table") || msg.startsWith(u"no such view"))
        return {err::NoSuchTable, QStringLiteral("Table or query not found: ")};
    for (const char16_t* syntax : {u"already exists", u"syntax error", u"incomplete input", u"unrecognized token",
                                   u"no such function", u"wrong number of arguments", u"misuse of aggregate",
                                   u"SELECTs to the left and right of"})
        if (msg.contains(syntax)) return {err::Syntax, QStringLiteral("Syntax error: ")};
    return {err::Unspecified, {}};
}

}  // namespace

// ---- owners and the one check -----------------------------------------------------------------

void CloseHandle::operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }

void FinalizeStatement::operator()(sqlite3_stmt* stmt) const noexcept { sqlite3_finalize(stmt); }

void ReturnStatement::operator()(sqlite3_stmt* stmt) const noexcept
{
    if (cached)
        file->giveBack(stmt);
    else
        FinalizeStatement()(stmt);
}

void SqliteStatement::bind(int index, const Value& v) { file().check(bindValue(get(), index, v), get()); }

bool SqliteStatement::step() { return file().check(sqlite3_step(get()), get()) == SQLITE_ROW; }

void SqliteStatement::runToEnd()
{
    while (step()) {
    }
}

namespace {

// A statement of the file as the recordsets see it.
class SqliteCursor final : public Cursor {
public:
    explicit SqliteCursor(SqliteStatement st) : st_(std::move(st)) {}
    SqliteStatement& statement() { return st_; }

    void bind(int index, const Value& v) override { st_.bind(index, v); }
    bool step() override { return st_.step(); }
    int columnCount() const override { return sqlite3_column_count(st_.get()); }
    ColumnInfo column(int i) const override
    {
        ColumnInfo c;
        c.name = QString::fromUtf8(sqlite3_column_name(st_.get(), i));
        if (const char* t = sqlite3_column_table_name(st_.get(), i)) c.table = QString::fromUtf8(t);
        if (const char* o = sqlite3_column_origin_name(st_.get(), i)) c.column = QString::fromUtf8(o);
        c.type = fieldTypeFromDeclared(sqlite3_column_decltype(st_.get(), i));
        return c;
    }
    Value value(int i, FieldType type) const override { return readColumn(st_.get(), i, type); }
    qint64 rowId(int i) const override
    {
        return sqlite3_column_type(st_.get(), i) == SQLITE_NULL ? kNoRow : sqlite3_column_int64(st_.get(), i);
    }
    QString nativeText() const override { return QString::fromUtf8(sqlite3_sql(st_.get())); }

private:
    SqliteStatement st_;
};

}  // namespace

Statement SqliteFile::prepare(const QString& accessSql) { return std::make_unique<SqliteCursor>(compile(accessSql)); }

Statement SqliteFile::prepareNative(const QString& sql) { return std::make_unique<SqliteCursor>(compileNative(sql)); }

void SqliteFile::run(Cursor& st) { runStatement(static_cast<SqliteCursor&>(st).statement()); }

int SqliteFile::check(int rc, sqlite3_stmt* stmt)
{
    if (!succeeded(rc)) fail(rc, stmt, QString::fromUtf8(sqlite3_sql(stmt)));
    return rc;
}

int SqliteFile::check(int rc, const QString& sql)
{
    if (!succeeded(rc)) fail(rc, nullptr, sql);
    return rc;
}

// ---- SqliteFile -------------------------------------------------------------------------------

SqliteFile::SqliteFile(const QString& path, bool readOnly, std::shared_ptr<const PoolSettings> settings)
    : path_(path), settings_(std::move(settings))
{
    const QFileInfo info(path);
    if (!info.exists()) throw fileError(path, QStringLiteral("Could not find file '%1'.").arg(path), QStringLiteral("file not found"));
    if (!info.isFile()) throw fileError(path, QStringLiteral("'%1' is not a file.").arg(path), QStringLiteral("not a file"));
    if (!info.isReadable())
        throw fileError(path, QStringLiteral("Cannot open '%1': no permission to read it.").arg(path),
                        QStringLiteral("no permission to read the file"));
    // A file the program may not write (an archived year on a read-only share) is opened for
    // reading; where not even its companion files can be made, as a file nobody changes.
    const bool writable = !readOnly && info.isWritable();
    QByteArray name = path.toUtf8();
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (!writable) {
        flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI;
        name = "file:" + QUrl::toPercentEncoding(path, "/");
        if (!readOnly && !QFileInfo(info.absolutePath()).isWritable() && !QFileInfo::exists(path + QStringLiteral("-wal")))
            name += "?immutable=1";
    }
    // The handle and the statements are owned by members: a failure below closes them.
    sqlite3* opened = nullptr;
    const int rc = sqlite3_open_v2(name.constData(), &opened, flags, nullptr);
    db_.reset(opened);
    if (rc != SQLITE_OK) {
        const QString msg = db_ ? QString::fromUtf8(sqlite3_errmsg(db_.get())) : QStringLiteral("out of memory");
        const QString cause = db_ ? systemCause(sqlite3_system_errno(db_.get())) : QString();
        throw fileError(path, QStringLiteral("Cannot open '%1': %2").arg(path, msg), cause.isEmpty() ? msg : cause);
    }
    sqlite3_extended_result_codes(db_.get(), 1);  // a write that fails says so; errors branch on rc & 0xff
    sqlite3_busy_handler(db_.get(), &SqliteFile::waitForLock, this);
    sqlite3_progress_handler(db_.get(), kWorkTicks, &SqliteFile::longWork, this);
    check(jet::registerFunctions(db_.get(), &functionFailure_), QStringLiteral("(the dialect's functions)"));
    // The first read proves the file is an SQLite database at all.
    {
        SqliteStatement probe = compileNative(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name='%1'")
                                            .arg(QString::fromLatin1(kKeyTable)));
        probe.step();
        if (sqlite3_column_int(probe.get(), 0) == 0)
            throw fileError(path, QStringLiteral("'%1' is not a database of this program (it carries no password verifier).").arg(path),
                            QStringLiteral("not a database of this program (it carries no password verifier)"));
    }
    execNative(QStringLiteral("PRAGMA synchronous=NORMAL"));
    // Pages read through a memory map save a copy each (a quarter of the time of the
    // balance views over a million movement lines), but every mapped page read counts in
    // the program's memory: the map and the page cache are held to what a large company's
    // carry-forward needs to stay within 400 MB.
    execNative(QStringLiteral("PRAGMA cache_size=-16384"));
    execNative(QStringLiteral("PRAGMA temp_store=MEMORY"));
    execNative(QStringLiteral("PRAGMA mmap_size=134217728"));
}

SqliteFile::~SqliteFile()
{
    // A transaction nobody committed is not kept.
    if (depth_ > 0 && !sqlite3_get_autocommit(db_.get())) sqlite3_exec(db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
}

QByteArray SqliteFile::passwordVerifier(const QByteArray& salt, const QString& password)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(salt);
    hash.addData(password.toUtf8());
    return hash.result().toHex();
}

void SqliteFile::verifyPassword(const QString& password)
{
    if (verifiedPasswords_.contains(password)) return;
    SqliteStatement st = compileNative(QStringLiteral("SELECT salt, verifier FROM %1").arg(QString::fromLatin1(kKeyTable)));
    bool ok = false;
    while (st.step()) {
        const QByteArray salt(static_cast<const char*>(sqlite3_column_blob(st.get(), 0)), sqlite3_column_bytes(st.get(), 0));
        const QByteArray stored(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 1)), sqlite3_column_bytes(st.get(), 1));
        ok |= passwordVerifier(salt, password) == stored;
    }
    if (!ok)
        throw DbError(err::InvalidPassword, QStringLiteral("Not a valid password for '%1'.").arg(path_),
                      DbError::Kind::Database, path_, QStringLiteral("not a valid password"));
    verifiedPasswords_ << password;
}

SqliteStatement SqliteFile::compile(const QString& accessSql)
{
    if (const auto it = byKey_.constFind(accessSql); it != byKey_.cend() && !(*it)->inUse) return lend(*it);
    return prepareCached(accessSql, jet::rewrite(accessSql));
}

SqliteStatement SqliteFile::compileNative(const QString& sqliteSql)
{
    // Native texts are cached apart from Access texts that happen to read the same.
    const QString key = QChar(u'\x01') + sqliteSql;
    if (const auto it = byKey_.constFind(key); it != byKey_.cend() && !(*it)->inUse) return lend(*it);
    return prepareCached(key, sqliteSql);
}

SqliteStatement SqliteFile::prepareCached(const QString& key, const QString& sqliteSql)
{
    sqlite3_stmt* prepared = nullptr;
    const QByteArray utf8 = sqliteSql.toUtf8();
    const int rc = sqlite3_prepare_v2(db_.get(), utf8.constData(), static_cast<int>(utf8.size()), &prepared, nullptr);
    StatementPtr stmt(prepared);
    check(rc, key.startsWith(QChar(u'\x01')) ? sqliteSql : key);
    if (!stmt)  // an empty statement
        throw DbError(err::Syntax, QStringLiteral("Empty SQL statement."));
    if (byKey_.contains(key))  // the cached one is lent out: this one is the borrower's own
        return SqliteStatement(*this, stmt.release(), false);
    if (byKey_.size() >= kCacheCapacity) {
        const auto victim = std::find_if(cache_.rbegin(), cache_.rend(), [](const CacheEntry& e) { return !e.inUse; });
        if (victim == cache_.rend()) return SqliteStatement(*this, stmt.release(), false);
        byKey_.remove(victim->key);
        byStatement_.remove(victim->stmt.get());
        cache_.erase(std::next(victim).base());
    }
    cache_.push_front(CacheEntry{key, std::move(stmt), false});
    byKey_.insert(key, cache_.begin());
    byStatement_.insert(cache_.front().stmt.get(), cache_.begin());
    return lend(cache_.begin());
}

SqliteStatement SqliteFile::lend(CacheSlot slot)
{
    cache_.splice(cache_.begin(), cache_, slot);
    slot->inUse = true;
    return SqliteStatement(*this, slot->stmt.get(), true);
}

void SqliteFile::giveBack(sqlite3_stmt* stmt) noexcept
{
    sqlite3_reset(stmt);  // what its last step gave was checked then
    sqlite3_clear_bindings(stmt);
    if (const auto slot = byStatement_.constFind(stmt); slot != byStatement_.cend()) (*slot)->inUse = false;
}

void SqliteFile::execNative(const QString& sqliteSql)
{
    check(sqlite3_exec(db_.get(), sqliteSql.toUtf8().constData(), nullptr, nullptr, nullptr), sqliteSql);
}

void SqliteFile::runStatement(SqliteStatement& st)
{
    const QString sql = QString::fromUtf8(sqlite3_sql(st.get()));
    if (const QString query = jet::viewQuery(sql); !query.isEmpty()) compileNative(query);
    const QString verb = sql.trimmed().section(u' ', 0, 0).toUpper();
    if (verb == u"CREATE" || verb == u"DROP" || verb == u"ALTER") ++ddl_;
    st.runToEnd();
}

void SqliteFile::beginTransaction()
{
    forgetEndedTransaction();
    execNative(depth_ == 0 ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("SAVEPOINT belmo_%1").arg(depth_ + 1));
    if (depth_ == 0) schemaSettled_ = false;
    ++depth_;
}

void SqliteFile::beginReadTransaction()
{
    forgetEndedTransaction();
    execNative(depth_ == 0 ? QStringLiteral("BEGIN") : QStringLiteral("SAVEPOINT belmo_%1").arg(depth_ + 1));
    if (depth_ == 0) schemaSettled_ = false;
    ++depth_;
}

void SqliteFile::commitTransaction()
{
    if (depth_ == 0) return;
    if (sqlite3_get_autocommit(db_.get()))  // the database ended it after an error: nothing is left to keep
        fail(SQLITE_ABORT, nullptr, QStringLiteral("COMMIT"));
    execNative(depth_ == 1 ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE belmo_%1").arg(depth_));
    --depth_;
}

void SqliteFile::rollbackTransaction()
{
    if (depth_ == 0) return;
    forgetEndedTransaction();
    if (depth_ == 0) return;
    if (depth_ == 1) {
        execNative(QStringLiteral("ROLLBACK"));
    } else {
        execNative(QStringLiteral("ROLLBACK TO belmo_%1").arg(depth_));
        execNative(QStringLiteral("RELEASE belmo_%1").arg(depth_));
    }
    --depth_;
}

// After a full disk, an I/O error or a lock it could not get, SQLite may have rolled the whole
// transaction back by itself: the levels this file counted are gone with it.
void SqliteFile::forgetEndedTransaction()
{
    if (depth_ > 0 && sqlite3_get_autocommit(db_.get())) depth_ = 0;
}

int SqliteFile::waitForLock(void* self, int attempt)
{
    auto* file = static_cast<SqliteFile*>(self);
    if (attempt == 0) file->waiting_.start();
    const int waited = int(file->waiting_.elapsed());
    const PoolSettings& s = *file->settings_;
    if (waited >= s.lockTimeoutMs) return 0;
    if (s.onLockWait && !s.onLockWait(file->path_, waited)) {
        file->cancelled_ = true;
        return 0;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(std::min(kLockPollMs, s.lockTimeoutMs - waited)));
    return 1;
}

int SqliteFile::longWork(void* self)
{
    auto* file = static_cast<SqliteFile*>(self);
    const PoolSettings& s = *file->settings_;
    if (!s.onLongWork || s.onLongWork()) return 0;
    file->cancelled_ = true;
    return 1;  // the statement ends with SQLITE_INTERRUPT
}

QStringList SqliteFile::columns(const QString& table)
{
    SqliteStatement st = compileNative(QStringLiteral("SELECT name FROM pragma_table_info(?)"));
    st.bind(1, Value(table));
    QStringList names;
    while (st.step()) names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0)));
    return names;
}

bool SqliteFile::readOnly() const { return sqlite3_db_readonly(db_.get(), "main") == 1; }

bool SqliteFile::hasObject(const QString& schema, const QString& type, const QString& name)
{
    SqliteStatement st = compileNative(QStringLiteral("SELECT 1 FROM pragma_table_list WHERE schema=? AND type=? AND name=? COLLATE NOCASE"));
    st.bind(1, Value(schema));
    st.bind(2, Value(type));
    st.bind(3, Value(name));
    return st.step();
}

std::pair<qint64, qint64> SqliteFile::schemaVersions()
{
    qint64 v[2] = {0, 0};
    int i = 0;
    for (const char* sql : {"PRAGMA main.schema_version", "PRAGMA temp.schema_version"}) {
        SqliteStatement st = compileNative(QString::fromLatin1(sql));
        if (st.step()) v[i] = sqlite3_column_int64(st.get(), 0);
        ++i;
    }
    return {v[0], v[1]};
}

std::shared_ptr<const void> SqliteFile::shape(const QString& key)
{
    // A view made or dropped since (here or by another program) changes what a text means.
    // Within a transaction only this file's own statements can change the schema: it is
    // looked at once, and again after such a statement.
    if (!(depth_ > 0 && schemaSettled_ && shapesDdl_ == ddl_)) {
        const auto versions = schemaVersions();
        if (versions != shapesSchema_) {
            shapes_.clear();
            shapesSchema_ = versions;
        }
        shapesDdl_ = ddl_;
        schemaSettled_ = depth_ > 0;
    }
    return shapes_.value(key);
}

void SqliteFile::keepShape(const QString& key, std::shared_ptr<const void> shape)
{
    if (shapes_.size() >= kCacheCapacity) shapes_.clear();  // lookups of many single values
    shapes_.insert(key, std::move(shape));
}

qint64 SqliteFile::lastInsertRowId() { return sqlite3_last_insert_rowid(db_.get()); }

void SqliteFile::fail(int rc, sqlite3_stmt* stmt, const QString& sql)
{
    // What the callbacks left is taken whatever the failure.
    const std::optional<DbError> functionError = std::exchange(functionFailure_.error, std::nullopt);
    const bool cancelled = std::exchange(cancelled_, false);
    const int primary = rc & 0xff;
    // The statement was interrupted, or the lock no longer waited for, because the user cancelled.
    if (cancelled && (primary == SQLITE_INTERRUPT || primary == SQLITE_BUSY)) throw Cancelled();
    // One of the dialect's functions failed, with the number the provider gives that failure.
    if (primary == SQLITE_ERROR && functionError) throw DbError(*functionError).withResultCode(rc);
    throw error(rc, stmt, sql);
}

DbError SqliteFile::error(int rc, sqlite3_stmt* stmt, const QString& sql) const
{
    const QString msg = QString::fromUtf8(sqlite3_errmsg(db_.get()));
    const QString where = QStringLiteral("[%1; SQL: %2]").arg(path_, tail(sql));
    using Kind = DbError::Kind;
    // A failure of one statement: the number the provider gives it (the steps branch on
    // these), and the field level.
    auto statement = [&](qint32 number, const QString& prefix) {
        return DbError(number, prefix + msg + u' ' + where, Kind::Field, path_, msg).withResultCode(rc);
    };
    // A failure of the file as a whole, or of the program's own statement, whatever the row.
    auto file = [&](const QString& cause) {
        return DbError(err::Unspecified, cause + u' ' + where, Kind::Database, path_, cause).withResultCode(rc);
    };
    switch (rc & 0xff) {
    case SQLITE_ERROR: {
        const StatementFailure failure = statementFailure(msg);
        return statement(failure.number, failure.prefix);
    }
    case SQLITE_MISMATCH: return statement(err::MultipleStep, {});
    case SQLITE_CONSTRAINT:
    case SQLITE_TOOBIG: return statement(err::Unspecified, {});
    case SQLITE_RANGE:
        return file(QStringLiteral("a value bound to no parameter of the statement (it has %1)")
                        .arg(stmt ? sqlite3_bind_parameter_count(stmt) : 0));
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return file(QStringLiteral("database is locked by another program (waited %1 s)")
                        .arg(settings_->lockTimeoutMs / 1000.0, 0, 'g', 3));
    case SQLITE_READONLY: return file(QStringLiteral("file is read-only"));
    case SQLITE_INTERRUPT: return file(QStringLiteral("the statement was interrupted"));
    case SQLITE_FULL: return file(QStringLiteral("disk is full"));
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN: {
        // The system's reason, where it is one a user can act on: a write beyond the file size
        // limit fails as on a full disk, and says so.
        QString system = systemCause(sqlite3_system_errno(db_.get()));
        if (system.isEmpty() && rc == SQLITE_IOERR_WRITE) system = writeLimitCause(path_);
        QString what = (rc & 0xff) == SQLITE_CANTOPEN ? QStringLiteral("cannot open the file")
                       : rc == SQLITE_IOERR_WRITE     ? QStringLiteral("disk I/O error while writing")
                                                      : QStringLiteral("disk I/O error");
        if (!system.isEmpty()) what += QStringLiteral(": ") + system;
        else if (rc == SQLITE_IOERR_WRITE) what += QStringLiteral(" (the disk may be full)");
        return file(what);
    }
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return file(QStringLiteral("the database file is damaged or not a database"));
    case SQLITE_ABORT: return file(QStringLiteral("the transaction was rolled back by the database"));
    default: return file(msg);
    }
}

}  // namespace belmo::db
