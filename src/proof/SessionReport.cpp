#include "proof/SessionReport.h"

#include "app/Session.h"
#include "db/Connection.h"
#include "db/ConnectionString.h"
#include "db/DbError.h"
#include "db/Recordset.h"
#include "db/VbConvert.h"

namespace belmo::proof {

using namespace Qt::Literals::StringLiterals;

namespace {

QString period(db::Connection& company)
{
    try {
        db::Recordset rs;
        rs.open(u"Select DONEM from SIRKET"_s, company, db::CursorType::Static, db::LockType::ReadOnly);
        return rs.eof() ? QString() : vb::joined(rs.value(0)).trimmed();
    } catch (const db::DbError&) {
        return {};
    }
}

void describe(CompanyFacts& facts, db::Connection& company, const QString& connectionString)
{
    facts.file = fileOf(connectionString);
    facts.period = period(company);
    facts.sha256After = sha256OfFile(facts.file);
    if (facts.sha256Before.isEmpty()) facts.sha256Before = facts.sha256After;
}

}  // namespace

QString fileOf(const QString& connectionString) { return db::ConnectionString::parse(connectionString).dataSource; }

Reconciliation reconcileSession(app::Session& session, const QHash<QString, qint64>& targetBefore, RunSummary run)
{
    Reconciliation report;
    report.run = std::move(run);
    db::Connection source(session.pool()), target(session.pool());
    source.open(session.KaynakBag + u";Mode=Read"_s);
    target.open(session.HedefBag);
    describe(report.run.source, source, session.KaynakBag);
    describe(report.run.target, target, session.HedefBag);
    reconcile({source, target, session.sql, session.formats, session.KullaniciKodu}, session.listing, targetBefore, report);
    return report;
}

QHash<QString, qint64> targetTableCounts(app::Session& session)
{
    db::Connection target(session.pool());
    target.open(session.HedefBag);
    return tableCounts(target);
}

}  // namespace belmo::proof
