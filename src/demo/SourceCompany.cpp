#include "demo/SourceCompany.h"

#include "db/Connection.h"
#include "demo/Vocabulary.h"

#include <QDate>
#include <QHash>
#include <QMap>

#include <algorithm>
#include <cmath>
#include <vector>

namespace belmo::demo {

using db::Value;

Scale Scale::of(Size size)
{
    if (size == Size::Large)
        return {38000, 2000, 10000, 20000, 800000, 200000, 10000, 8000, 6000, 3500, 1500, 5000, 6500, 2100, 2100, 6000};
    return {24, 4, 12, 36, 520, 300, 18, 8, 10, 0, 0, 0, 0, 0, 0, 0};
}

namespace {

constexpr int kYear = 2025;
constexpr char kAdmin[] = "01";  // user codes written into the headers
constexpr char kClerk[] = "05";

double round2(double v) { return std::round(v * 100.0) / 100.0; }

// One prepared INSERT per table, bound row by row.
class Inserter {
public:
    Inserter(db::Connection& con, const QString& table, const QStringList& columns) : con_(con)
    {
        QStringList names;
        for (const QString& c : columns) names << u'[' + c + u']';  // Hesaplar has a column named Not
        sql_ = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                   .arg(table, names.join(u','), QStringList(columns.size(), QStringLiteral("?")).join(u','));
        columns_ = columns.size();
    }
    qint64 add(const QList<Value>& values)
    {
        Q_ASSERT(values.size() == columns_);
        con_.execute(sql_, values);
        return con_.lastInsertId();
    }

private:
    db::Connection& con_;
    QString sql_;
    qsizetype columns_ = 0;
};

QStringList cols(const char* list) { return QString::fromLatin1(list).split(u','); }

// A document number of a series: its prefix and six digits.
QString seriesNumber(const QString& prefix, int n) { return prefix + QStringLiteral("%1").arg(n, 6, 10, QChar(u'0')); }

struct Account {
    QString mid1;
    QString group;
    int main;  // 120 or 320
    QString title;
    QString currency;  // the currency it trades in
};

struct Card {
    QString sid2;
    QString group;
    QString unit;
    double kdv;
    double buyPrice;
    double salePrice;
    bool deleted;
};

struct LotStock {
    int card;
    QString depot;
    int lot;
    double quantity;
};

// A sale invoice on credit, as the instalment plans draw on it. The large demo keeps
// hundreds of thousands of them, so the invoice number is kept as a number: texts held
// that long among the many short-lived ones fragment the heap and slow every insert.
struct Sale {
    qint64 kayitNo;
    int invoiceNo;  // in the series "F"
    const Account* customer;
    QDate date;
    double amount;  // in the customer's currency

    QString evrakNo() const { return seriesNumber(QStringLiteral("F"), invoiceNo); }
};

// A received cheque, as every record of its history repeats it.
struct Cheque {
    QString number;
    const Account* drawer;  // the customer it came from
    QString bankAccount;
    QString bank;
    QString branch;
    QString signer;
    QDate due;
    double amount;  // in the customer's currency
    int hidden;
};

// One order document: its lines share the header's sides, date and number.
struct Order {
    bool fromCustomer;  // type 7, a customer's order to us; otherwise type 8, ours to a supplier
    const Account* account;
    QDate date;
    QString evrakNo;
    int invoiced;
    int sil;
};

// What the carnets of an international vehicle name.
struct Truck {
    QString plate;
    QString trailer;
    QString driver;
};

class SourceCompany {
public:
    SourceCompany(db::Connection& con, Size size)
        : con_(con), scale_(Scale::of(size)), large_(size == Size::Large), words_(20251231),
          kayit_(con, "Kayit", cols("tarih,B_Hs,B_Gr,B_MID,A_Hs,A_Gr,A_MID,Evrak_Kodu,Evrak_No,islem_Kod,User_Code,Sil")),
          cariH_(con, "Cari_H", cols("Kayit_No,Aciklama,islem_Dvz,Doviz_Kuru,iskonto_Oran,iskonto,Vade,B_Fiyat,"
                                     "Tutar_Ytl,Tutar_Dvz1,Tutar_Dvz2,Alis_Kyt_No,KDV,Irs_No,Irs_Tarih,Plasiyer_Kodu")),
          stokH_(con, "Stok_H", cols("Kayit_No,Lot_No,Stok_Kodu,Giren1,Cikan1,Birim1,Giren2,Cikan2,Birim2,"
                                     "Aciklama1,Aciklama2,Depo_Kodu,KDV")),
          cek_(con, "Cek_", cols("Kayit_No,Kimden,Cek_No,Hesap_No,Banka,Sube,Vade,Tutar,Para_Birim,Yetkili,Gizle,tarih")),
          cariSip_(con, "Cari_Sip", cols("Kayit_No,Aciklama,Tutar_Ytl,Tutar_Dvz1,Tutar_Dvz2,B_Fiyat,Doviz_Kuru,Vade,"
                                         "Plasiyer_Kodu,Alis_Kyt_No,Irs_No,Irs_Tarih,Sip_Veren,Ftr,Irs,Evrak_No,islem_Dvz,"
                                         "iskonto_Oran,iskonto")),
          stokSip_(con, "Stok_Sip", cols("Kayit_No,Lot_No,Stok_Kodu,Giren1,Cikan1,Birim1,Giren2,Cikan2,Birim2,"
                                         "Aciklama1,Aciklama2,Depo_Kodu,KDV")),
          fatura_(con, "Fatura", cols("Evrak_No,Kdv_Dahil,Genel_Toplam_Isk,Toplam_Isk,Isk_BrmFyt,Isk,KDV,Kdv_Var")),
          taksit_(con, "Taksit_H", cols("Evrak_No,Kayit_No,Taksit_Sayisi,Vade_Tarihi,MID1,Grup_Kodu,Ana_Hs,Aciklama,Tutar,"
                                        "Para_Birim,Doviz_Kuru,Sil"))
    {
    }

    void build()
    {
        company();
        definitions();
        accounts();
        stockCards();
        accountMovements();
        stockMovements();
        cheques();
        orders();
        instalments();
        transport();
        chequeCases();
        orderCases();
        instalmentCases();
        transportCases();
        numberingSeries();
    }

private:
    db::Connection& con_;
    Scale scale_;
    bool large_;
    Vocabulary words_;
    Inserter kayit_, cariH_, stokH_, cek_, cariSip_, stokSip_, fatura_, taksit_;
    std::vector<Account> customers_, exporters_, suppliers_;
    std::vector<Card> cards_;
    std::vector<LotStock> lots_;
    std::vector<std::vector<int>> lotsOfCard_;  // indexes into lots_, per card
    std::vector<Sale> saleHeaders_;  // TL invoices the instalments are drawn on
    std::vector<Sale> laterSales_;   // the other live sales of the second half-year, for longer plans
    QMap<QString, int> series_;  // last number handed out per prefix
    int lastLot_ = 0;
    std::pair<qint64, qint64> deletedDrivers_;  // the driver marked deleted at home and abroad

    void exec(const QString& sql, const QList<Value>& values = {}) { con_.execute(sql, values); }

    QString number(const QString& prefix)
    {
        return seriesNumber(prefix, ++series_[prefix]);
    }

    QDate dayOfYear() { return QDate(kYear, 1, 1).addDays(words_.between(1, 362)); }

    double rate(const QString& currency, const QDate& d)
    {
        // A plausible drift of the lira through the year.
        const double t = QDate(kYear, 1, 1).daysTo(d) / 365.0;
        if (currency == u"USD") return std::round((35.4 + 6.0 * t) * 10000.0) / 10000.0;
        if (currency == u"EURO") return std::round((36.9 + 10.0 * t) * 10000.0) / 10000.0;
        return 0;
    }

    qint64 header(const QDate& d, int bHs, const QString& bGr, const QString& bMid, int aHs, const QString& aGr,
                  const QString& aMid, int evrakKodu, const QString& evrakNo, int islem, int sil = 0)
    {
        return kayit_.add({d, bHs, bGr, bMid, aHs, aGr, aMid, evrakKodu, evrakNo, islem,
                           words_.chance(0.7) ? kClerk : kAdmin, sil});
    }

    // A current-account line; TL lines carry the amount in Tutar_Ytl, foreign lines in their
    // own column with the TL equivalent beside it.
    void line(qint64 kayitNo, const QString& text, const QString& currency, double amount, const QDate& d,
              double unitPrice = 0, double kdv = 20, const Value& due = Value::null())
    {
        const double r = rate(currency, d);
        const double ytl = currency == u"TL" ? amount : round2(amount * r);
        cariH_.add({kayitNo, text, currency, r, 0, 0, due, unitPrice, ytl, currency == u"USD" ? amount : 0.0,
                    currency == u"EURO" ? amount : 0.0, 0, kdv, Value::null(), Value::null(), 0});
    }

    // A sale on credit in the customer's currency, due in 30 or 60 days.
    Sale sale(const Account& c, const QDate& d, double amount, int deleted = 0)
    {
        const bool tl = c.currency == u"TL";
        const qint64 k = header(d, 120, c.group, c.mid1, tl ? 600 : 601, "01", "001", 1, number("F"), tl ? 11 : 12, deleted);
        line(k, QStringLiteral("Satış faturası"), c.currency, amount, d, 0, tl ? 20 : 0, d.addDays(words_.chance(0.5) ? 30 : 60));
        return {k, series_.value(QStringLiteral("F")), &c, d, amount};
    }

