#include "proof/PreRunCheck.h"

#include "proof/Backups.h"
#include "proof/SessionReport.h"

#include "app/GIRIS.h"
#include "app/ProgramFolder.h"
#include "app/ServerCompanies.h"
#include "app/ServerSettings.h"
#include "app/Session.h"
#include "console/Program.h"
#include "db/Connection.h"
#include "db/ConnectionString.h"
#include "db/DbError.h"
#include "db/Recordset.h"
#include "db/Schema.h"
#include "db/SqliteFile.h"
#include "db/VbConvert.h"
#include "services/Dialogs.h"
#include "transfers/TransferSteps.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QRegularExpression>

#include <algorithm>
#include <limits>
#include <map>
#include <memory>
#include <optional>

#include <sqlite3.h>
#include <sys/statvfs.h>

namespace belmo::proof {

using namespace Qt::Literals::StringLiterals;
using console::StepId;
using db::CursorType;
using db::LockType;

namespace {

const QString kTransportCaption = u"Nakliyat Belmoleri"_s;

// The tables each step reads in the source and writes in the target (reading the target's
// period counts as a write: the step cannot run without it).
struct StepTables {
    std::optional<StepId> step;  // none: the transport window's steps together
    QStringList reads, writes;
};
const QList<StepTables>& stepTables()
{
    static const QStringList transport = {u"Plk_Kod"_s,         u"Plk_Kod_Yi"_s,      u"Guzergah"_s,     u"Guzergah_Yi"_s,
                                          u"Masraf_Tanim_Yi"_s, u"Masraf_Tanim_YD"_s, u"Sofor_Yi"_s,     u"Sofor_YD"_s,
                                          u"Arac_Tanim_Yi"_s,   u"Arac_Tanim_YD"_s,   u"Karne_Tanim"_s};
    static const QStringList settings = {u"SIRKET"_s, u"PARATANIM"_s, u"Evr"_s, u"BRM"_s};
    static const QList<StepTables> tables = {
        {StepId::SirketBilgileri, settings, settings},
        {StepId::Sablonlar, {u"Dzyn"_s}, {u"Dzyn"_s}},
        {StepId::IslemTanimlari, {u"islem"_s}, {u"islem"_s}},
        {StepId::EvrakTanimlari, {u"Evrak_Turu"_s}, {u"Evrak_Turu"_s}},
        {StepId::Gruplar, {u"Gruplar"_s}, {u"Gruplar"_s}},
        {StepId::Depolar, {u"Depo"_s}, {u"Depo"_s}},
        {StepId::CariHesaplar, {u"Hesaplar"_s, u"Kayit"_s, u"Cari_H"_s}, {u"Hesaplar"_s, u"Kayit"_s, u"Cari_H"_s, u"SIRKET"_s}},
        {StepId::Stok,
         {u"Stok_Tanim"_s, u"Stok_H"_s, u"Kayit"_s, u"Cari_H"_s, u"Depo"_s, u"Gruplar"_s},
         {u"Stok_Tanim"_s, u"Kayit"_s, u"Cari_H"_s, u"Stok_H"_s, u"SIRKET"_s}},
        {StepId::Siparisler,
         {u"Kayit"_s, u"Cari_Sip"_s, u"Stok_Sip"_s, u"Fatura"_s, u"Stok_Tanim"_s, u"Hesaplar"_s, u"Evrak_Turu"_s},
         {u"Kayit"_s, u"Cari_Sip"_s, u"Stok_Sip"_s, u"Fatura"_s, u"SIRKET"_s}},
        {StepId::Cekler, {u"Cek_"_s, u"Kayit"_s, u"Cari_H"_s, u"Hesaplar"_s}, {u"islem"_s, u"Kayit"_s, u"Cari_H"_s, u"Cek_"_s, u"SIRKET"_s}},
        {StepId::Muhasebe, {u"Diger_Hs"_s}, {u"Diger_Hs"_s}},
        {StepId::Taksitler, {u"Taksit_H"_s, u"Hesaplar"_s, u"Cari_H"_s, u"Kayit"_s, u"SIRKET"_s}, {u"Taksit_H"_s}},
        {StepId::Plasiyerler, {u"Plasiyer"_s}, {u"Plasiyer"_s}},
        {std::nullopt, transport, transport},
    };
    return tables;
}

// The steps that ask before writing into a target that holds data: what they look for, and
// the question's first line.
struct Question {
    StepId step;
    QString existing;  // counts the target's rows the question is about
    QString text;
};
const QList<Question>& questions()
{
    static const QString cards = u"Hedef Veri Tabanında zaten kayıtlı veriler bulunmakta."_s;
    static const QList<Question> list = {
        {StepId::Sablonlar, u"Select count(*) from Dzyn"_s, u"Hedef Veri tabanındaki şablon dizaynları silinecektir."_s},
        {StepId::CariHesaplar, u"Select count(*) from Hesaplar where MID1<>'000'"_s, cards},
        {StepId::Stok, u"Select count(*) from Stok_Tanim"_s, cards},
        {StepId::Siparisler, u"Select count(*) from Kayit inner join Cari_Sip on Kayit.Kayit_No=Cari_Sip.Kayit_No where Sil=0"_s,
         u"Hedef Veritabanında zaten kayıtlı siparişler bulunmakta."_s},
        {StepId::Taksitler, u"Select count(*) from Taksit_H"_s, u"Hedef veritabanındaki mevcut Taksit bilgileri silinecektir."_s},
    };
    return list;
}

// What the source holds that a step will not carry as it stands: a statement listing the
// values, the cause (with %1 for the list) and what to do.
struct Leftover {
    StepId step;
    QString sql;  // one row per value: its label, then its detail
    QString cause, action;
};
const QList<Leftover>& leftovers()
{
    static const QList<Leftover> list = {
        {StepId::CariHesaplar,
         u"Select MID1, '' from Hesaplar where Sil=0 and Ana_Hs in (120,320) and MID1<>'000' and ISNUMERIC(MID1)=0 order by MID1"_s,
         u"Sayı olmayan cari hesap kodları: %1."_s,
         u"Liste kodları sayı olarak sıralar: bu hesaplar sayısal kodlardan sonra gelir. Kodları sayıya çevirin ya da listenin sonuna bakın."_s},
        {StepId::CariHesaplar,
         u"Select distinct MID, '' from (Select B_MID as MID from Kayit where Sil=0 and B_Hs in (120,320) union all "
         u"Select A_MID from Kayit where Sil=0 and A_Hs in (120,320)) as H where MID is not null and MID not in "
         u"(Select MID1 from Hesaplar where MID1 is not null) order by MID"_s,
         u"Hareketlerde kartı olmayan cari hesaplar: %1."_s,
         u"Bu hesapların bakiyesi listelenmez ve aktarılmaz. Kartlarını açın ya da hareketleri doğru hesaba taşıyın."_s},
        {StepId::Cekler,
         u"Select Cek_.Cek_No, count(distinct Kayit.Kayit_No) from Cek_ inner join Kayit on Cek_.Kayit_No=Kayit.Kayit_No where Kayit.Sil=0 "
         u"and Cek_.Tutar>0 group by Cek_.Cek_No having count(distinct Kayit.Kayit_No)>1 order by Cek_.Cek_No"_s,
         u"Birden fazla giriş kaydında geçen çek numaraları (kayıt sayısı): %1."_s,
         u"Çekin bütün kayıtları tek çek olarak aktarılır ve tutarı şaşar. Mükerrer girişi silin ya da çek numarasını düzeltin."_s},
        {StepId::Stok,
         u"Select Stok_H.Stok_Kodu & ' / ' & Stok_H.Depo_Kodu, Sum(Giren1-Cikan1) from (Stok_H inner join Kayit on "
         u"Stok_H.Kayit_No=Kayit.Kayit_No) inner join Depo on Stok_H.Depo_Kodu=Depo.Depo_Kodu where Kayit.Sil=0 "
         u"and Depo.Ana_Hs=153 group by Stok_H.Stok_Kodu, Stok_H.Depo_Kodu having Sum(Giren1-Cikan1)<0 "
         u"order by Stok_H.Stok_Kodu"_s,
         u"Eksi stok miktarı (stok / depo: miktar): %1."_s,
         u"Eksi miktar için açılış kaydı yazılmaz. Stok hareketlerini düzeltin ya da sayımla denkleştirin."_s},
    };
    return list;
}

// A list of values for a sentence: the first ten, then how many more.
QString listed(const QStringList& values)
{
    constexpr qsizetype kShown = 10;
    QString text = values.mid(0, kShown).join(u", "_s);
    if (values.size() > kShown) text += u" ve %1 tane daha"_s.arg(values.size() - kShown);
    return text;
}

// Dialogs of the check's own login: nobody is asked, errors are kept as findings.
class QuietDialogs : public services::Dialogs {
public:
    QStringList shown;
    void message(const QString& text, const QString&, Icon, const QString& details) override
    {
        shown << (details.isEmpty() ? text : text + u" ("_s + details + u')');
    }
    bool ask(const QString&, const QString&) override { return false; }
    QString askOverwrite(const QString&, const QString&) override { return services::answer::kNo; }
};

class Checker {
public:
    explicit Checker(const CheckRequest& request) : request_(request), folder_(QFileInfo(request.folder).absoluteFilePath())
    {
        pool_.settings().lockTimeoutMs = 0;  // a lock another program holds is found, not waited for
    }

