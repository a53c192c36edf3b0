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
    // The error texts cannot be read at all (the disk that is full holds config.mdb too): the
    // program's own text says what the number means.
    bool known = false;
    const qint32 code = number.trimmed().toInt(&known);
    QString text = kUnknown;
    for (const auto& [n, own] : programErrorTexts())
        if (known && n == code) text = kFound + own;
    const QString numbered = u"error "_s + number.trimmed();
    errors.dialogs.message(text, {}, Dialogs::Icon::None, details.isEmpty() ? numbered : details + u" ("_s + numbered + u')');
}

const QList<std::pair<qint32, QString>>& programErrorTexts()
{
    namespace err = db::err;
    static const QList<std::pair<qint32, QString>> texts = {
        {err::Unspecified, u"Veri tabanı dosyası bulunamadı veya açılamadı."_s},
        {err::MissingParameter, u"Sorguda veri tabanında bulunmayan bir alan adı kullanıldı."_s},
        {err::Syntax, u"SQL ifadesinde söz dizimi hatası var veya nesne zaten mevcut."_s},
        {err::NoSuchTable, u"Tablo veya sorgu bulunamadı."_s},
        {err::CriteriaMismatch, u"Ölçüt ifadesinde veri türü uyuşmazlığı."_s},
        {err::MultipleStep, u"Girilen değer alanın veri türüne uymuyor."_s},
        {err::InvalidPassword, u"Veri tabanı şifresi geçersiz."_s},
        {err::ItemNotFound, u"İstenen alan kayıt kümesinde bulunamadı."_s},
        {err::NoCurrentRow, u"Geçerli bir kayıt yok (dosya başı veya sonu)."_s},
        {err::NotUpdatable, u"Kayıt kümesi bu işlemi desteklemiyor."_s},
        {err::NotAllowed, u"Bu işleme bu durumda izin verilmiyor."_s},
        {err::ObjectClosed, u"Nesne kapalıyken bu işleme izin verilmiyor."_s},
        {err::ObjectOpen, u"Nesne açıkken bu işleme izin verilmiyor."_s},
        {err::ProviderNotFound, u"Veri sağlayıcısı bulunamadı."_s},
        {err::InvalidCall, u"Geçersiz yordam çağrısı veya bağımsız değişken."_s},
        {err::Overflow, u"Taşma: değer alanın sınırlarını aşıyor."_s},
        {err::TypeMismatch, u"Tür uyuşmazlığı."_s},
        {err::InvalidUseOfNull, u"Geçersiz Null kullanımı."_s},
    };
    return texts;
}

}  // namespace belmo::services
