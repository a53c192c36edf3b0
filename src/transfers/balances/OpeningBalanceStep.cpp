#include "transfers/balances/OpeningBalanceStep.h"

#include "app/Session.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/JetDialect.h"
#include "db/Recordset.h"
#include "db/VbConvert.h"
#include "services/Dialogs.h"
#include "services/Errors.h"
#include "services/KayitDegerleri.h"
#include "services/Posting.h"
#include "transfers/RecordWriting.h"

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;
using db::CursorType;
using db::LockType;
using db::Value;
using services::skip;

namespace {

const QString kTitle = u"Belmo"_s;

// The writers post into the database KaynakBag names: it names the target while the
// entries are written, and the source again on every way out.
class PostingIntoTarget {
public:
    explicit PostingIntoTarget(app::Session& session) : session_(session), source_(session.KaynakBag)
    {
        session_.KaynakBag = session_.HedefBag;
    }
    ~PostingIntoTarget() { session_.KaynakBag = source_; }
    PostingIntoTarget(const PostingIntoTarget&) = delete;
    PostingIntoTarget& operator=(const PostingIntoTarget&) = delete;

private:
    app::Session& session_;
    QString source_;
};

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
    db::Connection source(session().pool());
    db::Connection target(session().pool());
    source.open(session().KaynakBag);
    target.open(session().HedefBag);
    const QString keys = tickedKeys();
    // The date first: a period that cannot be read stops the step before anything is
    // deleted or copied, rather than after.
    date_ = openingDate(target);
    {
        db::TransactionScope transaction(target);
        db::Recordset existing;
        existing.open(u"Select * from "_s + cards_.table + (cards_.except.isEmpty() ? QString() : u" where "_s + cards_.except),
                      target, CursorType::Dynamic, LockType::Optimistic);
        if (!existing.eof() && !clearTarget(existing, target)) return;
        copyCards(source, existing, keys);
        bar.setMax(grid.rows());
        bar.setValue(0);
        if (bakiyeleriBelmoetme.value() != 1) {
            PostingIntoTarget posting(session());
            for (int r = 1; r < grid.rows(); ++r) {
                if (ticked(r)) post(r, source);
                bar.setValue(bar.value() + 1);
            }
        }
        existing.close();
        transaction.commit();
    }
    session().dialogs().message(completion_, kTitle);
    finished();
}

// "'key1','key2',..." of the ticked rows. Keys are quoted, so an apostrophe in a code
// cannot break the statement.
QString OpeningBalanceStep::tickedKeys() const
{
    QStringList keys;
    for (const int r : tickedRows()) keys << db::jet::quoted(cell(r, keyColumn()));
    if (keys.isEmpty()) throw db::DbError(db::err::InvalidCall, u"Invalid procedure call or argument"_s);
    return keys.join(u',');
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
        skip([&] {
            db::Recordset rs;
            rs.open(u"update Kayit set Sil=1 where Sil=0 and (A_Hs "_s + in + u" or B_Hs "_s + in + u") "_s, target,
                    CursorType::Dynamic, LockType::Optimistic);
        });
    }
    return true;
}

void OpeningBalanceStep::copyCards(db::Connection& source, db::Recordset& to, const QString& keys)
{
    db::Recordset from;
    from.open(u"Select * from "_s + cards_.table + u" where "_s + cards_.key + u" in("_s + keys + u")"_s
                  + (cards_.except.isEmpty() ? QString() : u" and "_s + cards_.except + u" "_s),
              source, CursorType::Static, LockType::ReadOnly);
    for (; !from.eof(); from.moveNext()) {
        bool adding = false;
        skip([&] {
            to.addNew();
            adding = true;
        });
        if (!adding) continue;
        for (const QString& column : cards_.columns) copy(to, from, column);
        saveOrDrop(to);
    }
}

// 1 January of the target company's period.
Value OpeningBalanceStep::openingDate(db::Connection& target) const
{
    db::Recordset rs;
    rs.open(u"Select DONEM from SIRKET"_s, target, CursorType::Static, LockType::ReadOnly);
    const QString text = u"01.01."_s + vb::CStr(rs.value(u"DONEM"_s)).trimmed();
    return Value(vb::CDate(Value(text)));  // a period that is not a year fails here, before any entry
}

services::KayitDegerleri& OpeningBalanceStep::newEntry()
{
    services::KayitDegerleri& k = session().kayitDegerleri;
    k = {};
    k.Tarih = date_;
    k.Evrak_Kodu = 0;
    k.islem_Kod = 1;
    k.Evrak_No = services::nextDocumentNumber(session());
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

double OpeningBalanceStep::amount(int row, int col) const
{
    const QString text = cell(row, col).trimmed();
    return text.isEmpty() ? 0.0 : vb::CDbl(Value(text));
}

}  // namespace belmo::transfers