    // ---- company and definitions --------------------------------------------------------------

    void company()
    {
        exec(QStringLiteral("DELETE FROM SIRKET"));
        exec(QStringLiteral("DELETE FROM PARATANIM"));
        exec(QStringLiteral(
                 "INSERT INTO SIRKET (SIRKETCODE, SIRKETAD, Adres, il, VD, VN, DONEM, AKTIVE, LOGO, Ftr_Bas, Fis_Bas, "
                 "Fax, Web, Email, Lot_Kullan, UNVAN, TAMUNVAN, Tel1, Tel2, U_Net, icmal_Belge, icmal_Belge_No, "
                 "Yetki_Belgesi, Yetki_No, Yetki_Tarihi, icmal_Tur, BaForm_Lmt, BsForm_Lmt, Sicil_No, Muh_Adi, "
                 "Muh_SoyAdi, Muh_Vn, Muh_Tck, Muh_Tel, Muh_eposta) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,"
                 "?,?,?,?,?,?,?,?,?,?,?,?,?)"),
             {"DEMO2025", "ANADOLU TİCARET", "Atatürk Bulvarı No: 112 Kızılay Çankaya", "Ankara", "Çankaya",
              "0680123456", "2025", 1, "images/logo.png", 1843, 977, "0(312) 418 22 10", "www.anadoluticaret.com.tr",
              "muhasebe@anadoluticaret.com.tr", 1, "Anadolu Ticaret", "Anadolu Ticaret ve Nakliyat A.Ş.",
              "0(312) 418 22 00", "0(312) 418 22 01", Value::null(), "K1 Yetki Belgesi", "K1-06-004512",
              "C2 Yetki Belgesi", "C2-06-000871", QDate(2023, 3, 14), 1, Value::null(), 5000.0, "ANK-284512",
              "Ayşe", "Kılıç", "5820374615", "28451236970", "0(532) 614 77 20", "ayse.kilic@smmm.org.tr"});
        exec(QStringLiteral("INSERT INTO PARATANIM (TUTARKURUS, FIYATKURUS, DVZ1TUTARKURUS, DVZ1FIYATKURUS, "
                            "DVZ2TUTARKURUS, DVZ2FIYATKURUS, MIKTARKSR, PARABIRIM, DVZ1BIRIM, DVZ2BIRIM, Shw_Dvz1, "
                            "Shw_Dvz2) VALUES (2, 4, 2, 4, 2, 4, 2, 'TL', 'USD', 'EURO', 1, 1)"));
        for (const auto& [unit, factor] : QList<std::pair<const char*, double>>{
                 {"Adet", 1}, {"Koli", 12}, {"Kg", 1}, {"Lt", 1}, {"Metre", 1}, {"Paket", 6}, {"Düzine", 12}})
            exec(QStringLiteral("INSERT INTO BRM (Birim, Carpan) VALUES (?, ?)"), {QString::fromUtf8(unit), factor});
    }

    void definitions()
    {
        const QList<std::pair<int, const char*>> documentTypes = {
            {1, "Satış Faturası"}, {2, "Alış Faturası"}, {3, "Alış İrsaliyesi"}, {4, "Satış İrsaliyesi"},
            {5, "Sayım Eksiği Fişi"}, {6, "Sayım Fazlası Fişi"}, {7, "Alınan Sipariş"}, {8, "Verilen Sipariş"},
            {9, "Tahsilat Makbuzu"}, {10, "Tediye Makbuzu"}, {11, "Virman Fişi"}, {15, "Çek Bordrosu"},
            {16, "Senet Bordrosu"}};
        for (const auto& [code, name] : documentTypes)
            exec(QStringLiteral("INSERT INTO Evrak_Turu (Evrak_Kodu, Aciklama) VALUES (?, ?)"), {code, QString::fromUtf8(name)});

        struct Tx { int code; const char* name; int debit; int credit; const char* type; const char* m1; int doc; int sil; };
        const Tx transactions[] = {
            {1, "Açılış Kaydı", 0, 500, "C", "Devir bakiyesi", 0, 0},
            {10, "Peşin Satış", 100, 600, "C", "Peşin satış yapıldı", 1, 0},
            {11, "Veresiye Satış", 120, 600, "C", "Cari hesaba satış", 1, 0},
            {12, "İhracat", 120, 601, "C", "Yurtdışı satış", 1, 0},
            {20, "Mal Alışı", 153, 320, "S", "Ticari mal alındı", 2, 0},
            {21, "İrsaliyeli Mal Girişi", 153, 320, "S", "İrsaliye ile giriş", 3, 0},
            {30, "Nakit Tahsilat", 100, 120, "C", "Tahsilat yapıldı", 9, 0},
            {31, "Çek Tahsilatı", 101, 120, "C", "Müşteri çeki alındı", 15, 0},
            {40, "Nakit Ödeme", 320, 100, "C", "Ödeme yapıldı", 10, 0},
            {41, "Çek Ciro", 320, 101, "C", "Müşteri çeki ciro edildi", 15, 0},
            {42, "Çek Takasa Verme", 101, 101, "C", "Çek bankaya takasa verildi", 15, 0},
            {43, "Çek Tahsili", 100, 101, "C", "Çek tahsil edildi", 15, 0},
            {50, "Alınan Sipariş", 120, 153, "S", "Müşteri siparişi", 7, 0},
            {51, "Verilen Sipariş", 153, 320, "S", "Tedarikçiye sipariş", 8, 0},
            {60, "Sayım Fazlası", 153, 0, "S", "Sayım farkı", 6, 0},
            {61, "Sayım Eksiği", 0, 153, "S", "Sayım farkı", 5, 0},
            {70, "Masraf Girişi", 770, 320, "C", "Genel gider", 0, 0},
            {99, "Eski Kampanya İndirimi", 611, 120, "C", "Kullanılmıyor", 1, 1},
        };
        for (const Tx& t : transactions)
            exec(QStringLiteral("INSERT INTO islem (islem_Kod, islem, B_Ana_Hs, A_Ana_Hs, Hesap_Tur, Msj1, Msj2, "
                                "Evrak_Kodu, Sil) VALUES (?,?,?,?,?,?,?,?,?)"),
                 {t.code, QString::fromUtf8(t.name), t.debit, t.credit, t.type, QString::fromUtf8(t.m1), "",
                  t.doc, t.sil});

        struct Group { const char* code; const char* name; int main; int sil; };
        const Group groups[] = {
            {"01", "Yurtiçi Müşteriler", 120, 0}, {"02", "Yurtdışı Müşteriler", 120, 0}, {"03", "Bayiler", 120, 0},
            {"01", "Yurtiçi Tedarikçiler", 320, 0}, {"02", "İthalat Tedarikçileri", 320, 0},
            {"01", "Portföydeki Çekler", 101, 0}, {"02", "Tahsile Verilen Çekler", 101, 0},
            {"GIDA", "Gıda Ürünleri", 153, 0}, {"TEMIZ", "Temizlik Ürünleri", 153, 0}, {"HIRD", "Hırdavat", 153, 0},
            {"OTO'YED", "Oto Yedek Parça", 153, 0}, {"KIRT", "Kırtasiye", 153, 0},
            {"ESKI", "Eski Ürünler (kapatıldı)", 153, 1}, {"HURDA", "Hurda Malzeme", 157, 0}};
        for (const Group& g : groups)
            exec(QStringLiteral("INSERT INTO Gruplar (Grup, Grupadi, Ana_Hs, Sil) VALUES (?,?,?,?)"),
                 {QString::fromUtf8(g.code), QString::fromUtf8(g.name), g.main, g.sil});

        struct Depot { const char* code; const char* name; int main; int sil; };
        const Depot depots[] = {{"01", "Merkez Depo", 153, 0}, {"02", "Kadıköy'deki Depo", 153, 0},
                                {"03", "İzmir Bölge Deposu", 153, 0}, {"04", "Hurda ve İade Deposu", 157, 0},
                                {"05", "Eski Sincan Deposu", 153, 1}};
        for (const Depot& d : depots)
            exec(QStringLiteral("INSERT INTO Depo (Depo_Kodu, Depo_Adi, Ana_Hs, Sil) VALUES (?,?,?,?)"),
                 {QString::fromUtf8(d.code), QString::fromUtf8(d.name), d.main, d.sil});

        struct Ledger { int main; const char* group; const char* code; const char* name; const char* type; };
        const Ledger ledgers[] = {
            {100, "01", "001", "Merkez Kasa", "K"}, {100, "01", "002", "Kadıköy Şube Kasası", "K"},
            {101, "01", "001", "Portföydeki Müşteri Çekleri", "C"}, {101, "02", "001", "Bankaya Takasa Verilen Çekler", "C"},
            {102, "01", "001", "Ziraat Bankası Kızılay", "B"}, {102, "01", "002", "İş Bankası Kadıköy", "B"},
            {153, "01", "001", "Ticari Mallar", "S"}, {191, "01", "001", "İndirilecek KDV %20", "V"},
            {335, "01", "001", "Mehmet Yıldız", "P"}, {335, "01", "002", "Zeynep Aydın", "P"},
            {335, "01", "003", "Mustafa Öztürk", "P"}, {335, "01", "004", "Elif Şahin", "P"},
            {335, "01", "005", "Kemal Ünal", "P"}, {391, "01", "001", "Hesaplanan KDV %20", "V"},
            {500, "01", "001", "Sermaye", "O"}, {600, "01", "001", "Yurtiçi Satışlar", "G"},
            {601, "01", "001", "Yurtdışı Satışlar", "G"}, {621, "01", "001", "Satılan Ticari Mallar Maliyeti", "M"},
            {770, "01", "001", "Kira Giderleri", "M"}, {770, "01", "A'01", "Avukatlık Ücretleri", "M"},
            {780, "01", "001", "Kredi Faiz Giderleri", "M"}, {999, "01", "001", "Tanımsız Ana Hesap", "M"}};
        for (const Ledger& l : ledgers)
            exec(QStringLiteral("INSERT INTO Diger_Hs (Ana_Hs, Grup_Kodu, Hesap_Kodu, Hesap_Adi, Hesap_Tur) "
                                "VALUES (?,?,?,?,?)"),
                 {l.main, QString::fromUtf8(l.group), QString::fromUtf8(l.code), QString::fromUtf8(l.name),
                  QString::fromUtf8(l.type)});

        // Salespeople: accounts under 335 earning on stock groups under 153.
        struct Seller { const char* code; const char* stockGroup; const char* user; double rate; int sil; };
        const Seller sellers[] = {{"001", "GIDA", "05", 2.5, 0},  {"002", "TEMIZ", "05", 3.0, 0},
                                  {"003", "OTO'YED", "01", 1.75, 0}, {"004", "KIRT", "05", 4.0, 0},
                                  {"005", "HIRD", "05", 2.0, 1},     {"002", "01", "05", 1.0, 0}};
        for (const Seller& s : sellers)
            exec(QStringLiteral("INSERT INTO Plasiyer (A_Hs, Grup_Kodu, Hesap_Kodu, Stok_Grubu, USERCODE, Oran, Sil) "
                                "VALUES (335, '01', ?, ?, ?, ?, ?)"),
                 {QString::fromUtf8(s.code), QString::fromUtf8(s.stockGroup), QString::fromUtf8(s.user), s.rate, s.sil});

        // Print templates: field positions of three documents.
        struct Field { const char* name; double left; double top; double width; int section; };
        const QList<std::pair<const char*, QList<Field>>> templates = {
            {"Satış Faturası", {{"UNVAN", 1.2, 3.0, 9.0, 1}, {"ADRES", 1.2, 3.6, 9.0, 1}, {"VD_VN", 1.2, 4.8, 9.0, 1},
                                {"TARIH", 15.5, 3.0, 3.0, 1}, {"EVRAK_NO", 15.5, 3.6, 3.0, 1}, {"STOK_ADI", 1.2, 7.0, 8.0, 2},
                                {"MIKTAR", 9.5, 7.0, 2.0, 2}, {"BIRIM_FIYAT", 12.0, 7.0, 2.5, 2}, {"TUTAR", 15.5, 7.0, 3.0, 2},
                                {"KDV", 15.5, 24.0, 3.0, 3}, {"GENEL_TOPLAM", 15.5, 25.2, 3.0, 3}, {"YAZI_ILE", 1.2, 25.2, 12.0, 3}}},
            {"Sevk İrsaliyesi", {{"UNVAN", 1.0, 3.2, 9.0, 1}, {"SEVK_ADRESI", 1.0, 4.0, 9.0, 1}, {"TARIH", 15.0, 3.2, 3.0, 1},
                                 {"STOK_ADI", 1.0, 7.5, 10.0, 2}, {"MIKTAR", 12.0, 7.5, 2.5, 2}, {"BIRIM", 15.0, 7.5, 2.0, 2}}},
            {"Tahsilat Makbuzu", {{"UNVAN", 2.0, 2.5, 10.0, 1}, {"TUTAR", 14.0, 2.5, 4.0, 1}, {"ACIKLAMA", 2.0, 4.0, 14.0, 1}}}};
        for (const auto& [form, fields] : templates) {
            int position = 0;
            for (const Field& f : fields)
                exec(QStringLiteral("INSERT INTO Dzyn (Dzyn_Adi, Alan_Adi, Konum, Durum, Sol, Ust, Genislik, Sect) "
                                    "VALUES (?,?,?,?,?,?,?,?)"),
                     {QString::fromUtf8(form), QString::fromUtf8(f.name), ++position, 1, f.left, f.top, f.width, f.section});
        }
    }

