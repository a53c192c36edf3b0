#include "transfers/balances/OpeningBalanceStep.h"

#include "app/Session.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/JetFunctions.h"
#include "db/Recordset.h"
#include "db/VbConvert.h"
#include "services/Dialogs.h"
#include "services/Errors.h"
#include "services/KayitDegerleri.h"
#include "services/Posting.h"
#include "transfers/RecordWriting.h"

#include <QScopeGuard>

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;
using db::CursorType;
using db::LockType;
using db::Value;

namespace {

const QString kTitle = u"Belmo"_s;

}  // namespace

OpeningBalanceStep::OpeningBalanceStep(console::StepHost& host, console::StepId id, const QString& caption, Cards cards,
                                       QString completion)
    : PreviewStep(host, id, {.caption = caption, .countBoxes = false, .exitShowsMenu = true}),
      cards_(std::move(cards)), completion_(std::move(completion))
{
    frame.options.append(&bakiyeleriBelmoetme);
    frame.progress.append(&bar);
}

void OpeningBalanceStep::Basla()
{
    transfer({.writes = QStringList{cards_.table} + cards_.entries, .completion = {{completion_, kTitle}}},
             [this](console::Transfer& t) {
                 const QSet<QString> keys = tickedKeys();
                 // The date first: a period that cannot be read stops the step before anything
                 // is deleted or copied, rather than after.
                 date_ = openingDate(t.target());
                 db::Recordset existing;
                 existing.open(u"Select * from "_s + cards_.table +
                                   (cards_.except.isEmpty() ? QString() : u" where "_s + cards_.except),
                               t.target(), CursorType::Dynamic, LockType::Optimistic);
                 if (!existing.eof() && !clearTarget(existing, t.target())) t.stop();
                 copyCards(t, existing, keys);
                 bar.setMax(grid.rows());
                 bar.setValue(0);
                 if (bakiyeleriBelmoetme.value() == 1) return;
                 preparePosting();
                 series_.emplace(t.target(), u"K"_s);
                 const auto done = qScopeGuard([this] { series_.reset(); });
                 for (int r = 1; r < grid.rows(); ++r) {
                     if (ticked(r)) post(r, t);
                     bar.setValue(bar.value() + 1);
                     t.pulse();
                 }
             });
}

// The card keys of the ticked rows, folded as the database compares codes (a card whose code
// differs from a ticked one only in case is the same card to it).
QSet<QString> OpeningBalanceStep::tickedKeys() const
{
    QSet<QString> keys;
    for (const int r : tickedRows()) keys.insert(db::jet::foldedText(rowKey(r)));
    if (keys.isEmpty()) throw db::DbError(db::err::InvalidCall, u"Invalid procedure call or argument"_s);
    return keys;
}

// The two questions before writing into a target that holds cards. False when the user
// does not want to go on.
bool OpeningBalanceStep::clearTarget(db::Recordset& existing, db::Connection& target)
{
    services::Dialogs& dialogs = session().dialogs();
    if (!dialogs.ask(u"Hedef Veri Tabanında zaten kayıtlı veriler bulunmakta.\r"
                     u"İşleme devam etmek hedef veri tabanında sorunlara yol açabilir.\rDevam Edilsin mi?"_s,
                     kTitle))
        return false;
    if (dialogs.ask(u"Hedef Veri Tabanındaki veriler silinsin mi?"_s, kTitle)) {
        deleteAll(existing);
        const QString in = u"in("_s + cards_.mainAccounts + u")"_s;
        runOrStop(target, u"update Kayit set Sil=1 where Sil=0 and (A_Hs "_s + in + u" or B_Hs "_s + in + u") "_s);
    }
    return true;
}

// The source's cards whose key is ticked, in the source's order. The keys are looked up here
// rather than listed in the statement, so that no code becomes a part of its text.
void OpeningBalanceStep::copyCards(console::Transfer& t, db::Recordset& to, const QSet<QString>& keys)
{
    db::Recordset from;
    from.open(u"Select * from "_s + cards_.table + (cards_.except.isEmpty() ? QString() : u" where "_s + cards_.except),
              t.source(), CursorType::Static, LockType::ReadOnly);
    const int key = from.fieldIndex(cards_.key);
    for (; !from.eof(); from.moveNext()) {
        if (!keys.contains(db::jet::foldedText(vb::joined(from.value(key))))) continue;
        t.row(cards_.table + u' ' + vb::joined(from.value(cards_.key)), [&] {
            to.addNew();
            for (const QString& column : cards_.columns) copy(to, from, column);
            to.update();
        });
    }
}

services::KayitDegerleri& OpeningBalanceStep::newEntry()
{
    services::KayitDegerleri& k = session().kayitDegerleri;
    k = {};
    k.Tarih = date_;
    k.Evrak_Kodu = 0;
    k.islem_Kod = 1;
    k.Evrak_No = series_->nextDocumentNumber();
    return k;
}

void OpeningBalanceStep::sides(services::KayitDegerleri& k, const Value& mainAccount, const Value& group, const Value& code,
                               bool credit) const
{
    Value* own[] = {&k.B_Hs, &k.B_Gr, &k.B_MID};
    Value* counter[] = {&k.A_Hs, &k.A_Gr, &k.A_MID};
    if (credit) std::swap(own, counter);
    *own[0] = mainAccount;
    *own[1] = group;
    *own[2] = code;
    *counter[0] = u"500"_s;
    *counter[1] = u"01"_s;
    *counter[2] = u"001"_s;
}

}  // namespace belmo::transfers