    CheckResult run()
    {
        const bool filesKnown = logIn();
        result_.loginRefused = result_.blocking() > 0;
        if (!filesKnown) return std::move(result_);
        std::unique_ptr<db::Connection> source = open(request_.source);
        std::unique_ptr<db::Connection> target = open(request_.target);
        if (server_.useServer)
            checkServerTarget();
        else
            checkTarget(folder_.companyPath(request_.target));
        checkTables(source.get(), target.get());
        if (!source || !target) return std::move(result_);
        checkPeriods(*source, *target);
        checkQuestions(*target);
        checkLeftovers(*source);
        checkDriverNumbers(*source, *target);
        return std::move(result_);
    }

private:
    void add(Finding::Severity s, const QString& file, const QString& cause, const QString& action, const QString& step = {})
    {
        result_.findings.push_back({s, QDir::cleanPath(file), cause, action, step});
    }
    void block(const QString& file, const QString& cause, const QString& action, const QString& step = {})
    {
        add(Finding::Severity::Blocking, file, cause, action, step);
    }
    void warn(const QString& file, const QString& cause, const QString& action, const QString& step = {})
    {
        add(Finding::Severity::Warning, file, cause, action, step);
    }
    QString caption(const std::optional<StepId>& step) const
    {
        return step ? steps_.item(*step).caption : kTransportCaption;
    }

