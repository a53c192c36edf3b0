#include "db/Schema.h"

#include "db/DbError.h"
#include "db/JetFunctions.h"
#include "db/PgDialect.h"
#include "db/SqliteFile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <sqlite3.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace belmo::db::schema {

namespace {

struct Spec {
    const char* name;
    const char* columns;                       // "Name kind, Name kind, ..."
    std::initializer_list<const char*> indexes;  // "Col" or "Col1+Col2"; "!" in front: unique
};

// ---- company database -------------------------------------------------------------------------
// Columns as the steps read and write them; numbers default to 0 (Sil and sil included),
// texts and dates to Null.
const Spec kCompany[] = {
    {"SIRKET",
     "SIRKETCODE text, SIRKETAD text, Adres text, il text, VD text, VN text, DONEM text, AKTIVE long, "
     "LOGO text, Ftr_Bas long, Fis_Bas long, Fax text, Web text, Email text, Lot_Kullan long, UNVAN text, "
     "TAMUNVAN text, Tel1 text, Tel2 text, U_Net text, icmal_Belge text, icmal_Belge_No text, "
     "Yetki_Belgesi text, Yetki_No text, Yetki_Tarihi date, icmal_Tur long, BaForm_Lmt double, "
     "BsForm_Lmt double, Sicil_No text, Muh_Adi text, Muh_SoyAdi text, Muh_Vn text, Muh_Tck text, "
     "Muh_Tel text, Muh_eposta text",
     {}},
    {"PARATANIM",
     "TUTARKURUS long, FIYATKURUS long, DVZ1TUTARKURUS long, DVZ1FIYATKURUS long, DVZ2TUTARKURUS long, "
     "DVZ2FIYATKURUS long, MIKTARKSR long, PARABIRIM text, DVZ1BIRIM text, DVZ2BIRIM text, Shw_Dvz1 long, "
     "Shw_Dvz2 long",
     {}},
    {"Evr", "On_Taki text, Evr_No long", {"!On_Taki"}},
    {"BRM", "Birim text, Carpan double", {}},
    {"islem",
     "islem_Kod long, islem text, B_Ana_Hs long, A_Ana_Hs long, Hesap_Tur text, Msj1 text, Msj2 text, "
     "Evrak_Kodu long, Sil long",
     {"!islem_Kod"}},
    {"Evrak_Turu", "Evrak_Kodu long, Aciklama text", {"!Evrak_Kodu"}},
    {"Ana_Hesaplar", "Ana_Hs long, Hesap_Adi text", {"!Ana_Hs"}},
    {"Gruplar", "ID auto, Grup text, Grupadi text, Ana_Hs long, Sil long", {"Grup+Ana_Hs"}},
    {"Depo", "ID auto, Depo_Kodu text, Depo_Adi text, Ana_Hs long, Sil long", {"Depo_Kodu+Ana_Hs"}},
    {"Plasiyer",
     "ID auto, A_Hs long, Grup_Kodu text, Hesap_Kodu text, Stok_Grubu text, USERCODE text, Oran double, "
     "Sil long",
     {}},
    {"Dzyn",
     "Dzyn_Adi text, Alan_Adi text, Konum long, Durum long, Sol double, Ust double, Genislik double, "
     "Sect long",
     {"Dzyn_Adi"}},
    {"Diger_Hs", "Ana_Hs long, Grup_Kodu text, Hesap_Kodu text, Hesap_Adi text, Hesap_Tur text",
     {"Hesap_Kodu+Grup_Kodu+Ana_Hs"}},
    {"Hesaplar",
     "Sira_No long, MID2 text, MID1 text, UNVAN text, TAMUNVAN text, YETKILI text, Adres text, Sehir text, "
     "Ilce text, Tel1 text, Tel2 text, Fax text, Gsm text, Email text, Ana_Hs long, Vergi_D text, "
     "Vergi_No text, Not text, Grupkod text, KDV double, isk1 double, isk2 double, isk3 double, "
     "Para_Birim text, Web text, sil long, Ulke text",
     {"MID1+Ana_Hs+Grupkod+TAMUNVAN+sil"}},  // covers the balance views
    {"Stok_Tanim",
     "SID1 long, SID2 text, Stok_Kodu text, Stok_Adi text, Aciklama text, Stok_Grubu text, Fiyat1 double, "
     "Fyt1_Birim text, Fiyat2 double, Fyt2_Birim text, Fiyat3 double, Fyt3_Birim text, Birim1 text, "
     "Birim2 text, Birim_Carpan double, KDV double, Barkod text, Stok_Kodu2 text, En double, Boy double, "
     "Yukseklik double, A_Hs long, IMAGE_PATH text, Depo_Kodu text, sil long, Hiz_Al_Fyt double, "
     "Hiz_Sat_Fyt double, Min_St double, Max_St double, Stok_Tipi long, Hizmet long, Marka text",
     {"SID2", "Stok_Kodu"}},
    // Document headers and their lines.
    {"Kayit",
     "Kayit_No auto, tarih date, B_Hs long, B_Gr text, STKB_MID text, B_MID text, A_Hs long, A_Gr text, "
     "STKA_MID text, A_MID text, Evrak_Kodu long, Evrak_No text, islem_Kod long, User_Code text, Sil long",
     // The balance views read the header sides from these two indexes alone; the open orders
     // are found by their document type.
     {"Evrak_No", "B_MID+Evrak_Kodu+B_Hs+Sil", "A_MID+Evrak_Kodu+A_Hs+Sil", "tarih", "Evrak_Kodu"}},
    {"Cari_H",
     "Kayit_No long, Aciklama text, islem_Dvz text, Doviz_Kuru double, iskonto_Oran double, iskonto double, "
     "Vade date, B_Fiyat double, Tutar_Ytl double, Tutar_Dvz1 double, Tutar_Dvz2 double, Alis_Kyt_No long, "
     "KDV double, Irs_No text, Irs_Tarih date, Plasiyer_Kodu long",
     {"Kayit_No+islem_Dvz+Tutar_Ytl+Tutar_Dvz1+Tutar_Dvz2"}},  // covers the balance views
    {"Stok_H",
     "Kayit_No long, Lot_No long, Stok_Kodu text, Giren1 double, Cikan1 double, Birim1 text, Giren2 double, "
     "Cikan2 double, Birim2 text, Aciklama1 text, Aciklama2 text, Depo_Kodu text, KDV double",
     {"Kayit_No", "Stok_Kodu"}},
    {"Cek_",
     "Kayit_No long, Kimden text, Cek_No text, Hesap_No text, Banka text, Sube text, Vade date, "
     "Tutar double, Para_Birim text, Yetkili text, Gizle long, tarih date",
     {"Kayit_No", "Cek_No"}},
    {"Cari_Sip",
     "Kayit_No long, Aciklama text, Tutar_Ytl double, Tutar_Dvz1 double, Tutar_Dvz2 double, B_Fiyat double, "
     "Doviz_Kuru double, Vade date, Plasiyer_Kodu long, Alis_Kyt_No long, Irs_No text, Irs_Tarih date, "
     "Sip_Veren text, Ftr long, Irs long, Evrak_No text, islem_Dvz text, iskonto_Oran double, "
     "iskonto double",
     {"Kayit_No"}},
    {"Stok_Sip",
     "Kayit_No long, Lot_No long, Stok_Kodu text, Giren1 double, Cikan1 double, Birim1 text, Giren2 double, "
     "Cikan2 double, Birim2 text, Aciklama1 text, Aciklama2 text, Depo_Kodu text, KDV double",
     {"Kayit_No"}},
    {"Fatura",
     "Evrak_No text, Kdv_Dahil long, Genel_Toplam_Isk double, Toplam_Isk double, Isk_BrmFyt double, "
     "Isk double, KDV double, Kdv_Var long",
     {"Evrak_No"}},
    {"Taksit_H",
     "ID auto, Evrak_No text, Kayit_No long, Taksit_Sayisi long, Vade_Tarihi date, MID1 text, "
     "Grup_Kodu text, Ana_Hs long, Aciklama text, Tutar double, Para_Birim text, Doviz_Kuru double, Sil long",
     {"Vade_Tarihi"}},
    // The transport module.
    {"Plk_Kod", "ID auto, Plaka_Kod text, il text, Gumruk text", {"Plaka_Kod"}},
    {"Plk_Kod_Yi", "ID auto, Plaka_Kod text, il text, Ulke_Kod text", {"Plaka_Kod"}},
    {"Guzergah_Yi", "ID auto, Yuk_Yeri text, Bos_Yeri text, Mesafe double", {"Yuk_Yeri+Bos_Yeri"}},
    {"Guzergah",
     "ID auto, Tasima_Tur text, Yuk_Ulke text, Yuk_Yeri text, Yuk_Ilce text, Bos_Ulke text, Bos_Yeri text, "
     "Bos_Ilce text, Mesafe double",
     {}},
    {"Masraf_Tanim_Yi", "Masraf_Kod text, Masraf_Tanim text, Gider_Bilgisi text", {}},
    {"Masraf_Tanim_YD", "Masraf_Kod text, Masraf_Tanim text, Gider_Bilgisi text", {}},
    {"Sofor_Yi",
     "ID auto, Ad_Soyad text, Adres text, Ev_Tel text, Cep_Tel text, Notlar text, Foto_Path text, "
     "Vize1 text, Vize2 text, Vize3 text, Vize4 text, Vize5 text, Vize1_Ulke text, Vize2_Ulke text, "
     "Vize3_Ulke text, Vize4_Ulke text, Vize5_Ulke text, Vize1_Tarihi date, Vize2_Tarihi date, "
     "Vize3_Tarihi date, Vize4_Tarihi date, Vize5_Tarihi date, Sag_Sigorta text, Sag_Tarihi date, "
     "Beynelmilel text, B_Tarihi date, Pasaport_No text, Prim_Oran double, Nuf_VerYeri text, "
     "Nuf_BelgeNo text, Nuf_Tarihi date, Nuf_il text, Nuf_ilce text, Nuf_MahKoy text, Nuf_Cilt text, "
     "Nuf_Sayfa text, Nuf_Kutuk text, Sil long",
     {"Ad_Soyad"}},
    {"Sofor_YD",
     "ID auto, Ad_Soyad text, Adres text, Ev_Tel text, Cep_Tel text, Notlar text, Foto_Path text, "
     "Vize1 text, Vize2 text, Vize3 text, Vize4 text, Vize5 text, Vize1_Ulke text, Vize2_Ulke text, "
     "Vize3_Ulke text, Vize4_Ulke text, Vize5_Ulke text, Vize1_Tarihi date, Vize2_Tarihi date, "
     "Vize3_Tarihi date, Vize4_Tarihi date, Vize5_Tarihi date, Sag_Sigorta text, Sag_Tarihi date, "
     "Beynelmilel text, B_Tarihi date, Pasaport_No text, PskDeg_No text, PskDeg_Tarihi date, "
     "Prim_Oran double, Sil long, Pasaport_Trh date, Adr_Ehliyet text, Adr_Trh date, Nuf_VerYeri text, "
     "Nuf_BelgeNo text, Nuf_Tarihi date, Nuf_il text, Nuf_ilce text, Nuf_MahKoy text, Nuf_Cilt text, "
     "Nuf_Sayfa text, Nuf_Kutuk text",
     {"Ad_Soyad"}},
    {"Arac_Tanim_Yi",
     "ID auto, Plaka text, Marka text, Model text, Tonaj double, Sahibi text, Sofor_No short, "
     "Sirket_Araci long, Imm_Sigortasi text, Imm_Tarihi date, Trf_Sigorta text, Trf_Tarihi date, Kasko text, "
     "Kasko_Tarihi date, Vize text, Vize_Tarihi date, Yuk_Kasko text, YukKasko_Tarihi date, sil long, "
     "Dorse text, Tescil_Sube text, Tipi text, Rengi text, Tescil_SiraNo text, Motor_No text, Sase_No text, "
     "Sahip_Adres text, Tescil_Tarihi date, Yetkili_Tel text, Verg_No text",
     {"Plaka"}},
    {"Arac_Tanim_YD",
     "ID auto, Plaka text, Marka text, Model text, Tonaj double, Sahibi text, Sofor_No short, "
     "Sirket_Araci long, Karne_No text, Karne_Tarihi date, Don_Karne_No text, Don_Karne_Tarihi date, "
     "Uyg_No text, Uyg_Tarihi date, Vize text, Vize_Tarihi date, Trf_Sigorta text, Trf_Tarihi date, "
     "Kasko text, Kasko_Tarihi date, Yesil_Kart text, Ykart_Tarihi date, Roder text, Roder_Tarihi date, "
     "LMotor text, LMotor_Tarihi date, Tako_Tuv text, Tako_Tarihi date, Tescil_Tarihi date, Dorse text, "
     "sil long, Sahip_Adres text, Yetkili_Tel text, Motor_No text, Sase_No text, Tipi text, Rengi text, "
     "Tescil_SiraNo text, Tescil_Sube text",
     {"Plaka"}},
    {"Karne_Tanim",
     "ID auto, Karne_No text, Bas_Trh date, Bit_Trh date, Ver_Trh date, iade_Trh date, Plaka text, "
     "Dorse_Plaka text, Sofor text, Gidis text, Teslim long, sayfa text",
     {"Bit_Trh"}},
};

// ---- configuration store (config.mdb) ---------------------------------------------------------
const Spec kConfig[] = {
    {"config", "ID long, Tema_Adi text", {"!ID"}},
    {"USERS", "USERAD text, USERCODE text, PASSWORD text, ADM long, AKTIVE long, LOCK long, CONNECTED long",
     {"USERAD", "USERCODE"}},
    {"SRKTUSERS", "USERCODE text, SIRKETCODE text", {"USERCODE"}},
    {"Hata_Kod", "Kod text, Hata text", {"Kod"}},
};

Kind kindOf(const QString& word, const QString& where)
{
    if (word == u"auto") return Kind::AutoNumber;
    if (word == u"long") return Kind::Long;
    if (word == u"short") return Kind::Short;
    if (word == u"double") return Kind::Double;
    if (word == u"text") return Kind::Text;
    if (word == u"date") return Kind::Date;
    qFatal("schema: unknown column kind '%s' in %s", qPrintable(word), qPrintable(where));
}

template <size_t N>
QList<Table> build(const Spec (&specs)[N])
{
    QList<Table> tables;
    for (const Spec& spec : specs) {
        Table t;
        t.name = QString::fromLatin1(spec.name);
        for (const QString& part : QString::fromLatin1(spec.columns).split(u',')) {
            const QStringList words = part.simplified().split(u' ');
            t.columns.append({words.value(0), kindOf(words.value(1), t.name)});
        }
        for (const char* ix : spec.indexes) {
            QString s = QString::fromLatin1(ix);
            Index index;
            index.unique = s.startsWith(u'!');
            if (index.unique) s.remove(0, 1);
            index.columns = s.split(u'+');
            t.indexes.append(index);
        }
        tables.append(t);
    }
    return tables;
}

QString declaration(Kind kind)
{
    switch (kind) {
    case Kind::AutoNumber: return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    case Kind::Long: return QStringLiteral("INTEGER DEFAULT 0");
    case Kind::Short: return QStringLiteral("SMALLINT DEFAULT 0");
    case Kind::Double: return QStringLiteral("DOUBLE DEFAULT 0");
    case Kind::Text: return QStringLiteral("TEXT COLLATE JETTEXT");
    case Kind::Date: return QStringLiteral("DATETIME COLLATE JETDATE");
    }
    return {};
}

QString quoteName(const QString& n) { return u'"' + n + u'"'; }

void removeWithCompanions(const QString& path)
{
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) QFile::remove(path + QString::fromLatin1(suffix));
}

