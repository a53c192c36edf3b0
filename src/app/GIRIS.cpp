#include "app/GIRIS.h"

#include "app/ProgramFolder.h"
#include "app/Session.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Recordset.h"
#include "db/VbConvert.h"
#include "services/Dialogs.h"
#include "services/Errors.h"
#include "services/Fragments.h"
#include "services/NumberFormats.h"
#include "services/SmallRoutines.h"

namespace belmo::app {

using namespace Qt::Literals::StringLiterals;

namespace {
const QString kDogru = u"DOGRU"_s;
const QString kYanlis = u"YANLIS"_s;
const QString kNoRight = u"Belirtilen Şirkete Giriş Yetkiniz Yok"_s;
const QString kNotFound = u"Şirket Veri Tabanı Bulunamadı."_s;
const QString kSameCompany = u"Kaynak ve hedef şirket aynı olamaz."_s;
const QString kNotACode = u"Geçersiz şirket kodu: '%1'.\rŞirket kodu harf, rakam, '_' ve '-' içerebilir; en çok 50 karakterdir."_s;
const QString kRefusedByServer = u"Server girişi kabul etmedi: %1\r%2"_s;
const QString kBadPort = u"Geçersiz port: '%1'.\rPort 1 ile 65535 arasında bir sayıdır; boş bırakılırsa sunucunun portu kullanılır."_s;
const QString kAmbiguous = u"Şirket kodu belirsiz: '%1'.\rAdları yalnız büyük-küçük harfle ayrılan birden fazla şirket var."_s;

// A Null column fails every comparison.
bool equalsText(const db::Value& v, const QString& text) { return !v.isNull() && vb::CStr(v) == text; }
bool equalsOne(const db::Value& v)
{
    try {
        return !v.isNull() && vb::CDbl(v) == 1.0;
    } catch (const db::DbError&) {
        return false;
    }
}
}  // namespace

GIRIS::GIRIS(Session& session) : session_(session)
{
    onayla.onClick = [this] { Onayla(); };
    cikis.onClick = [this] { close(); };
    kapat.onClick = [this] { close(); };
    serverBilgileri.onClick = [this] { showServerFrame(); };
    kaydet.onClick = [this] { Kaydet(); };
    serverCikis.onClick = [this] { close(); };
    frames.add(frame);
    frames.add(serverFrame);
}

bool GIRIS::startUp(const QString& currentFolder)
{
    const ProgramFolder folder(currentFolder);
    session_.ProgramKlasoru = folder.root();
    session_.AyarBag = folder.configConnection();

    // Nothing works without the configuration store: say which file is missing and end.
    try {
        db::Connection con(session_.pool());
        con.open(session_.AyarBag);
        db::Recordset rs;
        rs.open(u"Select * from config"_s, con, db::CursorType::Dynamic, db::LockType::Optimistic);
    } catch (const db::DbError& e) {
        session_.dialogs().message(u"Ayar veri tabanı açılamadı: "_s + folder.configPath() + u"\nProgram kapatılacak."_s, {},
                                   services::Dialogs::Icon::None, e.detail());
        close();
        return false;
    }

    folder.ensureDataFolders();  // a folder that cannot be made is no reason to stop

    try {
        if (!TEMAAYARLA(session_)) {
            close();
            return false;
        }
        frame.setColourScheme(session_.TemaNo);
        serverFrame.setColourScheme(session_.TemaNo);
        db::Connection con(session_.pool());
        con.open(session_.AyarBag);
        server_ = ServerSettings::load(con);
        showServerSettings();
    } catch (const db::DbError& e) {
        services::reportError(session_.errors(), e);
    }
    setVisible(true);
    return true;
}

void GIRIS::kullaniciAdiLostFocus()
{
    try {
        fillCompanyLists();
    } catch (const db::DbError& e) {
        services::reportError(session_.errors(), e);
    }
}

void GIRIS::fillCompanyLists()
{
    kaynakSirket.clear();
    hedefSirket.clear();
    const QString user = services::TIRNAKSIL(kullaniciAdi.text());
    if (user.trimmed().isEmpty()) return;
    // On a server the lists offer its companies; the rights are checked at "Onayla".
    const std::optional<QStringList> codes = server_.useServer ? serverCompanies() : rightsOf(user);
    if (!codes) return;
    for (const QString& code : *codes) {
        kaynakSirket.addItem(code);
        hedefSirket.addItem(code);
    }
    kullaniciAdi.setText(user);
}

// The company codes of the user's rights, each once, in the order the store gives them.
QStringList GIRIS::rightsOf(const QString& user)
{
    db::Connection con(session_.pool());
    con.open(session_.AyarBag);
    db::Recordset rs;
    rs.open(u"SELECT SRKTUSERS.SIRKETCODE FROM SRKTUSERS INNER JOIN USERS ON SRKTUSERS.USERCODE = USERS.USERCODE "
            u"where USERS.USERAD=? group by SRKTUSERS.SIRKETCODE "_s,
            con, db::CursorType::Keyset, db::LockType::ReadOnly, {user});
    QStringList codes;
    for (; !rs.eof(); rs.moveNext())
        if (const db::Value code = rs.value(0); !code.isNull()) codes << vb::CStr(code);
    return codes;
}

void GIRIS::sifreLostFocus()
{
    sifre.setText(services::TIRNAKSIL(sifre.text()));
}

QString GIRIS::KULLANICIKONTROL(const QString& userName, const QString& password)
{
    try {
        db::Connection con(session_.pool());
        con.open(session_.AyarBag);
        db::Recordset rs;
        rs.open(u"SELECT USERAD,USERCODE,PASSWORD,ADM,AKTIVE,LOCK,CONNECTED FROM USERS WHERE USERAD=?"_s, con,
                db::CursorType::Dynamic, db::LockType::Optimistic, {userName});
        if (rs.eof()) return {};
        const bool passwordRight = equalsText(rs.value(u"PASSWORD"_s), password);
        const bool valid = (passwordRight && equalsOne(rs.value(u"AKTIVE"_s)) && equalsOne(rs.value(u"LOCK"_s))) ||
                           (equalsOne(rs.value(u"ADM"_s)) && passwordRight);
        if (!valid) return kYanlis;
        session_.KullaniciKodu = vb::CStr(rs.value(u"USERCODE"_s));
        session_.KullaniciAdi = vb::CStr(rs.value(u"USERAD"_s));
        return kDogru;
    } catch (const db::DbError& e) {
        services::reportError(session_.errors(), e);
        return {};
    }
}

bool GIRIS::mayEnter(const QString& companyCode)
{
    if (SIRKETYETKI(kullaniciAdi.text(), companyCode) == kDogru) return true;
    db::Connection con(session_.pool());
    con.open(session_.AyarBag);
    db::Recordset rs;
    rs.open(u"SELECT ADM FROM USERS WHERE USERAD=?"_s, con, db::CursorType::Static, db::LockType::ReadOnly,
            {kullaniciAdi.text().trimmed()});
    return !rs.eof() && equalsOne(rs.value(0));  // administrators enter every company
}

QString GIRIS::SIRKETYETKI(const QString& userName, const QString& companyCode)
{
    try {
        db::Connection con(session_.pool());
        con.open(session_.AyarBag);
        db::Recordset rs;
        rs.open(u"SELECT USERS.*,SRKTUSERS.* FROM USERS,SRKTUSERS WHERE USERS.USERAD=? AND USERS.USERCODE=SRKTUSERS.USERCODE "
                u"AND SRKTUSERS.SIRKETCODE=?"_s,
                con, db::CursorType::Dynamic, db::LockType::Optimistic, {userName.trimmed(), companyCode});
        if (rs.eof()) return kYanlis;
        if (equalsOne(rs.value(u"ADM"_s))) return kDogru;
        rs.close();
        rs.open(u"SELECT USERS.USERAD, SRKTUSERS.SIRKETCODE, SRKTUSERS.USERCODE FROM SRKTUSERS INNER JOIN USERS ON "
                u"SRKTUSERS.USERCODE = USERS.USERCODE WHERE USERS.USERAD=?"_s,
                con, db::CursorType::Dynamic, db::LockType::Optimistic, {userName});
        return rs.eof() ? kYanlis : kDogru;
    } catch (const db::DbError& e) {
        services::reportError(session_.errors(), e);
        return {};
    }
}

bool TEMAAYARLA(Session& session)
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

void GIRIS::Onayla()
{
    enableInputs(false);
    try {
        // Companies on a server: without a server name, or with a server that cannot be
        // asked, the server frame comes forward and nothing else happens.
        std::optional<QStringList> companies;
        if (server_.useServer && !(companies = serverCompanies())) return enableInputs(true);
        const QString typedSource = kaynakSirket.text();
        const QString typedTarget = hedefSirket.text();
        if (typedSource.isEmpty()) return refuse(u"LÜTFEN BELMO YAPILACAK ŞİRKETİ SEÇİNİZ"_s);
        if (typedTarget.isEmpty()) return refuse(u"LÜTFEN HEDEF ŞİRKETİ SEÇİNİZ"_s);
        // A code becomes a file name and a part of a connection string: only plain codes pass.
        for (const QString& code : {typedSource, typedTarget})
            if (!(companies ? db::isPlainDatabaseCode(code) : isPlainCompanyCode(code))) return refuse(kNotACode.arg(code));

        session_.KModu = 2;
        session_.HModu = 2;
        const bool listed = !kaynakSirket.items().isEmpty();
        if (SIRKETYETKI(kullaniciAdi.text(), typedSource) != kDogru && !typedSource.trimmed().isEmpty() && listed)
            return refuse(kNoRight);
        // The new period is written into: the user needs the right to it as to the source.
        if (listed && !mayEnter(typedTarget)) return refuse(kNoRight);
        const std::optional<QString> source = companyCode(typedSource);
        const std::optional<QString> target = source ? companyCode(typedTarget) : std::nullopt;
        if (!target) return;

        const ProgramFolder folder(session_.ProgramKlasoru);
        session_.AyarBag = folder.configConnection();
        const auto connection = [&](const QString& code) {
            return companies ? server_.companyConnection(code) : folder.companyConnection(code);
        };
        session_.KaynakBag = connection(*source);
        session_.HedefBag = connection(*target);
        session_.SqlSunucu = companies ? db::Value(1) : db::Value();

        if (KULLANICIKONTROL(kullaniciAdi.text(), sifre.text()) != kDogru) return refuse(u"GİRİŞ ONAYLANMADI"_s);
        // The target must be there already (the login creates no company; a missing source is
        // found when it is first read) and must be another company than the source.
        if (companies ? refusedOnServer(*source, *target, *companies) : refusedFiles(folder, *source, *target)) return;

        // A user without company rights who typed a code: the program ends here.
        close();
        if (source->trimmed().isEmpty() || !listed) return;
        if (onOpenConsole) onOpenConsole();
        touchSource();
    } catch (const db::DbError& e) {
        if (e.number() == db::err::Unspecified) {
            session_.dialogs().message(kNotFound, {}, services::Dialogs::Icon::None, e.detail());  // the file and why
            closed_ = false;
            setVisible(true);
        } else {
            services::reportError(session_.errors(), e);
        }
        enableInputs(true);
    }
}

// The codes of the user's rights that name a company code, as the rights spell them: texts
// compare without regard to case, the Turkish İ, i, I and ı as one letter.
QStringList GIRIS::rightsNaming(const QString& code)
{
    db::Connection con(session_.pool());
    con.open(session_.AyarBag);
    db::Recordset rs;
    rs.open(u"SELECT SRKTUSERS.SIRKETCODE FROM SRKTUSERS INNER JOIN USERS ON SRKTUSERS.USERCODE = USERS.USERCODE "
            u"WHERE USERS.USERAD=? AND SRKTUSERS.SIRKETCODE=?"_s,
            con, db::CursorType::Static, db::LockType::ReadOnly, {kullaniciAdi.text().trimmed(), code});
    QStringList codes;
    for (; !rs.eof(); rs.moveNext())
        if (const QString right = vb::CStr(rs.value(0)); !codes.contains(right)) codes << right;
    return codes;
}

std::optional<QString> GIRIS::companyCode(const QString& typed)
{
    const QStringList rights = rightsNaming(typed);
    if (rights.isEmpty() || rights.contains(typed)) return typed;
    if (rights.size() == 1) return rights.first();
    refuse(kAmbiguous.arg(typed), u"the user's rights name %1, whose codes differ in case only"_s.arg(rights.join(u", "_s)));
    return std::nullopt;
}

// Each code must name one file, and the target another file than the source.
bool GIRIS::refusedFiles(const ProgramFolder& folder, const QString& source, const QString& target)
{
    if (refusedFile(folder.findCompany(target), target, true) || refusedFile(folder.findCompany(source), source, false))
        return true;
    if (!sameFile(folder.companyPath(source), folder.companyPath(target))) return false;
    refuse(kSameCompany);
    return true;
}

// A server names its databases exactly: the code as typed (or as the right spells it).
bool GIRIS::refusedOnServer(const QString& source, const QString& target, const QStringList& companies)
{
    if (!companies.contains(target)) {
        refuse(kNotFound, u"%1: no database %2 on the server"_s.arg(server_.label(), target));
        return true;
    }
    if (source != target) return false;
    refuse(kSameCompany);
    return true;
}

std::optional<QStringList> GIRIS::serverCompanies()
{
    if (server_.host.trimmed().isEmpty()) {  // no server named yet
        showServerFrame();
        return std::nullopt;
    }
    try {
        return server_.companies();
    } catch (const db::DbError& e) {
        // The server's reason names the server and the user, never the password.
        const bool silent = serverDidNotAnswer(e);
        session_.dialogs().message(silent ? e.description() : kRefusedByServer.arg(server_.label(), e.cause()), {},
                                   services::Dialogs::Icon::None, silent ? e.detail() : QString());
        showServerFrame();
        return std::nullopt;
    }
}

void GIRIS::Kaydet()
{
    const std::optional<int> port = parsePort(serverPort.text());
    if (!port) return session_.dialogs().message(kBadPort.arg(serverPort.text()), {}, services::Dialogs::Icon::None, {});
    const ServerSettings typed{sqlSunucu.value() == 1, serverAdi.text(), *port, serverKullanici.text(), serverSifre.text()};
    try {
        db::Connection con(session_.pool());
        con.open(session_.AyarBag);
        typed.save(con);
        server_ = ServerSettings::load(con);
    } catch (const db::DbError& e) {
        return services::reportError(session_.errors(), e);
    }
    showServerSettings();
    frames.bringToFront(frame);
    kullaniciAdiLostFocus();  // the lists as the settings now give them
}

void GIRIS::showServerSettings()
{
    serverAdi.setText(server_.host);
    serverPort.setText(server_.port > 0 ? QString::number(server_.port) : QString());
    serverKullanici.setText(server_.user);
    serverSifre.setText(server_.password);
    sqlSunucu.setValue(server_.useServer ? 1 : 0);
}

bool GIRIS::refusedFile(const ProgramFolder::CompanyFile& file, const QString& code, bool missingToo)
{
    using State = ProgramFolder::CompanyFile::State;
    if (file.state == State::Found || (file.state == State::Missing && !missingToo)) return false;
    refuse(file.state == State::Ambiguous ? kAmbiguous.arg(code) : kNotFound, file.problem());
    return true;
}

// The first access to the source company (a missing file fails here), then the number
// formats and query fragments of the run.
void GIRIS::touchSource()
{
    db::Connection con(session_.pool());
    con.open(session_.KaynakBag);
    db::Recordset rs;
    rs.open(u"Select DONEM from SIRKET"_s, con, db::CursorType::Dynamic, db::LockType::Optimistic);
    rs.close();
    services::FORMATAYARLA(con, session_.formats);
    services::SQLCEVIR(session_.SqlSunucu, session_.formats, session_.sql);
}

void GIRIS::refuse(const QString& message, const QString& details)
{
    session_.dialogs().message(message, {}, services::Dialogs::Icon::None, details);
    enableInputs(true);
}

void GIRIS::enableInputs(bool on)
{
    kullaniciAdi.setEnabled(on);
    sifre.setEnabled(on);
    kaynakSirket.setEnabled(on);
    onayla.setEnabled(on);
    cikis.setEnabled(on);
    kapat.setEnabled(on);
}

void GIRIS::close()
{
    closed_ = true;
    setVisible(false);
}

void GIRIS::setVisible(bool on)
{
    if (visible_ == on) return;
    visible_ = on;
    if (onVisibility) onVisibility();
}

}  // namespace belmo::app
