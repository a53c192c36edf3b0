#include "db/VbConvert.h"

#include "db/DbError.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace belmo::vb {

using db::DbError;
namespace err = db::err;

namespace {

const QDate kSerialZero(1899, 12, 30);

const std::array<const char16_t*, 12> kMonthNames = {
    u"Ocak", u"Şubat", u"Mart", u"Nisan", u"Mayıs", u"Haziran",
    u"Temmuz", u"Ağustos", u"Eylül", u"Ekim", u"Kasım", u"Aralık"};
const std::array<const char16_t*, 12> kMonthAbbrev = {
    u"Oca", u"Şub", u"Mar", u"Nis", u"May", u"Haz", u"Tem", u"Ağu", u"Eyl", u"Eki", u"Kas", u"Ara"};
// Index 0 is Monday, as QDate::dayOfWeek() - 1 gives it.
const std::array<const char16_t*, 7> kDayNames = {
    u"Pazartesi", u"Salı", u"Çarşamba", u"Perşembe", u"Cuma", u"Cumartesi", u"Pazar"};
const std::array<const char16_t*, 7> kDayAbbrev = {u"Pzt", u"Sal", u"Çar", u"Per", u"Cum", u"Cmt", u"Paz"};

[[noreturn]] void typeMismatch(const QString& what)
{
    throw DbError(err::TypeMismatch, QStringLiteral("Type mismatch: '%1'").arg(what));
}

[[noreturn]] void invalidUseOfNull()
{
    throw DbError(err::InvalidUseOfNull, QStringLiteral("Invalid use of Null"));
}

// ---------------------------------------------------------------------------------------------
// Exact decimal digits of a double, so that rounding happens on the decimal value the user
// sees (2.345 rounds to 2.35) and not on the binary expansion (2.34499...).

struct Digits {
    std::string digits;  // significant digits, no leading zeros ("0" for zero)
    int point = 0;       // value = 0.<digits> * 10^point
};

Digits decimalDigits(double x)
{
    Digits d;
    if (x == 0) {
        d.digits = "0";
        d.point = 1;
        return d;
    }
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific);
    std::string s(buf, res.ptr);
    const auto e = s.find('e');
    const std::string mant = s.substr(0, e);
    const int exp = std::stoi(s.substr(e + 1));
    for (char c : mant)
        if (c >= '0' && c <= '9')
            d.digits += c;
    d.point = exp + 1;
    return d;
}

// Rounds |x| half away from zero to `decimals` places and splits it into the integer digits
// (no leading zeros, possibly empty) and exactly `decimals` fraction digits.
void roundDecimal(double x, int decimals, std::string& intPart, std::string& fracPart)
{
    Digits d = decimalDigits(std::fabs(x));
    std::string& g = d.digits;
    const int keep = d.point + decimals;
    if (keep < 0) {
        g = "0";
        d.point = 1;
    } else if (keep < static_cast<int>(g.size())) {
        const bool up = g[keep] >= '5';
        g.resize(keep);
        if (up) {
            int i = keep - 1;
            while (i >= 0 && g[i] == '9') {
                g[i] = '0';
                --i;
            }
            if (i >= 0)
                ++g[i];
            else {
                g.insert(g.begin(), '1');
                ++d.point;
            }
        }
        if (g.empty()) {
            g = "0";
            d.point = 1;
        }
    }
    intPart.clear();
    fracPart.clear();
    for (int i = 0; i < d.point; ++i)
        intPart += i < static_cast<int>(g.size()) ? g[i] : '0';
    for (int i = 0; i < decimals; ++i) {
        const int idx = d.point + i;
        fracPart += (idx >= 0 && idx < static_cast<int>(g.size())) ? g[idx] : '0';
    }
    const auto nz = intPart.find_first_not_of('0');
    intPart = nz == std::string::npos ? std::string() : intPart.substr(nz);
}

// ---------------------------------------------------------------------------------------------
// Format patterns

