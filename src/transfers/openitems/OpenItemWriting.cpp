#include "transfers/openitems/OpenItemWriting.h"

#include "db/DbError.h"
#include "db/JetDialect.h"
#include "db/Recordset.h"
#include "db/VbConvert.h"
#include "services/Dialogs.h"
#include "transfers/RecordWriting.h"

#include <algorithm>

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;
using db::CursorType;
using db::LockType;

void copyLinkedRow(console::Transfer& t, const QString& table, const Where& where, const db::Value& header,
                   const QStringList& columns, const Fixed& fixed)
{
    db::Recordset from;
    from.open(u"Select * from "_s + table + u" where "_s + where.condition, t.source(), CursorType::Static,
              LockType::ReadOnly, where.values);
    db::Recordset to;
    to.open(u"Select * from "_s + table, t.target(), CursorType::Dynamic, LockType::Optimistic);
    to.addNew();
    assign(to, u"Kayit_No"_s, header);
    if (!from.eof())
        for (const QString& column : columns) copy(to, from, column);
    for (const auto& [column, value] : fixed) assign(to, column, value);
    to.update();
}

void askToMarkDeleted(console::Transfer& t, services::Dialogs& dialogs, const QString& existing, const QString& question,
                      const QString& markDeleted)
{
    {
        db::Recordset rs;
        rs.open(existing, t.target(), CursorType::Static, LockType::ReadOnly);
        if (rs.eof()) return;
    }
    if (!dialogs.ask(question, {})) t.stop();
    runOrStop(t.target(), markDeleted);
}

bool mainAccountIn(const db::Value& mainAccount, std::initializer_list<int> accounts)
{
    if (mainAccount.isNull() || mainAccount.isEmpty()) return false;
    const double value = vb::CDbl(mainAccount);
    return std::any_of(accounts.begin(), accounts.end(), [value](int account) { return value == account; });
}

}  // namespace belmo::transfers
