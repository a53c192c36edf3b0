#include "cli/Cli.h"
#include "cli/CommandLine.h"
#include "cli/LoginOptions.h"
#include "console/PreviewStep.h"
#include "console/Program.h"
#include "proof/PreRunCheck.h"
#include "services/Dialogs.h"
#include "transfers/TransferSteps.h"
#include "transfers/openitems/CekBelmoleri.h"
#include "transfers/transport/NAKLIYAT.h"

#include <QFileInfo>

#include <algorithm>
#include <map>
#include <optional>
#include <set>

namespace belmo::cli {

using namespace Qt::Literals::StringLiterals;
using console::StepId;

namespace {

// Answers every message and question by policy and prints the exchange.
class PrintingDialogs : public services::Dialogs {
public:
    PrintingDialogs(QTextStream& out, bool yes) : out_(out), yes_(yes) {}

    void message(const QString& text, const QString& title, Icon, const QString& details) override
    {
        print(u"message"_s, title, details.isEmpty() ? text : text + u"\n"_s + details, u"OK"_s);
    }
    bool ask(const QString& text, const QString& title) override
    {
        print(u"question"_s, title, text, yes_ ? u"Evet"_s : u"Hayır"_s);
        return yes_;
    }
    QString askOverwrite(const QString& description, const QString& question) override
    {
        const QString code = yes_ ? services::answer::kYesToAll : services::answer::kNo;
        print(u"question"_s, {}, description + u'\n' + question, code);
        return code;
    }

private:
    void print(const QString& kind, const QString& title, const QString& text, const QString& answer)
    {
        out_ << "  [" << kind << " \"" << (title.isEmpty() ? u"Belmo"_s : title) << "\"] "
             << QString(text).replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n').replace(u'\n', u"\n      "_s)
             << "\n      -> " << answer << "\n";
        out_.flush();
    }
    QTextStream& out_;
    bool yes_;
};

struct Login {
    QString folder, user, password, source, target;
};

// Types into the login window as a user does and presses "Onayla". True when the console
// opened on a source that could be read.
bool logIn(console::Program& program, const Login& login, QTextStream& out)
{
    out << "Login as " << login.user << ": " << login.source << " -> " << login.target << "\n";
    if (!program.start(login.folder)) return false;
    app::GIRIS& giris = program.login();
    giris.kullaniciAdi.setText(login.user);
    giris.kullaniciAdiLostFocus();
    giris.sifre.setText(login.password);
    giris.sifreLostFocus();
    giris.kaynakSirket.setText(login.source);
    giris.hedefSirket.setText(login.target);
    giris.onayla.click();
    return program.console() && !giris.visible();
}

// Presses the windows' buttons and the panels' "Başla" as a user would, going from the
// console to the transport window and back as the steps require, and keeps what became of
// each step.
class Runner {
public:
    Runner(console::Program& program, const console::StepRegistry& steps, QTextStream& out)
        : program_(program), steps_(steps), out_(out)
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