struct PatternToken {
    enum Kind { Zero, Hash, Point, Comma, Percent, Exponent, Literal } kind;
    QString text;  // for literals, and the letter and sign of an exponent ("E+", "e-")
};

// Splits a pattern section into placeholders and literals; quoted text and backslash
// escapes are literals. E+, E-, e+ and e- start the exponent of a scientific pattern.
QList<PatternToken> tokenizeNumberPattern(QStringView p)
{
    QList<PatternToken> out;
    for (qsizetype i = 0; i < p.size(); ++i) {
        const QChar c = p[i];
        if (c == u'0') out.append(PatternToken{PatternToken::Zero, QString()});
        else if (c == u'#') out.append(PatternToken{PatternToken::Hash, QString()});
        else if (c == u'.') out.append(PatternToken{PatternToken::Point, QString()});
        else if (c == u',') out.append(PatternToken{PatternToken::Comma, QString()});
        else if (c == u'%') out.append(PatternToken{PatternToken::Percent, QStringLiteral("%")});
        else if (c == u'\\' && i + 1 < p.size()) out.append(PatternToken{PatternToken::Literal, QString(p[++i])});
        else if (c == u'"') {
            const qsizetype end = p.indexOf(u'"', i + 1);
            const qsizetype stop = end < 0 ? p.size() : end;
            out.append(PatternToken{PatternToken::Literal, p.mid(i + 1, stop - i - 1).toString()});
            i = stop;
        } else if ((c == u'E' || c == u'e') && i + 1 < p.size() && (p[i + 1] == u'+' || p[i + 1] == u'-')) {
            out.append(PatternToken{PatternToken::Exponent, p.mid(i, 2).toString()});
            ++i;
        } else out.append(PatternToken{PatternToken::Literal, QString(c)});
    }
    return out;
}

bool isDigitToken(const PatternToken& t) { return t.kind == PatternToken::Zero || t.kind == PatternToken::Hash; }

// A scientific pattern ("0.00E+00"): the value becomes a mantissa with one digit for each
// placeholder before the pattern's point, rounded to its decimals, and the exponent becomes a
// literal in place of the letter and the placeholders after it: with its sign always (E+) or
// only when negative (E-), and at least as many digits as there are zeros. Returns the
// mantissa, signed as the value, for the placeholders left in the tokens.
double toScientific(double value, QList<PatternToken>& tokens, qsizetype exponentAt)
{
    int intPlaces = 0, decimals = 0;
    bool afterPoint = false;
    for (qsizetype i = 0; i < exponentAt; ++i) {
        if (tokens[i].kind == PatternToken::Point) afterPoint = true;
        else if (isDigitToken(tokens[i])) ++(afterPoint ? decimals : intPlaces);
    }
    qsizetype end = exponentAt + 1;
    int minDigits = 0;
    for (; end < tokens.size() && isDigitToken(tokens[end]); ++end) minDigits += tokens[end].kind == PatternToken::Zero;
    int exponent = 0;
    double mantissa = 0;
    if (value != 0) {
        // The mantissa from the value's decimal digits, so it rounds as the plain patterns do.
        const Digits d = decimalDigits(std::fabs(value));
        exponent = d.point - intPlaces;
        std::string text = d.digits;
        if (static_cast<int>(text.size()) < intPlaces) text.resize(intPlaces, '0');
        text = "0" + text.insert(intPlaces, ".");
        std::from_chars(text.data(), text.data() + text.size(), mantissa);
        // 9.996 under "0.00E+00" rounds to 10,00: one more in the exponent gives 1,00.
        if (const double rounded = roundToDecimals(mantissa, decimals); rounded >= std::pow(10.0, intPlaces)) {
            mantissa = rounded / 10;
            ++exponent;
        }
        if (value < 0) mantissa = -mantissa;
    }
    const QString& letter = tokens[exponentAt].text;
    QString shown = letter.left(1) + (exponent < 0 ? QStringLiteral("-") : letter[1] == u'+' ? QStringLiteral("+") : QString());
    shown += QString::number(std::abs(exponent)).rightJustified(minDigits, u'0');
    tokens.remove(exponentAt, end - exponentAt);
    tokens.insert(exponentAt, PatternToken{PatternToken::Literal, shown});
    return mantissa;
}

