#include "proof/Backups.h"

#include "app/ProgramFolder.h"
#include "app/ServerCompanies.h"
#include "db/CompanyCopy.h"
#include "db/Connection.h"
#include "db/ConnectionString.h"
#include "db/DbError.h"
#include "db/OnlineBackup.h"
#include "db/Schema.h"
#include "db/SqliteFile.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <memory>

namespace belmo::proof {

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kStampFormat = u"yyyyMMdd-HHmmss"_s;

// A backup's name: the code, the time and, for a second backup within the same second, a
// number.
QString backupName(const QString& code, const QDateTime& time, int n)
{
    return code + u'-' + time.toString(kStampFormat) + (n > 1 ? u"-%1"_s.arg(n) : QString()) + u".mdb"_s;
}

// A file that opens as a company database of this program: the password verifier matches and
// the company tables are there.
void requireCompanyFile(const QString& path, const db::PoolSettings& settings)
{
    const QString refused = u"Not a company database"_s;
    try {
        db::SqliteFile file(path, true, std::make_shared<const db::PoolSettings>(settings));
        file.verifyPassword(db::schema::databasePassword());
        for (const char* table : {"SIRKET", "PARATANIM"})
            if (!file.hasObject(u"main"_s, u"table"_s, QString::fromLatin1(table)))
                throw db::fileRefusal(path, refused, u"no table %1"_s.arg(QString::fromLatin1(table)));
    } catch (const db::DbError& e) {
        if (e.file() == path && e.description().startsWith(refused)) throw;
        throw db::fileRefusal(path, refused, e.cause());
    }
}

}  // namespace

QString companyCode(const QString& companyFile) { return QFileInfo(companyFile).completeBaseName(); }

Backups::Backups(const QString& companiesFolder, const db::PoolSettings& settings, int keep)
    : companies_(companiesFolder), settings_(settings), keep_(std::max(keep, 1))
{
}

QString Backups::folder() const { return companies_ + u"/Yedek"_s; }

QString Backups::make(const QString& companyFile)
{
    const QString path = copyNow(companyFile);
    prune(companyCode(companyFile));
    return path;
}

QString Backups::makeOfServer(const QString& companyConnection)
{
    const QString path = copyNowOfServer(companyConnection);
    prune(db::ConnectionString::parse(companyConnection).database);
    return path;
}

QString Backups::newBackupPath(const QString& code) const
{
    if (!app::makePrivateFolder(folder()))
        throw db::fileRefusal(folder(), u"Cannot create the backup folder"_s,
                      QFileInfo::exists(folder()) ? u"a file of that name is in the way"_s : u"no permission"_s);
    const QDateTime now = QDateTime::currentDateTime();
    int n = 1;
    QString path;
    do path = folder() + u'/' + backupName(code, now, n++);
    while (QFileInfo::exists(path));
    return path;
}

QString Backups::copyNow(const QString& companyFile)
{
    const QString path = newBackupPath(companyCode(companyFile));
    db::copyDatabase(companyFile, path, db::CopyInto::NewFile, settings_);
    return path;
}

QString Backups::copyNowOfServer(const QString& companyConnection)
{
    const db::ConnectionString company = db::ConnectionString::parse(companyConnection);
    return app::copyIntoFile(companyConnection, company.dataSource, newBackupPath(company.database), false).to;
}

std::vector<BackupFile> Backups::list(const QString& code) const
{
    static const QString stamp = u"(\\d{8}-\\d{6})(?:-(\\d+))?\\.mdb"_s;
    const QRegularExpression named(QRegularExpression::anchoredPattern(QRegularExpression::escape(code) + u'-' + stamp));
    struct Found {
        BackupFile file;
        int n;
    };
    std::vector<Found> found;
    for (const QFileInfo& info : QDir(folder()).entryInfoList({code + u"-*.mdb"_s}, QDir::Files)) {
        const QRegularExpressionMatch m = named.match(info.fileName());
        if (!m.hasMatch()) continue;
        found.push_back({{info.filePath(), info.size(), QDateTime::fromString(m.captured(1), kStampFormat)},
                         m.captured(2).isEmpty() ? 1 : m.captured(2).toInt()});
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return a.file.time != b.file.time ? a.file.time > b.file.time : a.n > b.n;
    });
    std::vector<BackupFile> files;
    for (Found& f : found) files.push_back(std::move(f.file));
    return files;
}

void Backups::prune(const QString& code)
{
    const std::vector<BackupFile> files = list(code);
    for (std::size_t i = std::size_t(keep_); i < files.size(); ++i) QFile::remove(files[i].path);
}

QString Backups::restore(const QString& companyFile, const QString& backup)
{
    if (QFileInfo(backup).absoluteFilePath() == QFileInfo(companyFile).absoluteFilePath() || app::sameFile(backup, companyFile))
        throw db::fileRefusal(backup, u"Cannot restore"_s, u"it is the company file itself"_s);
    requireCompanyFile(backup, settings_);
    db::requireUnheld(companyFile);
    const QString before = copyNow(companyFile);
    db::copyDatabase(backup, companyFile, db::CopyInto::ExistingFile, settings_);
    prune(companyCode(companyFile));  // only now: the backup put back may be the oldest kept
    return before;
}

QString Backups::restoreOnServer(const QString& companyConnection, const QString& backup)
{
    requireCompanyFile(backup, settings_);
    const QString before = copyNowOfServer(companyConnection);
    db::ConnectionPool pool;
    pool.settings() = settings_;
    db::Connection from(pool), into(pool);
    from.open(db::ConnectionString::readOnlyForm(db::ConnectionString::forJetFile(backup, db::schema::databasePassword())));
    into.open(companyConnection);
    db::TransactionScope replacing(into);
    for (const db::schema::Table& table : db::schema::companyTables())
        if (into.file()->hasObject(u"main"_s, u"table"_s, table.name)) into.execute(u"DELETE FROM "_s + table.name);
    db::copyCompany(from, into);
    replacing.commit();
    prune(db::ConnectionString::parse(companyConnection).database);
    return before;
}

namespace {

// Where the session's target keeps its backups: beside its file, or in the program folder's
// MUHASEBE for a database on a server.
Backups backupsOf(const app::Session& session, const db::PoolSettings& settings, int keep)
{
    const db::ConnectionString target = db::ConnectionString::parse(session.HedefBag);
    return Backups(target.onServer ? app::ProgramFolder(session.ProgramKlasoru).companiesPath()
                                   : QFileInfo(target.dataSource).absolutePath(),
                   settings, keep);
}

}  // namespace

QString SessionBackups::backUp(const app::Session& session)
{
    const db::ConnectionString target = db::ConnectionString::parse(session.HedefBag);
    Backups backups = backupsOf(session, settings_, keep_);
    return target.onServer ? backups.makeOfServer(session.HedefBag) : backups.make(target.dataSource);
}

QString SessionBackups::restore(const app::Session& session, const QString& backup)
{
    const db::ConnectionString target = db::ConnectionString::parse(session.HedefBag);
    Backups backups = backupsOf(session, settings_, keep_);
    return target.onServer ? backups.restoreOnServer(session.HedefBag, backup) : backups.restore(target.dataSource, backup);
}

}  // namespace belmo::proof
