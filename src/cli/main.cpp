#include "cli/Cli.h"
#include "gui/GuiApplication.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

// Without arguments the program starts with its windows in the current folder; with a
// command it works headless.
int main(int argc, char* argv[])
{
    if (argc == 1) {
        QApplication app(argc, argv);
        return belmo::gui::runGui(QDir::currentPath());
    }
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = belmo::cli::run(app.arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return code;
}
