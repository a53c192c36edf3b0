#include "cli/Cli.h"
#include "cli/CommandLine.h"
#include "console/PreviewStep.h"
#include "console/Program.h"
#include "services/Dialogs.h"
#include "transfers/TransferSteps.h"
#include "transfers/openitems/CekBelmoleri.h"

#include <QFile>
#include <QFileInfo>

#include <map>
#include <optional>
#include <set>

#include <termios.h>
#include <unistd.h>

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

// The first line of the file, without its line end.
std::optional<QString> passwordFromFile(const QString& path, QTextStream& err)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err << "belmo run: cannot read the password file '" << path << "': " << file.errorString() << "\n";
        return std::nullopt;
    }
    QString line = QString::fromUtf8(file.readLine());
    while (line.endsWith(u'\n') || line.endsWith(u'\r')) line.chop(1);
    return line;
}

// Asks on the terminal with the echo off.
QString passwordFromTerminal(const QString& user, QTextStream& err)
{
    err << "Password of " << user << ": ";
    err.flush();
    termios saved{};
    const bool terminal = tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    QTextStream in(stdin);
    const QString line = in.readLine();
    if (terminal) tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    err << "\n";
    err.flush();
    return line;
}

// --password-file, --password, BELMO_PASSWORD, or the terminal; empty when none is there.
std::optional<QString> readPassword(const QCommandLineParser& p, QTextStream& err)
{
    if (p.isSet(u"password-file"_s)) return passwordFromFile(p.value(u"password-file"_s), err);
    if (p.isSet(u"password"_s)) return p.value(u"password"_s);
    if (qEnvironmentVariableIsSet("BELMO_PASSWORD")) return qEnvironmentVariable("BELMO_PASSWORD");
    if (isatty(STDIN_FILENO)) return passwordFromTerminal(p.value(u"user"_s), err);
    return QString();
}

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

// Presses the console's buttons and the panels' "Başla" and keeps what became of each step.
class Runner {
public:
    Runner(console::BELMO& console, QTextStream& out) : console_(console), out_(out)
    {
        console_.onMenuAction = [this](StepId id) {
            if (std::find(opened_.begin(), opened_.end(), id) == opened_.end()) opened_.push_back(id);
        };
        // A wait for a lock another program holds is told once, when it begins.
        console_.busy.watch([this, &out] {
            const QString& status = console_.busy.status();
            if (!status.isEmpty() && !waiting_) {
                out << "  " << status << "\n";
                out.flush();
            }
            waiting_ = !status.isEmpty();
        });
        console_.onStepFinished = [this](StepId id) { ++finishes_[id]; };
    }

    // One step from the menu: its button, then "Başla" on its panel.
    void runStep(StepId id)
    {
        console_.entry(id).button.click();
        pressStartOnFront();
    }

    // The wizard: "Belmo Sihirbazı", then "Başla" on each panel it opens, until it brings the
    // menu back or a step does not move on.
    void runWizard()
    {
        console_.entry(console::MenuItem::Kind::Wizard).button.click();
        while (pressStartOnFront()) {
        }
    }

    bool summarise(QTextStream& out) const
    {
        bool allFinished = true;
        out << "Summary:\n";
        for (const StepId id : opened_) {
            console::BELMO::MenuButton& entry = console_.entry(id);
            bool finished = entry.done.visible();
            out << "  " << entry.item.key << " (" << entry.item.caption << "): ";
            if (const auto it = passes_.find(id); it != passes_.end()) {
                QStringList lists;
                for (const Pass& pass : it->second) {
                    lists << (pass.list.isEmpty() ? QString() : pass.list + u" "_s)
                                 + u"%1 listed, %2 ticked"_s.arg(pass.listed).arg(pass.ticked);
                    finished = finished && pass.finished;
                }
                out << lists.join(u"; "_s) << ", ";
            } else if (auto* preview = dynamic_cast<console::PreviewStep*>(entry.step.get())) {
                out << preview->loadedRows() << " listed, " << preview->tickedRows().size() << " ticked, ";
            }
            allFinished = allFinished && finished;
            out << (finished ? "finished" : "not finished") << "\n";
        }
        for (const StepId id : console::wizardChain())
            if (!console_.step(id)) out << "  " << console::menuItem(id).key << ": not built yet\n";
        return allFinished;
    }

private:
    // One "Başla": what the panel listed and whether the transfer finished.
    struct Pass {
        QString list;  // the list the panel showed, where it offers more than one
        int listed;
        qsizetype ticked;
        bool finished;
    };