QString formatNumberSection(double value, QStringView section, bool withSign)
{
    QList<PatternToken> tokens = tokenizeNumberPattern(section);
    for (qsizetype i = 0; i < tokens.size(); ++i)
        if (tokens[i].kind == PatternToken::Exponent) {
            value = toScientific(value, tokens, i);
            break;
        }
    qsizetype firstDigit = -1, lastDigit = -1, point = -1;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (isDigitToken(tokens[i])) {
            if (firstDigit < 0) firstDigit = i;
            lastDigit = i;
        } else if (tokens[i].kind == PatternToken::Point && point < 0) {
            point = i;
        }
    }
    if (firstDigit < 0 && point < 0) {
        // No placeholders at all: the pattern is printed as it stands.
        QString s;
        for (const auto& t : tokens)
            s += t.kind == PatternToken::Literal || t.kind == PatternToken::Percent ? t.text : QString();
        return s;
    }
    const qsizetype bodyStart = firstDigit < 0 ? point : (point < 0 ? firstDigit : std::min(firstDigit, point));
    const qsizetype bodyEnd = std::max(lastDigit, point);  // inclusive
    const qsizetype intEnd = point < 0 ? bodyEnd + 1 : point;

    // Integer part: placeholders, grouping and scaling commas, in-between literals.
    QList<PatternToken> intTokens;
    bool grouping = false, percent = false;
    int scale = 0;
    for (qsizetype i = bodyStart; i < intEnd; ++i) {
        const auto& t = tokens[i];
        if (t.kind == PatternToken::Comma) {
            bool digitBefore = false, digitAfter = false;
            for (qsizetype j = bodyStart; j < i; ++j) digitBefore |= isDigitToken(tokens[j]);
            for (qsizetype j = i + 1; j < intEnd; ++j) digitAfter |= isDigitToken(tokens[j]);
            if (digitBefore && digitAfter) grouping = true;
            else if (digitBefore) ++scale;
            continue;
        }
        intTokens.append(t);
    }
    QList<PatternToken> fracTokens;
    if (point >= 0)
        for (qsizetype i = point + 1; i <= bodyEnd; ++i)
            if (tokens[i].kind != PatternToken::Comma) fracTokens.append(tokens[i]);
    for (const auto& t : tokens) percent |= t.kind == PatternToken::Percent;

    int intPlaces = 0, minInt = 0, maxDec = 0, minDec = 0;
    bool seenZero = false;
    for (const auto& t : intTokens) {
        if (!isDigitToken(t)) continue;
        ++intPlaces;
        seenZero |= t.kind == PatternToken::Zero;
        if (seenZero) ++minInt;
    }
    for (const auto& t : fracTokens) {
        if (!isDigitToken(t)) continue;
        ++maxDec;
        if (t.kind == PatternToken::Zero) minDec = maxDec;
    }

    double x = value;
    if (percent) x *= 100;
    for (int i = 0; i < scale; ++i) x /= 1000;

    std::string intDigits, fracDigits;
    roundDecimal(x, maxDec, intDigits, fracDigits);
    while (static_cast<int>(fracDigits.size()) > minDec && fracDigits.back() == '0')
        fracDigits.pop_back();
    const bool isZero = intDigits.empty() && fracDigits.find_first_not_of('0') == std::string::npos;

    QString digits = QString::fromLatin1(intDigits);
    while (digits.size() < minInt) digits.prepend(u'0');

    QString intText;
    if (grouping) {
        for (qsizetype i = 0; i < digits.size(); ++i) {
            if (i > 0 && (digits.size() - i) % 3 == 0) intText += kGroupSeparator;
            intText += digits[i];
        }
    } else {
        // Right to left: each placeholder takes one digit, the leftmost takes the rest.
        qsizetype next = digits.size() - 1;
        int placesSeen = 0;
        QString rev;
        for (qsizetype i = intTokens.size() - 1; i >= 0; --i) {
            const auto& t = intTokens[i];
            if (!isDigitToken(t)) {
                QString lit = t.text;
                std::reverse(lit.begin(), lit.end());
                rev += lit;
                continue;
            }
            ++placesSeen;
            if (placesSeen == intPlaces) {
                while (next >= 0) rev += digits[next--];
            } else if (next >= 0) {
                rev += digits[next--];
            }
        }
        while (next >= 0) rev += digits[next--];
        std::reverse(rev.begin(), rev.end());
        intText = rev;
    }

    QString fracText;
    qsizetype used = 0;
    for (const auto& t : fracTokens) {
        if (isDigitToken(t)) {
            if (used < static_cast<qsizetype>(fracDigits.size())) fracText += QChar::fromLatin1(fracDigits[used++]);
        } else {
            fracText += t.text;
        }
    }

    QString prefix, suffix;
    for (qsizetype i = 0; i < bodyStart; ++i)
        if (tokens[i].kind == PatternToken::Literal || tokens[i].kind == PatternToken::Percent) prefix += tokens[i].text;
    for (qsizetype i = bodyEnd + 1; i < tokens.size(); ++i)
        if (tokens[i].kind == PatternToken::Literal || tokens[i].kind == PatternToken::Percent) suffix += tokens[i].text;

    QString out = prefix + intText;
    // A point with no placeholder after it ("#,0.") shows no separator.
    if (point >= 0) out += (maxDec > 0 ? QString(kDecimalSeparator) : QString()) + fracText;
    out += suffix;
    if (withSign && value < 0 && !isZero) out.prepend(u'-');
    return out;
}

