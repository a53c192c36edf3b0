#include "services/NumberFormats.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Recordset.h"
#include "db/VbConvert.h"

namespace belmo::services {

using namespace Qt::Literals::StringLiterals;

namespace {

// The seven decimals columns of PARATANIM in the order the formats are filled.
struct DecimalsColumn {
    QString column;
    QString NumberFormats::*format;
    QString NumberFormats::*decimals;
};
const DecimalsColumn kColumns[] = {
    {u"TUTARKURUS"_s, &NumberFormats::TutarFormat, &NumberFormats::TutarKurus},
    {u"DVZ1TUTARKURUS"_s, &NumberFormats::Dvz1TutarFormat, &NumberFormats::Dvz1TutarKurus},
    {u"DVZ2TUTARKURUS"_s, &NumberFormats::Dvz2TutarFormat, &NumberFormats::Dvz2TutarKurus},
    {u"FIYATKURUS"_s, &NumberFormats::FiyatFormat, &NumberFormats::FiyatKurus},
    {u"DVZ1FIYATKURUS"_s, &NumberFormats::Dvz1FiyatFormat, &NumberFormats::Dvz1FiyatKurus},
    {u"DVZ2FIYATKURUS"_s, &NumberFormats::Dvz2FiyatFormat, &NumberFormats::Dvz2FiyatKurus},
    {u"MIKTARKSR"_s, &NumberFormats::MiktarFormat, &NumberFormats::MiktarKurus},
};

// A run of zeros as long as the column's whole value; Null and negative values fail as
// building such a run fails in the language (94 and 5).
QString zeros(const db::Value& count)
{
    const qint32 n = vb::CLng(count);
    if (n < 0) throw db::DbError(db::err::InvalidCall, u"Invalid procedure call or argument"_s);
    return QString(n, u'0');
}

}  // namespace

QString numberFormat(int decimals)
{
    if (decimals == 0) return u"##,###"_s;
    return u"##,###0."_s + QString(decimals, u'0');
}

void FORMATAYARLA(db::Connection& source, NumberFormats& f)
{
    try {
        db::Recordset rs;
        rs.open(u"SELECT * FROM PARATANIM"_s, source, db::CursorType::Dynamic, db::LockType::Optimistic);
        // Three passes, as the formats have always been filled: a failing column leaves the
        // columns before it with their new patterns and the decimals texts as they were.
        for (const DecimalsColumn& c : kColumns) f.*c.format = u"##,###0."_s + zeros(rs.value(c.column));
        for (const DecimalsColumn& c : kColumns)
            if (vb::CDbl(rs.value(c.column)) == 0) f.*c.format = numberFormat(0);
        for (const DecimalsColumn& c : kColumns) f.*c.decimals = vb::CStr(rs.value(c.column));
    } catch (const db::DbError&) {
        // The formats stay as far as they got; the login goes on without a message.
    }
}

}  // namespace belmo::services
