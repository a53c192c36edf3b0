// The commands that log in, scripted: one set of exit codes with the refusal's reason, the
// JSON on standard output alone, the progress on standard error.
#include "DemoRun.h"

#include "cli/Cli.h"
#include "db/ConnectionString.h"
#include "db/Schema.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;

class ExitCodes : public DemoRun {
protected:
    // The login of `user` with `password` from DEMO2025 to DEMO2026.
    QStringList loginAs(const QString& user, const QString& password) const
    {
        QStringList args = login(password);
        args[args.indexOf(u"--user"_s) + 1] = user;
        return args;
    }
};

TEST_F(ExitCodes, AreTheSameForEveryCommandAndARefusalSaysWhy)
{
    db::Connection config(reader.pool());
    config.open(db::ConnectionString::forJetFile(folder_.path() + u"/config.mdb"_s, db::schema::databasePassword()));
    reader.insert(config, u"USERS"_s, {{"USERAD", "MISAFIR"}, {"USERCODE", "09"}, {"PASSWORD", "misafir"}, {"ADM", 0},
                                       {"AKTIVE", 1}, {"LOCK", 1}, {"CONNECTED", 0}});
    const QStringList depo{u"--steps"_s, u"depo"_s, u"--yes"_s};
    const struct {
        QString command;
        QStringList args;
        int code;
        QString err;  // a line of standard error
    } cases[] = {
        {u"run"_s, {u"--folder"_s, folder_.path()}, cli::kBadUsage, u"belmo run: --user is missing."_s},
        {u"check"_s, {u"--folder"_s, folder_.path()}, cli::kBadUsage, u"belmo check: --user is missing."_s},
        {u"report"_s, {u"--folder"_s, folder_.path()}, cli::kBadUsage, u"belmo report: --user is missing."_s},
        {u"run"_s, login(u"12345"_s) + depo, cli::kLoginRefused, u"belmo run: login refused: GİRİŞ ONAYLANMADI"_s},
        {u"report"_s, login(u"12345"_s), cli::kLoginRefused, u"belmo report: login refused: GİRİŞ ONAYLANMADI"_s},
        {u"check"_s, login(u"12345"_s), cli::kLoginRefused,
         u"belmo check: login refused: GİRİŞ ONAYLANMADI: şifre yanlış ya da kullanıcı etkin değil."_s},
        {u"batch"_s, {u"--folder"_s, folder_.path(), u"--user"_s, u"MUHASEBE"_s, u"--password"_s, u"12345"_s, u"--all"_s},
         cli::kLoginRefused, u"belmo batch: login refused: GİRİŞ ONAYLANMADI: şifre yanlış ya da kullanıcı etkin değil."_s},
        {u"run"_s, loginAs(u"MISAFIR"_s, u"misafir"_s) + depo, cli::kLoginRefused,
         u"belmo run: login refused: MISAFIR has no right to any company"_s},
        {u"report"_s, loginAs(u"MISAFIR"_s, u"misafir"_s), cli::kLoginRefused,
         u"belmo report: login refused: MISAFIR has no right to any company"_s},
        {u"run"_s, login(u"1234"_s) + QStringList{u"--steps"_s, u"sablon"_s}, cli::kFailed, {}},  // No to its question
        {u"report"_s, login(u"1234"_s), cli::kFailed, {}},                                       // nothing carried yet
        {u"check"_s, login(u"1234"_s), cli::kOk, {}},
        {u"run"_s, login(u"1234"_s) + depo, cli::kOk, {}},
    };
    for (const auto& c : cases) {
        const RunResult r = belmo(QStringList{c.command} + c.args);
        EXPECT_EQ(r.code, c.code) << c.command.toStdString() << ' ' << c.args.join(u' ').toStdString() << r.err.toStdString();
        if (!c.err.isEmpty()) EXPECT_TRUE(r.err.split(u'\n').contains(c.err)) << r.err.toStdString();
        if (c.code == cli::kLoginRefused) EXPECT_EQ(r.err.count(u"login refused"_s), 1);
    }
}

// With --json, standard output holds the run's record and reconciliation alone; the exchanges
// and one progress line per step go to standard error, and --quiet leaves the progress out.
TEST_F(ExitCodes, RunJsonIsTheReportAndTheProgressIsALinePerStep)
{
    const QRegularExpression progress(u"^(depo|grup) \\((Depo|Grup) Tanımları\\): \\d+ rows? done \\(\\d+ ticked\\), \\d+\\.\\d s, finished$"_s,
                                      QRegularExpression::MultilineOption);
    for (const bool quiet : {false, true}) {
        QStringList args = login(u"1234"_s) + QStringList{u"--steps"_s, u"grup,depo"_s, u"--yes"_s, u"--json"_s};
        if (quiet) args << u"--quiet"_s;
        const RunResult r = belmoRun(args);
        ASSERT_EQ(r.code, cli::kOk) << r.err.toStdString();
        QJsonParseError error{};
        const QJsonObject run = QJsonDocument::fromJson(r.out.toUtf8(), &error).object();
        ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();
        const QJsonArray steps = run[u"steps"_s].toArray();
        ASSERT_EQ(steps.size(), 2);
        EXPECT_EQ(steps[0][u"key"_s], u"grup"_s);
        EXPECT_EQ(steps[1][u"key"_s], u"depo"_s);
        EXPECT_EQ(steps[1][u"ticked"_s], 4);
        EXPECT_TRUE(run[u"differences"_s].isDouble() && run[u"current_accounts"_s].isArray());
        EXPECT_TRUE(r.err.contains(u"Depo Tanımları Aktarıldı.\n      -> OK"_s)) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains(u"Summary:"_s));
        EXPECT_EQ(r.err.count(progress), quiet ? 0 : 2) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(u"depo (Depo Tanımları): 4 rows done (4 ticked), "_s) != quiet);
    }
}

}  // namespace
}  // namespace belmo::test