    // ---- current accounts -----------------------------------------------------------------------

    void accounts()
    {
        Inserter hesap(con_, "Hesaplar", cols("Sira_No,MID2,MID1,UNVAN,TAMUNVAN,YETKILI,Adres,Sehir,Ilce,Tel1,Tel2,Fax,"
                                              "Gsm,Email,Ana_Hs,Vergi_D,Vergi_No,Not,Grupkod,KDV,isk1,isk2,isk3,"
                                              "Para_Birim,Web,sil,Ulke"));
        int next = 1000;
        auto add = [&](std::vector<Account>& into, int main, const QString& group, const QString& title,
                       const QString& currency, const QString& country, int sil = 0, const QString& mid1 = {}) {
            const QString code = mid1.isEmpty() ? QString::number(++next) : mid1;
            const QString city = country == u"Türkiye" ? words_.city() : QString();
            hesap.add({next, QStringLiteral("%1.%2.%3").arg(main).arg(group, code), code, title.left(30), title,
                       words_.personName(), words_.street(), city, Value::null(), words_.phone(), Value::null(),
                       words_.phone(), QStringLiteral("0(5%1) %2").arg(words_.between(30, 55)).arg(words_.between(1000000, 9999999)),
                       QStringLiteral("info@firma%1.com.tr").arg(code), main, city, words_.taxNumber(), Value::null(),
                       group, 20.0, 0.0, 0.0, 0.0, currency, Value::null(), sil, country});
            into.push_back({code, group, main, title, currency});
        };
        // A few accounts every demo has, whatever its size.
        add(customers_, 120, "01", QStringLiteral("Hakkı'nın Yeri Lokantası Şahıs İşletmesi"), "TL", "Türkiye");
        add(customers_, 120, "03", QStringLiteral("Öz Kardeşler Gıda Bayi Ltd. Şti."), "TL", "Türkiye");
        add(customers_, 120, "01", QStringLiteral("Kapanmış Müşteri Ticaret Ltd. Şti."), "TL", "Türkiye", 1);
        add(customers_, 120, "01", QStringLiteral("Muhtelif Alıcılar"), "TL", "Türkiye", 0, "000");
        std::vector<Account> idle;
        add(idle, 120, "01", QStringLiteral("Yeni Açılan Müşteri A.Ş."), "TL", "Türkiye");  // no movements
        while (static_cast<int>(customers_.size()) < scale_.domesticCustomers)
            add(customers_, 120, words_.chance(0.8) ? "01" : "03", words_.companyTitle(), "TL", "Türkiye");
        for (int i = 0; i < scale_.exportCustomers; ++i)
            add(exporters_, 120, "02", words_.foreignCompanyTitle(), i % 2 ? "EURO" : "USD",
                i % 2 ? QStringLiteral("Almanya") : QStringLiteral("Bulgaristan"));
        for (int i = 0; i < scale_.suppliers; ++i) {
            const bool imports = i % 6 == 5;
            add(suppliers_, 320, imports ? "02" : "01", imports ? words_.foreignCompanyTitle() : words_.companyTitle(),
                imports ? QStringLiteral("USD") : QStringLiteral("TL"), imports ? "Hollanda" : "Türkiye");
        }
    }