    // The login window's rules, through its own routines, every refusal at once. True when
    // both companies' files are known.
    bool logIn()
    {
        const QString config = folder_.configPath();
        session_.ProgramKlasoru = folder_.root();
        session_.AyarBag = db::ConnectionString::readOnlyForm(folder_.configConnection());
        try {
            db::Connection con(pool_);
            con.open(session_.AyarBag);
            db::Recordset rs;
            rs.open(u"Select USERAD from USERS"_s, con, CursorType::Static, LockType::ReadOnly);
            server_ = app::ServerSettings::load(con);
        } catch (const db::DbError& e) {
            block(config, u"Ayar veri tabanı açılamadı: "_s + e.cause(),
                  u"config.mdb program klasöründe olmalı ve okunabilmeli; --folder ile doğru klasörü verin."_s);
            return false;
        }
        app::GIRIS giris(session_);
        giris.kullaniciAdi.setText(request_.user);
        giris.kullaniciAdiLostFocus();
        giris.sifre.setText(request_.password);
        giris.sifreLostFocus();
        const QString user = giris.kullaniciAdi.text();
        const QString verdict = giris.KULLANICIKONTROL(user, giris.sifre.text());
        if (verdict.isEmpty())
            block(config, u"'%1' adlı kullanıcı yok."_s.arg(user), u"Kullanıcı adını düzeltin ya da kullanıcıyı tanımlayın."_s);
        else if (verdict != u"DOGRU"_s)
            block(config, u"GİRİŞ ONAYLANMADI: şifre yanlış ya da kullanıcı etkin değil."_s,
                  u"Şifreyi düzeltin; yönetici olmayan kullanıcının AKTIVE ve LOCK değerleri 1 olmalı."_s);
        if (giris.kaynakSirket.items().isEmpty()) {
            block(config, u"'%1' kullanıcısının hiçbir şirkete yetkisi yok: giriş konsolu açmadan biter."_s.arg(user),
                  u"SRKTUSERS tablosunda kullanıcıya kaynak ve hedef şirketin yetkisini verin."_s);
        } else {
            if (giris.SIRKETYETKI(user, request_.source) != u"DOGRU"_s) refuseRight(request_.source);
            if (!giris.mayEnter(request_.target)) refuseRight(request_.target);
        }
        for (const QString& shown : std::as_const(dialogs_.shown)) block(config, shown, u"Ayar veri tabanını onarın."_s);
        return companyFiles();
    }

