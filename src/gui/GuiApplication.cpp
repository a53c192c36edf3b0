#include "gui/GuiApplication.h"

#include "console/Program.h"
#include "gui/ColumnWidths.h"
#include "gui/ConsoleView.h"
#include "gui/LoginView.h"
#include "gui/QtDialogs.h"
#include "gui/TransportView.h"
#include "console/PreviewStep.h"
#include "db/ConnectionString.h"
#include "proof/Backups.h"
#include "proof/RunLog.h"
#include "proof/RunSummary.h"
#include "proof/PreRunCheck.h"
#include "transfers/TransferSteps.h"
#include "transfers/transport/NAKLIYAT.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QSysInfo>
#include <QTimer>
#include <QTranslator>

namespace belmo::gui {

namespace {

// What the run log keeps of a session in the windows: the companies as they were at the
// first write into the target, the backup made then, and the console's steps that finished.
class WindowsRun {
public:
    explicit WindowsRun(console::Program& program) : program_(program)
    {
        run_.started = QDateTime::currentDateTime();
        run_.machine = QSysInfo::machineHostName();
        program_.onFirstWrite = [this](const QString&) {
            app::Session& s = program_.session();
            run_.user = program_.login().kullaniciAdi.text();
            run_.source = proof::companyFacts(s.pool(), s.KaynakBag);
            run_.target = proof::companyFacts(s.pool(), s.HedefBag);
        };
    }
    ~WindowsRun() { program_.onFirstWrite = nullptr; }
    WindowsRun(const WindowsRun&) = delete;
    WindowsRun& operator=(const WindowsRun&) = delete;

    void stepFinished(console::BELMO::MenuButton& entry)
    {
        proof::StepOutcome step;
        step.key = entry.item.key;
        step.caption = entry.item.caption;
        if (auto* preview = dynamic_cast<console::PreviewStep*>(entry.step.get())) {
            step.listed = preview->loadedRows();
            step.ticked = preview->tickedRows().size();
        }
        step.finished = true;
        run_.steps.push_back(std::move(step));
    }

    // Once the windows are gone: one line in the run log when the target was written.
    void log()
    {
        const app::Session& s = program_.session();
        if (!s.targetWritten()) return;
        run_.finished = QDateTime::currentDateTime();
        run_.backup = s.backup();
        run_.hashAfter();
        if (const QString problem = proof::appendRunLog(s.ProgramKlasoru, run_); !problem.isEmpty())
            qWarning("The run was not logged: %s", qUtf8Printable(problem));
    }

private:
    console::Program& program_;
    proof::RunSummary run_;
};

// Keeps the windows on screen in step with the program's window models: the login view
// while the login window is visible, a console view for the open console, a transport view
// for the open transport window, and the end of the event loop once no window is left.
// The column widths the user sets on the grids outlive the views.
class ProgramWindows {
public:
    ProgramWindows(console::Program& program, WindowsRun& run) : program_(program), run_(run), login_(program.login())
    {
        program_.onWindowsChanged = [this] { windowsChanged(); };
        program_.onConsoleOpened = [this] { consoleOpened(); };
        program_.onTransportOpened = [this] { transportOpened(); };
    }
    ~ProgramWindows()
    {
        program_.onWindowsChanged = nullptr;
        program_.onConsoleOpened = nullptr;
        program_.onTransportOpened = nullptr;
        delete console_;
        delete transport_;
    }
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

private:
    void windowsChanged()
    {
        if (program_.login().visible()) {
            login_.show();
            login_.raise();
            login_.activateWindow();
        } else {
            login_.hide();
        }
        if (console_ && program_.console() != shownConsole_) retire(console_, shownConsole_);
        if (transport_ && program_.transport() != shownTransport_) retire(transport_, shownTransport_);
        // The login closes itself before it opens the console: look once the handler that
        // changed the windows has finished.
        QTimer::singleShot(0, &login_, [this] {
            if (!program_.running()) QApplication::quit();
        });
    }

    void consoleOpened()
    {
        retire(console_, shownConsole_);
        shownConsole_ = program_.console();
        shownConsole_->onStepFinished = [this, c = shownConsole_](console::StepId id) { run_.stepFinished(c->entry(id)); };
        console_ = new ConsoleView(*shownConsole_, &widths_);
        if (transport_) console_->move(transport_->pos());  // back from the transport window
        console_->show();
        console_->activateWindow();
    }

    // The transport window takes the console's place on the screen, at its left and top.
    void transportOpened()
    {
        retire(transport_, shownTransport_);
        auto* window = dynamic_cast<transfers::NAKLIYAT*>(program_.transport());
        if (!window) return;
        shownTransport_ = window;
        transport_ = new TransportView(*window, &widths_);
        if (console_) transport_->move(console_->pos());
        transport_->show();
        transport_->activateWindow();
    }

    // Hidden, not closed: closing the view would close its window model.
    template <class View, class Model>
    static void retire(QPointer<View>& view, Model*& shown)
    {
        if (!view) return;
        view->hide();
        view->deleteLater();
        view = nullptr;
        shown = nullptr;
    }

    console::Program& program_;
    WindowsRun& run_;
    LoginView login_;
    ColumnWidths widths_;  // the grids' widths the user set, kept while the program runs
    QPointer<ConsoleView> console_;
    console::BELMO* shownConsole_ = nullptr;
    QPointer<TransportView> transport_;
    transfers::NAKLIYAT* shownTransport_ = nullptr;
};

}  // namespace

bool useTurkish()
{
    const QLocale turkish(QLocale::Turkish, QLocale::Turkey);
    QLocale::setDefault(turkish);
    auto* translator = new QTranslator(QCoreApplication::instance());
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(turkish, QStringLiteral("qtbase"), QStringLiteral("_"), folder) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        qWarning("The toolkit's Turkish texts (qtbase_tr in %s) could not be loaded; its own dialogs stay in English.",
                 qUtf8Printable(folder));
        return false;
    }
    return true;
}

int runGui(const QString& programFolder)
{
    useTurkish();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/belmo.png")));
    // The models say when the program ends, not the last window closed.
    QApplication::setQuitOnLastWindowClosed(false);
    QtDialogs dialogs;
    console::Program program(dialogs, transfers::transferSteps());
    // The target is backed up before the login's first write into it.
    proof::SessionBackups backups(program.session().pool().settings(), proof::Backups::kDefaultKeep);
    program.session().keeper = &backups;
    WindowsRun run(program);
    ProgramWindows windows(program, run);
    proof::checkWhenConsoleOpens(program);
    if (!program.start(programFolder)) return 1;
    if (!program.running()) return 0;
    const int code = QApplication::exec();
    run.log();
    return code;
}

}  // namespace belmo::gui