    void accountMovements()
    {
        // The shared accounts first: a customer trading in TL and USD, and one whose
        // movements cancel out.
        const Account& both = customers_[1];
        for (const char* cur : {"TL", "USD"}) {
            const QString currency = QString::fromLatin1(cur);
            const QDate d(kYear, 3, 11);
            const double amount = currency == u"TL" ? 18450.75 : 2400.0;
            qint64 k = header(d, 120, both.group, both.mid1, currency == u"TL" ? 600 : 601, "01", "001", 1, number("F"), 11);
            line(k, QStringLiteral("Satış faturası"), currency, amount, d, 0, 20, d.addDays(30));
        }
        const Account& even = customers_[4];
        for (int i = 0; i < 2; ++i) {
            const QDate d(kYear, 5, 5 + i);
            qint64 k = i == 0 ? header(d, 120, even.group, even.mid1, 600, "01", "001", 1, number("F"), 11)
                              : header(d, 100, "01", "001", 120, even.group, even.mid1, 9, number("T"), 30);
            line(k, i == 0 ? QStringLiteral("Satış faturası") : QStringLiteral("Nakit tahsilat"), "TL", 7250.0, d);
        }
        // The various-customers account "000" only ever receives payments.
        const Account& various = customers_[3];
        for (int i = 0; i < 3; ++i) {
            const QDate d = dayOfYear();
            qint64 k = header(d, 100, "01", "001", 120, various.group, various.mid1, 9, number("T"), 30);
            line(k, QStringLiteral("Perakende tahsilat"), "TL", words_.money(150, 2500), d);
        }

        for (int i = 0; i < scale_.accountDocuments; ++i) {
            const QDate d = dayOfYear();
            const int deleted = words_.chance(0.01) ? 1 : 0;
            const int roll = words_.between(1, 100);
            if (roll <= 55) {  // sale on credit, in the customer's currency
                const bool abroad = roll <= 8 && !exporters_.empty();
                const Account& c = abroad ? exporters_[words_.between(0, int(exporters_.size()) - 1)]
                                          : customers_[words_.between(0, int(customers_.size()) - 1)];
                if (c.mid1 == u"000") continue;
                const double amount = c.currency == u"TL" ? words_.money(450, 48000) : words_.money(300, 9000);
                const Sale s = sale(c, d, amount, deleted);
                if (!deleted && c.currency == u"TL" && std::ssize(saleHeaders_) < scale_.instalmentInvoices * 4)
                    saleHeaders_.push_back(s);
                else if (!deleted && d >= QDate(kYear, 7, 1))
                    laterSales_.push_back(s);
            } else if (roll <= 80) {  // collection
                const bool abroad = roll <= 60 && !exporters_.empty();
                const Account& c = abroad ? exporters_[words_.between(0, int(exporters_.size()) - 1)]
                                          : customers_[words_.between(0, int(customers_.size()) - 1)];
                const double amount = c.currency == u"TL" ? words_.money(200, 30000) : words_.money(200, 6000);
                qint64 k = header(d, words_.chance(0.7) ? 100 : 102, "01", "001", 120, c.group, c.mid1, 9,
                                  number("T"), 30, deleted);
                line(k, QStringLiteral("Tahsilat"), c.currency, amount, d);
            } else if (roll <= 90) {  // expense invoice from a supplier
                const Account& s = suppliers_[words_.between(0, int(suppliers_.size()) - 1)];
                qint64 k = header(d, 770, "01", "001", 320, s.group, s.mid1, 2, number("A"), 70, deleted);
                line(k, QStringLiteral("Gider faturası"), s.currency,
                     s.currency == u"TL" ? words_.money(300, 15000) : words_.money(100, 3000), d);
            } else {  // payment to a supplier
                const Account& s = suppliers_[words_.between(0, int(suppliers_.size()) - 1)];
                qint64 k = header(d, 320, s.group, s.mid1, words_.chance(0.6) ? 102 : 100, "01", "001", 10,
                                  number("O"), 40, deleted);
                line(k, QStringLiteral("Ödeme"), s.currency,
                     s.currency == u"TL" ? words_.money(500, 40000) : words_.money(200, 8000), d);
            }
        }
    }

    // ---- stock --------------------------------------------------------------------------------

    void stockCards()
    {
        struct Product { const char* name; const char* unit; double kdv; double cost; };
        const QList<std::tuple<const char*, const char*, QList<Product>>> catalogue = {
            {"GIDA", "GD", {{"Ayçiçek Yağı 5 Lt", "Adet", 1, 310}, {"Baldo Pirinç 1 Kg", "Kg", 1, 72},
                            {"Kırmızı Mercimek 1 Kg", "Kg", 1, 58}, {"Toz Şeker 5 Kg", "Adet", 1, 185},
                            {"Un Tip 550 25 Kg", "Adet", 1, 520}, {"Siyah Çay 1 Kg", "Adet", 1, 265},
                            {"Burgu Makarna 500 Gr", "Koli", 1, 240}, {"Domates Salçası 830 Gr", "Adet", 1, 64}}},
            {"TEMIZ", "TM", {{"Çamaşır Deterjanı 6 Kg", "Adet", 20, 340}, {"Bulaşık Deterjanı 1,5 Lt", "Adet", 20, 68},
                             {"Çamaşır Suyu 3,5 Lt", "Adet", 20, 49}, {"Kağıt Havlu 12'li", "Paket", 20, 155},
                             {"Tuvalet Kağıdı 32'li", "Paket", 20, 289}, {"Sıvı Sabun 3,5 Lt", "Adet", 20, 97}}},
            {"HIRD", "HR", {{"Matkap Ucu Seti 13 Parça", "Adet", 20, 245}, {"Çelik Vida M8x40 (100 Adet)", "Paket", 20, 118},
                            {"Dübel 8 mm (100 Adet)", "Paket", 20, 41}, {"Şeffaf Silikon 280 ml", "Adet", 20, 76},
                            {"Pense 180 mm", "Adet", 20, 185}, {"Su Terazisi 60 cm", "Adet", 20, 210}}},
            {"OTO'YED", "OT", {{"Motor Yağı 5W-30 4 Lt", "Adet", 20, 1150}, {"Yağ Filtresi", "Adet", 20, 165},
                               {"Hava Filtresi", "Adet", 20, 190}, {"Ön Fren Balatası Takım", "Takım", 20, 820},
                               {"Antifriz 3 Lt", "Adet", 20, 240}, {"Akü 72 Ah", "Adet", 20, 2650}}},
            {"KIRT", "KR", {{"A4 Fotokopi Kağıdı 500'lü", "Paket", 20, 145}, {"Tükenmez Kalem Mavi 50'li", "Kutu", 20, 310},
                            {"Geniş Klasör", "Adet", 20, 38}, {"Zımba Makinesi No:10", "Adet", 20, 95},
                            {"Şeffaf Dosya 100'lü", "Paket", 20, 120}, {"Yapışkanlı Not Kağıdı", "Adet", 20, 27}}},
        };
        Inserter card(con_, "Stok_Tanim", cols("SID1,SID2,Stok_Kodu,Stok_Adi,Aciklama,Stok_Grubu,Fiyat1,Fyt1_Birim,"
                                               "Fiyat2,Fyt2_Birim,Fiyat3,Fyt3_Birim,Birim1,Birim2,Birim_Carpan,KDV,"
                                               "Barkod,Stok_Kodu2,En,Boy,Yukseklik,A_Hs,IMAGE_PATH,Depo_Kodu,sil,"
                                               "Hiz_Al_Fyt,Hiz_Sat_Fyt,Min_St,Max_St,Stok_Tipi,Hizmet,Marka"));
        static const QStringList brands = QString::fromUtf8("Anadolu|Yayla|Bereket|Pınar|Karadeniz|Ege|Toros|Doğa").split(u'|');
        for (int n = 0; n < scale_.stockCards; ++n) {
            const auto& [group, prefix, products] = catalogue[n % catalogue.size()];
            const Product& p = products[(n / catalogue.size()) % products.size()];
            const int round = n / int(catalogue.size() * 6);
            QString name = QString::fromUtf8(p.name);
            if (round > 0) name += QStringLiteral(" - Seri %1").arg(round + 1);
            const QString sid2 = QStringLiteral("%1").arg(n + 1, 6, 10, QChar(u'0'));
            QString code = QStringLiteral("%1-%2").arg(QString::fromLatin1(prefix)).arg(n + 1, 4, 10, QChar(u'0'));
            if (n == 3) code = QStringLiteral("YAĞ'5W30");  // an awkward code
            const double cost = p.cost * (1.0 + 0.1 * round);
            const bool deleted = n == 7;
            card.add({n + 1, sid2, code, name, QStringLiteral("%1 grubu").arg(QString::fromLatin1(group)),
                      QString::fromUtf8(group), round2(cost * 1.35), "TL", round2(cost * 1.25), "TL", round2(cost * 1.15),
                      "TL", QString::fromUtf8(p.unit), "Koli", 12.0, p.kdv,
                      QStringLiteral("869%1").arg(qint64(1000000000) + n * 7919LL % 999999999, 10, 10, QChar(u'0')),
                      Value::null(), 0.0, 0.0, 0.0, 153, Value::null(), "01", deleted ? 1 : 0, 0.0, 0.0, 5.0, 500.0, 0, 0,
                      words_.pick(brands)});
            cards_.push_back({sid2, QString::fromUtf8(group), QString::fromUtf8(p.unit), p.kdv, cost, round2(cost * 1.35), deleted});
        }
    }

    // One stock movement: header, current-account line with the value, stock line.
    void stockLine(const QDate& d, int bHs, const QString& bGr, const QString& bMid, int aHs, const QString& aGr,
                   const QString& aMid, int evrakKodu, const QString& evrakNo, int islem, const Card& c, double in,
                   double out, double price, const QString& depot, int lot, int sil, const QString& text)
    {
        const qint64 k = header(d, bHs, bGr, bMid, aHs, aGr, aMid, evrakKodu, evrakNo, islem, sil);
        line(k, text, "TL", round2((in + out) * price), d, price, c.kdv);
        stokH_.add({k, lot, c.sid2, in, out, c.unit, 0.0, 0.0, "Koli", text, Value::null(), depot, c.kdv});
    }

    void addLot(const LotStock& lot)
    {
        lotsOfCard_[lot.card].push_back(static_cast<int>(lots_.size()));
        lots_.push_back(lot);
    }

