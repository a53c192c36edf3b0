#include "cli/Cli.h"
#include "cli/CommandLine.h"
#include "cli/Headless.h"
#include "console/Program.h"
#include "db/DbError.h"
#include "proof/SessionReport.h"
#include "transfers/TransferSteps.h"

#include <QDateTime>
#include <QSysInfo>

namespace belmo::cli {

using namespace Qt::Literals::StringLiterals;

void printReport(const proof::Reconciliation& report, const QString& path, bool json, QTextStream& out, QTextStream& err,
                 bool& ok)
{
    if (json)
        out << report.toJsonText();
    else
        out << report.summaryText();
    if (!path.isEmpty()) {
        QString error;
        if (proof::writeReport(report, path, error)) {
            (json ? err : out) << "Report written to " << path << "\n";
        } else {
            err << "belmo: the report could not be written: " << error << "\n";
            ok = false;
        }
    }
    out.flush();
    err.flush();
}

int report(const QStringList& args, QTextStream& out, QTextStream& err)
{
    CommandLine cl(u"report"_s,
                   u"--folder DIR --user U [--password-file FILE | --password P] --source S --target T [--report FILE] [--lots] "
                   "[--json]"_s,
                   u"Reconciles a pair of companies as they stand, writing nothing: the closing balances, stock,\n"
                   "cheques, open orders and instalments the source lists, each against what the target holds\n"
                   "as opening entries and carried items, and the rows of the definition tables in both. Prints a\n"
                   "summary; --report writes the whole report as JSON (.json), a printable PDF (.pdf) or text (.txt).\n"
                   "--lots reconciles the stock per lot. --json prints the whole report on standard output as the\n"
                   ".json file holds it, instead of the summary; the login's lines and messages then go to standard\n"
                   "error. The password is read as 'belmo run' reads it."_s);
    cl.addLoginOptions();
    cl.setFailure(u"an item differs, or the report could not be made or written"_s);
    QCommandLineParser& p = cl.parser();
    p.addOption({u"report"_s, u"The report file: .json, .pdf or .txt."_s, u"FILE"_s});
    p.addOption({u"lots"_s, u"Stock per lot, as with \"Lot Kullan\"."_s});
    p.addOption({u"json"_s, u"Print the whole report as JSON on standard output; the rest goes to standard error."_s});
    if (auto exit = cl.parse(args, out, err)) return *exit;
    if (auto missing = missingLoginOption(cl, err)) return *missing;

    const bool json = p.isSet(u"json"_s);
    QTextStream& text = json ? err : out;
    PrintingDialogs dialogs(text, false);
    console::Program program(dialogs, transfers::transferSteps());
    if (auto refused = loginFailure(program, dialogs, p, u"report"_s, text, err)) return *refused;
    proof::RunSummary run;
    run.user = p.value(u"user"_s);
    run.machine = QSysInfo::machineHostName();
    run.started = run.finished = QDateTime::currentDateTime();
    run.source.code = p.value(u"source"_s);
    run.target.code = p.value(u"target"_s);
    program.session().listing.lots = p.isSet(u"lots"_s);
    try {
        const proof::Reconciliation reconciliation = proof::reconcileSession(program.session(), {}, run);
        bool ok = reconciliation.differences() == 0;
        printReport(reconciliation, p.value(u"report"_s), json, out, err, ok);
        return ok ? kOk : kFailed;
    } catch (const db::DbError& e) {
        err << "belmo report: " << e.description() << "\n";
        return kFailed;
    }
}

}  // namespace belmo::cli