// A file that replaces another gets the mode and the owner of the one it replaces. Taking the
// owner needs the right to; without it the file keeps the group where the user belongs to it,
// else it stays the user's own.
void keepModeAndOwner(const QString& replaced, const QString& replacement)
{
    struct stat old {};
    const QByteArray to = QFile::encodeName(replacement);
    if (::stat(QFile::encodeName(replaced).constData(), &old) != 0) return;
    [[maybe_unused]] const bool owned =
        ::chown(to.constData(), old.st_uid, old.st_gid) == 0 || ::chown(to.constData(), uid_t(-1), old.st_gid) == 0;
    if (::chmod(to.constData(), old.st_mode & 07777) != 0)
        throw DbError(err::Unspecified, QStringLiteral("Cannot give '%1' the mode of '%2'.").arg(replacement, replaced),
                      DbError::Kind::Database, replacement, QStringLiteral("cannot change the file's mode"));
}

}  // namespace

const Column* Table::column(const QString& n) const
{
    for (const Column& c : columns)
        if (c.name.compare(n, Qt::CaseInsensitive) == 0) return &c;
    return nullptr;
}

const QList<Table>& companyTables()
{
    static const QList<Table> tables = build(kCompany);
    return tables;
}

const QList<Table>& configTables()
{
    static const QList<Table> tables = build(kConfig);
    return tables;
}

