#include "cli/Cli.h"
#include "gui/GuiApplication.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>

#include <csignal>
#include <cstdio>

// Without arguments the program starts with its windows in the current folder; with a
// command it works headless.
int main(int argc, char* argv[])
{
    // A write beyond the file size limit fails as on a full disk (the step is rolled back and
    // says so) instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    if (argc == 1) {
        QApplication app(argc, argv);
        return belmo::gui::runGui(QDir::currentPath());
    }
    // The report's PDF needs fonts, so the headless commands run a QGuiApplication too, on
    // no screen unless one is asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = belmo::cli::run(app.arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return code;
}
