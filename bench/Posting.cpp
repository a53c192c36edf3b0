#include "Posting.h"

#include "app/ProgramFolder.h"
#include "app/ServerSettings.h"
#include "db/CompanyCopy.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "services/KayitDegerleri.h"
#include "services/Fragments.h"
#include "services/NumberFormats.h"
#include "services/Posting.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace belmo::bench {

namespace {

// Posts n entries, timing each one; returns the time of every entry in nanoseconds.
std::vector<qint64> post(int n, const std::function<void(int)>& entry)
{
    std::vector<qint64> times(static_cast<size_t>(n));
    QElapsedTimer clock;
    for (int i = 0; i < n; ++i) {
        clock.start();
        entry(i);
        times[static_cast<size_t>(i)] = clock.nsecsElapsed();
    }
    return times;
}

double meanMicros(const std::vector<qint64>& times, size_t from, size_t to)
{
    qint64 sum = 0;
    for (size_t i = from; i < to; ++i) sum += times[i];
    return sum / 1e3 / static_cast<double>(to - from);
}

void report(const char* what, const std::vector<qint64>& times)
{
    const size_t n = times.size();
    if (n == 0) return;
    const size_t tenth = std::max<size_t>(1, n / 10);
    qint64 total = 0;
    for (qint64 t : times) total += t;
    const double first = meanMicros(times, 0, tenth);
    const double last = meanMicros(times, n - tenth, n);
    std::printf("%s\n", what);
    std::printf("  entries                         %10zu\n", n);
    std::printf("  total                           %10.2f s\n", total / 1e9);
    std::printf("  entries per second              %10.0f\n", static_cast<double>(n) / (total / 1e9));
    std::printf("  per entry, first 10%%            %10.1f us\n", first);
    std::printf("  per entry, last 10%%             %10.1f us\n", last);
    std::printf("  ratio last / first (limit 1.5)  %10.2f\n", last / first);
    std::printf("  per entry by tenth of the run   ");
    for (size_t d = 0; d < 10 && n >= 10; ++d) std::printf(" %.0f", meanMicros(times, d * n / 10, (d + 1) * n / 10));
    std::printf(" us\n");
    std::fflush(stdout);
}

// The values an opening entry of a current account carries (debit balance in TL).
void fillAccountEntry(services::KayitDegerleri& k, int i)
{
    k.Tarih = u"01.01.2026"_s;
    k.B_Hs = 120;
    k.B_Gr = u"01"_s;
    k.B_MID = QString::number(100000 + i);
    k.A_Hs = 500;
    k.A_Gr = u"01"_s;
    k.A_MID = u"001"_s;
    k.Evrak_Kodu = 0;
    k.islem_Kod = 0;
    k.Aciklama = u"DEVİR"_s;
    k.islem_Dvz = u"TL"_s;
    k.Doviz_Kuru = 1;
    k.Tutar_Ytl = 1000.0 + i * 0.37;
    k.Tutar_Dvz1 = 0;
    k.Tutar_Dvz2 = 0;
}

// The values an opening stock entry carries: the card on the debit side, stock in unit 1.
void fillStockEntry(services::KayitDegerleri& k, int i)
{
    fillAccountEntry(k, i);
    k.B_Hs = 153;
    k.B_MID = u"STK"_s + QString::number(i % 20000);
    k.B_Fiyat = 12.5;
    k.Lot_No = 0;
    k.Stok_Kodu = k.B_MID;
    k.Giren1 = 1 + i % 40;
    k.Cikan1 = 0;
    k.Birim1 = u"ADET"_s;
    k.Depo_Kodu = QString::number(1 + i % 3).rightJustified(2, u'0');
}

}  // namespace

int postingFigures(int accounts, int stock, bool transaction, const app::ServerSettings* server)
{
    const app::NewCompany company{u"HEDEF"_s, u"HEDEF"_s, u"2026"_s};
    QTemporaryDir dir;
    const app::ProgramFolder folder(dir.path());
    std::optional<db::PendingDatabase> onServer;  // never committed: dropped at the end
    if (server) {
        onServer.emplace(server->server(), company.code);
    } else {
        folder.ensureDataFolders();
        app::prepareCompany(folder, company);
    }

    db::ConnectionPool pool;
    // One connection held for the whole run, like a step's "Başla" holding the target.
    db::Connection target(pool);
    if (onServer) {
        target.open(server->companyConnection(onServer->workName()));
        app::writeNewCompany(target, company);
    } else {
        target.open(folder.companyConnection(company.code));
    }
    services::KayitDegerleri values;
    services::NumberFormats formats;
    services::Fragments sql;
    services::FORMATAYARLA(target, formats);
    services::SQLCEVIR(db::Value(), formats, sql);
    const QString user = u"05"_s;
    const services::Ledger ledger{target, values, 2, user, sql};
    std::printf("Posting into an empty company %s, %s\n\n", server ? "on the server" : "file",
                transaction ? "one transaction per run" : "autocommit");

    // Each entry as a step posts it: fill the values, take a document number, write.
    using Fill = void (*)(services::KayitDegerleri&, int);
    using Writer = void (*)(const services::Ledger&);
    int failures = 0;  // an entry that fails is printed and counted
    auto run = [&](const char* what, int n, Fill fill, Writer write) {
        std::optional<db::TransactionScope> tx;
        if (transaction) tx.emplace(target);
        services::DocumentSeries series(target, u"K"_s);
        const auto times = post(n, [&](int i) {
            fill(values, i);
            values.Evrak_No = series.nextDocumentNumber();
            try {
                write(ledger);
            } catch (const db::DbError& e) {
                ++failures;
                std::fprintf(stderr, "failed: %s\n", e.what());
            }
        });
        if (tx) tx->commit();
        report(what, times);
    };
    run("CARIHAREKETEKLE (header + current-account line, with EVRAKNOAL)", accounts, fillAccountEntry,
        services::CARIHAREKETEKLE);
    run("\nSTOKHAREKETEKLE (header + current-account line + stock line, with EVRAKNOAL)", stock, fillStockEntry,
        services::STOKHAREKETEKLE);

    std::printf("\nfailed entries: %d\n", failures);
    return failures;
}

}  // namespace belmo::bench
