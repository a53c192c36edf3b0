#include "transfers/RecordWriting.h"

#include "db/Recordset.h"
#include "db/VbConvert.h"
#include "services/Errors.h"

namespace belmo::transfers {

void assign(db::Recordset& record, const QString& column, const db::Value& value)
{
    services::skip([&] { record.setValue(column, value); });
}

void assignNumber(db::Recordset& record, const QString& column, const QString& text)
{
    services::skip([&] { record.setValue(column, vb::CDbl(text)); });
}

void copy(db::Recordset& to, db::Recordset& from, const QString& column, const db::Value& ifNull)
{
    services::skip([&] {
        const db::Value v = from.value(column);
        to.setValue(column, v.isNull() ? ifNull : v);
    });
}

void deleteAll(db::Recordset& record)
{
    while (!record.eof()) {
        try {
            record.deleteCurrent();
        } catch (const db::DbError& e) {
            throw e.asDatabaseLevel();
        }
        if (!record.eof()) record.moveNext();  // an emptied recordset has nowhere to move
    }
}

}  // namespace belmo::transfers
