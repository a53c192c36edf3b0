#include "cli/Cli.h"

namespace belmo::cli {

namespace {

void printHelp(QTextStream& out)
{
    out << "Usage: belmo                      the windows, with the current folder as the program folder\n"
           "       belmo <command> [options]\n"
           "\n"
           "Carries a company's data from the closing period's database into the new period's.\n"
           "\n"
           "Commands:\n"
           "  run --folder DIR --user U [--password-file FILE] --source S --target T [--steps LIST] [--yes]\n"
           "      [--keep N] [--dry-run]       the login and the transfer steps without windows\n"
           "  batch --folder DIR --user U (--pairs FILE | --all)   check and run many pairs, a table of the outcomes\n"
           "  backups --folder DIR CODE        list a company's backups, newest first\n"
           "  restore --folder DIR [--backup FILE] [--keep N] CODE\n"
           "                                   put a company's backup back (the newest by default)\n"
           "  report --folder DIR --user U --source S --target T [--report FILE]\n"
           "                                   reconcile a carried pair of companies, writing nothing\n"
           "  check --folder DIR --user U [--password-file FILE] --source S --target T [--json]\n"
           "                                   every problem the run would meet, before anything is written\n"
           "  init-company --folder DIR CODE   prepare an empty company database MUHASEBE/CODE.mdb\n"
           "  demo DIR [--size small|large]    create a program folder with demo companies and users\n"
           "  show --folder DIR [CODE...]      print what a program folder holds\n"
           "\n"
           "Options:\n"
           "  -h, --help      this text; 'belmo <command> --help' explains a command\n"
           "  -v, --version   the version\n";
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
    if (command == u"-h" || command == u"--help" || command == u"help") {
        printHelp(out);
        return kOk;
    }
    if (command == u"-v" || command == u"--version") {
        out << "belmo " << BELMO_VERSION << "\n";
        return kOk;
    }
    if (command == u"init-company") return initCompany(rest, out, err);
    if (command == u"demo") return demo(rest, out, err);
    if (command == u"show") return show(rest, out, err);
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
