#include "db/Connection.h"

#include "db/ConnectionString.h"
#include "db/DbError.h"
#include "db/PgDatabase.h"
#include "db/SqliteFile.h"

#include <QFileInfo>

namespace belmo::db {

std::shared_ptr<Database> ConnectionPool::acquire(const QString& path, bool readOnly)
{
    // Routines open a connection for every statement they run: the path as given finds an
    // open file without asking the file system again.
    const QString mode = readOnly ? QStringLiteral("\x01ro") : QString();
    if (auto open = byGivenPath_.value(path + mode).lock()) return open;
    const QFileInfo info(path);
    const QString key = (info.exists() ? info.canonicalFilePath() : info.absoluteFilePath()) + mode;
    auto file = files_.value(key).lock();
    if (!file) {
        file = std::make_shared<SqliteFile>(path, readOnly, settings_);
        files_.insert(key, file);
    }
    byGivenPath_.insert(path + mode, file);
    return file;
}

std::shared_ptr<Database> ConnectionPool::acquire(const ConnectionString& server)
{
    // Every part of the login is in the key: another password never finds a session that the
    // server let in with the right one.
    const QString key = QStringList{QStringLiteral("\x02"), server.host, QString::number(server.port), server.user,
                                    server.password, server.database, server.readOnly ? QStringLiteral("ro") : QString()}
                            .join(u'\x1f');
    auto file = files_.value(key).lock();
    if (!file) {
        file = std::make_shared<PgDatabase>(server, settings_);
        files_.insert(key, file);
    }
    return file;
}

int ConnectionPool::openFiles() const
{
    int n = 0;
    for (const auto& f : files_) n += f.expired() ? 0 : 1;
    return n;
}

Connection::Connection(ConnectionPool& pool) : pool_(pool) {}

Connection::~Connection() = default;

void Connection::open(const QString& connectionString)
{
    if (file_)
        throw DbError(err::ObjectOpen, QStringLiteral("Operation is not allowed when the object is open."));
    const ConnectionString cs = ConnectionString::parse(connectionString);
    auto file = cs.onServer ? pool_.acquire(cs) : pool_.acquire(cs.dataSource, cs.readOnly);
    file->verifyPassword(cs.password);
    file_ = std::move(file);
    connectionString_ = connectionString;
}

void Connection::close()
{
    file_.reset();
}

const std::shared_ptr<Database>& Connection::file() const
{
    if (!file_)
        throw DbError(err::ObjectClosed, QStringLiteral("Operation is not allowed when the object is closed."));
    return file_;
}

void Connection::execute(const QString& sql, const QList<Value>& params)
{
    Statement st = file()->prepare(sql);
    for (int i = 0; i < params.size(); ++i) st->bind(i + 1, params[i]);
    file()->run(*st);
}

qint64 Connection::lastInsertId() const { return file()->lastInsertRowId(); }

void Connection::beginTrans() { file()->beginTransaction(); }
void Connection::commitTrans() { file()->commitTransaction(); }
void Connection::rollbackTrans() { file()->rollbackTransaction(); }

QStringList Connection::columns(const QString& table) const { return file()->columns(table); }

bool Connection::readOnly() const { return file()->readOnly(); }

bool Connection::hasView(const QString& schema, const QString& name) const
{
    return file()->hasObject(schema, QStringLiteral("view"), name);
}

TransactionScope::TransactionScope(Connection& connection, Mode mode) : file_(connection.file())
{
    if (mode == Mode::Read)
        file_->beginReadTransaction();
    else
        file_->beginTransaction();
}

void TransactionScope::commit()
{
    if (done_) return;
    file_->commitTransaction();  // a commit that fails leaves the scope to roll back
    done_ = true;
}

TransactionScope::~TransactionScope()
{
    if (done_) return;
    try {
        file_->rollbackTransaction();
    } catch (const DbError&) {
        // Already on an error's way out: that error is the one reported.
    }
}

}  // namespace belmo::db
