#include "transfers/definitions/Sablonlar.h"

#include "app/Session.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/VbConvert.h"
#include "services/Dialogs.h"
#include "services/Errors.h"
#include "transfers/RecordWriting.h"

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;
using db::CursorType;
using db::LockType;

namespace {
const QStringList kFields = {u"Alan_Adi"_s, u"Konum"_s, u"Durum"_s, u"Dzyn_Adi"_s,
                             u"Sol"_s,      u"Ust"_s,   u"Genislik"_s, u"Sect"_s};
}

Sablonlar::Sablonlar(console::StepHost& host) : Step(host, console::StepId::Sablonlar) {}

// The target's designs are replaced: a design that cannot be deleted stops the step with
// nothing changed, rather than leaving the copy beside the old designs. A design that
// cannot be added is left out and listed.
void Sablonlar::menuAction()
{
    if (!session().dialogs().ask(u"Hedef Veri tabanındaki şablon dizaynları silinecektir.Devam edilsin mi?"_s)) return;
    transfer({.writes = {u"Dzyn"_s}, .completion = {{u"Şablon Dizaynları Aktarıldı."_s}}}, [](console::Transfer& t) {
        db::Recordset from, to;
        from.open(u"Select * from Dzyn"_s, t.source(), CursorType::Static, LockType::ReadOnly);
        to.open(u"Select * from Dzyn"_s, t.target(), CursorType::Dynamic, LockType::Optimistic);
        deleteAll(to);
        for (; !from.eof(); from.moveNext()) {
            t.row(vb::joined(from.value(u"Dzyn_Adi"_s)) + u' ' + vb::joined(from.value(u"Alan_Adi"_s)), [&] {
                to.addNew();
                for (const QString& field : kFields) copy(to, from, field);
                to.update();
            });
        }
    });
}

}  // namespace belmo::transfers
