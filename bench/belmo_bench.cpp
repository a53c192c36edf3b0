// Every figure of the carry-forward on a large company, in one run: the document writers'
// entries per second, then on the large demo each step as a user presses it (its panel
// opened: views and loader; its "Başla") through the console and the transport window, the
// current-account panel against the one-pass floor of its balances, and the peak memory.
// A benchmark, not a test: it prints, it asserts nothing.
//
//   belmo_bench [--demo DIR] [--no-posting] [--entries N] [--steps KEY,...]
//     --demo        a demo folder made by `belmo demo --size large`; its target is written
//                   to. Without it, a large demo folder is made in a temporary folder first.
//                   When its config.mdb chooses a server, every figure is the server's: the
//                   writers post into a working database of that server too.
//     --no-posting  leave out the writers' figures
//     --entries     current-account entries the writers post (default 100000; stock entries
//                   a fifth of them)
//     --steps       only these steps (their command-line keys), to look at one of them
#include "Posting.h"

#include "app/ProgramFolder.h"
#include "app/ServerSettings.h"
#include "console/PreviewStep.h"
#include "console/Program.h"
#include "db/Connection.h"
#include "db/SqliteFile.h"
#include "demo/Demo.h"
#include "proof/SessionReport.h"
#include "services/Dialogs.h"
#include "transfers/TransferSteps.h"
#include "transfers/openitems/CekBelmoleri.h"
#include "transfers/transport/NAKLIYAT.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>
#include <functional>
#include <optional>

using namespace belmo;
using namespace Qt::Literals::StringLiterals;
using console::StepId;

namespace {

// Answers Yes (a target holding data from an earlier run is cleared first) and prints the
// first few messages that are no completion message: an error would show here.
class QuietDialogs : public services::Dialogs {
public:
    void message(const QString& text, const QString&, Icon icon, const QString& details) override
    {
        if (icon == Icon::None && details.isEmpty()) return;
        if (++shown_ <= 3)
            std::printf("    message: %s %s\n", qPrintable(text.left(120)), qPrintable(details.left(160)));
        else if (shown_ == 4)
            std::printf("    (further messages of this kind not printed)\n");
    }
    bool ask(const QString&, const QString&) override { return true; }
    QString askOverwrite(const QString&, const QString&) override { return services::answer::kYesToAll; }

private:
    int shown_ = 0;
};

double seconds(const std::function<void()>& f)
{
    QElapsedTimer t;
    t.start();
    f();
    return t.nsecsElapsed() / 1e9;
}

void report(const QString& what, double s, const QString& note = {})
{
    std::printf("  %-52s %8.2f s  %s\n", qPrintable(what), s, qPrintable(note));
    std::fflush(stdout);
}

long peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// The current-account balances in one pass over the movements: both sides of the headers
// with UNION ALL, one GROUP BY, binary comparisons. What the panel's statements could cost
// at the least; the panel is measured against it.
const char* const kOnePassBalances = R"(
SELECT h.Ana_Hs, h.Grupkod, h.MID1, h.TAMUNVAN,
       SUM(CASE WHEN c.islem_Dvz = 'TL' THEN c.Tutar_Ytl * s.sign ELSE 0 END),
       SUM(CASE WHEN c.islem_Dvz = 'USD' THEN c.Tutar_Dvz1 * s.sign ELSE 0 END),
       SUM(CASE WHEN c.islem_Dvz = 'EURO' THEN c.Tutar_Dvz2 * s.sign ELSE 0 END)
FROM (SELECT Kayit_No, B_MID AS MID, 1 AS sign FROM Kayit
      WHERE Sil = 0 AND Evrak_Kodu NOT IN (5, 6) AND B_Hs IN (120, 320) AND B_MID <> '000' COLLATE BINARY
      UNION ALL
      SELECT Kayit_No, A_MID, -1 FROM Kayit
      WHERE Sil = 0 AND Evrak_Kodu NOT IN (5, 6) AND A_Hs IN (120, 320)) AS s
JOIN Cari_H AS c ON c.Kayit_No = s.Kayit_No
JOIN Hesaplar AS h ON h.MID1 = s.MID COLLATE BINARY AND h.Sil = 0
GROUP BY h.MID1 COLLATE BINARY)";

// The same on a server: its text columns compared as the server's own text, byte by byte.
const char* const kOnePassBalancesServer = R"(
SELECT h.Ana_Hs, h.Grupkod, h.MID1::text, h.TAMUNVAN::text,
       SUM(CASE WHEN c.islem_Dvz::text = 'TL' THEN c.Tutar_Ytl * s.sign ELSE 0 END),
       SUM(CASE WHEN c.islem_Dvz::text = 'USD' THEN c.Tutar_Dvz1 * s.sign ELSE 0 END),
       SUM(CASE WHEN c.islem_Dvz::text = 'EURO' THEN c.Tutar_Dvz2 * s.sign ELSE 0 END)
FROM (SELECT Kayit_No, B_MID::text AS MID, 1 AS sign FROM Kayit
      WHERE Sil = 0 AND Evrak_Kodu NOT IN (5, 6) AND B_Hs IN (120, 320) AND B_MID::text <> '000'
      UNION ALL
      SELECT Kayit_No, A_MID::text, -1 FROM Kayit
      WHERE Sil = 0 AND Evrak_Kodu NOT IN (5, 6) AND A_Hs IN (120, 320)) AS s
