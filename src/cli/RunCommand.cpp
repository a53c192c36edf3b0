#include "cli/Cli.h"
#include "cli/CommandLine.h"
#include "cli/Headless.h"
#include "cli/Progress.h"
#include "console/PreviewStep.h"
#include "console/Program.h"
#include "db/DbError.h"
#include "proof/Backups.h"
#include "proof/PreRunCheck.h"
#include "proof/Rehearsal.h"
#include "proof/RunLog.h"
#include "proof/SessionReport.h"
#include "services/Dialogs.h"
#include "transfers/TransferSteps.h"
#include "transfers/openitems/CekBelmoleri.h"
#include "transfers/transport/NAKLIYAT.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QSysInfo>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <variant>

namespace belmo::cli {

using namespace Qt::Literals::StringLiterals;
using console::StepId;

namespace {

// Presses the windows' buttons and the panels' "Başla" as a user would, going from the
// console to the transport window and back as the steps require, and keeps what became of
// each step.
class Runner {
public:
    // `run` is the record of the run as it stands before the first step: who, where, when,
    // the two companies before the run.
    Runner(console::Program& program, const console::StepRegistry& steps, QTextStream& out, Progress& progress)
        : program_(program), steps_(steps), out_(out), progress_(progress)
    {
        watchConsole();
    }

    // One step from its window's menu: its button, then "Başla" on its panel.
    void runStep(StepId id)
    {
        if (transfers::isTransportStep(id))
            runTransportStep(id);
        else if (console::BELMO* c = console())
            runConsoleStep(*c, id);
    }

    // The wizard: "Belmo Sihirbazı", then "Başla" on each panel it opens, until it brings the
    // menu back or a step does not move on. True when every step it opened finished.
    bool runWizard()
    {
        console::BELMO* c = console();
        if (!c) return false;
        c->entry(console::MenuItem::Kind::Wizard).button.click();
        progress_.end(false);
        while (pressStartOnFront(*c)) {
        }
        noteConsole();
        return std::all_of(outcomes_.begin(), outcomes_.end(), [](const Outcome& o) { return o.finished; });
    }

    // The transport window's steps, in its menu's order (drivers before vehicles).
    void runTransport()
    {
        if (!steps_.hasTransportWindow()) return;
        for (const transfers::TransportItem& item : transfers::transportItems()) runTransportStep(item.id);
    }

    // Each step's outcome for the record of the run.
    std::vector<proof::StepOutcome> stepOutcomes() const
    {
        std::vector<proof::StepOutcome> steps;
        for (const Outcome& o : outcomes_) {
            proof::StepOutcome s{o.key, o.caption};
            for (const Pass& pass : o.passes) {
                s.listed += pass.listed;
                s.ticked += pass.ticked;
            }
            s.finished = o.finished;
            s.warnings = warnings_.value(o.key);
            s.leftOut = o.leftOutLabels;
            steps.push_back(std::move(s));
        }
        return steps;
    }

    // A message with a warning or an error, told while a step ran, is that step's warning.
    void noteWarning(const QString& text)
    {
        if (!current_.isEmpty()) warnings_[current_].append(text);
    }

    // What became of the steps is complete once the console's are noted; true when every
    // step opened finished.
    bool finish()
    {
        noteConsole();
        return std::all_of(outcomes_.begin(), outcomes_.end(), [](const Outcome& o) { return o.finished; });
    }

    void printSummary(QTextStream& out) const
    {
        out << "Summary:\n";
        for (const Outcome& o : outcomes_) {
            out << "  " << o.key << " (" << o.caption << "): ";
            if (!o.passes.empty()) {
                QStringList lists;
                for (const Pass& pass : o.passes)
                    lists << (pass.list.isEmpty() ? QString() : pass.list + u" "_s)
                                 + u"%1 listed, %2 ticked"_s.arg(pass.listed).arg(pass.ticked);
                out << lists.join(u"; "_s) << ", ";
            }
            out << (o.finished ? "finished" : "not finished") << "\n";
        }
    }

private:
    // One "Başla": what the panel listed, and whether its transfer finished.
    struct Pass {
        QString list;  // the list the panel showed, where it offers more than one
        int listed;
        qsizetype ticked;
        bool finished;
    };
    struct Outcome {
        QString key, caption;
        std::vector<Pass> passes;  // none for a step without a grid
        bool finished = false;
        QStringList leftOutLabels;  // rows listed but not ticked
    };

