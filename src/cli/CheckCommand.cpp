#include "cli/Cli.h"
#include "cli/CommandLine.h"
#include "cli/Headless.h"
#include "proof/PreRunCheck.h"

#include <QJsonDocument>

namespace belmo::cli {

using namespace Qt::Literals::StringLiterals;

int check(const QStringList& args, QTextStream& out, QTextStream& err)
{
    CommandLine cl(u"check"_s, u"--folder DIR --user U [--password-file FILE | --password P] --source S --target T [--json]"_s,
                   u"Looks at everything a carry-forward from the source company into the target would meet and lists\n"
                   "every problem at once, each with its file, its cause, what to do and the steps it concerns: the\n"
                   "login (user, password, rights to both companies, their files), a company another program holds,\n"
                   "the tables and columns the steps read and write, the two periods, the questions the steps will ask\n"
                   "of a target that holds data, the source values a step will leave out, the space for the backup and\n"
                   "a target that cannot be written. Writes nothing: the companies are opened read-only.\n"
                   "--json prints the findings as one JSON object on standard output instead of the text:\n"
                   "{\"blocking\": N, \"warnings\": N, \"login_refused\": true|false, \"findings\": [{\"severity\",\n"
                   "\"file\", \"cause\", \"action\", \"step\"}]}. The findings are printed also when the login would\n"
                   "be refused; the first of the login's findings is then the reason line on standard error.\n"
                   "The password is read as 'belmo run' reads it."_s);
    cl.addLoginOptions();
    cl.setFailure(u"a problem was found that blocks the run (warnings alone end with 0)"_s);
    QCommandLineParser& p = cl.parser();
    p.addOption({u"json"_s, u"Print the findings as JSON on standard output."_s});
    if (auto exit = cl.parse(args, out, err)) return *exit;
    if (auto missing = missingLoginOption(cl, err)) return *missing;
    const std::optional<QString> password = readPassword(p, err);
    if (!password) return kFailed;

    const proof::CheckResult result = proof::checkBeforeRun(
        {p.value(u"folder"_s), p.value(u"user"_s), *password, p.value(u"source"_s), p.value(u"target"_s)});
    if (p.isSet(u"json"_s))
        out << QJsonDocument(result.toJson()).toJson(QJsonDocument::Indented);
    else if (result.findings.empty())
        out << "Nothing found: the carry-forward can run.\n";
    else
        out << result.text() << "\n";
    out.flush();
    if (result.loginRefused) {
        err << "belmo check: login refused: " << result.findings.front().cause << "\n";
        err.flush();
        return kLoginRefused;
    }
    return result.blocking() > 0 ? kFailed : kOk;
}

}  // namespace belmo::cli
