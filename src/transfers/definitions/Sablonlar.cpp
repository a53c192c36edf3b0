#include "transfers/definitions/Sablonlar.h"

#include "app/Session.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "services/Dialogs.h"
#include "services/Errors.h"
#include "transfers/RecordWriting.h"

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;
using db::CursorType;
using db::LockType;
using services::skip;

namespace {
const QStringList kFields = {u"Alan_Adi"_s, u"Konum"_s, u"Durum"_s, u"Dzyn_Adi"_s,
                             u"Sol"_s,      u"Ust"_s,   u"Genislik"_s, u"Sect"_s};
}

Sablonlar::Sablonlar(console::StepHost& host) : Step(host, console::StepId::Sablonlar) {}

// Errors before the copy (connections, the deletion) are reported and end the step; rows
// deleted by then stay deleted. During the copy a row that cannot be added is left out.
void Sablonlar::menuAction()
{
    services::Dialogs& dialogs = session().dialogs();
    if (!dialogs.ask(u"Hedef Veri tabanındaki şablon dizaynları silinecektir.Devam edilsin mi?"_s)) return;

    db::Connection source(session().pool());
    source.open(session().KaynakBag);
    db::Connection target(session().pool());
    target.open(session().HedefBag);
    {
        db::TransactionScope transaction(target);
        db::Recordset from, to;
        from.open(u"Select * from Dzyn"_s, source, CursorType::Static, LockType::ReadOnly);
        to.open(u"Select * from Dzyn"_s, target, CursorType::Dynamic, LockType::Optimistic);
        deleteAll(to);
        for (; !from.eof(); from.moveNext()) {
            skip([&] { to.addNew(); });
            for (const QString& field : kFields) copy(to, from, field);
            saveOrDrop(to);
        }
        transaction.commit();
    }
    dialogs.message(u"Şablon Dizaynları Aktarıldı."_s);
    finished();
}

}  // namespace belmo::transfers
