#include "db/OnlineBackup.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Schema.h"
#include "db/SqliteFile.h"

#include <QFile>

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace belmo::db {

namespace {

struct FinishBackup {
    void operator()(sqlite3_backup* b) const noexcept { sqlite3_backup_finish(b); }
};

// What went wrong with a file, in the words a user can act on.
QString cause(int rc, int systemErrno, const QString& fallback)
{
    if (const QString system = systemCause(systemErrno); !system.isEmpty()) return system;
    if (systemErrno == ENOENT) return QStringLiteral("file not found");
    switch (rc & 0xff) {
    case SQLITE_FULL: return QStringLiteral("the disk is full");
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return QStringLiteral("locked by another program");
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN: return QStringLiteral("no permission");
    default: return fallback;
    }
}

// A handle on one side of the copy; failures name the file.
struct Side {
    QString path;
    HandlePtr db;

    [[noreturn]] void fail(int rc, const QString& what) const
    {
        const int system = db ? sqlite3_system_errno(db.get()) : 0;
        const QString text = db ? QString::fromUtf8(sqlite3_errmsg(db.get())) : QString::fromUtf8(sqlite3_errstr(rc));
        throw fileRefusal(path, what, cause(rc, system, text)).withResultCode(rc);
    }
    void open(int flags, int busyMs)
    {
        sqlite3* opened = nullptr;
        const int rc = sqlite3_open_v2(path.toUtf8().constData(), &opened, flags, nullptr);
        db.reset(opened);
        if (rc != SQLITE_OK) fail(rc, QStringLiteral("Cannot open"));
        sqlite3_extended_result_codes(db.get(), 1);
        sqlite3_busy_timeout(db.get(), busyMs);
    }
};

// The new file, empty, private and made here so that an existing one is never replaced.
void makeEmptyFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                          schema::kPrivateFileMode);
    if (fd >= 0) {
        ::close(fd);
        return;
    }
    const int e = errno;
    throw fileRefusal(path, QStringLiteral("Cannot create"),
                    e == EEXIST ? QStringLiteral("the file exists") : cause(0, e, QString::fromLocal8Bit(std::strerror(e))));
}

void removeWithCompanions(const QString& path)
{
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) QFile::remove(path + QString::fromLatin1(suffix));
}

}  // namespace

void copyDatabase(const QString& from, const QString& to, CopyInto into, const PoolSettings& settings)
{
    Side source{from, {}};
    source.open(SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, settings.lockTimeoutMs);
    if (into == CopyInto::NewFile) makeEmptyFile(to);
    Side target{to, {}};
    try {
        // Putting a backup back does not wait: a file someone holds is refused.
        target.open(SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, into == CopyInto::NewFile ? settings.lockTimeoutMs : 0);
        std::unique_ptr<sqlite3_backup, FinishBackup> backup(sqlite3_backup_init(target.db.get(), "main", source.db.get(), "main"));
        if (!backup) target.fail(sqlite3_errcode(target.db.get()), QStringLiteral("Cannot copy into"));
        const int rc = sqlite3_backup_step(backup.get(), -1);
        if (rc != SQLITE_DONE) {
            backup.reset();
            // Reading the source failed, or writing the copy did.
            if ((rc & 0xff) == SQLITE_BUSY && into == CopyInto::NewFile) source.fail(rc, QStringLiteral("Cannot read"));
            target.fail(rc, QStringLiteral("Cannot write"));
        }
        backup.reset();
        if (const int fin = sqlite3_errcode(target.db.get()); fin != SQLITE_OK && fin != SQLITE_DONE)
            target.fail(fin, QStringLiteral("Cannot write"));
        // A copy is a file on its own: reading it later leaves no companion files beside it.
        if (into == CopyInto::NewFile)
            if (const int rc = sqlite3_exec(target.db.get(), "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr); rc != SQLITE_OK)
                target.fail(rc, QStringLiteral("Cannot write"));
        target.db.reset();
    } catch (...) {
        target.db.reset();
        if (into == CopyInto::NewFile) removeWithCompanions(to);
        throw;
    }
}

void requireUnheld(const QString& path)
{
    Side file{path, {}};
    file.open(SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, 0);
    if (const int rc = sqlite3_exec(file.db.get(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr); rc != SQLITE_OK)
        file.fail(rc, QStringLiteral("Cannot take"));
    sqlite3_exec(file.db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
}

}  // namespace belmo::db
