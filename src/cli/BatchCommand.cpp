// `belmo batch`: many pairs of companies in one go, each checked, backed up, carried and
// reconciled as `belmo check` and `belmo run` do it, one after another. What each command
// printed goes to the pair's log beside its report, so that the batch's own output stays a
// table of the outcomes.
#include "app/ProgramFolder.h"
#include "app/ServerCompanies.h"
#include "app/ServerSettings.h"
#include "cli/Cli.h"
#include "cli/CommandLine.h"
#include "cli/Headless.h"
#include "db/DbError.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>
#include <exception>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

namespace belmo::cli {

using namespace Qt::Literals::StringLiterals;

namespace {

struct Pair {
    QString source, target;
    int line = 0;  // in the pairs file; 0 for a pair --all found

    QString name() const { return source + u" -> "_s + target; }
    QString fileStem() const { return source + u'-' + target; }
};

// A company --all left out, and why.
struct Unpaired {
    QString code, reason;
};

// The pairs to carry, or the problems of the input, each naming its line.
struct Pairing {
    std::vector<Pair> pairs;
    std::vector<Unpaired> unpaired;
    QStringList problems;
};

// Where the codes of a batch are looked for: the files of MUHASEBE, or the databases of the
// server when config.mdb chooses it.
struct Companies {
    const app::ProgramFolder& folder;
    std::optional<app::ServerSettings> server;
    QStringList onServer;  // the server's companies, sorted

    // The company of a code (its canonical file, or its database on the server), or the
    // problem of finding it.
    struct Found {
        QString place, problem;
    };
    Found find(const QString& code) const
    {
        if (server) return {app::serverPlace(*server, code), serverCompanyProblem(*server, onServer, code)};
        if (const auto found = folder.findCompany(code); found.state != app::ProgramFolder::CompanyFile::State::Found)
            return {{}, found.problem()};
        return {QFileInfo(folder.companyPath(code)).canonicalFilePath(), {}};
    }
    bool same(const QString& a, const QString& b) const { return server ? a == b : app::sameFile(a, b); }
    QString where() const { return server ? server->label() : folder.companiesPath(); }
};

// The codes of the company files in MUHASEBE (or of the server's companies), in name order.
QStringList companyCodes(const Companies& companies)
{
    if (companies.server) return companies.onServer;
    const app::ProgramFolder& folder = companies.folder;
    QStringList codes;
    for (const QFileInfo& f : QDir(folder.companiesPath()).entryInfoList({u"*.mdb"_s}, QDir::Files, QDir::Name))
        if (app::isPlainCompanyCode(f.completeBaseName())) codes << f.completeBaseName();
    return codes;
}

// Every code ending in a year with the same code of the next year. Of a code with several
// years only the newest pair is carried: an older one would carry into a period that is in
// use and has been carried from already.
Pairing pairEveryPeriod(const QStringList& codes)
{
    static const QRegularExpression endsInYear(u"^(.*?)(\\d{4})$"_s);
    Pairing result;
    std::map<QString, std::map<int, QString>> periods;  // by the code without its year
    for (const QString& code : codes) {
        const QRegularExpressionMatch m = endsInYear.match(code);
        if (m.hasMatch())
            periods[m.captured(1)][m.captured(2).toInt()] = code;
        else
            result.unpaired.push_back({code, u"its code does not end in a year"_s});
    }
    for (const auto& [stem, years] : periods) {
        std::optional<int> newest;
        for (const auto& [year, code] : years)
            if (years.count(year + 1)) newest = year;
        if (newest) result.pairs.push_back({years.at(*newest), years.at(*newest + 1)});
        for (const auto& [year, code] : years) {
            if (newest && (year == *newest || year == *newest + 1)) continue;
            result.unpaired.push_back({code, years.count(year + 1)
                                                 ? u"an earlier period: %1 is carried"_s.arg(result.pairs.back().name())
                                                 : u"there is no %1%2"_s.arg(stem).arg(year + 1)});
        }
    }
    return result;
}

// "SOURCE TARGET" per line; blank lines and '#' comments are skipped. Every line is
// looked at, so that all its problems are told at once.
Pairing readPairsFile(const QString& path, const Companies& companies)
{
    Pairing result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        result.problems << u"cannot read the pairs file '%1': %2"_s.arg(path, file.errorString());
        return result;
    }
    static const QRegularExpression blanks(u"\\s+"_s);
    std::map<QString, int> targetLines;  // by the target's file
    int line = 0;
    while (!file.atEnd()) {
        ++line;
        const QString text = QString::fromUtf8(file.readLine());
        const QStringList codes = text.left(text.indexOf(u'#')).split(blanks, Qt::SkipEmptyParts);
        if (codes.isEmpty()) continue;
        auto problem = [&](const QString& what) { result.problems << u"line %1: %2"_s.arg(line).arg(what); };
        if (codes.size() != 2) {
            problem(u"give two company codes, SOURCE TARGET, not '%1'"_s.arg(text.trimmed()));
            continue;
        }
        QStringList files;
        for (const QString& code : codes) {
            if (const QString bad = app::companyCodeProblem(code); !bad.isEmpty())
                problem(bad);
            else if (const auto found = companies.find(code); !found.problem.isEmpty())
                problem(found.problem);
            else
                files << found.place;
        }
        if (files.size() != 2) continue;
        if (companies.same(files[0], files[1])) {
            problem(u"%1 and %2 are the same company"_s.arg(codes[0], codes[1]));
            continue;
        }
        const QString& target = files[1];
        if (const auto earlier = targetLines.find(target); earlier != targetLines.end()) {
            problem(u"%1 is the target of line %2 already"_s.arg(codes[1]).arg(earlier->second));
            continue;
        }
        targetLines[target] = line;
        result.pairs.push_back({codes[0], codes[1], line});
    }
    if (result.pairs.empty() && result.problems.isEmpty()) result.problems << u"the pairs file lists no pair"_s;
    return result;
}

// What the batch gives every pair's commands.
struct Batch {
    QString folder, user, password, reportDir;
    QStringList runOptions;  // --dry-run, --keep, --no-backup, --wait as given
};

// What became of a pair.
struct PairResult {
    Pair pair;
    bool finished = false;
    std::optional<int> differences;  // from the pair's report
    double seconds = 0;
    QString note;                    // why it did not finish
    QString refusal;                 // why the login refused the user, when it did
    QString report, log;