QStringList splitSections(const QString& pattern)
{
    QStringList sections;
    QString cur;
    bool quoted = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'"') quoted = !quoted;
        if (c == u'\\' && i + 1 < pattern.size()) {
            cur += c;
            cur += pattern[++i];
            continue;
        }
        if (c == u';' && !quoted) {
            sections << cur;
            cur.clear();
            continue;
        }
        cur += c;
    }
    sections << cur;
    return sections;
}

enum class PatternKind { Number, Date, Other };

PatternKind classify(const QString& pattern)
{
    bool hasDigit = false, hasDate = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i].toLower();
        if (c == u'\\') { ++i; continue; }
        if (c == u'"') {
            const qsizetype end = pattern.indexOf(u'"', i + 1);
            i = end < 0 ? pattern.size() : end;
            continue;
        }
        if (c == u'0' || c == u'#') hasDigit = true;
        if (QStringView(u"dmyhnswqc").contains(c)) hasDate = true;
    }
    if (hasDate) return PatternKind::Date;
    if (hasDigit) return PatternKind::Number;
    return PatternKind::Other;
}

// The named formats of VB, in the Turkish regional form.
QString namedPattern(const QString& pattern)
{
    const QString p = pattern.trimmed().toLower();
    if (p == u"short date") return QStringLiteral("dd.mm.yyyy");
    if (p == u"medium date") return QStringLiteral("dd mmm yy");
    if (p == u"long date") return QStringLiteral("d mmmm yyyy dddd");
    if (p == u"short time") return QStringLiteral("hh:nn");
    if (p == u"medium time") return QStringLiteral("hh:nn");
    if (p == u"long time") return QStringLiteral("hh:nn:ss");
    if (p == u"fixed") return QStringLiteral("0.00");
    if (p == u"standard") return QStringLiteral("#,##0.00");
    if (p == u"percent") return QStringLiteral("0.00%");
    if (p == u"currency") return QStringLiteral("#,##0.00 \"TL\"");
    return {};
}