    bool summarise(QTextStream& out)
    {
        noteConsole();
        bool allFinished = true;
        out << "Summary:\n";
        for (const Outcome& o : outcomes_) {
            allFinished = allFinished && o.finished;
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
        return allFinished;
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
        c->onMenuAction = [this](StepId id) {
            if (std::find(opened_.begin(), opened_.end(), id) == opened_.end()) opened_.push_back(id);
        };
        c->onStepFinished = [this](StepId id) { ++finishes_[id]; };
        tellWaits(c->busy);
    }

    // A wait for a lock another program holds is told once, when it begins.
    void tellWaits(widgets::Activity& activity)
    {
        activity.watch([this, &activity] {
            const QString& status = activity.status();
            if (!status.isEmpty() && !waiting_) {
                out_ << "  " << status << "\n";
                out_.flush();
            }
            waiting_ = !status.isEmpty();
        });
    }

    void runConsoleStep(console::BELMO& c, StepId id)
    {
        c.entry(id).button.click();
        pressStartOnFront(c);
    }

    // The console's steps end with the console: what became of them is kept before it closes.
    void noteConsole()
    {
        console::BELMO* c = program_.console();
        if (!c) return;
        for (const StepId id : opened_) {
            console::BELMO::MenuButton& entry = c->entry(id);
            Outcome o{entry.item.key, entry.item.caption, passes_[id], entry.done.visible()};
            if (o.passes.empty())
                if (auto* preview = dynamic_cast<console::PreviewStep*>(entry.step.get()))  // opened, not started
                    o.passes.push_back({QString(), preview->loadedRows(), preview->tickedRows().size(), false});
            for (const Pass& pass : o.passes) o.finished = o.finished && pass.finished;
            outcomes_.push_back(std::move(o));
        }
        opened_.clear();
        pressed_.clear();
        passes_.clear();
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
        entry.button.click();
        auto* preview = dynamic_cast<console::PreviewStep*>(entry.step.get());
        Outcome o{entry.item.key, transfers::heading(entry.item.side) + u" / "_s + entry.item.caption, {}, false};
        if (preview && n->panels.front() == preview->panel()) {
            o.passes.push_back({QString(), preview->loadedRows(), preview->tickedRows().size(), true});
            preview->basla.click();
        }
        o.finished = entry.done.visible();
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
        out_ << "  [" << cheques.Optks.caption() << "]\n";
        start(cheques, cheques.Optks.caption());
    }

    // "Başla" on the step's panel; true when its transfer finished.
    bool start(console::PreviewStep& step, const QString& list)
    {
        const int before = finishes_[step.id()];
        const int listed = step.loadedRows();
        const qsizetype ticked = step.tickedRows().size();
        step.basla.click();
        const bool finished = finishes_[step.id()] > before;
        passes_[step.id()].push_back({list, listed, ticked, finished});
        return finished;
    }

    console::Program& program_;
    const console::StepRegistry& steps_;
    QTextStream& out_;
    std::vector<StepId> opened_;  // on the console open now
    std::set<StepId> pressed_;
    std::map<StepId, int> finishes_;
    std::map<StepId, std::vector<Pass>> passes_;
    std::vector<Outcome> outcomes_;
    bool waiting_ = false;
};

}  // namespace

int runTransfers(const QStringList& args, QTextStream& out, QTextStream& err, const console::StepRegistry& steps)
{
    CommandLine cl(u"run"_s,
                   u"--folder DIR --user U [--password-file FILE | --password P] --source S --target T [--steps LIST] [--yes] [--wait SECONDS]"_s,
                   u"Logs in as the login window does and carries the source company into the target, pressing the\n"
                   "console's buttons and each panel's \"Başla\" as a user would: the whole wizard by default, or the\n"
                   "steps listed (comma-separated, in the order given); without --steps the transport window's eleven\n"
                   "steps follow the wizard once it has finished. Every message and question is printed with\n"
                   "its title and the answer given: questions are answered No, or Yes (and \"yes to all\" to the\n"
                   "overwrite question) with --yes. Ends with a line per step. Exit code 1 when the login is refused\n"
                   "or a step opened did not finish (an error, or a No that stopped it). The cheque step carries\n"
                   "both of its lists: the cheques in the portfolio, then those in clearing. A step is all or nothing:\n"
                   "one that does not finish leaves the target as it was. A company held by another program is\n"
                   "waited for, 30 seconds unless --wait says otherwise.\n"
                   "The password is read from --password-file (its first line), else from the environment variable\n"
                   "BELMO_PASSWORD, else asked for without echo when a terminal is there. --password works too, but\n"
                   "every user of the machine can read it in the process list: the other ways keep it private.\n"
                   "Steps: sirket, sablon, islem, evrak, grup, depo, cari, stok, siparis, cek, muhasebe, taksit,\n"
                   "plasiyer; in the transport window soforyi, aracyi, sehir, guzergahyi, masrafyi, soforyd, aracyd,\n"
                   "ulke, guzergahyd, masrafyd, karne, or nakliyat for all eleven."_s);
    QCommandLineParser& p = cl.parser();
    addLoginOptions(p);
    p.addOption({u"steps"_s, u"The steps to run, comma-separated."_s, u"LIST"_s});
    p.addOption({u"yes"_s, u"Answer Yes to every question."_s});
    p.addOption({u"wait"_s, u"How long to wait for a company another program holds: 0 to 86400 (a day), default 30."_s,
                 u"SECONDS"_s});
    if (auto exit = cl.parse(args, out, err)) return *exit;
    for (const QString& name : {u"folder"_s, u"user"_s, u"source"_s, u"target"_s})
        if (!p.isSet(name)) return cl.usageError(u"--%1 is missing."_s.arg(name), err);

    constexpr double kLongestWait = 86400;  // a day
    bool waitRead = true;
    const double wait = p.isSet(u"wait"_s) ? p.value(u"wait"_s).toDouble(&waitRead) : 30.0;
    if (!waitRead || !(wait >= 0 && wait <= kLongestWait))  // NaN too
        return cl.usageError(u"--wait takes a number of seconds from 0 to %1."_s.arg(kLongestWait), err);

    QList<StepId> chosen;
    for (const QString& given : p.value(u"steps"_s).split(u',', Qt::SkipEmptyParts)) {
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

    PrintingDialogs dialogs(out, p.isSet(u"yes"_s));
    console::Program program(dialogs, steps);
    proof::checkWhenConsoleOpens(program);  // its findings printed once, as the windows show them
    program.session().pool().settings().lockTimeoutMs = int(wait * 1000);
    const std::optional<QString> password = readPassword(u"run"_s, p, err);
    if (!password) return kFailed;
    const Login login{QFileInfo(p.value(u"folder"_s)).absoluteFilePath(), p.value(u"user"_s), *password,
                      p.value(u"source"_s), p.value(u"target"_s)};
    if (!logIn(program, login, out)) {
        out << "Login refused.\n";
        out.flush();
        return kFailed;
    }
    out << "Logged in; user code " << program.session().KullaniciKodu << ".\n";

    Runner runner(program, steps, out);
    if (chosen.isEmpty()) {
        if (runner.runWizard()) runner.runTransport();
    } else {
        for (const StepId id : chosen) runner.runStep(id);
    }
    const bool ok = runner.summarise(out);
    out.flush();
    return ok ? kOk : kFailed;
}

int runTransfers(const QStringList& args, QTextStream& out, QTextStream& err)
{
    return runTransfers(args, out, err, transfers::transferSteps());
}

}  // namespace belmo::cli