    QJsonObject toJson() const
    {
        return {{u"source"_s, pair.source},
                {u"target"_s, pair.target},
                {u"outcome"_s, finished ? u"finished"_s : u"not finished"_s},
                {u"differences"_s, differences ? QJsonValue(*differences) : QJsonValue()},
                {u"seconds"_s, seconds},
                {u"note"_s, note},
                {u"report"_s, report.isEmpty() ? QJsonValue() : QJsonValue(report)},
                {u"log"_s, log}};
    }
};

// Runs one command in-process with its output kept for the pair's log: the command line as
// it was given (without the password), what it printed and its exit code.
class PairLog {
public:
    int run(int (*command)(const QStringList&, QTextStream&, QTextStream&), const QString& name, const QStringList& shown,
            const QString& password, QString& printed)
    {
        QString err;
        QTextStream out(&printed), errors(&err);
        int code = kFailed;
        try {
            code = command(shown + QStringList{u"--password"_s, password}, out, errors);
        } catch (const std::exception& e) {
            errors << "belmo " << name << ": " << e.what() << "\n";
        }
        out.flush();
        errors.flush();
        text_ += u"$ belmo %1 %2\n%3%4exit code %5\n\n"_s.arg(name, shown.join(u' '), printed, err).arg(code);
        lastError_ = err.trimmed().section(u'\n', -1);
        return code;
    }
    const QString& lastError() const { return lastError_; }
    bool write(const QString& path) const
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text) && file.write(text_.toUtf8()) >= 0;
    }

private:
    QString text_;
    QString lastError_;
};