    // The open console; a transport window open in its place is left through its "Çıkış".
    console::BELMO* console()
    {
        if (!program_.console())
            if (transfers::NAKLIYAT* n = transport()) {
                n->cikis.click();
                watchConsole();
            }
        return program_.console();
    }
    transfers::NAKLIYAT* transport() { return dynamic_cast<transfers::NAKLIYAT*>(program_.transport()); }

    void watchConsole()
    {
        console::BELMO* c = program_.console();
        if (!c) return;
        c->onMenuAction = [this, c](StepId id) {
            if (std::find(opened_.begin(), opened_.end(), id) == opened_.end()) opened_.push_back(id);
            // A step without a panel carries at once; the others load their list.
            if (c->entry(id).step->panel())
                progress_.listing(label(id));
            else
                progress_.transfer(label(id), std::nullopt);
        };
        c->onStepFinished = [this](StepId id) {
            ++finishes_[id];
            progress_.end(true);
        };
        tellWaits(c->busy);
    }

    // A console step as the summary names it: "depo (Depo Tanımları)".
    QString label(StepId id) const
    {
        const console::MenuItem item = steps_.item(id);
        return item.key + u" ("_s + item.caption + u')';
    }

    // A wait for a lock another program holds is told once, when it begins.
    void tellWaits(widgets::Activity& activity)
    {
        progress_.follow(activity);
        activity.watch([this, &activity] {
            const QString& status = activity.status();
            if (!status.isEmpty() && !waiting_) {
                progress_.clear();
                out_ << "  " << status << "\n";
                out_.flush();
            }
            waiting_ = !status.isEmpty();
        });
    }

    void runConsoleStep(console::BELMO& c, StepId id)
    {
        c.entry(id).button.click();
        progress_.end(false);
        pressStartOnFront(c);
    }

    // The console's steps end with the console: what became of them is kept before it closes.
    void noteConsole()
    {
        console::BELMO* c = program_.console();
        if (!c) return;
        for (const StepId id : opened_) {
            console::BELMO::MenuButton& entry = c->entry(id);
            Outcome o{entry.item.key, entry.item.caption, passes_[id], entry.done.visible(), leftOut_[id]};
            if (o.passes.empty())
                if (auto* preview = dynamic_cast<console::PreviewStep*>(entry.step.get()))  // opened, not started
                    o.passes.push_back({QString(), preview->loadedRows(), preview->tickedRows().size(), false});
            for (const Pass& pass : o.passes) o.finished = o.finished && pass.finished;
            outcomes_.push_back(std::move(o));
        }
        opened_.clear();
        pressed_.clear();
        passes_.clear();
        leftOut_.clear();
    }

    // "Nakliyat Belmoleri" on the console when the transport window is not open yet, then the
    // step's button; a vehicle button refused before its drivers leaves the step not finished.
    void runTransportStep(StepId id)
    {
        if (!transport())
            if (console::BELMO* c = program_.console()) {
                noteConsole();
                c->entry(console::MenuItem::Kind::Transport).button.click();
                if (transfers::NAKLIYAT* n = transport()) tellWaits(n->busy);
            }
        transfers::NAKLIYAT* n = transport();
        if (!n) return;
        transfers::NAKLIYAT::MenuButton& entry = n->entry(id);
        Outcome o{entry.item.key, transfers::heading(entry.item.side) + u" / "_s + entry.item.caption, {}, false};
        const QString label = o.key + u" ("_s + o.caption + u')';
        progress_.listing(label);
        entry.button.click();
        progress_.end(false);
        auto* preview = dynamic_cast<console::PreviewStep*>(entry.step.get());
        if (preview && n->panels.front() == preview->panel()) {
            o.passes.push_back({QString(), preview->loadedRows(), preview->tickedRows().size(), true});
            o.leftOutLabels = preview->leftOut();
            current_ = entry.item.key;
            progress_.transfer(label, preview->tickedRows().size());
            preview->basla.click();
            current_.clear();
        }
        o.finished = entry.done.visible();
        progress_.end(o.finished);
        outcomes_.push_back(std::move(o));
    }

    // Presses "Başla" on the step panel in front, once per step. False when the menu is in
    // front or the step in front has been pressed already (it ended without moving on).
    bool pressStartOnFront(console::BELMO& c)
    {
        for (const auto& entry : c.menuButtons()) {
            auto* preview = dynamic_cast<console::PreviewStep*>(entry->step.get());
            if (!preview || c.panels.front() != preview->panel()) continue;
            if (!pressed_.insert(entry->item.step).second) return false;
            if (auto* cheques = dynamic_cast<transfers::CekBelmoleri*>(preview))
                carryEveryCheque(c, *cheques);
            else
                start(*preview, {});
            return true;
        }
        return false;
    }

