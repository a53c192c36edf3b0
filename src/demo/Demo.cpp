#include "demo/Demo.h"

#include "app/ProgramFolder.h"
#include "db/Connection.h"
#include "db/ConnectionString.h"
#include "db/DbError.h"
#include "db/Schema.h"
#include "demo/DemoConfig.h"

#include <QFileInfo>

#include <memory>

namespace belmo::demo {

namespace {

using db::DbError;

constexpr int kSourceYear = 2025;  // the closing period; the new one is the year after

// Opens a working file, lets fill() write into it, and closes every connection again so the
// file can be moved into place.
template <typename Fill>
void fillFile(const QString& path, Fill fill)
{
    db::ConnectionPool pool;
    db::Connection con(pool);
    con.open(db::ConnectionString::forJetFile(path, db::schema::databasePassword()));
    fill(con);
}

}  // namespace

QList<DemoPair> demoPairs(int count)
{
    QList<DemoPair> pairs;
    for (int i = 0; i < count && i < kMostPairs; ++i) {
        const QString letter = i == 0 ? QString() : QString(QChar(u'A' + i));
        const QString name = QStringLiteral("ANADOLU TİCARET") + (letter.isEmpty() ? QString() : u' ' + letter);
        pairs.append({QStringLiteral("DEMO%1%2").arg(letter).arg(kSourceYear), QStringLiteral("DEMO%1%2").arg(letter).arg(kSourceYear + 1),
                      name});
    }
    return pairs;
}

void createDemoFolder(const QString& folder, Size size, bool replace, const std::function<void(const QString&)>& progress,
                      int pairCount)
{
    auto say = [&](const QString& s) {
        if (progress) progress(s);
    };
    if (!app::makePrivateFolder(folder))
        throw DbError(db::err::Unspecified, QStringLiteral("Cannot create the folder '%1'.").arg(folder));
    const app::ProgramFolder pf(QFileInfo(folder).absoluteFilePath());
    if (!pf.ensureDataFolders())
        throw DbError(db::err::Unspecified, QStringLiteral("Cannot create MUHASEBE and images in '%1'.").arg(pf.root()));

    const QList<DemoPair> pairs = demoPairs(pairCount);
    QStringList codes, finals = {pf.configPath()};
    for (const DemoPair& pair : pairs) {
        codes << pair.source << pair.target;
        finals << pf.companyPath(pair.source) << pf.companyPath(pair.target);
    }
    if (!replace)
        for (const QString& f : finals)
            if (QFileInfo::exists(f))
                throw DbError(db::err::Unspecified,
                              QStringLiteral("'%1' already exists; it is left as it is (--force replaces the demo files).").arg(f));

    std::vector<std::unique_ptr<db::schema::PendingFile>> pending;
    for (const QString& f : finals) pending.push_back(std::make_unique<db::schema::PendingFile>(f));

    say(QStringLiteral("writing %1").arg(finals[0]));
    db::schema::createDatabaseFile(pending[0]->workPath(), db::schema::configTables(), db::schema::databasePassword());
    fillFile(pending[0]->workPath(), [&](db::Connection& con) { writeDemoConfig(con, codes); });

    for (qsizetype i = 0; i < pairs.size(); ++i) {
        const DemoPair& pair = pairs[i];
        db::schema::PendingFile& source = *pending[1 + 2 * i];
        db::schema::PendingFile& target = *pending[2 + 2 * i];
        say(QStringLiteral("writing %1").arg(source.finalPath()));
        app::createCompanyFile(source.workPath(), {pair.source, pair.name, QString::number(kSourceYear)});
        fillFile(source.workPath(), [&](db::Connection& con) {
            fillSourceCompany(con, size);
            // The year's data are the same in every pair; the company row names its own code.
            con.execute(QStringLiteral("UPDATE SIRKET SET SIRKETCODE = ?, SIRKETAD = ?"), {pair.source, pair.name});
        });
        say(QStringLiteral("writing %1").arg(target.finalPath()));
        app::createCompanyFile(target.workPath(), {pair.target, pair.name, QString::number(kSourceYear + 1)});
    }

    for (auto& p : pending)
        if (const QString kept = p->commit(replace); !kept.isEmpty())
            say(QStringLiteral("kept the earlier %1 as %2").arg(p->finalPath(), kept));
}

}  // namespace belmo::demo