    void stockMovements()
    {
        lotsOfCard_.assign(cards_.size(), {});
        const QStringList depots = {"01", "01", "01", "02", "02", "03", "03", "04"};
        const int idleCard = static_cast<int>(cards_.size()) - 1;  // a card that never moves
        int written = 0;
        while (written < scale_.stockLines) {
            const int ci = words_.between(0, idleCard - 1);
            const Card& c = cards_[ci];
            const QDate d = dayOfYear();
            std::vector<int> available;
            for (int i : lotsOfCard_[ci])
                if (lots_[i].quantity > 0) available.push_back(i);
            const bool buy = available.empty() || c.deleted || words_.chance(0.45);
            if (buy) {
                const Account& s = suppliers_[words_.between(0, int(suppliers_.size()) - 1)];
                const QString depot = words_.pick(depots);
                const double qty = words_.between(10, 240);
                const double price = std::round(c.buyPrice * (0.9 + 0.2 * words_.between(0, 100) / 100.0) * 10000.0) / 10000.0;
                const int evrak = words_.chance(0.8) ? 2 : 3;
                const int sil = words_.chance(0.01) ? 1 : 0;
                stockLine(d, 153, c.group, c.sid2, 320, s.group, s.mid1, evrak, number(evrak == 2 ? "A" : "I"),
                          evrak == 2 ? 20 : 21, c, qty, 0, price, depot, ++lastLot_, sil,
                          evrak == 2 ? QStringLiteral("Alış faturası") : QStringLiteral("İrsaliyeli giriş"));
                if (!sil) addLot({ci, depot, lastLot_, qty});
            } else if (words_.chance(0.04)) {  // stock count: a small surplus or shortage
                LotStock& l = lots_[available[words_.between(0, int(available.size()) - 1)]];
                if (words_.chance(0.5)) {
                    const double qty = words_.between(1, 5);
                    stockLine(d, 153, c.group, c.sid2, 0, "", "", 6, number("Y"), 60, c, qty, 0, c.buyPrice, l.depot,
                              ++lastLot_, 0, QStringLiteral("Sayım fazlası"));
                    addLot({ci, l.depot, lastLot_, qty});
                } else {
                    const double qty = std::min(l.quantity, double(words_.between(1, 3)));
                    stockLine(d, 0, "", "", 153, c.group, c.sid2, 5, number("Y"), 61, c, 0, qty, c.buyPrice, l.depot,
                              l.lot, 0, QStringLiteral("Sayım eksiği"));
                    l.quantity -= qty;
                }
            } else {  // sale from a lot in stock
                LotStock& l = lots_[available[words_.between(0, int(available.size()) - 1)]];
                const Account& cu = customers_[words_.between(0, int(customers_.size()) - 1)];
                if (cu.mid1 == u"000") continue;
                const double qty = std::min(l.quantity, double(words_.between(1, 60)));
                stockLine(d, 120, cu.group, cu.mid1, 153, c.group, c.sid2, words_.chance(0.85) ? 1 : 4, number("F"), 11,
                          c, 0, qty, c.salePrice, l.depot, l.lot, 0, QStringLiteral("Satış"));
                l.quantity -= qty;
            }
            ++written;
        }
        // A card sold beyond what was booked in: its stock on hand is negative.
        const Card& c = cards_[0];
        const Account& cu = customers_[5];
        stockLine(QDate(kYear, 12, 30), 120, cu.group, cu.mid1, 153, c.group, c.sid2, 1, number("F"), 11, c, 0, 100000,
                  c.salePrice, "03", 0, 0, QStringLiteral("Satış (stok kaydı eksik)"));
    }

    // ---- cheques ------------------------------------------------------------------------------

    void cheques()
    {
        for (int i = 0; i < scale_.cheques; ++i) {
            const bool abroad = i % 9 == 8 && !exporters_.empty();
            const Account& c = abroad ? exporters_[i % exporters_.size()] : customers_[words_.between(0, int(customers_.size()) - 1)];
            if (c.mid1 == u"000") continue;
            const QDate in = QDate(kYear, 1, 1).addDays(words_.between(10, 330));
            const QDate due = in.addDays(words_.between(30, 200));
            const double amount = c.currency == u"TL" ? words_.money(2500, 95000) : words_.money(500, 12000);
            const QString chequeNo = i == 4 ? QStringLiteral("TR'778812") : QStringLiteral("%1").arg(4400000 + i * 37, 7, 10, QChar(u'0'));
            const Cheque cheque = chequeOf(chequeNo, c, due, amount, i % 11 == 10 ? 1 : 0);
            receive(cheque, in);

            const int fate = i % 6;  // 0-2 stays in portfolio, 3 clearing, 4 endorsed, 5 collected
            if (fate < 3 || due.year() > kYear) continue;
            const QDate out = std::min(due, QDate(kYear, 12, 28));
            if (fate == 3) {
                sendForCollection(cheque, out);
            } else if (fate == 4) {
                const Account& s = suppliers_[words_.between(0, int(suppliers_.size()) - 1)];
                pass(cheque, out, 320, s.group, s.mid1, 41, QStringLiteral("Ciro edildi %1").arg(chequeNo));
            } else {
                pass(cheque, out, 100, "01", "001", 43, QStringLiteral("Tahsil edildi %1").arg(chequeNo));
            }
        }
    }

    // A cheque drawn on the customer's bank account by one of its people.
    Cheque chequeOf(const QString& chequeNo, const Account& drawer, const QDate& due, double amount, int hidden = 0)
    {
        const QString bank = words_.bank();
        const QString branch = words_.branch();
        const QString bankAccount = QStringLiteral("%1").arg(words_.between(10000000, 99999999));
        const QString signer = words_.personName();
        return {chequeNo, &drawer, bankAccount, bank, branch, signer, due, amount, hidden};
    }

    // One record of a cheque's history: its header, the current-account line and the cheque
    // row, whose amount is positive on the way in and negative on the way out.
    void chequeRecord(const Cheque& c, qint64 kayitNo, const QDate& d, double signedAmount, const QString& text)
    {
        line(kayitNo, text, c.drawer->currency, c.amount, d, 0, 0, c.due);
        cek_.add({kayitNo, c.drawer->title, c.number, c.bankAccount, c.bank, c.branch, c.due, signedAmount,
                  c.drawer->currency, c.signer, c.hidden, d});
    }

    // The cheque comes into the portfolio (101, group 01) from the customer's account.
    void receive(const Cheque& c, const QDate& d)
    {
        const qint64 k = header(d, 101, "01", "001", 120, c.drawer->group, c.drawer->mid1, 15, number("C"), 31);
        chequeRecord(c, k, d, c.amount, QStringLiteral("Çek girişi %1 %2").arg(c.bank, c.number));
    }

    // The cheque leaves the portfolio towards the debit side given.
    void pass(const Cheque& c, const QDate& d, int bHs, const QString& bGr, const QString& bMid, int islem, const QString& text)
    {
        const qint64 k = header(d, bHs, bGr, bMid, 101, "01", "001", 15, number("C"), islem);
        chequeRecord(c, k, d, -c.amount, text);
    }

    // Handed to the bank for collection: 101 on both sides, the debit in group 02, so the
    // cheque is in clearing until it is paid.
    void sendForCollection(const Cheque& c, const QDate& d)
    {
        pass(c, d, 101, "02", "001", 42, QStringLiteral("Takasa verildi %1").arg(c.number));
    }

    // A cheque taken for a sale on the same day: the invoice and the cheque's entry leave the
    // customer's balance as it was.
    Cheque takeForSale(const QString& chequeNo, const Account& drawer, const QDate& d, const QDate& due, double amount,
                       int hidden = 0)
    {
        sale(drawer, d, amount);
        const Cheque cheque = chequeOf(chequeNo, drawer, due, amount, hidden);
        receive(cheque, d);
        return cheque;
    }

    // A live customer other than the accounts every demo has, sometimes one abroad.
    const Account& someCustomer()
    {
        if (!exporters_.empty() && words_.chance(0.1)) return exporters_[words_.between(0, int(exporters_.size()) - 1)];
        return customers_[words_.between(4, int(customers_.size()) - 1)];
    }

    // Cheques still held or in clearing at the year's end, each case once (numbers fixed for
    // every size), then the volume of the large demo.
    void chequeCases()
    {
        const Account& lokanta = customers_[0];  // "Hakkı'nın Yeri Lokantası"
        const Account& dealer = customers_[1];
        const Account& usd = exporters_[0];
        const Account& euro = exporters_[1];
        takeForSale(QStringLiteral("DB'0045127"), lokanta, QDate(kYear, 11, 14), QDate(2026, 2, 14), 48750.0);
        takeForSale(QStringLiteral("EU-7730415"), euro, QDate(kYear, 12, 2), QDate(2026, 3, 2), 6400.0);
        takeForSale(QStringLiteral("5512093"), dealer, QDate(kYear, 10, 20), QDate(2026, 1, 20), 12500.0, 1);  // hidden
        sendForCollection(takeForSale(QStringLiteral("US-2281604"), usd, QDate(kYear, 11, 5), QDate(2026, 1, 15), 3150.0),
                          QDate(kYear, 12, 26));

        for (int i = 0; i < scale_.portfolioCheques + scale_.clearingCheques; ++i) {
            const Account& c = someCustomer();
            const bool clearing = i >= scale_.portfolioCheques;
            const QDate in = QDate(kYear, 10, 1).addDays(words_.between(0, clearing ? 60 : 89));
            const QDate due = QDate(2026, 1, 2).addDays(words_.between(0, clearing ? 28 : 150));
            const double amount = c.currency == u"TL" ? words_.money(2500, 95000) : words_.money(500, 12000);
            const Cheque cheque = takeForSale(QString::number(5100000 + i), c, in, due, amount);
            if (clearing) sendForCollection(cheque, QDate(kYear, 12, 1).addDays(words_.between(0, 29)));
        }
    }

