#include "app/ProgramFolder.h"
#include "app/ServerCompanies.h"
#include "app/ServerSettings.h"
#include "cli/Cli.h"
#include "cli/CommandLine.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Recordset.h"
#include "db/Schema.h"
#include "db/VbConvert.h"

#include <QDir>
#include <QFileInfo>

namespace belmo::cli {

using namespace Qt::Literals::StringLiterals;

namespace {

using db::CursorType;
using db::LockType;

QList<QList<db::Value>> read(db::Connection& con, const QString& sql)
{
    db::Recordset rs;
    rs.open(sql, con, CursorType::Static, LockType::ReadOnly);
    QList<QList<db::Value>> rows;
    while (!rs.eof()) {
        QList<db::Value> row;
        for (int i = 0; i < rs.fieldCount(); ++i) row << rs.value(i);
        rows << row;
        rs.moveNext();
    }
    return rows;
}

QString text(const db::Value& v) { return v.isNull() ? QStringLiteral("-") : vb::CStr(v); }

void printConfig(db::Connection& con, QTextStream& out)
{
    QStringList users;
    for (const auto& u : read(con, QStringLiteral("Select USERAD, USERCODE, ADM, AKTIVE, LOCK from USERS order by USERCODE"))) {
        QStringList notes{text(u[1])};
        if (text(u[2]) == u"1") notes << QStringLiteral("administrator");
        if (text(u[3]) != u"1") notes << QStringLiteral("passive");
        if (text(u[4]) != u"1") notes << QStringLiteral("locked");
        users << QStringLiteral("%1 (%2)").arg(text(u[0]), notes.join(QStringLiteral(", ")));
    }
    out << "  users: " << users.join(QStringLiteral("; ")) << "\n";
    QStringList rights;
    for (const auto& r : read(con, QStringLiteral("Select USERCODE, SIRKETCODE from SRKTUSERS where SIRKETCODE Is Not Null "
                                                  "group by USERCODE, SIRKETCODE order by USERCODE, SIRKETCODE")))
        rights << text(r[0]) + QStringLiteral(" → ") + text(r[1]);
    out << "  company rights: " << rights.join(QStringLiteral(", ")) << "\n";
    const auto theme = read(con, QStringLiteral("Select Tema_Adi from config where ID=999"));
    out << "  theme (row 999): " << (theme.isEmpty() ? QStringLiteral("missing") : text(theme[0][0])) << "\n";
    out << "  error texts: " << text(read(con, QStringLiteral("Select count(*) from Hata_Kod"))[0][0]) << "\n";
}

// A company's part: its name and period, what a file says it is (a server database has no such
// header), and the rows of its tables.
void printCompany(db::Connection& con, bool file, QTextStream& out)
{
    const auto company = read(con, QStringLiteral("Select SIRKETAD, DONEM from SIRKET"));
    if (company.isEmpty()) out << "  no company row\n";
    else out << "  " << text(company[0][0]) << ", period " << text(company[0][1]) << "\n";
    if (file) {
        const auto ids = read(con, QStringLiteral("Select application_id, user_version from pragma_application_id, pragma_user_version"));
        out << "  application_id " << text(ids[0][0]) << ", user_version " << text(ids[0][1]) << "\n";
    }
    QStringList cells;
    int empty = 0;
    for (const auto& t : db::schema::companyTables()) {
        const qint64 n = read(con, QStringLiteral("Select count(*) from %1").arg(t.name))[0][0].intValue();
        if (n == 0) {
            ++empty;
            continue;
        }
        cells << QStringLiteral("%1 %2").arg(t.name).arg(n);
    }
    for (qsizetype i = 0; i < cells.size(); i += 6) out << "  " << cells.mid(i, 6).join(QStringLiteral(" | ")) << "\n";
    out << "  " << empty << " of " << db::schema::companyTables().size() << " tables empty\n";
}

bool cannotRead(const QString& label, const QString& reason, QTextStream& out, QTextStream& err)
{
    out.flush();
    err << "belmo: " << label << ": " << reason << "\n";
    err.flush();
    return false;
}

// Prints one database's part; false (with the reason on err) when the file cannot be read.
template <typename Print>
bool printFile(db::ConnectionPool& pool, const QString& connection, const QString& label, QTextStream& out,
               QTextStream& err, Print print)
{
    out << label << "\n";
    try {
        db::Connection con(pool);
        con.open(connection);
        print(con);
        return true;
    } catch (const db::DbError& e) {
        return cannotRead(label, e.description(), out, err);
    }
}

// The companies on the server: the codes given, else every company database it has.
bool printServer(const app::ServerSettings& server, const QStringList& codes, db::ConnectionPool& pool, QTextStream& out,
                 QTextStream& err)
{
    QStringList companies;
    try {
        companies = server.companies();
    } catch (const db::DbError& e) {
        return cannotRead(server.label(), e.description(), out, err);
    }
    bool ok = true;
    for (const QString& code : codes.isEmpty() ? companies : codes) {
        const QString label = app::serverPlace(server, code);
        if (!companies.contains(code)) {
            out << label << "\n";
            ok &= cannotRead(label, u"the server has no company database %1"_s.arg(code), out, err);
            continue;
        }
        ok &= printFile(pool, server.companyConnection(code), label, out, err,
                        [&](db::Connection& con) { printCompany(con, false, out); });
    }
    return ok;
}

}  // namespace

int printFolder(const QString& folder, const QStringList& codes, QTextStream& out, QTextStream& err)
{
    const app::ProgramFolder pf(folder);
    out << "Program folder " << pf.root() << "\n";
    db::ConnectionPool pool;
    bool ok = printFile(pool, pf.configConnection(), QStringLiteral("config.mdb"), out, err,
                        [&](db::Connection& con) { printConfig(con, out); });
    std::optional<app::ServerSettings> server;
    try {
        server = chosenServer(pf);
    } catch (const db::DbError&) {
        // config.mdb could not be read: said above; the files are shown.
    }
    if (server) {
        ok &= printServer(*server, codes, pool, out, err);
        out.flush();
        return ok ? kOk : kFailed;
    }
    QStringList companies = codes;
    if (companies.isEmpty())
        for (const QFileInfo& f : QDir(pf.companiesPath()).entryInfoList({QStringLiteral("*.mdb")}, QDir::Files, QDir::Name))
            companies << f.completeBaseName();
    for (const QString& code : companies) {
        const QString label = QStringLiteral("MUHASEBE/%1.mdb").arg(code);
        // A code finds its file as at the login: by its name exactly, and only when no other
        // file's name differs from it in case only.
        using State = app::ProgramFolder::CompanyFile::State;
        if (const auto file = pf.findCompany(code); file.state == State::OtherCase || file.state == State::Ambiguous) {
            out << label << "\n";
            ok &= cannotRead(label, file.problem(), out, err);
            continue;
        }
        ok &= printFile(pool, pf.companyConnection(code), label, out, err,
                        [&](db::Connection& con) { printCompany(con, true, out); });
    }
    out.flush();
    return ok ? kOk : kFailed;
}

int show(const QStringList& args, QTextStream& out, QTextStream& err)
{
    CommandLine cl(QStringLiteral("show"), QStringLiteral("--folder DIR [CODE...]"),
                   QStringLiteral("Prints what a program folder holds: the users, company rights, theme and error\n"
                                  "texts of config.mdb, and for each company (all of MUHASEBE when no code is\n"
                                  "given) its name, period, the file's application id and schema version (0 for a\n"
                                  "file made before they were set) and the rows of its tables. With the server\n"
                                  "chosen in config.mdb the companies are the server's databases (all of them when no\n"
                                  "code is given), shown the same way but for the file's ids. Codes are plain\n"
                                  "codes, each naming its file exactly, as at the login. A file that is missing, not a\n"
                                  "database of this program or refuses the password, or a code whose file differs\n"
                                  "in case only or cannot be told from another, is named on stderr and the exit\n"
                                  "code is 1."));
    QCommandLineParser& p = cl.parser();
    p.addOption({QStringLiteral("folder"), QStringLiteral("The program folder."), QStringLiteral("DIR")});
    p.addPositionalArgument(QStringLiteral("CODE"), QStringLiteral("Company codes to show."), QStringLiteral("[CODE...]"));
    if (auto exit = cl.parse(args, out, err)) return *exit;
    if (!p.isSet(QStringLiteral("folder"))) return cl.usageError(QStringLiteral("--folder DIR is required."), err);
    // A code becomes a file name: only plain codes, as at the login, so no code reads a file
    // outside MUHASEBE.
    for (const QString& code : p.positionalArguments())
        if (const QString problem = app::companyCodeProblem(code); !problem.isEmpty()) return cl.usageError(problem + u'.', err);
    const QString folder = p.value(QStringLiteral("folder"));
    if (!QFileInfo(folder).isDir()) {
        err << "belmo show: the program folder '" << folder << "' does not exist.\n";
        return kFailed;
    }
    return printFolder(QFileInfo(folder).absoluteFilePath(), p.positionalArguments(), out, err);
}

}  // namespace belmo::cli