QString cstrDouble(double d)
{
    if (d == 0) return QStringLiteral("0");
    if (!std::isfinite(d)) return std::isnan(d) ? QStringLiteral("NaN") : (d > 0 ? QStringLiteral("+Sonsuz") : QStringLiteral("-Sonsuz"));
    // Fifteen significant digits, as VB prints a Double.
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(d), std::chars_format::scientific, 14);
    std::string s(buf, res.ptr);
    const auto e = s.find('e');
    std::string mant;
    for (char c : s.substr(0, e))
        if (c != '.') mant += c;
    int exp = std::stoi(s.substr(e + 1));
    while (mant.size() > 1 && mant.back() == '0') mant.pop_back();
    QString out = d < 0 ? QStringLiteral("-") : QString();
    const double a = std::fabs(d);
    if (a >= 1e15 || a < 1e-4) {
        out += QChar::fromLatin1(mant[0]);
        if (mant.size() > 1) out += kDecimalSeparator + QString::fromLatin1(mant.substr(1));
        out += exp < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
        out += QStringLiteral("%1").arg(std::abs(exp), 2, 10, QChar(u'0'));
        return out;
    }
    const int point = exp + 1;
    if (point <= 0) {
        out += QStringLiteral("0") + kDecimalSeparator + QString(-point, u'0') + QString::fromLatin1(mant);
    } else if (point >= static_cast<int>(mant.size())) {
        out += QString::fromLatin1(mant) + QString(point - static_cast<int>(mant.size()), u'0');
    } else {
        out += QString::fromLatin1(mant.substr(0, point)) + kDecimalSeparator + QString::fromLatin1(mant.substr(point));
    }
    return out;
}

int readInt(QStringView s, qsizetype& i, int maxDigits)
{
    int n = 0, count = 0;
    while (i < s.size() && count < maxDigits && s[i].isDigit()) {
        n = n * 10 + s[i].digitValue();
        ++i;
        ++count;
    }
    return count == 0 ? -1 : n;
}

// Optional " HH:MM[:SS]" (or "THH:MM:SS") after a date; true when the rest is consumed.
bool readTime(QStringView s, qsizetype i, QTime& time)
{
    while (i < s.size() && (s[i] == u' ' || s[i] == u'T')) ++i;
    if (i == s.size()) {
        time = QTime(0, 0);
        return true;
    }
    const int h = readInt(s, i, 2);
    if (h < 0 || i >= s.size() || s[i] != u':') return false;
    ++i;
    const int m = readInt(s, i, 2);
    if (m < 0) return false;
    int sec = 0;
    if (i < s.size() && s[i] == u':') {
        ++i;
        sec = readInt(s, i, 2);
        if (sec < 0) return false;
        if (i < s.size() && s[i] == u'.') {  // fractions of a second are dropped
            ++i;
            while (i < s.size() && s[i].isDigit()) ++i;
        }
    }
    while (i < s.size() && s[i] == u' ') ++i;
    if (i != s.size()) return false;
    time = QTime(h, m, sec);
    return time.isValid();
}

}  // namespace

// ---------------------------------------------------------------------------------------------

std::optional<double> parseNumber(QStringView text)
{
    QStringView s = text.trimmed();
    if (s.isEmpty()) return std::nullopt;
    bool negative = false;
    if (s.startsWith(u'(') && s.endsWith(u')')) {
        negative = true;
        s = s.mid(1, s.size() - 2).trimmed();
    }
    if (!s.isEmpty() && (s[0] == u'-' || s[0] == u'+')) {
        negative ^= s[0] == u'-';
        s = s.mid(1).trimmed();
    }
    std::string plain;
    bool digits = false, decimal = false;
    qsizetype i = 0;
    for (; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c.isDigit() && c.unicode() < 128) {
            plain += static_cast<char>(c.unicode());
            digits = true;
        } else if (c == kGroupSeparator && !decimal) {
            continue;  // thousands dots are accepted anywhere in the integer part
        } else if (c == kDecimalSeparator && !decimal) {
            plain += '.';
            decimal = true;
        } else {
            break;
        }
    }
    if (!digits) return std::nullopt;
    if (i < s.size() && (s[i] == u'E' || s[i] == u'e')) {
        std::string exp = "e";
        ++i;
        if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) exp += static_cast<char>(s[i++].unicode());
        bool expDigits = false;
        while (i < s.size() && s[i].isDigit() && s[i].unicode() < 128) {
            exp += static_cast<char>(s[i++].unicode());
            expDigits = true;
        }
        if (!expDigits) return std::nullopt;
        plain += exp;
    }
    if (i != s.size()) return std::nullopt;
    double value = 0;
    auto res = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (res.ec != std::errc() && res.ec != std::errc::result_out_of_range) return std::nullopt;
    if (res.ec == std::errc::result_out_of_range && std::isinf(value)) return std::nullopt;
    return negative ? -value : value;
}

