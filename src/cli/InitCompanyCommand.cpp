#include "app/ProgramFolder.h"
#include "app/ServerCompanies.h"
#include "app/ServerSettings.h"
#include "cli/Cli.h"
#include "cli/CommandLine.h"
#include "db/DbError.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace belmo::cli {

int initCompany(const QStringList& args, QTextStream& out, QTextStream& err)
{
    CommandLine cl(QStringLiteral("init-company"), QStringLiteral("--folder DIR [--period YEAR] [--name NAME] [--force] CODE"),
                   QStringLiteral("Prepares an empty company database DIR/MUHASEBE/CODE.mdb for a new period: the\n"
                                  "tables, the company row with its code, name and period, the money settings and\n"
                                  "the chart of main accounts. An existing company is never replaced unless --force\n"
                                  "is given; then the earlier file is kept beside it as CODE.mdb.bak-<date>-<time>.\n"
                                  "With the server chosen in DIR/config.mdb (see 'belmo server') the company is the\n"
                                  "server's database CODE instead, with the same content; --force replaces it."));
    QCommandLineParser& p = cl.parser();
    p.addOption({QStringLiteral("folder"), QStringLiteral("The program folder (holds config.mdb and MUHASEBE)."), QStringLiteral("DIR")});
    p.addOption({QStringLiteral("period"), QStringLiteral("The period (year) of the new company, e.g. 2026."), QStringLiteral("YEAR")});
    p.addOption({QStringLiteral("name"), QStringLiteral("The company name; the code when not given."), QStringLiteral("NAME")});
    p.addOption({QStringLiteral("force"), QStringLiteral("Replace an existing company database with an empty one, keeping a copy.")});
    p.addPositionalArgument(QStringLiteral("CODE"), QStringLiteral("The company code; the database file is named after it."));
    if (auto exit = cl.parse(args, out, err)) return *exit;

    if (!p.isSet(QStringLiteral("folder"))) return cl.usageError(QStringLiteral("--folder DIR is required."), err);
    if (p.positionalArguments().size() != 1) return cl.usageError(QStringLiteral("give exactly one company code."), err);
    const QString code = p.positionalArguments().first();
    if (const QString problem = app::companyCodeProblem(code); !problem.isEmpty()) return cl.usageError(problem + u'.', err);
    const QString period = p.value(QStringLiteral("period"));
    static const QRegularExpression year(QStringLiteral("^(19|20|21)\\d\\d$"));
    if (p.isSet(QStringLiteral("period")) && !year.match(period).hasMatch())
        return cl.usageError(QStringLiteral("--period takes a year such as 2026, not '%1'.").arg(period), err);

    const QString folder = p.value(QStringLiteral("folder"));
    if (!QFileInfo(folder).isDir()) {
        err << "belmo init-company: the program folder '" << folder << "' does not exist.\n";
        return kFailed;
    }
    const app::ProgramFolder pf(QFileInfo(folder).absoluteFilePath());
    if (!pf.ensureDataFolders()) {
        err << "belmo init-company: cannot create the folder '" << pf.companiesPath() << "'.\n";
        return kFailed;
    }
    QString kept, made = pf.companyPath(code);
    const app::NewCompany company{code, p.value(QStringLiteral("name")), period};
    try {
        if (const std::optional<app::ServerSettings> server = chosenServer(pf)) {
            app::prepareServerCompany(*server, company, p.isSet(QStringLiteral("force")));
            made = app::serverPlace(*server, code);
        } else {
            kept = app::prepareCompany(pf, company, p.isSet(QStringLiteral("force")));
        }
    } catch (const db::DbError& e) {
        err << "belmo init-company: " << e.description() << "\n";
        return kFailed;
    }
    if (!kept.isEmpty()) out << "Kept the earlier " << made << " as " << kept << ".\n";
    out << "Prepared " << made;
    if (!period.isEmpty()) out << " for the period " << period;
    out << ".\n";
    return kOk;
}

}  // namespace belmo::cli