    void refuseRight(const QString& code)
    {
        block(folder_.configPath(), u"Belirtilen Şirkete Giriş Yetkiniz Yok: "_s + code,
              u"SRKTUSERS tablosunda kullanıcıya %1 şirketinin yetkisini verin."_s.arg(code));
    }

    // Where a company is, as findings name it: its file, or the server and its database there.
    QString placeOf(const QString& code) const
    {
        return server_.useServer ? app::serverPlace(server_, code) : folder_.companyPath(code);
    }
    QString connectionOf(const QString& code) const
    {
        return server_.useServer ? server_.companyConnection(code) : folder_.companyConnection(code);
    }

    bool companyFiles()
    {
        if (server_.useServer) return serverCompanies();
        bool known = true;
        for (const QString& code : {request_.source, request_.target}) {
            if (const QString problem = app::companyCodeProblem(code); !problem.isEmpty()) {
                block(folder_.companiesPath(), problem, u"Şirket kodunu düzeltin."_s);
                known = false;
                continue;
            }
            const app::ProgramFolder::CompanyFile file = folder_.findCompany(code);
            if (file.state == app::ProgramFolder::CompanyFile::State::Found) continue;
            block(file.path, u"Şirket Veri Tabanı Bulunamadı. "_s + file.problem(),
                  u"Şirket kodunu düzeltin ya da şirketi hazırlayın (belmo init-company)."_s);
            known = false;
        }
        if (known && app::sameFile(folder_.companyPath(request_.source), folder_.companyPath(request_.target))) {
            block(folder_.companyPath(request_.target), u"Kaynak ve hedef şirket aynı olamaz."_s,
                  u"Hedef olarak yeni dönemin şirketini seçin."_s);
            known = false;
        }
        return known;
    }

    // Each code must name a database of the server, the target another one than the source.
    bool serverCompanies()
    {
        QStringList present;
        try {
            present = server_.companies();
        } catch (const db::DbError& e) {
            block(server_.label(), e.description() + u' ' + e.cause(),
                  u"Server Bilgileri'ni (belmo server) ve sunucunun çalıştığını denetleyin."_s);
            return false;
        }
        bool known = true;
        for (const QString& code : {request_.source, request_.target}) {
            if (present.contains(code)) continue;
            block(placeOf(code), u"Şirket Veri Tabanı Bulunamadı. Sunucuda '%1' veri tabanı yok."_s.arg(code),
                  u"Şirket kodunu düzeltin ya da şirketi sunucuya taşıyın (belmo copy --to-server)."_s);
            known = false;
        }
        if (known && request_.source == request_.target) {
            block(placeOf(request_.target), u"Kaynak ve hedef şirket aynı olamaz."_s, u"Hedef olarak yeni dönemin şirketini seçin."_s);
            known = false;
        }
        return known;
    }

