#include "app/ProgramFolder.h"
#include "app/ServerCompanies.h"
#include "app/ServerSettings.h"
#include "cli/Cli.h"
#include "cli/CommandLine.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "demo/Demo.h"

#include <QElapsedTimer>
#include <QFileInfo>

namespace belmo::cli {

namespace {

// The server chosen in the folder's config.mdb stays chosen in the demo's, and every demo
// company is copied to it.
bool copyToServer(const app::ProgramFolder& folder, const app::ServerSettings& server, int pairs, bool replace,
                  QTextStream& out, QTextStream& err)
{
    try {
        {
            db::ConnectionPool pool;
            db::Connection config(pool);
            config.open(folder.configConnection());
            server.save(config);
        }
        for (const demo::DemoPair& pair : demo::demoPairs(pairs))
            for (const QString& code : {pair.source, pair.target}) {
                const app::CompanyCopy copy = app::copyToServer(folder, server, code, replace);
                out << "copied " << copy.from << " to " << copy.to << "\n";
                out.flush();
            }
    } catch (const db::DbError& e) {
        err << "belmo demo: " << e.description() << "\n";
        return false;
    }
    return true;
}

}  // namespace

int demo(const QStringList& args, QTextStream& out, QTextStream& err)
{
    CommandLine cl(QStringLiteral("demo"), QStringLiteral("[--size small|large] [--companies N] [--force] DIR"),
                   QStringLiteral("Creates a program folder to try the carry-forward on:\n"
                                  "  config.mdb              users ADMIN (password admin, administrator), MUHASEBE\n"
                                  "                          (password 1234) and STAJYER (locked), with rights to every\n"
                                  "                          company, the theme and the error texts;\n"
                                  "  MUHASEBE/DEMO2025.mdb   the closing period 2025 of a trading and transport\n"
                                  "                          company, with data for every transfer step;\n"
                                  "  MUHASEBE/DEMO2026.mdb   the new period 2026, prepared and empty.\n"
                                  "--companies N makes N such pairs (1 to 26), for 'belmo batch': DEMO2025 -> DEMO2026,\n"
                                  "DEMOB2025 -> DEMOB2026, DEMOC2025 -> DEMOC2026 and so on, each source with the same data.\n"
                                  "--size large makes 50,000 current accounts, 1,000,000 movement lines and 20,000\n"
                                  "stock cards per source, for benchmarks. Existing demo files are left alone unless\n"
                                  "--force is given. With the server chosen in an existing DIR/config.mdb (see\n"
                                  "'belmo server') the new config.mdb keeps it, and every demo company is copied to\n"
                                  "the server as well (--force replaces those there). Then prints what the folder holds."));
    QCommandLineParser& p = cl.parser();
    p.addOption({QStringLiteral("size"), QStringLiteral("small (default) or large."), QStringLiteral("SIZE"), QStringLiteral("small")});
    p.addOption({QStringLiteral("companies"), QStringLiteral("How many pairs of companies, 1 (default) to 26."), QStringLiteral("N"),
                 QStringLiteral("1")});
    p.addOption({QStringLiteral("force"), QStringLiteral("Replace existing demo files.")});
    p.addPositionalArgument(QStringLiteral("DIR"), QStringLiteral("The program folder to create (or fill)."));
    if (auto exit = cl.parse(args, out, err)) return *exit;

    if (p.positionalArguments().size() != 1) return cl.usageError(QStringLiteral("give exactly one folder."), err);
    const QString size = p.value(QStringLiteral("size"));
    if (size != u"small" && size != u"large")
        return cl.usageError(QStringLiteral("--size is small or large, not '%1'.").arg(size), err);
    bool pairsRead = false;
    const int pairs = p.value(QStringLiteral("companies")).toInt(&pairsRead);
    if (!pairsRead || pairs < 1 || pairs > demo::kMostPairs)
        return cl.usageError(QStringLiteral("--companies takes a number from 1 to %1.").arg(demo::kMostPairs), err);
    const QString folder = p.positionalArguments().first();

    QElapsedTimer timer;
    timer.start();
    const app::ProgramFolder pf(QFileInfo(folder).absoluteFilePath());
    std::optional<app::ServerSettings> server;
    try {
        server = chosenServer(pf);
    } catch (const db::DbError&) {
        // An unreadable config.mdb chooses no server; the demo's own replaces it when told to.
    }
    try {
        demo::createDemoFolder(folder, size == u"large" ? demo::Size::Large : demo::Size::Small, p.isSet(QStringLiteral("force")),
                               [&](const QString& step) {
                                   out << step << "\n";
                                   out.flush();
                               },
                               pairs);
    } catch (const db::DbError& e) {
        err << "belmo demo: " << e.description() << "\n";
        err << "belmo demo: nothing was put in place.\n";
        return kFailed;
    }
    if (server && !copyToServer(pf, *server, pairs, p.isSet(QStringLiteral("force")), out, err)) return kFailed;
    out << "Demo folder ready in " << QString::number(timer.elapsed() / 1000.0, 'f', 1) << " s.\n\n";
    return printFolder(QFileInfo(folder).absoluteFilePath(), {}, out, err);
}

}  // namespace belmo::cli