    // ---- orders -------------------------------------------------------------------------------

    void orders()
    {
        for (int o = 0; o < scale_.orderDocuments; ++o) {
            const bool customerOrder = o % 3 != 2;
            const Account& a = customerOrder ? customers_[words_.between(4, int(customers_.size()) - 1)]
                                             : suppliers_[words_.between(0, int(suppliers_.size()) - 1)];
            const QDate d = QDate(kYear, 9, 1).addDays(words_.between(0, 115));
            // Every other three documents are invoiced.
            const Order order{customerOrder, &a, d, number("S"), (o / 3) % 2, o % 13 == 12 ? 1 : 0};
            orderDocument(order, words_.between(1, 4), o % 2 == 0);
        }
    }

    // An order's lines on cards drawn at random (a deleted card draws no line), and the
    // document's invoice settings when it has them.
    void orderDocument(const Order& o, int lines, bool withSettings)
    {
        double total = 0;
        for (int l = 0; l < lines; ++l) {
            const Card& c = cards_[words_.between(0, int(cards_.size()) - 2)];
            if (c.deleted) continue;
            total += orderLine(o, c, words_.between(5, 120));
        }
        if (withSettings) invoiceSettings(o.evrakNo, total);
    }

    // One order line: its header, the account side and the stock side. Returns its value.
    double orderLine(const Order& o, const Card& c, double qty)
    {
        const double price = o.fromCustomer ? c.salePrice : round2(c.buyPrice);
        const double discountRate = words_.chance(0.3) ? 5.0 : 0.0;
        const double discount = round2(qty * price * discountRate / 100.0);
        const Account& a = *o.account;
        const qint64 k = o.fromCustomer
            ? header(o.date, 120, a.group, a.mid1, 153, c.group, c.sid2, 7, o.evrakNo, 50, o.sil)
            : header(o.date, 153, c.group, c.sid2, 320, a.group, a.mid1, 8, o.evrakNo, 51, o.sil);
        cariSip_.add({k, o.fromCustomer ? QStringLiteral("Müşteri siparişi") : QStringLiteral("Tedarikçi siparişi"),
                      round2(qty * price), 0.0, 0.0, price, 0.0, o.date.addDays(30), 0, 0, Value::null(), Value::null(),
                      words_.personName(), o.invoiced, 0, o.evrakNo, "TL", discountRate, discount});
        stokSip_.add({k, 0, c.sid2, o.fromCustomer ? 0.0 : qty, o.fromCustomer ? qty : 0.0, c.unit, 0.0, 0.0, "Koli",
                      o.fromCustomer ? QStringLiteral("Sevk bekliyor") : QStringLiteral("Teslim bekleniyor"), Value::null(),
                      "01", c.kdv});
        return qty * price;
    }

    // The document-level settings the invoice of an order will take: 2 % discount, VAT 20.
    void invoiceSettings(const QString& evrakNo, double total)
    {
        fatura_.add({evrakNo, 0, round2(total * 0.02), round2(total * 0.02), 0.0, 2.0, 20.0, 1});
    }

    // Open orders, each case once (document numbers fixed for every size), then the volume
    // of the large demo. The grid lists open lines by date: the line without a document
    // number comes after every other open line but one.
    void orderCases()
    {
        const Account& dealer = customers_[1];
        const Account& supplier = suppliers_[0];
        const Order quoted{true, &dealer, QDate(kYear, 12, 19), QStringLiteral("BY'2025-041"), 0, 0};
        const double first = orderLine(quoted, cards_[2], 40);
        invoiceSettings(quoted.evrakNo, first + orderLine(quoted, cards_[3], 24));
        const Order cancelled{true, &dealer, QDate(kYear, 12, 15), QStringLiteral("BY-2025-039"), 0, 1};
        orderLine(cancelled, cards_[2], 10);
        orderLine({true, &customers_[0], QDate(kYear, 12, 22), QString(), 0, 0}, cards_[11], 6);
        orderLine({false, &supplier, QDate(kYear, 12, 23), QStringLiteral("VS-2025-043"), 0, 0}, cards_[4], 120);

        for (int o = 0; o < scale_.openOrderDocuments; ++o) {
            const bool customerOrder = o % 4 != 3;
            const Account& a = customerOrder ? customers_[words_.between(4, int(customers_.size()) - 1)]
                                             : suppliers_[words_.between(0, int(suppliers_.size()) - 1)];
            const QDate d = QDate(kYear, 10, 1).addDays(words_.between(0, 80));
            orderDocument({customerOrder, &a, d, number("S"), 0, 0}, words_.between(1, 4), o % 2 == 0);
        }
    }

    // ---- instalments --------------------------------------------------------------------------

    void instalments()
    {
        const int invoices = std::min<int>(scale_.instalmentInvoices, saleHeaders_.size());
        for (int i = 0; i < invoices; ++i) {
            const Sale& s = saleHeaders_[i * (saleHeaders_.size() / std::max(1, invoices))];
            const int parts = words_.between(3, 8);
            QList<QDate> dues;
            for (int p = 1; p <= parts; ++p) dues << s.date.addMonths(p + 1);
            instalmentPlan(s, dues, i % 9 == 8 ? parts : 0);
        }
        // Instalments in foreign currencies, and one in a currency the package does not total.
        if (!exporters_.empty()) {
            const struct { const char* cur; double amount; double rate; const char* due; } foreign[] = {
                {"USD", 1250.0, 41.2035, "2026-02-15"}, {"USD", 1250.0, 41.2035, "2025-11-15"},
                {"EURO", 980.5, 47.1020, "2026-03-31"}, {"GBP", 700.0, 55.3100, "2026-01-20"}};
            for (const auto& f : foreign) {
                const Account& e = exporters_[0];
                taksit_.add({QStringLiteral("IHR-2025-%1").arg(QString::fromLatin1(f.cur)), 0, 1,
                             QDate::fromString(QString::fromLatin1(f.due), Qt::ISODate), e.mid1, e.group, 120,
                             QStringLiteral("İhracat vadeli tahsilat"), f.amount, QString::fromLatin1(f.cur), f.rate, 0});
            }
        }
    }

    // An invoice paid by a down payment on its date (number 0, not an instalment) and equal
    // instalments on the given dates; the instalment numbered `cancelled` is marked deleted.
    void instalmentPlan(const Sale& s, const QList<QDate>& dues, int cancelled = 0)
    {
        const Account& c = *s.customer;
        const double r = rate(c.currency, s.date);
        const double down = round2(s.amount * 0.1);
        taksit_.add({s.evrakNo(), s.kayitNo, 0, s.date, c.mid1, c.group, 120, QStringLiteral("Peşinat"), down, c.currency, r, 0});
        const double each = round2((s.amount - down) / dues.size());
        for (int p = 1; p <= dues.size(); ++p)
            taksit_.add({s.evrakNo(), s.kayitNo, p, dues[p - 1], c.mid1, c.group, 120, QStringLiteral("%1. taksit").arg(p), each,
                         c.currency, r, p == cancelled ? 1 : 0});
    }

    // Instalments on both sides of the cut-off 1 January 2026, on two TL invoices of the
    // summer: one paid at each month's end (the one due 31 December stays behind), one on
    // each month's first day, beside a row that is no instalment due the same 1 January.
    // Then the volume of the large demo: plans of 6 to 12 months on other invoices of the
    // second half-year.
    void instalmentCases()
    {
        std::vector<const Sale*> summer;
        for (const Sale& s : laterSales_)
            if (summer.size() < 2 && s.customer->currency == u"TL" && s.date < QDate(kYear, 10, 1)) summer.push_back(&s);
        auto monthsAfter = [](const QDate& d, const QDate& last) {
            QList<QDate> firstDays;
            for (QDate m = QDate(d.year(), d.month(), 1).addMonths(1); m <= last; m = m.addMonths(1)) firstDays << m;
            return firstDays;
        };
        if (summer.size() == 2) {
            QList<QDate> monthEnds = monthsAfter(summer[0]->date, QDate(2026, 1, 1));
            for (QDate& d : monthEnds) d.setDate(d.year(), d.month(), d.daysInMonth());
            instalmentPlan(*summer[0], monthEnds);
            const Sale& s = *summer[1];
            instalmentPlan(s, monthsAfter(s.date, QDate(2026, 2, 1)));
            taksit_.add({s.evrakNo(), s.kayitNo, 0, QDate(2026, 1, 1), s.customer->mid1, s.customer->group, 120,
                         QStringLiteral("Vade farkı"), round2(s.amount * 0.03), "TL", 0.0, 0});
        }

        int plans = 0;
        for (auto s = laterSales_.crbegin(); s != laterSales_.crend() && plans < scale_.instalmentPlans; ++s) {
            if (std::find(summer.begin(), summer.end(), &*s) != summer.end()) continue;
            QList<QDate> dues;
            for (int p = 1, parts = words_.between(6, 12); p <= parts; ++p) dues << s->date.addMonths(p);
            instalmentPlan(*s, dues);
            ++plans;
        }
    }