    // The company read-only; a file that cannot be read (held by another program, damaged)
    // is a finding and gives nothing.
    std::unique_ptr<db::Connection> open(const QString& code)
    {
        auto con = std::make_unique<db::Connection>(pool_);
        try {
            con->open(db::ConnectionString::readOnlyForm(connectionOf(code)));
            return con;
        } catch (const db::DbError& e) {
            refuseFile(placeOf(code), e);
            return nullptr;
        }
    }

    // A file that cannot be used: held by another program, or unreadable.
    void refuseFile(const QString& path, const db::DbError& e)
    {
        const int primary = e.resultCode() & 0xff;
        if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
            block(path, u"Şirketi başka bir program kullanıyor ("_s + e.cause() + u")."_s,
                  u"Şirketi kullanan programı kapatıp yeniden deneyin."_s);
        else
            block(path, e.cause(), u"Dosyayı onarın ya da yedeğinden geri alın."_s);
    }

    // What the run needs of the target file itself: to be written, with its write lock free
    // and room beside it for the backup taken before the first write.
    void checkTarget(const QString& path)
    {
        const QFileInfo file(path);
        if (!file.isWritable() || !QFileInfo(file.absolutePath()).isWritable()) {
            block(path, u"Hedef şirket dosyası salt okunur: adımlar yazamaz."_s,
                  u"Dosyaya ve MUHASEBE klasörüne yazma izni verin."_s);
        } else {
            try {
                db::Connection writer(pool_);
                writer.open(folder_.companyConnection(request_.target));
                db::TransactionScope lock(writer);  // given back unused: nothing is written
            } catch (const db::DbError& e) {
                refuseFile(path, e);
            }
        }
        struct statvfs disk {};
        if (statvfs(QFile::encodeName(file.absolutePath()).constData(), &disk) != 0) return;
        const qint64 free = qint64(disk.f_bavail) * qint64(disk.f_frsize);
        if (free < file.size())
            block(file.absolutePath(),
                  u"Yedek için yer yok: %1 bayt boş, hedefin yedeği %2 bayt."_s.arg(free).arg(file.size()),
                  u"Diskte yer açın."_s);
    }

    // A server database is written table by table, each locked from a step's first write into
    // it (a lock another session holds shows then, waited for up to --wait): what the check can
    // know beforehand is that the target opens for writing.
    void checkServerTarget()
    {
        try {
            db::Connection writer(pool_);
            writer.open(connectionOf(request_.target));
        } catch (const db::DbError& e) {
            refuseFile(placeOf(request_.target), e);
        }
    }

    // Every table a step reads in the source and writes in the target against the program's
    // schema: one finding per table, naming the steps that use it.
    void checkTables(db::Connection* source, db::Connection* target)
    {
        std::map<QString, QStringList> reads, writes;
        for (const StepTables& s : stepTables()) {
            for (const QString& table : s.reads) reads[table] << caption(s.step);
            for (const QString& table : s.writes) writes[table] << caption(s.step);
        }
        if (source) compareTables(*source, reads, false);
        if (target) compareTables(*target, writes, true);
    }

