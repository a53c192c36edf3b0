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
#include <thread>

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

// What the system said of the file when SQLite failed on it, for the causes a user can act on.
QString systemCause(int systemErrno)
{
    switch (systemErrno) {
    case EACCES:
    case EPERM: return QStringLiteral("no permission");
    case EROFS: return QStringLiteral("the file system is read-only");
    case ENOSPC: return QStringLiteral("the disk is full");
    case EFBIG: return QStringLiteral("the file size limit is reached");
    default: return {};
    }
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

QString tail(const QString& sql)
{
    return sql.size() > 300 ? sql.left(300) + QStringLiteral("...") : sql;
}

}  // namespace

// ---- Statement --------------------------------------------------------------------------------

Statement::Statement(SqliteFile* file, sqlite3_stmt* stmt, bool cached) : file_(file), stmt_(stmt), cached_(cached) {}

Statement::Statement(Statement&& other) noexcept
    : file_(other.file_), stmt_(other.stmt_), cached_(other.cached_)
{
    other.stmt_ = nullptr;
}

Statement& Statement::operator=(Statement&& other) noexcept
{
    if (this != &other) {
        release();
        file_ = other.file_;
        stmt_ = other.stmt_;
        cached_ = other.cached_;
        other.stmt_ = nullptr;
    }
    return *this;
}

Statement::~Statement() { release(); }

void Statement::release()
{
    if (!stmt_) return;
    if (cached_) {
        file_->giveBack(stmt_);
    } else {
        sqlite3_finalize(stmt_);
    }
    stmt_ = nullptr;
}

void Statement::bind(int index, const Value& v) { bindValue(stmt_, index, v); }

bool Statement::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    const DbError e = file_->error(rc, QString::fromUtf8(sqlite3_sql(stmt_)));
    sqlite3_reset(stmt_);
    throw e;
}