JOIN Cari_H AS c ON c.Kayit_No = s.Kayit_No
JOIN Hesaplar AS h ON h.MID1::text = s.MID AND h.Sil = 0
GROUP BY h.Ana_Hs, h.Grupkod, h.MID1::text, h.TAMUNVAN::text)";

double onePassFloor(console::Program& program)
{
    db::Connection source(program.session().pool());
    source.open(program.session().KaynakBag);
    int rows = 0;
    const char* const sql = source.file()->typedColumns() ? kOnePassBalancesServer : kOnePassBalances;
    const double s = seconds([&] {
        db::Statement st = source.file()->prepareNative(QString::fromLatin1(sql));
        while (st->step()) ++rows;
    });
    report(u"current accounts: one-pass floor of the balances"_s, s, u"(%1 rows)"_s.arg(rows));
    return s;
}

// The step's menu button, then "Başla" on its panel when it has one.
double openAndStart(console::PreviewStep* step, const QString& name, const std::function<void()>& open)
{
    const double opening = seconds(open);
    if (!step) {
        report(name + u": run at once"_s, opening);
        return opening;
    }
    report(name + u": open the panel"_s, opening, u"(%1 rows)"_s.arg(step->loadedRows()));
    const double start = seconds([&] { step->basla.click(); });
    report(name + u": Başla"_s, start, u"(%1 rows ticked)"_s.arg(step->tickedRows().size()));
    return opening;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    auto option = [&](const QString& name) {
        const qsizetype at = args.indexOf(name);
        return at > 0 && at + 1 < args.size() ? args[at + 1] : QString();
    };
    QString folder = option(u"--demo"_s);
    if (!args.contains(u"--no-posting"_s)) {
        const int entries = option(u"--entries"_s).isEmpty() ? 100000 : option(u"--entries"_s).toInt();
        std::optional<app::ServerSettings> server;
        if (!folder.isEmpty()) {
            db::ConnectionPool pool;
            db::Connection config(pool);
            config.open(app::ProgramFolder(folder).configConnection());
            if (app::ServerSettings chosen = app::ServerSettings::load(config); chosen.useServer) server = chosen;
        }
        bench::postingFigures(entries, entries / 5, true, server ? &*server : nullptr);
        std::printf("\n");
    }
    const QStringList only = option(u"--steps"_s).split(u',', Qt::SkipEmptyParts);
    auto chosen = [&](const QString& key) { return only.isEmpty() || only.contains(key); };
    QTemporaryDir made;
    if (folder.isEmpty()) {
        std::printf("Making a large demo folder in %s ...\n", qPrintable(made.path()));
        report(u"belmo demo --size large"_s, seconds([&] { demo::createDemoFolder(made.path(), demo::Size::Large, false); }));
        folder = made.path();
    }

    QuietDialogs dialogs;
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

    std::printf("Every step on %s, in the wizard's order, then the transport window\n", qPrintable(folder));
    QElapsedTimer whole;
    whole.start();
    for (const StepId id : console::wizardChain()) {
        const console::MenuItem item = console->entry(id).item;
        if (!chosen(item.key)) continue;
        auto* step = dynamic_cast<console::PreviewStep*>(console->step(id));
        const double opening = openAndStart(step, item.key, [&] { console->entry(id).button.click(); });
        if (id == StepId::CariHesaplar) {
            const double floor = onePassFloor(program);
            std::printf("  %-52s %8.2f\n", "current accounts: panel / one-pass floor (limit 2.0)", opening / floor);
        }
        if (auto* cheques = dynamic_cast<transfers::CekBelmoleri*>(step)) {
            console->entry(id).button.click();
            openAndStart(cheques, u"cek, Takastaki Çekler"_s, [&] {
                cheques->Optks.press();
                cheques->BtnAra.click();
            });
        }
    }
    console->entry(console::MenuItem::Kind::Transport).button.click();
    auto* transport = dynamic_cast<transfers::NAKLIYAT*>(program.transport());
    if (!transport) return 1;
    for (const transfers::TransportItem& item : transfers::transportItems()) {
        if (!chosen(item.key)) continue;
        auto* step = dynamic_cast<console::PreviewStep*>(transport->step(item.id));
        openAndStart(step, item.key, [&] { transport->entry(item.id).button.click(); });
    }
    const double steps = whole.nsecsElapsed() / 1e9;
    report(u"every step, one after another"_s, steps);
    // The report a run ends with: the source as the panels listed it, against the target.
    proof::Reconciliation reconciliation;
    const double reconciling =
        seconds([&] { reconciliation = proof::reconcileSession(program.session(), {}, {}); });
    report(u"reconciliation report of the run"_s, reconciling, u"(%1 differences)"_s.arg(reconciliation.differences()));
    QTemporaryDir reports;
    QString error;
    const double writing = seconds([&] { proof::writeReport(reconciliation, reports.filePath(u"r.json"_s), error); });
    report(u"the report written as JSON"_s, writing, error);
    std::printf("  %-52s %8.2f\n", "report and JSON / every step (limit 0.20)", (reconciling + writing) / steps);
    std::printf("  peak resident memory: %ld MB\n", peakMegabytes());
    return 0;
}
