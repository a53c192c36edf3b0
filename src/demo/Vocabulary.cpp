#include "demo/Vocabulary.h"

#include <cmath>

namespace belmo::demo {

namespace {

QStringList words(const char* utf8) { return QString::fromUtf8(utf8).split(u'|'); }

}  // namespace

const QStringList& Vocabulary::firstNames()
{
    static const QStringList l = words(
        "Ahmet|Mehmet|Mustafa|Ali|Hüseyin|Hasan|İbrahim|İsmail|Osman|Yusuf|Murat|Ömer|Ramazan|Halil|Süleyman|"
        "Abdullah|Fatma|Ayşe|Emine|Hatice|Zeynep|Elif|Meryem|Şerife|Zehra|Sultan|Hanife|Merve|Özlem|Gülsüm|"
        "Kemal|Cengiz|Tuncay|Erdem|Burak|Çağlar|Gökhan|Serkan|Şükrü|Ümit|Nurcan|Derya|Büşra|Gülay|Songül");
    return l;
}

const QStringList& Vocabulary::surnames()
{
    static const QStringList l = words(
        "Yılmaz|Kaya|Demir|Şahin|Çelik|Yıldız|Yıldırım|Öztürk|Aydın|Özdemir|Arslan|Doğan|Kılıç|Aslan|Çetin|"
        "Kara|Koç|Kurt|Özkan|Şimşek|Polat|Özer|Erdoğan|Güneş|Aksoy|Korkmaz|Karaca|Keskin|Tekin|Ünal|Bulut|"
        "Türkmen|Çakır|Avcı|Uysal|Başaran|Güler|Erdem|Sarı|Bozkurt");
    return l;
}

const QStringList& Vocabulary::cities()
{
    static const QStringList l = words(
        "İstanbul|Ankara|İzmir|Bursa|Antalya|Konya|Adana|Gaziantep|Kayseri|Eskişehir|Trabzon|Samsun|Mersin|"
        "Kocaeli|Denizli|Diyarbakır|Erzurum|Malatya|Sakarya|Tekirdağ|Muğla|Aydın|Balıkesir|Manisa|Hatay");
    return l;
}

const QStringList& Vocabulary::banks()
{
    static const QStringList l = words(
        "Ziraat Bankası|Halkbank|Vakıfbank|İş Bankası|Garanti BBVA|Yapı Kredi|Akbank|QNB|Denizbank|TEB|Şekerbank");
    return l;
}

int Vocabulary::between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

double Vocabulary::money(double lo, double hi)
{
    return std::round(std::uniform_real_distribution<double>(lo, hi)(rng_) * 100.0) / 100.0;
}

double Vocabulary::price(double lo, double hi)
{
    return std::round(std::uniform_real_distribution<double>(lo, hi)(rng_) * 10000.0) / 10000.0;
}

bool Vocabulary::chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }

const QString& Vocabulary::pick(const QStringList& list) { return list.at(between(0, static_cast<int>(list.size()) - 1)); }

QString Vocabulary::personName() { return pick(firstNames()) + u' ' + pick(surnames()); }

QString Vocabulary::companyTitle()
{
    static const QStringList trades = words(
        "Gıda|Tekstil|İnşaat|Otomotiv|Mobilya|Elektrik|Hırdavat|Kırtasiye|Tarım Ürünleri|Ambalaj|Plastik|"
        "Temizlik Ürünleri|Yapı Malzemeleri|Makina|Kuruyemiş|Unlu Mamuller|Lojistik|Medikal|Kozmetik|Ev Tekstili");
    static const QStringList kinds = words("Ticaret|Pazarlama|Sanayi ve Ticaret|Dağıtım|İthalat İhracat");
    static const QStringList forms = words("Ltd. Şti.|A.Ş.|Ltd. Şti.|Ltd. Şti.|Kollektif Şti.");
    const QString owner = chance(0.3) ? pick(firstNames()) + u' ' + pick(surnames()) : pick(surnames());
    const QString tail = chance(0.15) ? QStringLiteral("Şahıs İşletmesi") : pick(kinds) + u' ' + pick(forms);
    return owner + u' ' + pick(trades) + u' ' + tail;
}

QString Vocabulary::foreignCompanyTitle()
{
    static const QStringList l = words(
        "Müller Handels GmbH|Rossi Importazioni S.r.l.|Dupont Distribution SARL|Van Dijk Trading B.V.|"
        "Petrov Trade EOOD|Popescu Comert SRL|Schneider Lebensmittel GmbH|Kowalski Import Sp. z o.o.");
    return pick(l);
}

QString Vocabulary::city() { return pick(cities()); }

QString Vocabulary::street()
{
    static const QStringList l = words(
        "Atatürk Bulvarı|Cumhuriyet Caddesi|İstiklal Caddesi|Gazi Mustafa Kemal Bulvarı|Fevzi Çakmak Sokak|"
        "Mimar Sinan Caddesi|Ziya Gökalp Caddesi|Kazım Karabekir Caddesi|Sanayi Sitesi 4. Blok|Organize Sanayi Bölgesi");
    return QStringLiteral("%1 No: %2").arg(pick(l)).arg(between(1, 240));
}

QString Vocabulary::phone()
{
    return QStringLiteral("0(%1) %2 %3 %4")
        .arg(between(212, 488))
        .arg(between(200, 999))
        .arg(between(10, 99))
        .arg(between(10, 99));
}

QString Vocabulary::taxNumber() { return QStringLiteral("%1%2").arg(between(10000, 99999)).arg(between(10000, 99999)); }

QString Vocabulary::bank() { return pick(banks()); }

QString Vocabulary::branch() { return pick(cities()) + QStringLiteral(" Şubesi"); }

}  // namespace belmo::demo
