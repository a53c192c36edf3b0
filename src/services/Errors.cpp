#include "services/Errors.h"

#include "db/Connection.h"
#include "db/JetDialect.h"
#include "db/Recordset.h"
#include "db/VbConvert.h"
#include "services/Dialogs.h"

namespace belmo::services {

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kFound = u"Belirtilen Hata Algılandı : "_s;
const QString kUnknown = u"Hatalı Veri Girişi Algılandı. Lütfen Verilerinizi Kontrol Ediniz."_s;

// Shows the Hata_Kod text of the number, or the generic text; throws when config.mdb or
// its table cannot be read.
void showErrorText(const ErrorLookup& errors, const QString& number, const QString& details)
{
    db::Connection con(errors.pool);
    con.open(errors.AyarBag);
    db::Recordset rs;
    rs.open(u"Select Hata as HT from Hata_Kod where Kod=?"_s, con, db::CursorType::Dynamic, db::LockType::Optimistic,
            {number.trimmed()});
    if (rs.eof()) {
        errors.dialogs.message(kUnknown, {}, Dialogs::Icon::None, details);
        return;
    }
    const db::Value text = rs.value(u"HT"_s);
    errors.dialogs.message(kFound + (text.isNull() ? QString() : vb::CStr(text)), {}, Dialogs::Icon::None, details);
}

}  // namespace

void HATAMESAJI(const ErrorLookup& errors, const QString& number, const QString& details)
{
    try {
        showErrorText(errors, number, details);
        return;
    } catch (const db::DbError& lookupFailure) {
        // The lookup itself failed: report that failure the same way, once.
        try {
            showErrorText(errors, lookupFailure.numberText(), lookupFailure.detail());
            return;
        } catch (const db::DbError&) {
        }
    }
    // The error texts cannot be read at all: the number is all there is to show.
    errors.dialogs.message(kFound + number.trimmed(), {}, Dialogs::Icon::None, details);
}

}  // namespace belmo::services