    // The cheque panel lists the cheques in the portfolio or those in clearing. A user who
    // wants every open cheque carries the portfolio, then comes back to the panel, selects
    // "Takastaki Çekler", presses the search button and "Başla" again.
    void carryEveryCheque(console::BELMO& c, transfers::CekBelmoleri& cheques)
    {
        if (!start(cheques, cheques.OpGiren.caption())) return;
        if (c.panels.front() != &cheques.frame) c.entry(cheques.id()).button.click();
        cheques.Optks.press();
        cheques.BtnAra.click();
        progress_.end(false);
        progress_.clear();
        out_ << "  [" << cheques.Optks.caption() << "]\n";
        start(cheques, cheques.Optks.caption());
    }

    // "Başla" on the step's panel; true when its transfer finished.
    bool start(console::PreviewStep& step, const QString& list)
    {
        const int before = finishes_[step.id()];
        const int listed = step.loadedRows();
        const qsizetype ticked = step.tickedRows().size();
        leftOut_[step.id()] += step.leftOut();
        current_ = steps_.item(step.id()).key;
        progress_.transfer(list.isEmpty() ? label(step.id()) : label(step.id()) + u' ' + list, ticked);
        step.basla.click();
        progress_.end(false);
        current_.clear();
        const bool finished = finishes_[step.id()] > before;
        passes_[step.id()].push_back({list, listed, ticked, finished});
        return finished;
    }

    console::Program& program_;
    const console::StepRegistry& steps_;
    QTextStream& out_;
    Progress& progress_;
    std::vector<StepId> opened_;  // on the console open now
    std::set<StepId> pressed_;
    std::map<StepId, int> finishes_;
    std::map<StepId, std::vector<Pass>> passes_;
    std::vector<Outcome> outcomes_;
    std::map<StepId, QStringList> leftOut_;
    QHash<QString, QStringList> warnings_;  // by step key
    QString current_;                       // the key of the step whose "Başla" runs
    bool waiting_ = false;
};

// What the report compares the run with, taken right after the login, before the first
// step: the record's heading (the companies' files, periods and hashes; the hashes read on
// threads of their own) and the target's table counts.
struct RunStart {
    proof::RunSummary run;
    QHash<QString, qint64> targetTables;