    void compareTables(db::Connection& con, const std::map<QString, QStringList>& tables, bool written)
    {
        const QString path = con.file()->path();
        for (const auto& [name, steps] : tables) {
            const db::schema::Table* table = db::schema::findTable(db::schema::companyTables(), name);
            const QStringList present = con.columns(table->name);
            const QString concerned = steps.join(u", "_s);
            if (present.isEmpty()) {
                block(path, u"'%1' tablosu yok."_s.arg(table->name),
                      u"Şirketi programla hazırlayın (belmo init-company) ya da tabloyu ekleyin."_s, concerned);
                continue;
            }
            QStringList missing;
            for (const db::schema::Column& column : table->columns)
                if (!present.contains(column.name, Qt::CaseInsensitive)) missing << column.name;
            if (missing.isEmpty()) continue;
            const QString cause = u"'%1' tablosunda şu sütunlar yok: %2."_s.arg(table->name, missing.join(u", "_s));
            if (written)
                block(path, cause, u"Sütunları ekleyin: adım hiçbir şey yazmadan durur."_s, concerned);
            else
                warn(path, cause, u"Sütunları ekleyin: adım bu sütunları okuyamaz."_s, concerned);
        }
    }

    // The SIRKET row's DONEM as a year; a finding when it is not one.
    std::optional<int> period(db::Connection& con, const QString& steps)
    {
        QString text;
        try {
            db::Recordset rs;
            rs.open(u"Select DONEM from SIRKET"_s, con, CursorType::Static, LockType::ReadOnly);
            if (!rs.eof() && !rs.value(0).isNull()) text = vb::CStr(rs.value(0)).trimmed();
        } catch (const db::DbError&) {
            return std::nullopt;  // the table's own finding says why
        }
        static const QRegularExpression year(u"^[0-9]{4}$"_s);
        if (year.match(text).hasMatch()) return text.toInt();
        block(con.file()->path(), u"Dönem '%1' bir yıl değil."_s.arg(text),
              u"SIRKET tablosunun DONEM alanına dönemin yılını yazın."_s, steps);
        return std::nullopt;
    }

    void checkPeriods(db::Connection& source, db::Connection& target)
    {
        const std::optional<int> from = period(source, caption(StepId::Taksitler));
        const std::optional<int> to = period(target, QStringList{caption(StepId::CariHesaplar), caption(StepId::Stok),
                                                                 caption(StepId::Siparisler), caption(StepId::Cekler)}
                                                         .join(u", "_s));
        if (from && to && *to != *from + 1)
            warn(target.file()->path(),
                 u"Hedefin dönemi %1, kaynağınki %2: yeni dönem kaynağın bir sonraki yılı olmalı."_s.arg(*to).arg(*from),
                 u"Kaynak ve hedef şirketin doğru seçildiğini denetleyin; açılış kayıtları 01.01.%1 tarihini alır."_s.arg(*to));
    }

    std::optional<qint64> count(db::Connection& con, const QString& sql)
    {
        try {
            db::Recordset rs;
            rs.open(sql, con, CursorType::Static, LockType::ReadOnly);
            return rs.eof() || rs.value(0).isNull() ? 0 : qint64(vb::CDbl(rs.value(0)));
        } catch (const db::DbError&) {
            return std::nullopt;  // a missing table has its own finding
        }
    }

    void checkQuestions(db::Connection& target)
    {
        for (const Question& q : questions())
            if (const std::optional<qint64> n = count(target, q.existing); n && *n > 0)
                warn(target.file()->path(), u"Hedefte bu adımın yazdığı %1 kayıt var."_s.arg(*n),
                     u"Adım şunu soracak: \"%1\" Cevabınızı önceden kararlaştırın."_s.arg(q.text), caption(q.step));
    }

    void checkLeftovers(db::Connection& source)
    {
        for (const Leftover& l : leftovers()) {
            QStringList values;
            try {
                db::Recordset rs;
                rs.open(l.sql, source, CursorType::Static, LockType::ReadOnly);
                for (; !rs.eof(); rs.moveNext()) {
                    const QString detail = vb::CStr(rs.value(1));
                    values << (detail.isEmpty() ? vb::CStr(rs.value(0)) : vb::CStr(rs.value(0)) + u": "_s + detail);
                }
            } catch (const db::DbError&) {
                continue;  // a missing table or column has its own finding
            }
            if (!values.isEmpty()) warn(source.file()->path(), l.cause.arg(listed(values)), l.action, caption(l.step));
        }
    }

