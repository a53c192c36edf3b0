#include "cli/Cli.h"
#include "cli/CommandLine.h"

namespace belmo::cli {

using namespace Qt::Literals::StringLiterals;

namespace {

void printHelp(QTextStream& out)
{
    out << "Usage: belmo                      the windows, on the current folder when it holds config.mdb,\n"
           "                                  else on ~/Belmo\n"
           "       belmo <command> [options]\n"
           "       belmo help <command>\n"
           "\n"
           "Carries a company's data from the closing period's database into the new period's.\n"
           "\n"
           "Commands:\n"
           "  run --folder DIR --user U [--password-file FILE] --source S --target T [--steps LIST] [--yes]\n"
           "      [--keep N] [--dry-run] [--report FILE] [--json] [--quiet]\n"
           "                                   the login and the transfer steps without windows\n"
           "  batch --folder DIR --user U (--pairs FILE | --all)   check and run many pairs, a table of the outcomes\n"
           "  check --folder DIR --user U [--password-file FILE] --source S --target T [--json]\n"
           "                                   every problem the run would meet, before anything is written\n"
           "  report --folder DIR --user U [--password-file FILE] --source S --target T [--report FILE] [--json]\n"
           "                                   reconcile a carried pair of companies, writing nothing\n"
           "  backups --folder DIR CODE        list a company's backups, newest first\n"
           "  restore --folder DIR [--backup FILE] [--keep N] CODE\n"
           "                                   put a company's backup back (the newest by default)\n"
           "  init-company --folder DIR CODE   prepare an empty company database MUHASEBE/CODE.mdb\n"
           "  demo DIR [--size small|large] [--companies N]\n"
           "                                   create a program folder with demo companies and users\n"
           "  show --folder DIR [CODE...]      print what a program folder holds\n"
           "  server --folder DIR [--host H [--port P] --user U [--password-file F] | --off]\n"
           "                                   keep the companies on a database server, or in files again\n"
           "  copy --folder DIR (--to-server | --from-server) [--force] CODE\n"
           "                                   copy a company between its file and the server\n"
           "\n"
           "Options:\n"
           "  -h, --help      this text; 'belmo help <command>' or 'belmo <command> --help' explains a command\n"
           "  -V, --version   the version\n"
           "\n"
        << exitCodesHelp(u"a step did not finish, a blocking problem was found (check), an item differs (report),\n"
                         "     a pair did not finish (batch), or the work could not be done (the reason on standard error)"_s,
                         loginRefusedHelp() + u"; batch: the login refused every pair"_s)
        << "Only run, check, report and batch log in: the other commands end with 0, 1 or 2.\n"
           "\n"
           "The manual: man belmo\n";
    out.flush();
}

}  // namespace

int run(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.isEmpty()) {
        printHelp(err);
        return kBadUsage;
    }
    const QString command = args.first();
    const QStringList rest = args.mid(1);
    if (command == u"help" && !rest.isEmpty()) return run({rest.first(), u"--help"_s}, out, err);
    if (command == u"-h" || command == u"--help" || command == u"help") {
        printHelp(out);
        return kOk;
    }
    if (command == u"-V" || command == u"--version") {
        out << "belmo " << BELMO_VERSION << "\n";
        return kOk;
    }
    if (command == u"init-company") return initCompany(rest, out, err);
    if (command == u"demo") return demo(rest, out, err);
    if (command == u"show") return show(rest, out, err);
    if (command == u"server") return server(rest, out, err);
    if (command == u"copy") return copy(rest, out, err);
    if (command == u"run") return runTransfers(rest, out, err);
    if (command == u"report") return report(rest, out, err);
    if (command == u"backups") return backups(rest, out, err);
    if (command == u"restore") return restore(rest, out, err);
    if (command == u"check") return check(rest, out, err);
    if (command == u"batch") return batch(rest, out, err);
    err << "belmo: unknown command '" << command << "'.\nTry 'belmo --help' for the list of commands.\n";
    err.flush();
    return kBadUsage;
}

}  // namespace belmo::cli
