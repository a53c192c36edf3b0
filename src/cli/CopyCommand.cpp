#include "app/ProgramFolder.h"
#include "app/ServerCompanies.h"
#include "app/ServerSettings.h"
#include "cli/Cli.h"
#include "cli/CommandLine.h"
#include "db/Connection.h"
#include "db/DbError.h"

#include <QFileInfo>

namespace belmo::cli {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qint64 kRowsBetweenReports = 100000;

void printCounts(const app::CompanyCopy& copy, QTextStream& out)
{
    out << u"%1 %2 %3\n"_s.arg(u"Table"_s, -24).arg(u"Source"_s, 10).arg(u"Copy"_s, 10);
    for (const db::TableCount& t : copy.tables)
        out << u"%1 %2 %3%4\n"_s.arg(t.table, -24).arg(t.source, 10).arg(t.target, 10).arg(t.source == t.target ? u""_s : u"  differs"_s);
}

}  // namespace

int copy(const QStringList& args, QTextStream& out, QTextStream& err)
{
    CommandLine cl(u"copy"_s, u"--folder DIR (--to-server | --from-server) [--force] CODE"_s,
                   u"Copies a company between the files of MUHASEBE and the server stored in DIR/config.mdb\n"
                   "(see 'belmo server'; whether or not the companies are on it now): every table, every\n"
                   "row and column, the AutoNumber values as they are. --to-server makes the server\n"
                   "database CODE from MUHASEBE/CODE.mdb; --from-server makes MUHASEBE/CODE.mdb from the\n"
                   "server database CODE. The copy is written under a working name, counted table by\n"
                   "table and put in place only when every table has the source's rows; a line per table\n"
                   "gives both counts. An existing target is left alone unless --force is given: then a\n"
                   "database is replaced, and a file is kept beside as CODE.mdb.bak-<date>-<time>."_s);
    QCommandLineParser& p = cl.parser();
    cl.addFolderAndCode();
    p.addOption({u"to-server"_s, u"Copy the file company to the server."_s});
    p.addOption({u"from-server"_s, u"Copy the server's company to a file."_s});
    p.addOption({u"force"_s, u"Replace an existing target."_s});
    if (auto exit = cl.parse(args, out, err)) return *exit;

    if (!p.isSet(u"folder"_s)) return cl.usageError(u"--folder DIR is required."_s, err);
    if (p.positionalArguments().size() != 1) return cl.usageError(u"give exactly one company code."_s, err);
    if (p.isSet(u"to-server"_s) == p.isSet(u"from-server"_s)) return cl.usageError(u"give --to-server or --from-server."_s, err);
    const QString code = p.positionalArguments().first();
    if (const QString problem = app::companyCodeProblem(code); !problem.isEmpty()) return cl.usageError(problem + u'.', err);
    if (!db::isPlainDatabaseCode(code)) return cl.usageError(u"the company code '%1' is too long for a database name."_s.arg(code), err);
    const QString folder = p.value(u"folder"_s);
    if (!QFileInfo(folder).isDir()) {
        err << "belmo copy: the program folder '" << folder << "' does not exist.\n";
        return kFailed;
    }
    const app::ProgramFolder pf(QFileInfo(folder).absoluteFilePath());
    const std::optional<app::ServerSettings> server = storedServer(pf, u"copy"_s, err);
    if (!server) return kFailed;

    const auto progress = [&err](const QString& table, qint64 rows, bool done) {
        if (done ? rows >= kRowsBetweenReports : rows % kRowsBetweenReports == 0) {
            err << "  " << table << ": " << rows << " rows" << (done ? "" : "...") << "\n";
            err.flush();
        }
    };
    const bool force = p.isSet(u"force"_s);
    app::CompanyCopy copied;
    try {
        copied = p.isSet(u"to-server"_s) ? app::copyToServer(pf, *server, code, force, progress)
                                         : app::copyFromServer(pf, *server, code, force, progress);
    } catch (const db::DbError& e) {
        err << "belmo copy: " << e.description() << "\n";
        err << "belmo copy: nothing was put in place.\n";
        return kFailed;
    }
    printCounts(copied, out);
    if (!copied.kept.isEmpty()) out << "Kept the earlier " << copied.to << " as " << copied.kept << ".\n";
    out << "Copied " << copied.from << " to " << copied.to << ".\n";
    return kOk;
}

}  // namespace belmo::cli
