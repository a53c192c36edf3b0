#include "services/TemporaryViews.h"

#include "app/Session.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "services/Errors.h"

namespace belmo::services {

using namespace Qt::Literals::StringLiterals;

namespace {

// A view statement in KaynakBag's database; the steps rebuild their views without caring
// whether the old one was there, so every error is ignored.
void runViewStatement(app::Session& session, const QString& sql)
{
    skip([&] {
        db::Connection con(session.pool());
        con.open(session.KaynakBag);
        db::Recordset rs;
        rs.open(sql, con, db::CursorType::Dynamic, db::LockType::Optimistic);
    });
}

}  // namespace

QString viewName(const app::Session& session, int slot)
{
    return session.GorunumOnek + session.KullaniciKodu + QString::number(slot);
}

void GORUNUMOLUSTUR(app::Session& session, int slot, const QString& query)
{
    runViewStatement(session, u"CREATE VIEW "_s + viewName(session, slot) + u" AS "_s + query);
}

void GORUNUMSIL(app::Session& session, int slot)
{
    runViewStatement(session, u"DROP VIEW "_s + viewName(session, slot));
}

}  // namespace belmo::services
