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

void createDemoFolder(const QString& folder, Size size, bool replace, const std::function<void(const QString&)>& progress)
{
    auto say = [&](const QString& s) {
        if (progress) progress(s);
    };
    if (!app::makePrivateFolder(folder))
        throw DbError(db::err::Unspecified, QStringLiteral("Cannot create the folder '%1'.").arg(folder));
    const app::ProgramFolder pf(QFileInfo(folder).absoluteFilePath());
    if (!pf.ensureDataFolders())
        throw DbError(db::err::Unspecified, QStringLiteral("Cannot create MUHASEBE and images in '%1'.").arg(pf.root()));

    const QString source = QString::fromLatin1(kSourceCode);
    const QString target = QString::fromLatin1(kTargetCode);
    const QStringList finals = {pf.configPath(), pf.companyPath(source), pf.companyPath(target)};
    if (!replace)
        for (const QString& f : finals)
            if (QFileInfo::exists(f))
                throw DbError(db::err::Unspecified,
                              QStringLiteral("'%1' already exists; it is left as it is (--force replaces the demo files).").arg(f));

    std::vector<std::unique_ptr<db::schema::PendingFile>> pending;
    for (const QString& f : finals) pending.push_back(std::make_unique<db::schema::PendingFile>(f));

    say(QStringLiteral("writing %1").arg(finals[0]));
    db::schema::createDatabaseFile(pending[0]->workPath(), db::schema::configTables(), db::schema::databasePassword());
    fillFile(pending[0]->workPath(), [&](db::Connection& con) { writeDemoConfig(con, {source, target}); });

    say(QStringLiteral("writing %1").arg(finals[1]));
    app::createCompanyFile(pending[1]->workPath(), {source, QStringLiteral("ANADOLU TİCARET"), QStringLiteral("2025")});
    fillFile(pending[1]->workPath(), [&](db::Connection& con) { fillSourceCompany(con, size); });

    say(QStringLiteral("writing %1").arg(finals[2]));
    app::createCompanyFile(pending[2]->workPath(), {target, QStringLiteral("ANADOLU TİCARET"), QStringLiteral("2026")});

    for (auto& p : pending)
        if (const QString kept = p->commit(replace); !kept.isEmpty())
            say(QStringLiteral("kept the earlier %1 as %2").arg(p->finalPath(), kept));
}

}  // namespace belmo::demo