const Table* findTable(const QList<Table>& tables, const QString& name)
{
    for (const Table& t : tables)
        if (t.name.compare(name, Qt::CaseInsensitive) == 0) return &t;
    return nullptr;
}

QString databasePassword() { return QStringLiteral("K4?pa7!şüğıç#öçüşæğı"); }

QStringList createStatements(const Table& table, jet::Target target)
{
    const bool server = target == jet::Target::Server;
    auto quoteName = [server](const QString& n) { return schema::quoteName(server ? n.toLower() : n); };
    QStringList cols;
    for (const Column& c : table.columns)
        cols << quoteName(c.name) + u' ' + (server ? pg::declaration(c.kind) : declaration(c.kind));
    QStringList out;
    out << QStringLiteral("CREATE TABLE %1 (%2)").arg(quoteName(table.name), cols.join(QStringLiteral(", ")));
    for (const Index& ix : table.indexes) {
        QStringList names;
        for (const QString& c : ix.columns) names << quoteName(c);
        out << QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                   .arg(ix.unique ? QStringLiteral("UNIQUE ") : QString(),
                        quoteName(QStringLiteral("IX_%1_%2").arg(table.name, ix.columns.join(u'_'))),
                        quoteName(table.name), names.join(u','));
    }
    return out;
}