// The first blocking finding of `belmo check --json`, for the table.
QString firstBlocking(const QString& checkJson)
{
    const QJsonArray findings = QJsonDocument::fromJson(checkJson.toUtf8()).object().value(u"findings"_s).toArray();
    for (const QJsonValue& f : findings)
        if (f[u"severity"_s].toString() == u"blocking")
            return u"%1: %2"_s.arg(QFileInfo(f[u"file"_s].toString()).fileName(), f[u"cause"_s].toString());
    return u"the check failed"_s;
}

// The report's differences and the steps that did not finish, from the report the run wrote.
void readReport(PairResult& result)
{
    QFile file(result.report);
    if (!file.open(QIODevice::ReadOnly)) {
        result.report.clear();
        return;
    }
    const QJsonObject report = QJsonDocument::fromJson(file.readAll()).object();
    if (report.contains(u"differences"_s)) result.differences = report.value(u"differences"_s).toInt();
    QStringList unfinished;
    for (const QJsonValue& step : report.value(u"steps"_s).toArray())
        if (!step[u"finished"_s].toBool()) unfinished << step[u"key"_s].toString();
    if (!unfinished.isEmpty()) result.note = u"steps not finished: "_s + unfinished.join(u", "_s);
}

// The check, and when nothing blocks, the run with its report.
PairResult carryPair(const Batch& batch, const Pair& pair)
{
    QElapsedTimer timer;
    timer.start();
    PairResult result;
    result.pair = pair;
    result.log = batch.reportDir + u'/' + pair.fileStem() + u".log"_s;
    const QStringList login{u"--folder"_s, batch.folder, u"--user"_s, batch.user, u"--source"_s, pair.source, u"--target"_s, pair.target};
    PairLog log;
    QString printed;
    if (const int checked = log.run(&check, u"check"_s, login + QStringList{u"--json"_s}, batch.password, printed); checked != kOk) {
        result.note = u"blocked by the check: "_s + firstBlocking(printed);
        if (checked == kLoginRefused) result.refusal = log.lastError().section(u"login refused: "_s, 1);
    } else {
        result.report = batch.reportDir + u'/' + pair.fileStem() + u".json"_s;
        QFile::remove(result.report);  // an earlier batch's report tells nothing of this run
        printed.clear();
        // The batch tells of each pair itself: the run's progress would only bury its reason.
        const QStringList options = login + batch.runOptions + QStringList{u"--yes"_s, u"--quiet"_s, u"--report"_s, result.report};
        result.finished = log.run(&runTransfers, u"run"_s, options, batch.password, printed) == kOk;
        readReport(result);
        if (!result.finished && result.note.isEmpty())
            result.note = log.lastError().isEmpty() ? printed.trimmed().section(u'\n', -1) : log.lastError();
    }
    if (!log.write(result.log)) result.log.clear();
    result.seconds = timer.elapsed() / 1000.0;
    return result;
}

void printTable(const std::vector<PairResult>& results, QTextStream& out)
{
    qsizetype width = 4;
    for (const PairResult& r : results) width = std::max(width, r.pair.name().size());
    out << u"Pair"_s.leftJustified(width + 2) << "Outcome       Differences  Seconds  Note\n";
    for (const PairResult& r : results)
        out << r.pair.name().leftJustified(width + 2) << (r.finished ? u"finished"_s : u"not finished"_s).leftJustified(14)
            << (r.differences ? QString::number(*r.differences) : u"-"_s).rightJustified(11)
            << QString::number(r.seconds, 'f', 1).rightJustified(9) << (r.note.isEmpty() ? QString() : u"  "_s + r.note) << "\n";
}

QJsonObject batchJson(const Batch& batch, const QDateTime& started, const std::vector<PairResult>& results,
                      const std::vector<Unpaired>& unpaired)
{
    QJsonArray pairs, left;
    int finished = 0;
    for (const PairResult& r : results) {
        pairs.append(r.toJson());
        finished += r.finished ? 1 : 0;
    }
    for (const Unpaired& u : unpaired) left.append(QJsonObject{{u"code"_s, u.code}, {u"reason"_s, u.reason}});
    return {{u"folder"_s, batch.folder},
            {u"user"_s, batch.user},
            {u"started"_s, started.toString(Qt::ISODate)},
            {u"dry_run"_s, batch.runOptions.contains(u"--dry-run"_s)},
            {u"report_dir"_s, batch.reportDir},
            {u"finished"_s, finished},
            {u"not_finished"_s, int(results.size()) - finished},
            {u"pairs"_s, pairs},
            {u"unpaired"_s, left}};
}

