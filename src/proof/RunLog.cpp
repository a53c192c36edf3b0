#include "proof/RunLog.h"

#include "app/ProgramFolder.h"
#include "db/Connection.h"
#include "db/ConnectionString.h"
#include "db/DbError.h"
#include "db/Schema.h"
#include "proof/Backups.h"
#include "proof/SessionReport.h"
#include "transfers/RecordWriting.h"

#include <QFile>
#include <QJsonDocument>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace belmo::proof {

using namespace Qt::Literals::StringLiterals;

QString runLogPath(const QString& programFolder) { return programFolder + u"/logs/belmo-runs.jsonl"_s; }

QString appendRunLog(const QString& programFolder, const RunSummary& run)
{
    const QString path = runLogPath(programFolder);
    if (!app::makePrivateFolder(programFolder + u"/logs"_s)) return u"cannot create the folder of %1"_s.arg(path);
    const QByteArray line = QJsonDocument(run.toJson()).toJson(QJsonDocument::Compact) + '\n';
    // One write of the whole line to a file opened for appending: runs that end together do
    // not mix their lines.
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC,
                          db::schema::kPrivateFileMode);
    if (fd < 0) return u"%1: %2"_s.arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    const ssize_t written = ::write(fd, line.constData(), std::size_t(line.size()));
    const int error = errno;
    ::close(fd);
    if (written != line.size()) return u"%1: %2"_s.arg(path, QString::fromLocal8Bit(std::strerror(error)));
    return {};
}

CompanyFacts companyFacts(db::ConnectionPool& pool, const QString& connectionString)
{
    const QString file = fileOf(connectionString);
    CompanyFacts facts{companyCode(file), file, {}, sha256OfFile(file), {}};
    try {
        db::Connection con(pool);
        con.open(db::ConnectionString::readOnlyForm(connectionString));
        facts.period = QString::number(transfers::companyPeriod(con));
    } catch (const db::DbError&) {
        // A company whose period cannot be read is named without it.
    }
    return facts;
}

}  // namespace belmo::proof
