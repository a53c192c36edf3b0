#include "cli/Cli.h"
#include "cli/CommandLine.h"
#include "db/Connection.h"
#include "proof/Backups.h"

#include <QFileInfo>
#include <QLocale>

namespace belmo::cli {

int backups(const QStringList& args, QTextStream& out, QTextStream& err)
{
    CommandLine cl(QStringLiteral("backups"), QStringLiteral("--folder DIR CODE"),
                   QStringLiteral("Lists the backups of a company in MUHASEBE/Yedek, newest first, with their size and\n"
                                  "the time they were made. A run backs its target up before its first write."));
    cl.addFolderAndCode();
    if (auto exit = cl.parse(args, out, err)) return *exit;
    const auto company = cl.company(err);
    if (const int* exit = std::get_if<int>(&company)) return *exit;
    const auto& [code, file, serverConnection] = std::get<CommandLine::Company>(company);

    const db::PoolSettings settings;
    const proof::Backups backups(QFileInfo(file).absolutePath(), settings);  // a server company's too: MUHASEBE/Yedek
    const std::vector<proof::BackupFile> files = backups.list(code);
    if (files.empty()) out << "No backups of " << code << " in " << backups.folder() << ".\n";
    for (const proof::BackupFile& f : files)
        out << f.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) << "  " << qSetFieldWidth(12) << Qt::right
            << QLocale::c().formattedDataSize(f.size) << qSetFieldWidth(0) << Qt::left << "  " << f.path << "\n";
    return kOk;
}

}  // namespace belmo::cli