// --dry-run, --keep, --no-backup and --wait, checked here so that a wrong one stops the
// batch before the first pair instead of failing every pair.
std::optional<QString> runOptions(const QCommandLineParser& p, QStringList& options)
{
    if (p.isSet(u"dry-run"_s)) options << u"--dry-run"_s;
    if (p.isSet(u"keep"_s) && p.isSet(u"no-backup"_s)) return u"give --keep or --no-backup, not both."_s;
    if (const QString problem = runLimits(p).problem; !problem.isEmpty()) return problem;
    for (const QString& name : {u"keep"_s, u"wait"_s})
        if (p.isSet(name)) options << u"--"_s + name << p.value(name);
    if (p.isSet(u"no-backup"_s)) options << u"--no-backup"_s;
    return std::nullopt;
}

}  // namespace

int batch(const QStringList& args, QTextStream& out, QTextStream& err)
{
    CommandLine cl(u"batch"_s,
                   u"--folder DIR --user U [--password-file FILE | --password P] (--pairs FILE | --all) [--dry-run] [--report-dir DIR] [--keep N | --no-backup] [--wait SECONDS]"_s,
                   u"Carries many pairs of companies one after another, each as 'belmo check' and 'belmo run --yes'\n"
                   "would: the check first, and when it finds a blocking problem the pair is not run; else the run,\n"
                   "with the target's backup before its first write and the reconciliation report. A pair that\n"
                   "fails does not stop the others.\n"
                   "--pairs FILE lists one pair a line, \"SOURCE TARGET\"; blank lines and text after '#' are skipped.\n"
                   "A line that is not two codes, a company that is not in MUHASEBE, a pair of one company and a\n"
                   "target named twice are refused with their line numbers before anything is written.\n"
                   "--all pairs every company whose code ends in a year with the same code of the next year\n"
                   "(DEMO2025 -> DEMO2026); of a code with several years only the newest pair is carried. The\n"
                   "companies left unpaired are listed with the reason.\n"
                   "Each pair's report goes to REPORT-DIR/SOURCE-TARGET.json and what its check and run printed to\n"
                   "REPORT-DIR/SOURCE-TARGET.log; REPORT-DIR is MUHASEBE/Raporlar/batch-<date>-<time> in the program\n"
                   "folder unless --report-dir says otherwise. Ends with a table of the pairs (outcome, the\n"
                   "report's differences, seconds, why a pair did not finish), written as JSON to\n"
                   "REPORT-DIR/batch.json too. A wrong pairs file is a usage error. The password is read once, as\n"
                   "'belmo run' reads it."_s);
    cl.setFailure(u"a pair did not finish (blocked by its check or a step not finished), or the report folder\n"
                  "     or batch.json cannot be written"_s);
    cl.setRefusal(u"the login refused the user for every pair (the reason of the first in one line on standard error)"_s);
    QCommandLineParser& p = cl.parser();
    for (const auto& [name, value, help] :
         {std::tuple{u"folder"_s, u"DIR"_s, u"The program folder (holding config.mdb)."_s},
          {u"user"_s, u"U"_s, u"User name."_s},
          {u"password"_s, u"P"_s, u"Password (visible in the process list)."_s},
          {u"password-file"_s, u"FILE"_s, u"A file whose first line is the password."_s},
          {u"pairs"_s, u"FILE"_s, u"A file of pairs, \"SOURCE TARGET\" per line."_s},
          {u"report-dir"_s, u"DIR"_s, u"Where the reports, logs and batch.json go."_s},
          {u"keep"_s, u"N"_s, u"How many backups of each target to keep, default 10."_s},
          {u"wait"_s, u"SECONDS"_s, u"How long a run waits for a company another program holds, default 30."_s}})
        p.addOption({name, help, value});
    p.addOption({u"all"_s, u"Every company with the next year's company."_s});
    p.addOption({u"dry-run"_s, u"Rehearse each pair on a scratch copy of its target."_s});
    p.addOption({u"no-backup"_s, u"Do not back the targets up."_s});
    if (auto exit = cl.parse(args, out, err)) return *exit;
    for (const QString& name : {u"folder"_s, u"user"_s})
        if (!p.isSet(name)) return cl.usageError(u"--%1 is missing."_s.arg(name), err);
    if (p.isSet(u"pairs"_s) == p.isSet(u"all"_s)) return cl.usageError(u"give --pairs FILE or --all."_s, err);
    Batch batch;
    batch.folder = QFileInfo(p.value(u"folder"_s)).absoluteFilePath();
    batch.user = p.value(u"user"_s);
    if (auto bad = runOptions(p, batch.runOptions)) return cl.usageError(*bad, err);

    const app::ProgramFolder folder(batch.folder);
    Companies companies{folder, {}, {}};
    try {
        if ((companies.server = chosenServer(folder))) companies.onServer = companies.server->companies();
    } catch (const db::DbError& e) {
        err << "belmo batch: " << e.description() << "\n";
        return kFailed;
    }
    const Pairing pairing =
        p.isSet(u"all"_s) ? pairEveryPeriod(companyCodes(companies)) : readPairsFile(p.value(u"pairs"_s), companies);
    if (!pairing.problems.isEmpty()) {
        err << "belmo batch: nothing was carried:\n";
        for (const QString& problem : pairing.problems) err << "  " << problem << "\n";
        err.flush();
        return kBadUsage;
    }
    for (const Unpaired& u : pairing.unpaired) out << "Left unpaired: " << u.code << " (" << u.reason << ")\n";
    if (pairing.pairs.empty()) {
        err << "belmo batch: no company in " << companies.where() << " has the next year's company.\n";
        return kBadUsage;
    }

    const QDateTime started = QDateTime::currentDateTime();
    batch.reportDir = QFileInfo(p.isSet(u"report-dir"_s) ? p.value(u"report-dir"_s)
                                                          : folder.companiesPath() + u"/Raporlar/batch-"_s + started.toString(u"yyyyMMdd-HHmmss"_s))
                          .absoluteFilePath();
    if (!app::makePrivateFolder(batch.reportDir)) {
        err << "belmo batch: cannot create the report folder '" << batch.reportDir << "'.\n";
        return kFailed;
    }
    const std::optional<QString> password = readPassword(p, err);
    if (!password) return kFailed;
    batch.password = *password;

    out << "Reports and logs in " << batch.reportDir << "\n";
    std::vector<PairResult> results;
    for (const Pair& pair : pairing.pairs) {
        out << "[" << results.size() + 1 << "/" << pairing.pairs.size() << "] " << pair.name() << " ... ";
        out.flush();
        results.push_back(carryPair(batch, pair));
        out << (results.back().finished ? "finished" : "not finished") << "\n";
        out.flush();
    }
    out << "\n";
    printTable(results, out);
    const QJsonObject summary = batchJson(batch, started, results, pairing.unpaired);
    const int finished = summary.value(u"finished"_s).toInt();
    out << "\n" << finished << " of " << results.size() << " pairs finished.\n";
    out.flush();
    QFile json(batch.reportDir + u"/batch.json"_s);
    if (!json.open(QIODevice::WriteOnly | QIODevice::Truncate) || json.write(QJsonDocument(summary).toJson()) < 0) {
        err << "belmo batch: cannot write " << json.fileName() << ": " << json.errorString() << "\n";
        return kFailed;
    }
    if (std::all_of(results.begin(), results.end(), [](const PairResult& r) { return !r.refusal.isEmpty(); })) {
        err << "belmo batch: login refused: " << results.front().refusal << "\n";
        return kLoginRefused;
    }
    return finished == int(results.size()) ? kOk : kFailed;
}

}  // namespace belmo::cli