std::optional<QDateTime> parseDate(QStringView text)
{
    const QStringView s = text.trimmed();
    if (s.isEmpty()) return std::nullopt;
    qsizetype i = 0;
    const int first = readInt(s, i, 4);
    if (first < 0) return std::nullopt;
    QDate date;
    QTime time;
    const qsizetype firstLen = i;
    if (i < s.size() && s[i] == u':') {
        // A time alone.
        if (!readTime(s, 0, time)) return std::nullopt;
        return QDateTime(kSerialZero, time, Qt::UTC);
    }
    if (i >= s.size()) return std::nullopt;
    const QChar sep = s[i];
    if (sep != u'.' && sep != u'/' && sep != u'-') return std::nullopt;
    ++i;
    const int second = readInt(s, i, 2);
    if (second < 0 || i >= s.size() || s[i] != sep) return std::nullopt;
    ++i;
    const qsizetype thirdStart = i;
    const int third = readInt(s, i, 4);
    if (third < 0) return std::nullopt;
    if (firstLen == 4) {
        date = QDate(first, second, third);  // ISO order
    } else {
        int year = third;
        if (i - thirdStart <= 2) year += year < 30 ? 2000 : 1900;
        date = QDate(year, second, first);
    }
    if (!date.isValid() || !readTime(s, i, time)) return std::nullopt;
    return QDateTime(date, time, Qt::UTC);
}

double CDbl(const Value& v)
{
    switch (v.type()) {
    case Value::Type::Empty: return 0;
    case Value::Type::Null: invalidUseOfNull();
    case Value::Type::Bool: return v.boolValue() ? -1 : 0;
    case Value::Type::Int: return static_cast<double>(v.intValue());
    case Value::Type::Double: return v.doubleValue();
    case Value::Type::Date: return toSerial(v.dateValue());
    case Value::Type::Text:
        if (auto d = parseNumber(v.textValue())) return *d;
        typeMismatch(v.textValue());
    }
    return 0;
}

qint32 CLng(const Value& v)
{
    const double d = std::nearbyint(CDbl(v));  // the default rounding mode is half to even
    if (d < std::numeric_limits<qint32>::min() || d > std::numeric_limits<qint32>::max())
        throw DbError(err::Overflow, QStringLiteral("Overflow"));
    return static_cast<qint32>(d);
}

QString joined(const Value& v) { return v.isNull() ? QString() : CStr(v); }

QString CStr(const Value& v)
{
    switch (v.type()) {
    case Value::Type::Empty: return {};
    case Value::Type::Null: invalidUseOfNull();
    case Value::Type::Bool: return v.boolValue() ? QStringLiteral("True") : QStringLiteral("False");
    case Value::Type::Int: return QString::number(v.intValue());
    case Value::Type::Double: return cstrDouble(v.doubleValue());
    case Value::Type::Text: return v.textValue();
    case Value::Type::Date: {
        const QDateTime& dt = v.dateValue();
        const bool midnight = dt.time() == QTime(0, 0);
        if (dt.date() == kSerialZero && !midnight) return dt.time().toString(QStringLiteral("HH:mm:ss"));
        const QString date = dt.date().toString(QStringLiteral("dd.MM.yyyy"));
        return midnight ? date : date + u' ' + dt.time().toString(QStringLiteral("HH:mm:ss"));
    }
    }
    return {};
}

