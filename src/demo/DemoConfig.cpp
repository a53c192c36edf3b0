#include "demo/DemoConfig.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "demo/Demo.h"

namespace belmo::demo {

void writeDemoConfig(db::Connection& con, const QStringList& companies)
{
    namespace err = db::err;
    db::TransactionScope tx(con);
    con.execute(QStringLiteral("INSERT INTO config (ID, Tema_Adi) VALUES (999, '&H0EFEFF70&')"));

    struct User { const char* name; const char* code; const char* password; int adm; int active; int lock; };
    const User users[] = {{kAdminUser, "01", kAdminPassword, 1, 1, 1},
                          {kClerkUser, "05", kClerkPassword, 0, 1, 1},
                          {"STAJYER", "07", "staj", 0, 1, 0}};
    for (const User& u : users) {
        con.execute(QStringLiteral("INSERT INTO USERS (USERAD, USERCODE, PASSWORD, ADM, AKTIVE, LOCK, CONNECTED) "
                                   "VALUES (?, ?, ?, ?, ?, ?, 0)"),
                    {u.name, u.code, u.password, u.adm, u.active, u.lock});
        for (const QString& company : companies)
            con.execute(QStringLiteral("INSERT INTO SRKTUSERS (USERCODE, SIRKETCODE) VALUES (?, ?)"), {u.code, company});
    }
    // Rights lists gather duplicates and empty rows over the years.
    con.execute(QStringLiteral("INSERT INTO SRKTUSERS (USERCODE, SIRKETCODE) VALUES ('05', ?)"), {companies.value(0)});
    con.execute(QStringLiteral("INSERT INTO SRKTUSERS (USERCODE, SIRKETCODE) VALUES ('05', Null)"));

    const QList<std::pair<qint32, const char*>> texts = {
        {err::Unspecified, "Veri tabanı dosyası bulunamadı veya açılamadı."},
        {err::MissingParameter, "Sorguda veri tabanında bulunmayan bir alan adı kullanıldı."},
        {err::Syntax, "SQL ifadesinde söz dizimi hatası var veya nesne zaten mevcut."},
        {err::NoSuchTable, "Tablo veya sorgu bulunamadı."},
        {err::CriteriaMismatch, "Ölçüt ifadesinde veri türü uyuşmazlığı."},
        {err::MultipleStep, "Girilen değer alanın veri türüne uymuyor."},
        {err::InvalidPassword, "Veri tabanı şifresi geçersiz."},
        {err::ItemNotFound, "İstenen alan kayıt kümesinde bulunamadı."},
        {err::NoCurrentRow, "Geçerli bir kayıt yok (dosya başı veya sonu)."},
        {err::NotUpdatable, "Kayıt kümesi bu işlemi desteklemiyor."},
        {err::NotAllowed, "Bu işleme bu durumda izin verilmiyor."},
        {err::ObjectClosed, "Nesne kapalıyken bu işleme izin verilmiyor."},
        {err::ObjectOpen, "Nesne açıkken bu işleme izin verilmiyor."},
        {err::ProviderNotFound, "Veri sağlayıcısı bulunamadı."},
        {err::InvalidCall, "Geçersiz yordam çağrısı veya bağımsız değişken."},
        {err::Overflow, "Taşma: değer alanın sınırlarını aşıyor."},
        {err::TypeMismatch, "Tür uyuşmazlığı."},
        {err::InvalidUseOfNull, "Geçersiz Null kullanımı."},
    };
    for (const auto& [number, text] : texts)
        con.execute(QStringLiteral("INSERT INTO Hata_Kod (Kod, Hata) VALUES (?, ?)"),
                    {QString::number(number), QString::fromUtf8(text)});
    tx.commit();
}

}  // namespace belmo::demo
