#include "proof/SessionReport.h"

#include "app/Session.h"
#include "db/Connection.h"
#include "db/ConnectionString.h"
#include "db/DbError.h"
#include "db/Recordset.h"
#include "db/VbConvert.h"

#include <future>

namespace belmo::proof {

using namespace Qt::Literals::StringLiterals;

namespace {

// The company's name and period from its SIRKET row; empty where there is none.
std::pair<QString, QString> nameAndPeriod(db::Connection& company)
{
    try {
        db::Recordset rs;
        rs.open(u"Select SIRKETAD, DONEM from SIRKET"_s, company, db::CursorType::Static, db::LockType::ReadOnly);
        if (rs.eof()) return {};
        return {vb::joined(rs.value(0)).trimmed(), vb::joined(rs.value(1)).trimmed()};
    } catch (const db::DbError&) {
        return {};
    }
}

// The file, the period and the hash now (taken beside the reconciliation, which only reads).
struct Described {
    CompanyFacts& facts;
    std::future<QString> hash;
    Described(CompanyFacts& f, const QString& connectionString) : facts(f)
    {
        facts.file = fileOf(connectionString);
        hash = std::async(std::launch::async, sha256OfFile, facts.file);
    }
    void finish(db::Connection& company)
    {
        std::tie(facts.name, facts.period) = nameAndPeriod(company);
        facts.sha256After = hash.get();
        if (facts.sha256Before.isEmpty()) facts.sha256Before = facts.sha256After;
    }
};

}  // namespace

QString fileOf(const QString& connectionString) { return db::ConnectionString::parse(connectionString).dataSource; }

Reconciliation reconcileSession(app::Session& session, const QHash<QString, qint64>& targetBefore, RunSummary run)
{
    Reconciliation report;
    report.run = std::move(run);
    Described source{report.run.source, session.KaynakBag}, target{report.run.target, session.HedefBag};
    db::Connection sourceDb(session.pool()), targetDb(session.pool());
    sourceDb.open(db::ConnectionString::readOnlyForm(session.KaynakBag));
    targetDb.open(session.HedefBag);
    reconcile({sourceDb, targetDb, session.sql, session.formats, session.KullaniciKodu}, session.listing, targetBefore,
              report);
    source.finish(sourceDb);
    target.finish(targetDb);
    return report;
}

QHash<QString, qint64> targetTableCounts(app::Session& session)
{
    db::Connection target(session.pool());
    target.open(session.HedefBag);
    return tableCounts(target);
}

}  // namespace belmo::proof
