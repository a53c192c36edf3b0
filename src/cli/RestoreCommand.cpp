#include "cli/Cli.h"
#include "cli/CommandLine.h"
#include "db/Connection.h"
#include "db/ConnectionString.h"
#include "db/DbError.h"
#include "proof/Backups.h"

#include <QFileInfo>

namespace belmo::cli {

int restore(const QStringList& args, QTextStream& out, QTextStream& err)
{
    CommandLine cl(QStringLiteral("restore"), QStringLiteral("--folder DIR [--backup FILE] [--keep N] CODE"),
                   QStringLiteral("Puts a backup of a company back in place of its file: the newest of MUHASEBE/Yedek\n"
                                  "unless --backup names one. The company as it is now is backed up first. Refused, with\n"
                                  "nothing changed, while another program holds the company or when the file is not a\n"
                                  "company database of this program."));
    cl.addFolderAndCode();
    QCommandLineParser& p = cl.parser();
    p.addOption({QStringLiteral("backup"), QStringLiteral("The backup to put back; the newest by default."), QStringLiteral("FILE")});
    p.addOption({QStringLiteral("keep"), QStringLiteral("How many backups of the company to keep, default 10."), QStringLiteral("N")});
    if (auto exit = cl.parse(args, out, err)) return *exit;
    const RunLimits limits = runLimits(p);
    if (!limits.problem.isEmpty()) return cl.usageError(limits.problem, err);
    const int keep = limits.keep;
    const auto company = cl.company(err);
    if (const int* exit = std::get_if<int>(&company)) return *exit;
    const auto& [code, file, serverConnection] = std::get<CommandLine::Company>(company);

    const db::PoolSettings settings;
    proof::Backups backups(QFileInfo(file).absolutePath(), settings, keep);
    QString backup = p.value(QStringLiteral("backup"));
    if (backup.isEmpty()) {
        const std::vector<proof::BackupFile> files = backups.list(code);
        if (files.empty()) {
            err << "belmo restore: no backups of " << code << " in " << backups.folder() << ".\n";
            return kFailed;
        }
        backup = files.front().path;
    }
    try {
        const QString from = QFileInfo(backup).absoluteFilePath();
        const QString before = serverConnection.isEmpty() ? backups.restore(file, from) : backups.restoreOnServer(serverConnection, from);
        out << "Backup of " << code << ": " << before << "\n"
            << "Restored " << (serverConnection.isEmpty() ? file : db::ConnectionString::parse(serverConnection).dataSource)
            << " from " << backup << ".\n";
    } catch (const db::DbError& e) {
        err << "belmo restore: " << e.description() << "\n";
        return kFailed;
    }
    return kOk;
}

}  // namespace belmo::cli