    static RunStart take(app::Session& session, const QCommandLineParser& p, bool dryRun)
    {
        RunStart s;
        proof::RunSummary& run = s.run;
        run.user = p.value(u"user"_s);
        run.machine = QSysInfo::machineHostName();
        run.started = QDateTime::currentDateTime();
        run.dryRun = dryRun;
        run.source = {p.value(u"source"_s), proof::fileOf(session.KaynakBag)};
        run.target = {p.value(u"target"_s), session.targetFile()};
        const QStringList hashes = proof::sha256OfFiles({run.source.file, run.target.file});
        run.source.sha256Before = hashes[0];
        run.target.sha256Before = hashes[1];
        try {
            s.targetTables = proof::targetTableCounts(session);
        } catch (const db::DbError&) {
        }
        return s;
    }
};

// The reconciliation of the pair as the run left it: its summary printed (or the whole report
// as JSON with --json), the whole report
// written where --report says; a report that cannot be made or written fails the run. A
// rehearsal is reconciled on its scratch copy, and its record names the real target, whose
// hash stays as it was. Returns the record of the run, for the run log.
proof::RunSummary reportOnRun(app::Session& session, const RunStart& start, const Runner& runner,
                              const QCommandLineParser& p, QTextStream& out, QTextStream& err, bool& ok)
{
    const bool json = p.isSet(u"json"_s);
    proof::RunSummary run = start.run;
    run.steps = runner.stepOutcomes();
    run.backup = session.backup();
    run.finished = QDateTime::currentDateTime();
    try {
        proof::Reconciliation report = proof::reconcileSession(session, start.targetTables, run);
        if (run.dryRun) {
            report.run.target.file = start.run.target.file;
            report.run.target.sha256After = proof::sha256OfFile(start.run.target.file);
        }
        printReport(report, p.value(u"report"_s), json, out, err, ok);
        return report.run;
    } catch (const db::DbError& e) {
        err << "belmo run: the reconciliation report could not be made: " << e.description() << "\n";
        ok = false;
    }
    run.hashAfter();
    if (json) {  // the run's record all the same, with why the rest is missing
        QJsonObject record = run.toJson();
        record.insert(u"error"_s, u"the reconciliation report could not be made"_s);
        out << QJsonDocument(record).toJson(QJsonDocument::Indented);
        out.flush();
    }
    return run;
}

const QString kRunSynopsis =
    u"--folder DIR --user U [--password-file FILE | --password P] --source S --target T [--steps LIST] [--yes] [--wait SECONDS] "
    "[--keep N | --no-backup] [--dry-run] [--report FILE] [--json] [--quiet]"_s;
const QString kRunDescription =
    u"Logs in as the login window does and carries the source company into the target, pressing the\n"
    "console's buttons and each panel's \"Başla\" as a user would: the whole wizard by default, or the\n"
    "steps listed (comma-separated, in the order given); without --steps the transport window's eleven\n"
    "steps follow the wizard once it has finished. Every message and question is printed with\n"
    "its title and the answer given: questions are answered No, or Yes (and \"yes to all\" to the\n"
    "overwrite question) with --yes. Ends with a line per step (\"Summary:\"). A step opened that did not\n"
    "finish (an error, or a No that stopped it) fails the run. The cheque step carries\n"
    "both of its lists: the cheques in the portfolio, then those in clearing. A step is all or nothing:\n"
    "one that does not finish leaves the target as it was. A company held by another program is\n"
    "waited for, 30 seconds unless --wait says otherwise.\n"
    "Before the first write the target is backed up into MUHASEBE/Yedek (the last 10 kept unless --keep\n"
    "says otherwise, none with --no-backup); a backup that cannot be made stops the step before it writes.\n"
    "--dry-run rehearses the run on a scratch copy of the target and leaves the target as it was. A run\n"
    "that wrote appends a line of JSON to logs/belmo-runs.jsonl in the program folder. The run ends with its\n"
    "reconciliation: what the source lists against what the target holds now, per part, with the\n"
    "differences; --report writes it whole as JSON (.json), a printable PDF (.pdf) or text (.txt).\n"
    "While a step works its progress goes to standard error: on a terminal one line rewritten in place\n"
    "(the step, the rows it has done and the rows ticked on its panel, the seconds so far), elsewhere one\n"
    "line per step when it ends (rows, seconds, finished or not). A step may do more rows than were ticked:\n"
    "the current accounts and the stock carry a card, then an entry per balance. --quiet leaves the\n"
    "progress out; the messages, questions and the summary are printed all the same.\n"
    "--json prints on standard output only the run's record and its reconciliation as one JSON object,\n"
    "the same as the report's .json file (\"steps\" with each step's outcome, \"differences\", every part's\n"
    "items); the messages, questions and other lines go to standard error instead, and the text summary\n"
    "is left out; with --json nothing reaches standard output when the command line is wrong or the login\n"
    "is refused.\n"
    "The password is read from --password-file (its first line), else from the environment variable\n"
    "BELMO_PASSWORD, else asked for without echo when a terminal is there. --password works too, but\n"
    "every user of the machine can read it in the process list: the other ways keep it private.\n"
    "Steps: sirket, sablon, islem, evrak, grup, depo, cari, stok, siparis, cek, muhasebe, taksit,\n"
    "plasiyer; in the transport window soforyi, aracyi, sehir, guzergahyi, masrafyi, soforyd, aracyd,\n"
    "ulke, guzergahyd, masrafyd, karne, or nakliyat for all eleven."_s;

void addRunOptions(CommandLine& cl)
{
    cl.addLoginOptions();
    cl.setFailure(u"a step opened did not finish, or the reconciliation could not be made or written"_s);
    QCommandLineParser& p = cl.parser();
    p.addOption({u"steps"_s, u"The steps to run, comma-separated."_s, u"LIST"_s});
    p.addOption({u"yes"_s, u"Answer Yes to every question."_s});
    p.addOption({u"report"_s, u"Write the reconciliation report: .json, .pdf or .txt."_s, u"FILE"_s});
    p.addOption({u"keep"_s, u"How many backups of the target to keep, default 10."_s, u"N"_s});
    p.addOption({u"no-backup"_s, u"Do not back the target up before the first write (a target backed up otherwise)."_s});
    p.addOption({u"dry-run"_s, u"Rehearse: run everything on a scratch copy of the target; the target is not written."_s});
    p.addOption({u"wait"_s, u"How long to wait for a company another program holds: 0 to 86400 (a day), default 30."_s,
                 u"SECONDS"_s});
    p.addOption({u"json"_s, u"Print the run's record and reconciliation as JSON on standard output; the rest goes to standard error."_s});
    p.addOption({u"quiet"_s, u"No progress on standard error (messages, questions and summary are still printed)."_s});
}

// The steps --steps names, in its order; a key that names none is a usage error.
std::variant<QList<StepId>, int> chosenSteps(CommandLine& cl, const console::StepRegistry& steps, QTextStream& err)
{
    QList<StepId> chosen;
    for (const QString& given : cl.parser().value(u"steps"_s).split(u',', Qt::SkipEmptyParts)) {
        const QString key = given.trimmed();
        if (const StepId* step = steps.find(key))
            chosen.append(*step);
        else if (const transfers::TransportItem* transport = transfers::findTransportStep(key))
            chosen.append(transport->id);
        else if (key.compare(transfers::kAllTransportSteps, Qt::CaseInsensitive) == 0)
            for (const transfers::TransportItem& item : transfers::transportItems()) chosen.append(item.id);
        else
            return cl.usageError(u"there is no step '%1'."_s.arg(key), err);
    }
    return chosen;
}

}  // namespace

int runTransfers(const QStringList& args, QTextStream& out, QTextStream& err, const console::StepRegistry& steps)
{
    CommandLine cl(u"run"_s, kRunSynopsis, kRunDescription);
    addRunOptions(cl);
    const QCommandLineParser& p = cl.parser();
    if (auto exit = cl.parse(args, out, err)) return *exit;
    if (auto missing = missingLoginOption(cl, err)) return *missing;

    const RunLimits limits = runLimits(p);
    if (!limits.problem.isEmpty()) return cl.usageError(limits.problem, err);
    const double wait = limits.wait;
    const int keep = limits.keep;
    const bool dryRun = p.isSet(u"dry-run"_s);
    const auto chosenOrExit = chosenSteps(cl, steps, err);
    if (const int* exit = std::get_if<int>(&chosenOrExit)) return *exit;
    const QList<StepId>& chosen = std::get<QList<StepId>>(chosenOrExit);

    // With --json, standard output holds the JSON alone: every other line goes to standard error.
    const bool json = p.isSet(u"json"_s);
    QTextStream& text = json ? err : out;
    Progress progress(err, p.isSet(u"quiet"_s));
    PrintingDialogs dialogs(text, p.isSet(u"yes"_s));
    dialogs.beforePrint = [&progress] { progress.clear(); };
    console::Program program(dialogs, steps);
    app::Session& session = program.session();
    session.pool().settings().lockTimeoutMs = int(wait * 1000);
    // The target is backed up before the first write; a rehearsal writes a scratch copy only.
    proof::SessionBackups backups(session.pool().settings(), keep);
    if (!dryRun && !p.isSet(u"no-backup"_s)) session.keeper = &backups;
    program.onFirstWrite = [&text, &session, &progress](const QString& backup) {
        if (backup.isEmpty()) return;
        progress.clear();
        text << "Backup of " << proof::companyCode(session.targetFile()) << ": " << backup << "\n";
        text.flush();
    };
    proof::checkWhenConsoleOpens(program);
    if (auto refused = loginFailure(program, dialogs, p, u"run"_s, text, err)) return *refused;
    text << "Logged in; user code " << session.KullaniciKodu << ".\n";
    text.flush();

    const RunStart start = RunStart::take(session, p, dryRun);
    // A rehearsal's copy lives as long as the run: the report of the run reads it.
    std::optional<proof::Rehearsal> rehearsal;
    if (dryRun) {
        try {
            rehearsal.emplace(session);
        } catch (const db::DbError& e) {
            err << "belmo run: no scratch copy of the target: " << e.detail() << "\n";
            return kFailed;
        }
        text << "Rehearsal on a scratch copy of " << start.run.target.code << ": " << rehearsal->scratchFile() << "\n";
        text.flush();
    }

    Runner runner(program, steps, text, progress);
    dialogs.onWarning = [&runner](const QString& text) { runner.noteWarning(text); };
    if (chosen.isEmpty()) {
        if (runner.runWizard()) runner.runTransport();
    } else {
        for (const StepId id : chosen) runner.runStep(id);
    }
    bool ok = runner.finish();
    if (!json) runner.printSummary(out);
    dialogs.onWarning = nullptr;
    out.flush();
    const proof::RunSummary run = reportOnRun(session, start, runner, p, out, err, ok);
    if (!dryRun && session.targetWritten())
        if (const QString problem = proof::appendRunLog(session.ProgramKlasoru, run); !problem.isEmpty())
            err << "belmo run: the run was not logged: " << problem << "\n";
    return ok ? kOk : kFailed;
}

int runTransfers(const QStringList& args, QTextStream& out, QTextStream& err)
{
    return runTransfers(args, out, err, transfers::transferSteps());
}

}  // namespace belmo::cli
