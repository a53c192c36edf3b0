#include "transfers/RecordWriting.h"

#include "db/Connection.h"
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

void runOrStop(db::Connection& db, const QString& statement)
{
    try {
        db::Recordset rs;
        rs.open(statement, db, db::CursorType::Dynamic, db::LockType::Optimistic);
    } catch (const db::DbError& e) {
        throw e.asDatabaseLevel();
    }
}

void requireRecord(db::Recordset& record)
{
    if (record.eof())
        throw db::DbError(db::err::NoCurrentRow, QStringLiteral("Either BOF or EOF is True, or the current record has been deleted."),
                          db::DbError::Kind::Field, {}, QStringLiteral("kaynakta artık yok"));
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

db::Value openingDate(db::Connection& target)
{
    db::Recordset rs;
    rs.open(QStringLiteral("Select DONEM from SIRKET"), target, db::CursorType::Static, db::LockType::ReadOnly);
    const QString text = QStringLiteral("01.01.") + vb::CStr(rs.value(QStringLiteral("DONEM"))).trimmed();
    return db::Value(vb::CDate(db::Value(text)));
}

}  // namespace belmo::transfers