void createDatabaseFile(const QString& path, const QList<Table>& tables, const QString& password)
{
    // The file is made here, empty and with no right for other users (it may hold passwords);
    // SQLite would make it readable by everyone. Its -wal and -shm files take its mode.
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kPrivateFileMode);
    if (fd < 0) {
        if (errno == EEXIST) throw DbError(err::Unspecified, QStringLiteral("'%1' already exists; it is left as it is.").arg(path));
        const QString cause = QString::fromLocal8Bit(std::strerror(errno));
        throw DbError(err::Unspecified, QStringLiteral("Cannot create '%1': %2").arg(path, cause), DbError::Kind::Database, path, cause);
    }
    ::close(fd);
    sqlite3* opened = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &opened, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    HandlePtr db(opened);
    // Every result is checked here: a file half made is closed and removed.
    auto check = [&](int result, const QString& what) {
        if (result == SQLITE_OK) return;
        const QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db.get())) : QStringLiteral("out of memory");
        db.reset();
        removeWithCompanions(path);
        throw DbError(err::Unspecified, QStringLiteral("Cannot create '%1' (%2): %3").arg(path, what, msg));
    };
    check(rc, QStringLiteral("open"));
    check(jet::registerFunctions(db.get()), QStringLiteral("functions"));
    auto exec = [&](const QString& sql) { check(sqlite3_exec(db.get(), sql.toUtf8().constData(), nullptr, nullptr, nullptr), sql.left(80)); };
    exec(QStringLiteral("PRAGMA page_size=4096"));
    exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    exec(QStringLiteral("PRAGMA application_id=%1").arg(kApplicationId));
    exec(QStringLiteral("PRAGMA user_version=%1").arg(kSchemaVersion));
    exec(QStringLiteral("BEGIN"));
    exec(QStringLiteral("CREATE TABLE %1 (salt BLOB, verifier TEXT)").arg(QString::fromLatin1(SqliteFile::kKeyTable)));
    QByteArray salt(16, '\0');
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(salt.data()), salt.size() / 4);
    exec(QStringLiteral("INSERT INTO %1 VALUES (x'%2', '%3')")
             .arg(QString::fromLatin1(SqliteFile::kKeyTable), QString::fromLatin1(salt.toHex()),
                  QString::fromLatin1(SqliteFile::passwordVerifier(salt, password))));
    for (const Table& t : tables)
        for (const QString& sql : createStatements(t)) exec(sql);
    exec(QStringLiteral("COMMIT"));
    db.reset();  // closing folds the log into the file; a file still open is refused when put in place
}