void Statement::runToEnd()
{
    while (step()) {
    }
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
    const int rc = sqlite3_open_v2(name.constData(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("out of memory");
        const QString cause = db_ ? systemCause(sqlite3_system_errno(db_)) : QString();
        sqlite3_close(db_);
        db_ = nullptr;
        throw fileError(path, QStringLiteral("Cannot open '%1': %2").arg(path, msg), cause.isEmpty() ? msg : cause);
    }
    sqlite3_extended_result_codes(db_, 1);  // a write that fails says so; errors branch on rc & 0xff
    sqlite3_busy_handler(db_, &SqliteFile::waitForLock, this);
    sqlite3_progress_handler(db_, kWorkTicks, &SqliteFile::longWork, this);
    jet::registerFunctions(db_);
    try {
        // The first read proves the file is an SQLite database at all.
        Statement check = prepareNative(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name='%1'")
                                            .arg(QString::fromLatin1(kKeyTable)));
        check.step();
        if (sqlite3_column_int(check.get(), 0) == 0)
            throw fileError(path, QStringLiteral("'%1' is not a database of this program (it carries no password verifier).").arg(path),
                            QStringLiteral("not a database of this program (it carries no password verifier)"));
        check = Statement();
        execNative(QStringLiteral("PRAGMA synchronous=NORMAL"));
        // Pages read through a memory map save a copy each (a quarter of the time of the
        // balance views over a million movement lines), but every mapped page read counts in
        // the program's memory: the map and the page cache are held to what a large company's
        // carry-forward needs to stay within 400 MB.
        execNative(QStringLiteral("PRAGMA cache_size=-16384"));
        execNative(QStringLiteral("PRAGMA temp_store=MEMORY"));
        execNative(QStringLiteral("PRAGMA mmap_size=134217728"));
    } catch (...) {
        for (auto& e : cache_) sqlite3_finalize(e.stmt);
        cache_.clear();
        sqlite3_close(db_);
        db_ = nullptr;
        throw;
    }
}

SqliteFile::~SqliteFile()
{
    // A transaction nobody committed is not kept.
    if (depth_ > 0 && !sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    for (auto& e : cache_) sqlite3_finalize(e.stmt);
    sqlite3_close(db_);
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
    Statement st = prepareNative(QStringLiteral("SELECT salt, verifier FROM %1").arg(QString::fromLatin1(kKeyTable)));
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

Statement SqliteFile::prepare(const QString& accessSql)
{
    auto it = cache_.find(accessSql);
    if (it != cache_.end() && !it->inUse) {
        lru_.splice(lru_.begin(), lru_, it->lru);
        it->inUse = true;
        return Statement(this, it->stmt, true);
    }
    return prepareCached(accessSql, jet::rewrite(accessSql));
}

Statement SqliteFile::prepareNative(const QString& sqliteSql)
{
    // Native texts are cached apart from Access texts that happen to read the same.
    const QString key = QChar(u'\x01') + sqliteSql;
    auto it = cache_.find(key);
    if (it != cache_.end() && !it->inUse) {
        lru_.splice(lru_.begin(), lru_, it->lru);
        it->inUse = true;
        return Statement(this, it->stmt, true);
    }
    return prepareCached(key, sqliteSql);
}

Statement SqliteFile::prepareCached(const QString& key, const QString& sqliteSql)
{
    sqlite3_stmt* stmt = nullptr;
    const QByteArray utf8 = sqliteSql.toUtf8();
    const int rc = sqlite3_prepare_v2(db_, utf8.constData(), static_cast<int>(utf8.size()), &stmt, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt);
        throw error(rc, key.startsWith(QChar(u'\x01')) ? sqliteSql : key);
    }
    if (!stmt)  // an empty statement
        throw DbError(err::Syntax, QStringLiteral("Empty SQL statement."));
    if (cache_.contains(key))  // the cached one is lent out: this one is private
        return Statement(this, stmt, false);
    if (cache_.size() >= kCacheCapacity) {
        for (auto rit = lru_.rbegin(); rit != lru_.rend(); ++rit) {
            auto victim = cache_.find(*rit);
            if (victim->inUse) continue;
            sqlite3_finalize(victim->stmt);
            cacheKeys_.remove(victim->stmt);
            lru_.erase(std::next(rit).base());
            cache_.erase(victim);
            break;
        }
        if (cache_.size() >= kCacheCapacity) return Statement(this, stmt, false);
    }
    lru_.push_front(key);
    cache_.insert(key, CacheEntry{stmt, true, lru_.begin()});
    cacheKeys_.insert(stmt, key);
    return Statement(this, stmt, true);
}

void SqliteFile::giveBack(sqlite3_stmt* stmt)
{
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    auto key = cacheKeys_.find(stmt);
    if (key == cacheKeys_.end()) {
        sqlite3_finalize(stmt);
        return;
    }
    cache_[*key].inUse = false;
}

void SqliteFile::execNative(const QString& sqliteSql)
{
    char* msg = nullptr;
    const int rc = sqlite3_exec(db_, sqliteSql.toUtf8().constData(), nullptr, nullptr, &msg);
    sqlite3_free(msg);
    if (rc != SQLITE_OK) throw error(rc, sqliteSql);
}

void SqliteFile::run(Statement& st)
{
    const QString sql = QString::fromUtf8(sqlite3_sql(st.get()));
    if (const QString query = jet::viewQuery(sql); !query.isEmpty()) prepareNative(query);
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
    if (sqlite3_get_autocommit(db_))  // the database ended it after an error: nothing is left to keep
        throw error(SQLITE_ABORT, QStringLiteral("COMMIT"));
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
    if (depth_ > 0 && sqlite3_get_autocommit(db_)) depth_ = 0;
}

int SqliteFile::waitForLock(void* self, int attempt)
{
    auto* file = static_cast<SqliteFile*>(self);
    if (attempt == 0) file->waiting_.start();
    const int waited = int(file->waiting_.elapsed());
    const PoolSettings& s = *file->settings_;
    if (waited >= s.lockTimeoutMs) return 0;
    if (s.onLockWait && !s.onLockWait(file->path_, waited)) return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(std::min(kLockPollMs, s.lockTimeoutMs - waited)));
    return 1;
}

int SqliteFile::longWork(void* self)
{
    const PoolSettings& s = *static_cast<SqliteFile*>(self)->settings_;
    return s.onLongWork && !s.onLongWork() ? 1 : 0;
}

QStringList SqliteFile::columns(const QString& table)
{
    Statement st = prepareNative(QStringLiteral("SELECT name FROM pragma_table_info(?)"));
    st.bind(1, Value(table));
    QStringList names;
    while (st.step()) names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0)));
    return names;
}