QDateTime CDate(const Value& v)
{
    switch (v.type()) {
    case Value::Type::Null: invalidUseOfNull();
    case Value::Type::Date: return v.dateValue();
    case Value::Type::Text:
        if (auto d = parseDate(v.textValue())) return *d;
        typeMismatch(v.textValue());  // "01.01." (a period left empty) is no date
    default: return fromSerial(CDbl(v));
    }
}

QString Str(double d)
{
    QString s = cstrDouble(std::fabs(d));
    s.replace(kDecimalSeparator, u'.');
    if (s.startsWith(QStringLiteral("0.")))
        s.remove(0, 1);  // Str(0.5) is " .5"
    return (d < 0 ? QStringLiteral("-") : QStringLiteral(" ")) + s;
}

QString formatNumber(double value, QStringView pattern)
{
    // No pattern places an infinite amount or one that is not a number: it shows as CStr
    // shows it, a text that no conversion reads back as a number.
    if (!std::isfinite(value)) return cstrDouble(value);
    const QStringList sections = splitSections(pattern.toString());
    auto pick = [&](qsizetype i) -> QStringView {
        return i < sections.size() && !sections[i].isEmpty() ? QStringView(sections[i]) : QStringView(sections[0]);
    };
    if (value == 0 && sections.size() >= 3) return formatNumberSection(0, pick(2), false);
    // An empty negative section ("#,##0.00;") formats as the first one, sign included.
    if (value < 0 && sections.size() >= 2 && !sections[1].isEmpty()) return formatNumberSection(-value, sections[1], false);
    return formatNumberSection(value, sections[0], true);
}

int shownDecimals(QStringView pattern)
{
    const QStringList sections = splitSections(pattern.toString());
    int decimals = 0;
    bool afterPoint = false;
    for (const PatternToken& t : tokenizeNumberPattern(sections.value(0))) {
        if (t.kind == PatternToken::Exponent) break;
        if (t.kind == PatternToken::Point) afterPoint = true;
        else if (afterPoint && isDigitToken(t)) ++decimals;
    }
    return decimals;
}

double roundToDecimals(double value, int decimals)
{
    if (!std::isfinite(value)) return value;
    std::string intDigits, fracDigits;
    roundDecimal(value, decimals, intDigits, fracDigits);
    const std::string digits = (intDigits.empty() ? std::string("0") : intDigits) + "." + fracDigits + "0";
    double rounded = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), rounded);
    return value < 0 ? -rounded : rounded;
}

QString formatDate(const QDateTime& dt, QStringView pattern)
{
    const QDate d = dt.date();
    const QTime t = dt.time();
    QString out;
    bool afterHour = false;  // "m" right after an hour means minutes
    auto two = [](int n) { return QStringLiteral("%1").arg(n, 2, 10, QChar(u'0')); };
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i].toLower();
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern[i + run].toLower() == c) ++run;
        if (c == u'"') {
            const qsizetype end = pattern.indexOf(u'"', i + 1);
            const qsizetype stop = end < 0 ? pattern.size() : end;
            out += pattern.mid(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        if (c == u'\\' && i + 1 < pattern.size()) {
            out += pattern[i + 1];
            i += 2;
            continue;
        }
        switch (c.unicode()) {
        case u'd':
            if (run == 1) out += QString::number(d.day());
            else if (run == 2) out += two(d.day());
            else if (run == 3) out += QString::fromUtf16(kDayAbbrev[d.dayOfWeek() - 1]);
            else if (run == 4) out += QString::fromUtf16(kDayNames[d.dayOfWeek() - 1]);
            else if (run == 5) out += formatDate(dt, u"dd.mm.yyyy");
            else out += formatDate(dt, u"d mmmm yyyy dddd");
            afterHour = false;
            break;
        case u'm':
            if (afterHour && run <= 2) out += run == 1 ? QString::number(t.minute()) : two(t.minute());
            else if (run == 1) out += QString::number(d.month());
            else if (run == 2) out += two(d.month());
            else if (run == 3) out += QString::fromUtf16(kMonthAbbrev[d.month() - 1]);
            else out += QString::fromUtf16(kMonthNames[d.month() - 1]);
            afterHour = false;
            break;
        case u'n':
            out += run == 1 ? QString::number(t.minute()) : two(t.minute());
            break;
        case u'y':
            if (run == 1) out += QString::number(d.dayOfYear());
            else if (run == 2) out += two(d.year() % 100);
            else out += QString::number(d.year());
            afterHour = false;
            break;
        case u'h':
            out += run == 1 ? QString::number(t.hour()) : two(t.hour());
            afterHour = true;
            break;
        case u's':
            out += run == 1 ? QString::number(t.second()) : two(t.second());
            break;
        case u'w':
            out += run == 1 ? QString::number(d.dayOfWeek() % 7 + 1) : QString::number(d.weekNumber());
            break;
        case u'q':
            out += QString::number((d.month() - 1) / 3 + 1);
            break;
        case u'c':
            out += CStr(Value(dt));
            break;
        case u'/':
            out += QString(run, kDateSeparator);
            break;
        default:
            out += pattern.mid(i, run);
            break;
        }
        i += run;
    }
    return out;
}

