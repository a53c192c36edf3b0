#include "services/SmallRoutines.h"

#include "app/Session.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/VbConvert.h"
#include "services/Dialogs.h"

namespace belmo::services {

using namespace Qt::Literals::StringLiterals;

QString TIRNAKSIL(const QString& text)
{
    QString out = text;
    out.replace(u'\'', u' ');
    return out;
}

db::Value BOSSIFIR(const db::Value& value)
{
    // A variable never assigned compares equal to empty text, so it counts as empty too.
    if (value.isNull() || value.isEmpty() || (value.isText() && value.textValue().isEmpty())) return db::Value(0);
    return value;
}

QString SORUSOR(app::Session& session, const QString& description, const QString& question)
{
    return session.dialogs().askOverwrite(description, question);
}

bool TEMAAYARLA(app::Session& session)
{
    static const QString kDefaultTheme = u"&H0EFEFF70&"_s;
    db::Connection con(session.pool());
    con.open(session.AyarBag);
    db::Recordset theme;
    theme.open(u"Select Tema_Adi from config where ID=999"_s, con, db::CursorType::Static, db::LockType::ReadOnly);
    if (theme.eof() || theme.value(0).isNull()) return false;
    if (vb::CStr(theme.value(0)) == kDefaultTheme) {
        session.TemaNo = 1;
        return true;
    }
    db::Recordset ids;
    ids.open(u"Select ID from config"_s, con, db::CursorType::Dynamic, db::LockType::ReadOnly);
    session.TemaNo = vb::CLng(ids.value(0));
    return true;
}

}  // namespace belmo::services
