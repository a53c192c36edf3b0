// Figures of the current-account and stock panels on the large demo company: the time to
// open each panel (its views built in the source and the grid loaded) and the time of its
// "Başla" (cards copied and opening entries posted into the target), as a user presses
// them after the company settings. A benchmark, not a test: it prints, it asserts nothing.
//
//   belmo_balance_bench [--demo DIR]
//     --demo  a demo folder made by `belmo demo --size large`; its target is written to.
//             Without it, a large demo folder is made in a temporary directory first.
#include "console/Program.h"
#include "console/PreviewStep.h"
#include "demo/Demo.h"
#include "services/Dialogs.h"
#include "transfers/balances/StokKartlari.h"
#include "transfers/TransferSteps.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>
#include <functional>

using namespace belmo;
using namespace Qt::Literals::StringLiterals;
using console::StepId;

namespace {

// Prints every message (an error would show here) and answers Yes: a target that holds
// cards from an earlier run is cleared first.
class PrintingDialogs : public services::Dialogs {
public:
    void message(const QString& text, const QString&, Icon, const QString& details) override
    {
        std::printf("    message: %s %s\n", qPrintable(text), qPrintable(details));
    }
    bool ask(const QString&, const QString&) override { return true; }
    QString askOverwrite(const QString&, const QString&) override { return services::answer::kYesToAll; }
};

double seconds(const std::function<void()>& f)
{
    QElapsedTimer t;
    t.start();
    f();
    return t.nsecsElapsed() / 1e9;
}

void report(const char* what, double s, const QString& note = {})
{
    std::printf("  %-44s %8.2f s  %s\n", what, s, qPrintable(note));
    std::fflush(stdout);
}

long peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// Opens the panel from its menu button, then presses "Başla" on it.
void openAndStart(console::BELMO& console, StepId id, const char* name)
{
    auto* step = dynamic_cast<console::PreviewStep*>(console.step(id));
    const double open = seconds([&] { console.entry(id).button.click(); });
    report(qPrintable(QStringLiteral("%1: open the panel").arg(QLatin1String(name))), open,
           QStringLiteral("(%1 rows)").arg(step->loadedRows()));
    const double start = seconds([&] { step->basla.click(); });
    report(qPrintable(QStringLiteral("%1: Başla").arg(QLatin1String(name))), start,
           QStringLiteral("(%1 rows ticked)").arg(step->tickedRows().size()));
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString folder;
    const int at = args.indexOf(u"--demo"_s);
    if (at > 0 && at + 1 < args.size()) folder = args[at + 1];
    QTemporaryDir made;
    if (folder.isEmpty()) {
        std::printf("Making a large demo folder in %s ...\n", qPrintable(made.path()));
        report("belmo demo --size large", seconds([&] { demo::createDemoFolder(made.path(), demo::Size::Large, false); }));
        folder = made.path();
    }

    PrintingDialogs dialogs;
    console::Program program(dialogs, transfers::transferSteps());
    if (!program.start(folder)) return 1;
    app::GIRIS& login = program.login();
    login.kullaniciAdi.setText(u"MUHASEBE"_s);
    login.kullaniciAdiLostFocus();
    login.sifre.setText(u"1234"_s);
    login.sifreLostFocus();
    login.kaynakSirket.setText(u"DEMO2025"_s);
    login.hedefSirket.setText(u"DEMO2026"_s);
    login.onayla.click();
    console::BELMO* console = program.console();
    if (!console) return 1;

    std::printf("Balance panels on %s\n", qPrintable(folder));
    console->entry(StepId::SirketBilgileri).button.click();  // the target's period
    openAndStart(*console, StepId::CariHesaplar, "current accounts");
    openAndStart(*console, StepId::Stok, "stock");
    auto* stock = dynamic_cast<transfers::StokKartlari*>(console->step(StepId::Stok));
    report("stock: tick \"Lot Kullan\" (views and loader)", seconds([&] { stock->lotKullan.press(); }),
           QStringLiteral("(%1 rows)").arg(stock->loadedRows()));
    std::printf("  peak resident memory: %ld MB\n", peakMegabytes());
    return 0;
}
