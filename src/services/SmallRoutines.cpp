#include "services/SmallRoutines.h"

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

QString SORUSOR(Dialogs& dialogs, const QString& description, const QString& question)
{
    return dialogs.askOverwrite(description, question);
}

}  // namespace belmo::services