    // ---- transport module ---------------------------------------------------------------------

    void transport()
    {
        const QList<QStringList> countries = {{"TR", "Türkiye", "Kapıkule"}, {"BG", "Bulgaristan", "Kapitan Andreevo"},
                                              {"DE", "Almanya", "Schengen iç sınır"}, {"IT", "İtalya", "Trieste Limanı"},
                                              {"FR", "Fransa", "Schengen iç sınır"}, {"NL", "Hollanda", "Rotterdam Limanı"},
                                              {"RO", "Romanya", "Giurgiu"}, {"GE", "Gürcistan", "Sarp"}, {"IR", "İran", "Gürbulak"}};
        for (const QStringList& c : countries)
            exec(QStringLiteral("INSERT INTO Plk_Kod (Plaka_Kod, il, Gumruk) VALUES (?,?,?)"), {c[0], c[1], c[2]});
        const QList<QStringList> cities = {
            {"01", "Adana", "TR"}, {"06", "Ankara", "TR"}, {"07", "Antalya", "TR"}, {"16", "Bursa", "TR"},
            {"27", "Gaziantep", "TR"}, {"34", "İstanbul", "TR"}, {"35", "İzmir", "TR"}, {"41", "Kocaeli", "TR"},
            {"42", "Konya", "TR"}, {"61", "Trabzon", "TR"}, {"M", "München", "DE"}, {"K", "Köln", "DE"},
            {"SF", "Sofya", "BG"}, {"MI", "Milano", "IT"}, {"TB", "Tiflis", "GE"}, {"XX", "Eski Kayıt", "ZZ"}};
        for (const QStringList& c : cities)
            exec(QStringLiteral("INSERT INTO Plk_Kod_Yi (Plaka_Kod, il, Ulke_Kod) VALUES (?,?,?)"), {c[0], c[1], c[2]});
        const QList<std::tuple<const char*, const char*, Value>> domestic = {
            {"34", "06", 453.0}, {"34", "35", 478.0}, {"06", "35", 585.0}, {"16", "34", 155.0}, {"01", "27", 220.0},
            {"06", "42", 260.0}, {"34", "61", 1065.0}, {"41", "07", Value::null()}};
        for (const auto& [from, to, km] : domestic)
            exec(QStringLiteral("INSERT INTO Guzergah_Yi (Yuk_Yeri, Bos_Yeri, Mesafe) VALUES (?,?,?)"),
                 {QString::fromLatin1(from), QString::fromLatin1(to), km});
        const QList<QStringList> international = {
            {"Karayolu", "TR", "34", "Hadımköy", "DE", "M", "Garching", "2150"},
            {"Karayolu", "TR", "16", "Nilüfer", "BG", "SF", "Merkez", "560"},
            {"Ro-Ro", "TR", "35", "Kemalpaşa", "IT", "MI", "Linate", "2480"},
            {"Karayolu", "TR", "61", "Arsin", "GE", "TB", "Merkez", "430"},
            {"Karayolu", "YY", "Q1", "", "ZZ", "Q2", "", "100"}};  // places the source does not know
        for (const QStringList& r : international)
            exec(QStringLiteral("INSERT INTO Guzergah (Tasima_Tur, Yuk_Ulke, Yuk_Yeri, Yuk_Ilce, Bos_Ulke, Bos_Yeri, "
                                "Bos_Ilce, Mesafe) VALUES (?,?,?,?,?,?,?,?)"),
                 {r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7].toDouble()});
        for (const QStringList& e : QList<QStringList>{{"Y01", "Yakıt", "Akaryakıt istasyonu fişi"},
                                                        {"Y02", "Köprü ve Otoyol", "HGS bakiye yüklemesi"},
                                                        {"Y03", "Şoför Harcırahı", "Günlük harcırah"},
                                                        {"Y04", "Araç Bakım", "Periyodik bakım"}})
            exec(QStringLiteral("INSERT INTO Masraf_Tanim_Yi (Masraf_Kod, Masraf_Tanim, Gider_Bilgisi) VALUES (?,?,?)"), {e[0], e[1], e[2]});
        for (const QStringList& e : QList<QStringList>{{"D01", "Yurtdışı Yakıt", "Euro ile ödenir"},
                                                        {"D02", "Gümrük Masrafı", "Kapıkule gümrük işlemleri"},
                                                        {"D03", "Vize Ücreti", "Schengen vizesi"},
                                                        {"D04", "Feribot", "Ro-Ro bileti"}, {"D05", "Otoyol (Avrupa)", "Vinyet"}})
            exec(QStringLiteral("INSERT INTO Masraf_Tanim_YD (Masraf_Kod, Masraf_Tanim, Gider_Bilgisi) VALUES (?,?,?)"), {e[0], e[1], e[2]});

        auto drivers = [&](const QString& table, bool international, int count) {
            QList<qint64> ids;
            for (int i = 0; i < count; ++i)
                ids << driver(table, international, i == 1 ? QStringLiteral("Hüsnü O'Connor Yılmaz") : words_.personName(), i,
                              i == count - 1 ? 1 : 0);
            return ids;
        };
        const QList<qint64> yi = drivers(QStringLiteral("Sofor_Yi"), false, 5);
        const QList<qint64> yd = drivers(QStringLiteral("Sofor_YD"), true, 4);
        deletedDrivers_ = {yi.back(), yd.back()};

        const QStringList plates = {"06 ANT 112", "06 ANT 113", "34 AT 4512", "35 DTR 77", "06 ANT 190"};
        for (int i = 0; i < plates.size(); ++i) domesticVehicle(plates[i], i, yi[i % yi.size()], i == 4 ? 1 : 0);
        const QStringList intlPlates = {"34 ANT 901", "34 ANT 902", "34 ANT 903"};
        for (int i = 0; i < intlPlates.size(); ++i) internationalVehicle(intlPlates[i], i, yd[i % yd.size()]);

        struct Carnet { const char* no; const char* start; const char* end; int handedIn; const char* plate; int driver; };
        const Carnet carnets[] = {{"TIR-780100", "2025-01-20", "2025-12-31", 0, "34 ANT 901", 0},
                                  {"TIR-780101", "2025-03-01", "2026-01-01", 0, "34 ANT 902", 1},
                                  {"TIR-780102", "2025-06-15", "2026-06-30", 0, "34 ANT 903", 2},
                                  {"TIR-780103", "2025-09-01", "2027-03-15", 0, "34 ANT 901", 0},
                                  {"TIR-780099", "2024-11-10", "2026-02-28", 1, "34 ANT 902", 1}};
        for (const Carnet& c : carnets)
            carnet(c.no, QDate::fromString(c.start, Qt::ISODate), QDate::fromString(c.end, Qt::ISODate), c.handedIn,
                   {c.plate, QStringLiteral("34 TR %1").arg(800 + c.driver), QStringLiteral("Sürücü %1").arg(c.driver + 1)});
    }

    // One driver, the `i`th of its table; the international table also keeps the
    // psychological assessment, the passport date and the dangerous-goods licence.
    qint64 driver(const QString& table, bool international, const QString& name, int i, int sil)
    {
        QString sql = QStringLiteral("INSERT INTO %1 (Ad_Soyad, Adres, Ev_Tel, Cep_Tel, Notlar, Vize1, Vize1_Ulke, "
                                     "Vize1_Tarihi, Sag_Sigorta, Sag_Tarihi, Beynelmilel, B_Tarihi, Pasaport_No, "
                                     "Prim_Oran, Nuf_VerYeri, Nuf_BelgeNo, Nuf_Tarihi, Nuf_il, Nuf_ilce, Sil")
                          .arg(table);
        QList<Value> v = {name, words_.street(), words_.phone(), QStringLiteral("0(5%1) %2").arg(words_.between(30, 55)).arg(words_.between(1000000, 9999999)),
                          QStringLiteral("%1 sınıfı ehliyet").arg(i % 2 ? "CE" : "C"),
                          international ? QStringLiteral("Schengen C") : QString(), international ? QStringLiteral("Almanya") : QString(),
                          international ? Value(QDate(2026, 4, 10)) : Value::null(), "SGK", QDate(2025, 1, 15),
                          international ? QStringLiteral("Var") : QStringLiteral("Yok"),
                          international ? Value(QDate(2024, 6, 1)) : Value::null(),
                          QStringLiteral("U%1").arg(words_.between(10000000, 99999999)), 1.5 + i % 3,
                          words_.city(), QStringLiteral("A%1").arg(words_.between(100000, 999999)), QDate(2015 + i % 8, 3, 1),
                          words_.city(), QStringLiteral("Merkez"), sil};
        if (international) {
            sql += QStringLiteral(", PskDeg_No, PskDeg_Tarihi, Pasaport_Trh, Adr_Ehliyet, Adr_Trh");
            v << QStringLiteral("PD-%1").arg(words_.between(1000, 9999)) << Value(QDate(2024, 9, 12))
              << Value(QDate(2022, 11, 3)) << QStringLiteral("ADR Temel") << Value(QDate(2027, 2, 28));
        }
        sql += QStringLiteral(") VALUES (%1)").arg(QStringList(v.size(), QStringLiteral("?")).join(u','));
        exec(sql, v);
        return con_.lastInsertId();
    }

