// `belmo batch` on a demo folder of three pairs: every pair checked and carried with its
// report, one held by another program left out and named, a pairs file's mistakes refused by
// line before anything is written.
#include "DemoRun.h"

#include "app/ProgramFolder.h"
#include "cli/Cli.h"
#include "demo/Demo.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <sqlite3.h>

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;

class Batch : public ::testing::Test {
protected:
    Batch() { demo::createDemoFolder(folder_.path(), demo::Size::Small, false, {}, 3); }
    QString company(const QString& code) const { return app::ProgramFolder(folder_.path()).companyPath(code); }
    QString reports() const { return folder_.path() + u"/reports"_s; }
    RunResult batch(const QStringList& how) const
    {
        return belmo(QStringList{u"batch"_s, u"--folder"_s, folder_.path(), u"--user"_s, u"MUHASEBE"_s, u"--password"_s,
                                 u"1234"_s, u"--report-dir"_s, reports()} + how);
    }
    QJsonObject summary() const
    {
        QFile file(reports() + u"/batch.json"_s);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QJsonDocument::fromJson(file.readAll()).object();
    }
    // The pair's line of the table.
    static bool tableShows(const RunResult& r, const QString& pair, const QString& outcome)
    {
        return QRegularExpression(u"^"_s + pair + u" +"_s + outcome, QRegularExpression::MultilineOption).match(r.out).hasMatch();
    }
    QTemporaryDir folder_;
};

TEST_F(Batch, AllPairsOfTheFolderAreCarriedAndTheCompaniesWithoutASuccessorListed)
{
    for (const QString& code : {u"ACME"_s, u"DEMO2024"_s, u"TEK2024"_s}) QFile::copy(company(u"DEMO2026"_s), company(code));
    const RunResult r = batch({u"--all"_s});
    EXPECT_EQ(r.code, cli::kOk) << r.out.toStdString() << r.err.toStdString();
    for (const QString& shown : {u"Left unpaired: ACME (its code does not end in a year)"_s,
                                 u"Left unpaired: DEMO2024 (an earlier period: DEMO2025 -> DEMO2026 is carried)"_s,
                                 u"Left unpaired: TEK2024 (there is no TEK2025)"_s, u"3 of 3 pairs finished."_s})
        EXPECT_TRUE(r.out.contains(shown)) << shown.toStdString() << r.out.toStdString();
    const QJsonArray pairs = summary()[u"pairs"_s].toArray();
    ASSERT_EQ(pairs.size(), 3);
    for (const QJsonValue pair : pairs) {
        const QString source = pair[u"source"_s].toString(), target = pair[u"target"_s].toString();
        EXPECT_TRUE(tableShows(r, source + u" -> "_s + target, u"finished +0 +\\d+\\.\\d$"_s)) << r.out.toStdString();
        EXPECT_EQ(pair[u"differences"_s].toInt(-1), 0);
        EXPECT_TRUE(QFile::exists(reports() + u'/' + source + u'-' + target + u".json"_s));
        EXPECT_TRUE(QDir(folder_.path() + u"/MUHASEBE/Yedek"_s).entryList(QDir::Files).join(u' ').contains(target));
    }
}

// The check finds the target's write lock at once: that pair is not run, the others are.
TEST_F(Batch, ATargetHeldByAnotherProgramIsNamedAndTheOtherPairsGoOn)
{
    db::HandlePtr other = otherProgram(company(u"DEMOB2026"_s));
    sqlite3_exec(other.get(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    const RunResult r = batch({u"--all"_s, u"--wait"_s, u"0"_s});
    EXPECT_EQ(r.code, cli::kFailed);
    EXPECT_TRUE(tableShows(r, u"DEMOB2025 -> DEMOB2026"_s, u"not finished +- .*blocked by the check: DEMOB2026.mdb: "_s))
        << r.out.toStdString();
    for (const QString& pair : {u"DEMO2025 -> DEMO2026"_s, u"DEMOC2025 -> DEMOC2026"_s}) EXPECT_TRUE(tableShows(r, pair, u"finished"_s));
    EXPECT_EQ(summary()[u"not_finished"_s].toInt(), 1);
    EXPECT_FALSE(QFile::exists(reports() + u"/DEMOB2025-DEMOB2026.json"_s));
}

TEST_F(Batch, APairsFilesMistakesAreRefusedByLineBeforeAnythingIsWritten)
{
    const struct {
        QByteArray pairs;
        QStringList told;
    } cases[] = {
        {"# year end\n\nDEMO2025 DEMO2026 DEMOB2026\n", {u"line 3: give two company codes, SOURCE TARGET"_s}},
        {"DEMO2025\tNOPE2026  # a typo\n", {u"line 1: "_s + company(u"NOPE2026"_s) + u": file not found"_s}},
        {"DEMO2025 demo2025\n", {u"line 1: "_s + company(u"demo2025"_s) + u": file not found; MUHASEBE holds DEMO2025.mdb"_s}},
        {"DEMOC2025 DEMOC2025\n", {u"line 1: DEMOC2025 and DEMOC2025 are the same company"_s}},
        {"DEMO2025 DEMO2026\nDEMOB2025 DEMOB2026\nDEMOC2025 DEMO2026\nDEMO2025 bad/code\n",
         {u"line 3: DEMO2026 is the target of line 1 already"_s, u"line 4: "_s}},
        {"\n# nothing yet\n", {u"the pairs file lists no pair"_s}},
    };
    QFile target(company(u"DEMO2026"_s));
    ASSERT_TRUE(target.open(QIODevice::ReadOnly));
    const QByteArray before = target.readAll();
    for (const auto& c : cases) {
        QFile pairs(folder_.path() + u"/pairs.txt"_s);
        ASSERT_TRUE(pairs.open(QIODevice::WriteOnly | QIODevice::Truncate));
        pairs.write(c.pairs);
        pairs.close();
        const RunResult r = batch({u"--pairs"_s, pairs.fileName()});
        EXPECT_EQ(r.code, cli::kBadUsage) << c.pairs.toStdString();
        for (const QString& told : c.told) EXPECT_TRUE(r.err.contains(told)) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(reports())) << c.pairs.toStdString();
    }
    target.seek(0);
    EXPECT_EQ(target.readAll(), before);
}

}  // namespace
}  // namespace belmo::test