PendingFile::PendingFile(QString finalPath) : finalPath_(std::move(finalPath)), workPath_(finalPath_ + QStringLiteral(".partial"))
{
    removeWithCompanions(workPath_);
}

PendingFile::~PendingFile()
{
    if (!committed_) removeWithCompanions(workPath_);
}

QString PendingFile::commit(bool replace)
{
    if (QFileInfo::exists(workPath_ + QStringLiteral("-wal")))
        throw DbError(err::Unspecified, QStringLiteral("'%1' is still open; it cannot be put in place.").arg(workPath_));
    QString kept;
    if (QFileInfo::exists(finalPath_)) {
        if (!replace)
            throw DbError(err::Unspecified, QStringLiteral("'%1' already exists; it is left as it is.").arg(finalPath_));
        keepModeAndOwner(finalPath_, workPath_);
        kept = finalPath_ + QStringLiteral(".bak-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        for (int n = 2; QFileInfo::exists(kept); ++n) kept = kept.section(u'~', 0, 0) + u'~' + QString::number(n);
        for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
            const QString from = finalPath_ + QString::fromLatin1(suffix);
            if (QFileInfo::exists(from) && !QFile::rename(from, kept + QString::fromLatin1(suffix)))
                throw DbError(err::Unspecified, QStringLiteral("Cannot keep '%1' as '%2'.").arg(from, kept));
        }
    }
    if (!QFile::rename(workPath_, finalPath_))
        throw DbError(err::Unspecified, QStringLiteral("Cannot move '%1' to '%2'.").arg(workPath_, finalPath_));
    committed_ = true;
    return kept;
}

}  // namespace belmo::db::schema