    // Presses "Başla" on the step panel in front, once per step. False when the menu is in
    // front or the step in front has been pressed already (it ended without moving on).
    bool pressStartOnFront()
    {
        for (const auto& entry : console_.menuButtons()) {
            auto* preview = dynamic_cast<console::PreviewStep*>(entry->step.get());
            if (!preview || console_.panels.front() != preview->panel()) continue;
            if (!pressed_.insert(entry->item.step).second) return false;
            if (auto* cheques = dynamic_cast<transfers::CekBelmoleri*>(preview))
                carryEveryCheque(*cheques);
            else
                start(*preview, {});
            return true;
        }
        return false;
    }

    // The cheque panel lists the cheques in the portfolio or those in clearing. A user who
    // wants every open cheque carries the portfolio, then comes back to the panel, selects
    // "Takastaki Çekler", presses the search button and "Başla" again.
    void carryEveryCheque(transfers::CekBelmoleri& cheques)
    {
        if (!start(cheques, cheques.OpGiren.caption())) return;
        if (console_.panels.front() != &cheques.frame) console_.entry(cheques.id()).button.click();
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

    console::BELMO& console_;
    QTextStream& out_;
    std::vector<StepId> opened_;
    std::set<StepId> pressed_;
    bool waiting_ = false;
    std::map<StepId, int> finishes_;
    std::map<StepId, std::vector<Pass>> passes_;
};

}  // namespace

int runTransfers(const QStringList& args, QTextStream& out, QTextStream& err, const console::StepRegistry& steps)
{
    CommandLine cl(u"run"_s,
                   u"--folder DIR --user U [--password-file FILE | --password P] --source S --target T [--steps LIST] [--yes] [--wait SECONDS]"_s,
                   u"Logs in as the login window does and carries the source company into the target, pressing the\n"
                   "console's buttons and each panel's \"Başla\" as a user would: the whole wizard by default, or the\n"
                   "steps listed (comma-separated, in the order given). Every message and question is printed with\n"
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
                   "plasiyer."_s);
    QCommandLineParser& p = cl.parser();
    for (const auto& [name, help] : {std::pair{u"folder"_s, u"The program folder (holding config.mdb)."_s},
                                     {u"user"_s, u"User name."_s},
                                     {u"password"_s, u"Password (visible in the process list; see above)."_s},
                                     {u"password-file"_s, u"A file whose first line is the password."_s},
                                     {u"source"_s, u"Source company code (the closing period)."_s},
                                     {u"target"_s, u"Target company code (the new period)."_s}})
        p.addOption({name, help, name.toUpper()});
    p.addOption({u"steps"_s, u"The steps to run, comma-separated."_s, u"LIST"_s});
    p.addOption({u"yes"_s, u"Answer Yes to every question."_s});
    p.addOption({u"wait"_s, u"How long to wait for a company another program holds (default 30)."_s, u"SECONDS"_s});
    if (auto exit = cl.parse(args, out, err)) return *exit;
    for (const QString& name : {u"folder"_s, u"user"_s, u"source"_s, u"target"_s})
        if (!p.isSet(name)) return cl.usageError(u"--%1 is missing."_s.arg(name), err);

    bool waitRead = true;
    const double wait = p.isSet(u"wait"_s) ? p.value(u"wait"_s).toDouble(&waitRead) : 30.0;
    if (!waitRead || wait < 0) return cl.usageError(u"--wait takes a number of seconds."_s, err);

    QList<StepId> chosen;
    for (const QString& key : p.value(u"steps"_s).split(u',', Qt::SkipEmptyParts)) {
        const console::MenuItem* item = console::findStep(key.trimmed());
        if (!item) return cl.usageError(u"there is no step '%1'."_s.arg(key.trimmed()), err);
        chosen.append(item->step);
    }

    PrintingDialogs dialogs(out, p.isSet(u"yes"_s));
    console::Program program(dialogs, steps);
    program.session().pool().settings().lockTimeoutMs = int(wait * 1000);
    const std::optional<QString> password = readPassword(p, err);
    if (!password) return kFailed;
    const Login login{QFileInfo(p.value(u"folder"_s)).absoluteFilePath(), p.value(u"user"_s), *password,
                      p.value(u"source"_s), p.value(u"target"_s)};
    if (!logIn(program, login, out)) {
        out << "Login refused.\n";
        out.flush();
        return kFailed;
    }
    out << "Logged in; user code " << program.session().KullaniciKodu << ".\n";

    Runner runner(*program.console(), out);
    if (chosen.isEmpty()) {
        runner.runWizard();
    } else {
        for (const StepId id : chosen)
            if (program.console()) runner.runStep(id);
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