bool SqliteFile::readOnly() const { return sqlite3_db_readonly(db_, "main") == 1; }

bool SqliteFile::hasObject(const QString& schema, const QString& type, const QString& name)
{
    Statement st = prepareNative(QStringLiteral("SELECT 1 FROM pragma_table_list WHERE schema=? AND type=? AND name=? COLLATE NOCASE"));
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
        Statement st = prepareNative(QString::fromLatin1(sql));
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

qint64 SqliteFile::lastInsertRowId() const { return sqlite3_last_insert_rowid(db_); }

DbError SqliteFile::error(int rc, const QString& context) const
{
    const QByteArray raw = sqlite3_errmsg(db_);
    qint32 number = 0;
    QString text;
    if (jet::parseFunctionError(raw, number, text)) return DbError(number, text).withResultCode(rc);
    const QString msg = QString::fromUtf8(raw);
    const QString where = QStringLiteral("%1 [%2; SQL: %3]").arg(msg, path_, tail(context));
    using Kind = DbError::Kind;
    // A failure of one statement: the number the provider gives it (the steps branch on
    // these), and the field level.
    auto statement = [&](qint32 number, const QString& prefix) {
        return DbError(number, prefix + where, Kind::Field, path_, msg).withResultCode(rc);
    };
    // A failure of the file as a whole, whatever the statement.
    auto file = [&](qint32 number, const QString& cause) {
        return DbError(number, QStringLiteral("%1 [%2; SQL: %3]").arg(cause, path_, tail(context)), Kind::Database, path_, cause)
            .withResultCode(rc);
    };
    switch (rc & 0xff) {
    case SQLITE_ERROR:
        // The provider's numbers for these are read off the message; the kind is not.
        if (msg.startsWith(u"no such column")) return statement(err::MissingParameter, QStringLiteral("No value given for one or more required parameters: "));
        if (msg.startsWith(u"no such table") || msg.startsWith(u"no such view"))
            return statement(err::NoSuchTable, QStringLiteral("Table or query not found: "));
        if (msg.contains(u"already exists") || msg.contains(u"syntax error") || msg.contains(u"incomplete input")
            || msg.contains(u"unrecognized token") || msg.contains(u"no such function")
            || msg.contains(u"wrong number of arguments") || msg.contains(u"misuse of aggregate")
            || msg.contains(u"SELECTs to the left and right of"))
            return statement(err::Syntax, QStringLiteral("Syntax error: "));
        return statement(err::Unspecified, QString());
    case SQLITE_MISMATCH:
    case SQLITE_CONSTRAINT:
    case SQLITE_RANGE:
    case SQLITE_TOOBIG:
        return statement((rc & 0xff) == SQLITE_MISMATCH ? err::MultipleStep : err::Unspecified, QString());
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return file(err::Unspecified, QStringLiteral("database is locked by another program (waited %1 s)")
                                          .arg(settings_->lockTimeoutMs / 1000.0, 0, 'g', 3));
    case SQLITE_READONLY: return file(err::Unspecified, QStringLiteral("file is read-only"));
    case SQLITE_INTERRUPT: return file(err::UserInterrupt, QStringLiteral("cancelled"));
    case SQLITE_FULL: return file(err::Unspecified, QStringLiteral("disk is full"));
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN: {
        // The system's reason, where it is one a user can act on: a write beyond the file size
        // limit fails as on a full disk, and says so.
        QString system = systemCause(sqlite3_system_errno(db_));
        if (system.isEmpty() && rc == SQLITE_IOERR_WRITE) system = writeLimitCause(path_);
        QString what = (rc & 0xff) == SQLITE_CANTOPEN ? QStringLiteral("cannot open the file")
                       : rc == SQLITE_IOERR_WRITE     ? QStringLiteral("disk I/O error while writing")
                                                      : QStringLiteral("disk I/O error");
        if (!system.isEmpty()) what += QStringLiteral(": ") + system;
        else if (rc == SQLITE_IOERR_WRITE) what += QStringLiteral(" (the disk may be full)");
        return file(err::Unspecified, what);
    }
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return file(err::Unspecified, QStringLiteral("the database file is damaged or not a database"));
    case SQLITE_ABORT: return file(err::Unspecified, QStringLiteral("the transaction was rolled back by the database"));
    default: return file(err::Unspecified, msg);
    }
}

}  // namespace belmo::db