    // The vehicles keep their driver's number in a Jet Integer column (Sofor_No): drivers the
    // target numbers beyond it leave their vehicles without a driver.
    void checkDriverNumbers(db::Connection& source, db::Connection& target)
    {
        constexpr qint64 kLargest = std::numeric_limits<qint16>::max();
        for (const QString& table : {u"Sofor_Yi"_s, u"Sofor_YD"_s}) {
            const std::optional<qint64> drivers = count(source, u"Select count(*) from %1 where Sil=0"_s.arg(table));
            const qint64 used = std::max(count(target, u"Select max(ID) from %1"_s.arg(table)).value_or(0),
                                         count(target, u"Select seq from sqlite_sequence where name='%1'"_s.arg(table)).value_or(0));
            if (drivers && used + *drivers > kLargest)
                warn(target.file()->path(),
                     u"'%1' tablosunda şoför numaraları %2'e kadar çıkacak: araçların şoför numarası (Sofor_No) en çok %3 alır."_s
                         .arg(table)
                         .arg(used + *drivers)
                         .arg(kLargest),
                     u"Bu numaralı şoförlerin araçları şoförsüz yazılır. Hedefin şoför tablosunu yeni bir şirkette hazırlayın."_s,
                     kTransportCaption);
        }
    }

    const CheckRequest& request_;
    app::ProgramFolder folder_;
    app::ServerSettings server_;
    db::ConnectionPool pool_;
    QuietDialogs dialogs_;
    app::Session session_{pool_, dialogs_};
    const console::StepRegistry steps_ = transfers::transferSteps();
    CheckResult result_;
};

}  // namespace

QJsonObject Finding::toJson() const
{
    return {{u"severity"_s, blocking() ? u"blocking"_s : u"warning"_s},
            {u"file"_s, file},
            {u"cause"_s, cause},
            {u"action"_s, action},
            {u"step"_s, step}};
}

int CheckResult::blocking() const
{
    return int(std::count_if(findings.begin(), findings.end(), [](const Finding& f) { return f.blocking(); }));
}

int CheckResult::warnings() const { return int(findings.size()) - blocking(); }

QJsonObject CheckResult::toJson() const
{
    QJsonArray list;
    for (const Finding& f : findings) list.append(f.toJson());
    return {{u"blocking"_s, blocking()}, {u"warnings"_s, warnings()}, {u"login_refused"_s, loginRefused}, {u"findings"_s, list}};
}

QString CheckResult::text() const
{
    if (findings.empty()) return {};
    QString text = u"Belmo öncesi denetim: %1 engel, %2 uyarı."_s.arg(blocking()).arg(warnings());
    for (const Finding& f : findings) {
        text += u"\n\n"_s + (f.blocking() ? u"ENGEL: "_s : u"UYARI: "_s) + f.file + u"\n"_s + f.cause + u"\nYapılacak: "_s + f.action;
        if (!f.step.isEmpty()) text += u"\nAdım: "_s + f.step;
    }
    return text;
}

CheckResult checkBeforeRun(const CheckRequest& request)
{
    return Checker(request).run();
}

void checkWhenConsoleOpens(console::Program& program)
{
    program.onLoggedIn = [&program] {
        app::Session& session = program.session();
        app::GIRIS& login = program.login();
        // The codes as the login resolved them into the files it opens.
        const auto code = [](const QString& bag) { return companyCode(fileOf(bag)); };
        const CheckResult result = checkBeforeRun({session.ProgramKlasoru, login.kullaniciAdi.text(), login.sifre.text(),
                                                   code(session.KaynakBag), code(session.HedefBag)});
        if (result.findings.empty()) return;
        session.dialogs().message(result.text(), u"Belmo"_s,
                                  result.blocking() > 0 ? services::Dialogs::Icon::Critical : services::Dialogs::Icon::Exclamation);
    };
}

}  // namespace belmo::proof