    // One of the company's trucks at home, the `i`th of its table.
    void domesticVehicle(const QString& plate, int i, qint64 driverId, int sil = 0)
    {
        exec(QStringLiteral("INSERT INTO Arac_Tanim_Yi (Plaka, Marka, Model, Tonaj, Sahibi, Sofor_No, Sirket_Araci, "
                            "Imm_Sigortasi, Imm_Tarihi, Trf_Sigorta, Trf_Tarihi, Kasko, Kasko_Tarihi, Vize, Vize_Tarihi, "
                            "sil, Dorse, Tipi, Rengi, Motor_No, Sase_No, Tescil_Tarihi, Verg_No) "
                            "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
             {plate, i % 2 ? "Ford" : "Mercedes-Benz", i % 2 ? "Cargo 1846" : "Actros 1845", 18.0 + i % 8,
              "Anadolu Ticaret ve Nakliyat A.Ş.", int(driverId), 1, "Anadolu Sigorta", QDate(2026, 2, 1),
              "Anadolu Sigorta", QDate(2026, 2, 1), "Axa Sigorta", QDate(2026, 3, 15), "TÜVTÜRK", QDate(2026, 8, 20),
              sil, QStringLiteral("06 DR %1").arg(300 + i), "Çekici", "Beyaz",
              QStringLiteral("OM471-%1").arg(words_.between(100000, 999999)), QStringLiteral("WDB9634%1").arg(words_.between(100000, 999999)),
              QDate(2019 + i % 4, 5, 10), "0680123456"});
    }

    // One of the company's trucks abroad, the `i`th of its table; returns what its carnets name.
    Truck internationalVehicle(const QString& plate, int i, qint64 driverId, int sil = 0)
    {
        const QString trailer = QStringLiteral("34 TR %1").arg(800 + i);
        exec(QStringLiteral("INSERT INTO Arac_Tanim_YD (Plaka, Marka, Model, Tonaj, Sahibi, Sofor_No, Sirket_Araci, "
                            "Karne_No, Karne_Tarihi, Uyg_No, Uyg_Tarihi, Vize, Vize_Tarihi, Trf_Sigorta, Trf_Tarihi, "
                            "Yesil_Kart, Ykart_Tarihi, Tako_Tuv, Tako_Tarihi, Tescil_Tarihi, Dorse, sil, Tipi, Rengi) "
                            "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
             {plate, "Volvo", "FH 500", 40.0, "Anadolu Ticaret ve Nakliyat A.Ş.", int(driverId), 1,
              QStringLiteral("TIR-%1").arg(780100 + i), QDate(2025, 1, 20), QStringLiteral("CEMT-%1").arg(55 + i),
              QDate(2025, 3, 1), "TÜVTÜRK", QDate(2026, 5, 5), "Ray Sigorta", QDate(2026, 1, 31), "Ray Sigorta",
              QDate(2026, 1, 31), "Tako-Test", QDate(2026, 6, 30), QDate(2021, 4, 2), trailer, sil, "Çekici", "Kırmızı"});
        return {plate, trailer, {}};
    }

    // A TIR carnet of one truck, issued on its first day; one handed in came back in October.
    void carnet(const QString& no, const QDate& start, const QDate& end, int handedIn, const Truck& truck)
    {
        exec(QStringLiteral("INSERT INTO Karne_Tanim (Karne_No, Bas_Trh, Bit_Trh, Ver_Trh, iade_Trh, Plaka, Dorse_Plaka, "
                            "Sofor, Gidis, Teslim, sayfa) VALUES (?,?,?,?,?,?,?,?,?,?,?)"),
             {no, start, end, start, handedIn ? Value(std::max(start, QDate(2025, 10, 1))) : Value::null(), truck.plate, truck.trailer,
              truck.driver, "İstanbul - München", handedIn, "14 sayfa"});
    }

    // The transport cases, each once (names, plates and numbers fixed for every size), then
    // the fleet of the large demo.
    void transportCases()
    {
        // An international route without transport type, and one after it.
        const QList<QList<Value>> routes = {{Value::null(), "TR", "06", "Sincan", "GE", "TB", "Merkez", 1350.0},
                                            {"Karayolu", "TR", "41", "Gebze", "DE", "K", "Köln", 2600.0}};
        for (const QList<Value>& r : routes)
            exec(QStringLiteral("INSERT INTO Guzergah (Tasima_Tur, Yuk_Ulke, Yuk_Yeri, Yuk_Ilce, Bos_Ulke, Bos_Yeri, "
                                "Bos_Ilce, Mesafe) VALUES (?,?,?,?,?,?,?,?)"),
                 r);

        const QString yi = QStringLiteral("Sofor_Yi"), yd = QStringLiteral("Sofor_YD");
        const QString namesake = QStringLiteral("Murat Çelik"), quoted = QStringLiteral("Ali O'Şoför");
        driver(yi, false, namesake, 5, 0);
        const qint64 secondNamesake = driver(yi, false, namesake, 6, 0);
        const qint64 quotedAtHome = driver(yi, false, quoted, 7, 0);
        const qint64 quotedAbroad = driver(yd, true, quoted, 4, 0);
        const auto [deletedAtHome, deletedAbroad] = deletedDrivers_;
        domesticVehicle(QStringLiteral("06 ANT 214"), 5, secondNamesake);
        domesticVehicle(QStringLiteral("06 ANT 215"), 6, deletedAtHome);
        domesticVehicle(QStringLiteral("06 ANT 216"), 7, quotedAtHome);
        internationalVehicle(QStringLiteral("34 ANT 904"), 3, deletedAbroad);
        internationalVehicle(QStringLiteral("34 ANT 905"), 4, quotedAbroad);
        fleet();
    }

    // The drivers, vehicles and carnets of the large demo; every 25th driver and every 30th
    // vehicle is deleted, one carnet in twelve has ended and one in twelve was handed in.
    void fleet()
    {
        const QString yi = QStringLiteral("Sofor_Yi"), yd = QStringLiteral("Sofor_YD");
        struct Driver { qint64 id; QString name; };
        auto many = [&](const QString& table, bool international) {
            std::vector<Driver> drivers;
            for (int i = 0; i < scale_.drivers; ++i) {
                const QString name = words_.personName();
                drivers.push_back({driver(table, international, name, i, i % 25 == 24 ? 1 : 0), name});
            }
            return drivers;
        };
        const std::vector<Driver> home = many(yi, false), abroad = many(yd, true);
        if (home.empty() || abroad.empty()) return;
        auto anyOf = [&](const std::vector<Driver>& drivers) -> const Driver& {
            return drivers[words_.between(0, int(drivers.size()) - 1)];
        };
        static const QStringList cities = {"01", "06", "07", "16", "27", "34", "35", "41", "42", "61"};
        static const QStringList letters = {"A", "AB", "ANT", "BK", "DR", "KR", "NA", "TR", "ZY"};
        std::vector<Truck> trucks;
        for (int i = 0; i < scale_.vehicles; ++i) {
            const int sil = i % 30 == 29 ? 1 : 0;
            const QString& city = words_.pick(cities);
            const QString plate = QStringLiteral("%1 %2 %3").arg(city, words_.pick(letters)).arg(2000 + i);
            domesticVehicle(plate, i, anyOf(home).id, sil);
            const QString intlPlate = QStringLiteral("34 %1 %2").arg(words_.pick(letters)).arg(6000 + i);
            const Driver& d = anyOf(abroad);
            Truck t = internationalVehicle(intlPlate, 10 + i, d.id, sil);
            t.driver = d.name;
            trucks.push_back(t);
        }
        for (int i = 0; i < scale_.carnets && !trucks.empty(); ++i) {
            const Truck& t = trucks[words_.between(0, int(trucks.size()) - 1)];
            const QDate start = QDate(kYear, 1, 1).addDays(words_.between(0, 360));
            const QDate end = i % 12 == 0 ? QDate(kYear, 12, 31).addDays(-words_.between(0, 60))
                                          : QDate(2026, 1, 1).addDays(words_.between(0, 420));
            carnet(QStringLiteral("TIR-%1").arg(790000 + i), std::min(start, end.addDays(-30)), end, i % 12 == 1 ? 1 : 0, t);
        }
    }

    void numberingSeries()
    {
        series_.insert(QStringLiteral("K"), 0);  // the opening entries' series starts fresh
        for (auto it = series_.cbegin(); it != series_.cend(); ++it)
            exec(QStringLiteral("INSERT INTO Evr (On_Taki, Evr_No) VALUES (?, ?)"), {it.key(), it.value() + 1});
    }
};

}  // namespace

void fillSourceCompany(db::Connection& con, Size size)
{
    db::TransactionScope tx(con);
    SourceCompany(con, size).build();
    tx.commit();
}

}  // namespace belmo::demo