Value Format(const Value& v, const QString& patternIn)
{
    if (v.isNull()) return Value::null();
    if (patternIn.isEmpty()) return CStr(v);
    QString pattern = namedPattern(patternIn);
    if (pattern.isEmpty()) pattern = patternIn;
    if (patternIn.trimmed().compare(QStringLiteral("General Date"), Qt::CaseInsensitive) == 0) {
        if (v.isDate()) return CStr(v);
        if (v.isText())
            if (auto d = parseDate(v.textValue())) return CStr(Value(*d));
        return CStr(v);
    }
    if (patternIn.trimmed().compare(QStringLiteral("General Number"), Qt::CaseInsensitive) == 0)
        return v.isText() ? v : Value(CStr(Value(CDbl(v))));

    switch (classify(pattern)) {
    case PatternKind::Date: {
        if (v.isDate()) return formatDate(v.dateValue(), pattern);
        if (v.isText()) {
            if (auto d = parseDate(v.textValue())) return formatDate(*d, pattern);
            if (auto n = parseNumber(v.textValue())) return formatDate(fromSerial(*n), pattern);
            return v;
        }
        if (v.isEmpty()) return formatDate(QDateTime(kSerialZero, QTime(0, 0), Qt::UTC), pattern);
        return formatDate(fromSerial(CDbl(v)), pattern);
    }
    case PatternKind::Number: {
        if (v.isText()) {
            if (auto n = parseNumber(v.textValue())) return formatNumber(*n, pattern);
            if (auto d = parseDate(v.textValue())) return formatNumber(toSerial(*d), pattern);
            return v;
        }
        return formatNumber(CDbl(v), pattern);
    }
    case PatternKind::Other:
        break;
    }
    return CStr(v);
}

double toSerial(const QDateTime& dt)
{
    const double days = static_cast<double>(kSerialZero.daysTo(dt.date()));
    return days + dt.time().msecsSinceStartOfDay() / 86400000.0;
}

QDateTime fromSerial(double serial)
{
    if (!std::isfinite(serial) || std::fabs(serial) > 3e6)
        throw DbError(err::Overflow, QStringLiteral("Overflow"));
    const double whole = std::floor(serial);
    const qint64 msecs = std::llround((serial - whole) * 86400000.0);
    QDateTime dt(kSerialZero.addDays(static_cast<qint64>(whole)), QTime(0, 0), Qt::UTC);
    return dt.addMSecs(std::min<qint64>(msecs, 86399000));
}

QString toStorageDate(const QDateTime& dt)
{
    const QTime t = dt.time();
    if (t.hour() == 0 && t.minute() == 0 && t.second() == 0)
        return dt.date().toString(QStringLiteral("yyyy-MM-dd"));
    return dt.date().toString(QStringLiteral("yyyy-MM-dd")) + u' ' + t.toString(QStringLiteral("HH:mm:ss"));
}

}  // namespace belmo::vb
