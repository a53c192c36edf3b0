#include "app/ProgramFolder.h"
#include "cli/Cli.h"
#include "gui/GuiApplication.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <csignal>
#include <cstdio>

namespace {

int runCommand(const QCoreApplication& app)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = belmo::cli::run(app.arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return code;
}

// A command that writes the printable report (a file named *.pdf).
bool writesPdf(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i)
        if (QByteArray(argv[i]).toLower().endsWith(".pdf")) return true;
    return false;
}

// The windows' program folder: the current folder when it holds the configuration, else
// ~/Belmo when that does (where the menu entry finds the folder `belmo demo ~/Belmo` made),
// else the current folder, whose missing configuration the login then names.
QString windowsFolder()
{
    const QString here = QDir::currentPath();
    const QString home = QDir::home().filePath(QStringLiteral("Belmo"));
    if (QFile::exists(belmo::app::ProgramFolder(here).configPath())) return here;
    return QFile::exists(belmo::app::ProgramFolder(home).configPath()) ? home : here;
}

}  // namespace

// Without arguments the program starts with its windows (see windowsFolder); with a
// command it works headless.
int main(int argc, char* argv[])
{
    // A write beyond the file size limit fails as on a full disk (the step is rolled back and
    // says so) instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    if (argc == 1) {
        QApplication app(argc, argv);
        return belmo::gui::runGui(windowsFolder());
    }
    // The report's PDF needs fonts, which a QGuiApplication brings, on no screen unless one is
    // asked for; every other command runs on the core alone.
    if (writesPdf(argc, argv)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        return runCommand(app);
    }
    QCoreApplication app(argc, argv);
    return runCommand(app);
}
