#include "db/JetFunctions.h"

#include "db/DbError.h"
#include "db/FieldType.h"
#include "db/VbConvert.h"

#include "db/SqliteApi.h"

#include <QChar>

#include <optional>

namespace belmo::db::jet {

namespace {

Value argValue(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER: return Value(static_cast<qint64>(sqlite3_value_int64(v)));
    case SQLITE_FLOAT: return Value(sqlite3_value_double(v));
    case SQLITE_TEXT:
        return Value(storedText(reinterpret_cast<const char*>(sqlite3_value_text(v)), sqlite3_value_bytes(v)));
    default: return Value::null();
    }
}

void setResult(sqlite3_context* ctx, const Value& v)
{
    switch (v.type()) {
    case Value::Type::Null: sqlite3_result_null(ctx); return;
    case Value::Type::Bool: sqlite3_result_int(ctx, v.boolValue() ? -1 : 0); return;
    case Value::Type::Int: sqlite3_result_int64(ctx, v.intValue()); return;
    case Value::Type::Double: sqlite3_result_double(ctx, v.doubleValue()); return;
    case Value::Type::Empty: sqlite3_result_text(ctx, "", 0, SQLITE_STATIC); return;
    case Value::Type::Text: {
        const QByteArray u = v.textValue().toUtf8();
        sqlite3_result_text(ctx, u.constData(), static_cast<int>(u.size()), SQLITE_TRANSIENT);
        return;
    }
    case Value::Type::Date: {
        const QByteArray u = vb::toStorageDate(v.dateValue()).toUtf8();
        sqlite3_result_text(ctx, u.constData(), static_cast<int>(u.size()), SQLITE_TRANSIENT);
        return;
    }
    }
}

void setError(sqlite3_context* ctx, const DbError& e)
{
    // A conversion that fails inside a statement is the provider's "type mismatch in
    // criteria expression", not the language's run-time error 13.
    const qint32 number = e.number() == err::TypeMismatch ? err::CriteriaMismatch : e.number();
    if (auto* failure = static_cast<FunctionFailure*>(sqlite3_user_data(ctx))) failure->error = DbError(number, e.description());
    const QByteArray msg = e.description().toUtf8();
    sqlite3_result_error(ctx, msg.constData(), static_cast<int>(msg.size()));
}

// Runs a scalar function body, turning a DbError into an SQLite error with its number.
template <typename Body>
void guarded(sqlite3_context* ctx, Body body)
{
    try {
        setResult(ctx, body());
    } catch (const DbError& e) {
        setError(ctx, e);
    }
}

bool anyNull(int argc, sqlite3_value** argv)
{
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return true;
    return false;
}

bool truthy(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL: return false;
    case SQLITE_INTEGER: return sqlite3_value_int64(v) != 0;
    default: return sqlite3_value_double(v) != 0.0;
    }
}

QString vbTrim(const QString& s, bool left, bool right)
{
    qsizetype b = 0, e = s.size();
    if (left) while (b < e && s[b] == u' ') ++b;
    if (right) while (e > b && s[e - 1] == u' ') --e;
    return s.mid(b, e - b);
}

// ---- scalar functions -------------------------------------------------------------------------

void fnFormat(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    guarded(ctx, [&] {
        const Value v = argValue(argv[0]);
        const QString pattern = argc > 1 && sqlite3_value_type(argv[1]) != SQLITE_NULL
            ? vb::CStr(argValue(argv[1])) : QString();
        return vb::Format(v, pattern);
    });
}

void fnSwitch(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (argc % 2 != 0) {
        setError(ctx, DbError(err::InvalidCall, QStringLiteral("SWITCH needs pairs of condition and value")));
        return;
    }
    for (int i = 0; i < argc; i += 2) {
        if (truthy(argv[i])) {
            sqlite3_result_value(ctx, argv[i + 1]);
            return;
        }
    }
    sqlite3_result_null(ctx);
}

// IIF(condition, then, else): a Null condition takes the else value.
void fnIif(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    sqlite3_result_value(ctx, truthy(argv[0]) ? argv[1] : argv[2]);
}

// True (-1) for a number, or a text CDBL reads as one; False (0) otherwise, Null included.
void fnIsNumeric(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    const int type = sqlite3_value_type(argv[0]);
    bool numeric = type == SQLITE_INTEGER || type == SQLITE_FLOAT;
    if (type == SQLITE_TEXT) numeric = vb::parseNumber(argValue(argv[0]).textValue()).has_value();
    sqlite3_result_int(ctx, numeric ? -1 : 0);
}

// True for a date and for a text that reads as one.
void fnIsDate(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    const int type = sqlite3_value_type(argv[0]);
    const bool date = type == SQLITE_TEXT && vb::parseDate(argValue(argv[0]).textValue()).has_value();
    sqlite3_result_int(ctx, date ? -1 : 0);
}

void fnCdbl(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    guarded(ctx, [&] { return Value(vb::CDbl(argValue(argv[0]))); });
}

void fnClng(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    guarded(ctx, [&] { return Value(static_cast<qint64>(vb::CLng(argValue(argv[0])))); });
}

void fnCdate(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    guarded(ctx, [&] { return Value(vb::CDate(argValue(argv[0]))); });
}

void fnCstr(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    guarded(ctx, [&] { return Value(vb::CStr(argValue(argv[0]))); });
}

void fnStr(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    guarded(ctx, [&] {
        if (anyNull(argc, argv)) return Value::null();
        return Value(vb::Str(vb::CDbl(argValue(argv[0]))));
    });
}

void fnMid(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    guarded(ctx, [&] {
        if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return Value::null();
        const QString s = vb::CStr(argValue(argv[0]));
        const qint32 start = vb::CLng(argValue(argv[1]));
        const qint32 length = argc > 2 ? vb::CLng(argValue(argv[2])) : -1;
        if (start < 1 || (argc > 2 && length < 0))
            throw DbError(err::InvalidCall, QStringLiteral("MID: invalid start or length"));
        if (start > s.size()) return Value(QString());
        return Value(s.mid(start - 1, length));
    });
}

template <bool Left, bool Right>
void fnTrim(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    guarded(ctx, [&] {
        if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return Value::null();
        return Value(vbTrim(vb::CStr(argValue(argv[0])), Left, Right));
    });
}

void fnLen(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    guarded(ctx, [&] {
        if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return Value::null();
        return Value(static_cast<qint64>(vb::CStr(argValue(argv[0])).size()));
    });
}

template <bool Upper>
void fnCase(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    guarded(ctx, [&] {
        if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return Value::null();
        const QString s = vb::CStr(argValue(argv[0]));
        return Value(Upper ? s.toUpper() : s.toLower());
    });
}

void fnNz(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) != SQLITE_NULL) sqlite3_result_value(ctx, argv[0]);
    else if (argc > 1) sqlite3_result_value(ctx, argv[1]);
    else sqlite3_result_text(ctx, "", 0, SQLITE_STATIC);
}

// The & operator: every operand as text, Null counting as "", Null only when all are Null.
void fnJetCat(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    guarded(ctx, [&] {
        QString out;
        bool any = false;
        for (int i = 0; i < argc; ++i) {
            if (sqlite3_value_type(argv[i]) == SQLITE_NULL) continue;
            any = true;
            out += vb::CStr(argValue(argv[i]));
        }
        return any ? Value(out) : Value::null();
    });
}

// ---- case folding shared by JETTEXT and LIKE ---------------------------------------------------

char32_t fold(char32_t c)
{
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    // Turkish has two i's: İ/i and I/ı. Texts are typed in either case on Turkish and other
    // keyboards, so all four fold together: ÇARŞI matches çarşı and ID matches id.
    if (c == 0x130 || c == 0x131) return U'i';
    return QChar::toCaseFolded(c);
}

// Decodes one UTF-8 code point at p (p < end); invalid bytes count as themselves.
char32_t decode(const unsigned char*& p, const unsigned char* end)
{
    const unsigned char b = *p++;
    if (b < 0x80) return b;
    int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    char32_t cp = extra == 3 ? (b & 0x07) : extra == 2 ? (b & 0x0F) : extra == 1 ? (b & 0x1F) : b;
    while (extra-- > 0 && p < end && (*p & 0xC0) == 0x80) cp = (cp << 6) | (*p++ & 0x3F);
    return cp;
}

bool likeMatch(const unsigned char* p, const unsigned char* pe, const unsigned char* s, const unsigned char* se,
               char32_t escape)
{
    while (p < pe) {
        const unsigned char* pNext = p;
        char32_t pc = decode(pNext, pe);
        if (pc == U'%') {
            while (pNext < pe && *pNext == '%') ++pNext;
            if (pNext == pe) return true;
            for (const unsigned char* t = s; t <= se;) {
                if (likeMatch(pNext, pe, t, se, escape)) return true;
                if (t == se) break;
                decode(t, se);
            }
            return false;
        }
        if (s == se) return false;
        const char32_t sc = decode(s, se);
        if (pc == U'_') {
            p = pNext;
            continue;
        }
        if (escape && pc == escape && pNext < pe) pc = decode(pNext, pe);
        if (fold(pc) != fold(sc)) return false;
        p = pNext;
    }
    return s == se;
}

void fnLike(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    auto bytes = [](sqlite3_value* v) {
        const auto* t = sqlite3_value_text(v);
        return std::pair(t, t + sqlite3_value_bytes(v));
    };
    auto [p, pe] = bytes(argv[0]);
    auto [s, se] = bytes(argv[1]);
    char32_t escape = 0;
    if (argc > 2) {
        auto [e, ee] = bytes(argv[2]);
        if (e < ee) escape = decode(e, ee);
    }
    sqlite3_result_int(ctx, likeMatch(p, pe, s, se, escape) ? 1 : 0);
}

// ---- FIRST and LAST ---------------------------------------------------------------------------

template <bool Last>
void aggStep(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    auto** slot = static_cast<sqlite3_value**>(sqlite3_aggregate_context(ctx, sizeof(sqlite3_value*)));
    if (!slot) {
        sqlite3_result_error_nomem(ctx);
        return;
    }
    if (*slot && !Last) return;
    sqlite3_value_free(*slot);
    *slot = sqlite3_value_dup(argv[0]);
}

void aggFinal(sqlite3_context* ctx)
{
    auto** slot = static_cast<sqlite3_value**>(sqlite3_aggregate_context(ctx, 0));
    if (slot && *slot) {
        sqlite3_result_value(ctx, *slot);
        sqlite3_value_free(*slot);
        *slot = nullptr;
    } else {
        sqlite3_result_null(ctx);
    }
}

// ---- collations -------------------------------------------------------------------------------

int collateText(void*, int la, const void* a, int lb, const void* b)
{
    return compareText(QByteArrayView(static_cast<const char*>(a), la), QByteArrayView(static_cast<const char*>(b), lb));
}

int collateDate(void*, int la, const void* a, int lb, const void* b)
{
    return compareDate(QByteArrayView(static_cast<const char*>(a), la), QByteArrayView(static_cast<const char*>(b), lb));
}

struct DateKey {
    qint64 day;  // year * 10000 + month * 100 + day
    int seconds;
    bool operator<(const DateKey& o) const { return day != o.day ? day < o.day : seconds < o.seconds; }
};

int digitsAt(QByteArrayView s, qsizetype& i, int maxDigits)
{
    int n = 0, count = 0;
    while (i < s.size() && count < maxDigits && s[i] >= '0' && s[i] <= '9') {
        n = n * 10 + (s[i] - '0');
        ++i;
        ++count;
    }
    return count ? n : -1;
}

// Reads the two date forms the system stores and compares: yyyy-mm-dd and dd.mm.yyyy, each
// with an optional time. Allocation-free: it runs for every comparison of a date index.
std::optional<DateKey> readDate(QByteArrayView s)
{
    qsizetype i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    const qsizetype start = i;
    const int a = digitsAt(s, i, 4);
    const qsizetype firstLen = i - start;
    if (a < 0 || i >= s.size()) return std::nullopt;
    const char sep = s[i];
    if (sep != '-' && sep != '.' && sep != '/') return std::nullopt;
    ++i;
    const int b = digitsAt(s, i, 2);
    if (b < 0 || i >= s.size() || s[i] != sep) return std::nullopt;
    ++i;
    const qsizetype cStart = i;
    const int c = digitsAt(s, i, 4);
    if (c < 0) return std::nullopt;
    int year, month, day;
    if (firstLen == 4) {  // ISO: year first
        year = a;
        month = b;
        day = c;
    } else {
        day = a;
        month = b;
        year = i - cStart <= 2 ? c + (c < 30 ? 2000 : 1900) : c;
    }
    if (month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
    DateKey key{year * 10000LL + month * 100 + day, 0};
    while (i < s.size() && (s[i] == ' ' || s[i] == 'T')) ++i;
    if (i < s.size()) {
        const int h = digitsAt(s, i, 2);
        if (h < 0 || i >= s.size() || s[i] != ':') return std::nullopt;
        ++i;
        const int m = digitsAt(s, i, 2);
        if (m < 0) return std::nullopt;
        int sec = 0;
        if (i < s.size() && s[i] == ':') {
            ++i;
            sec = digitsAt(s, i, 2);
            if (sec < 0) return std::nullopt;
            if (i < s.size() && s[i] == '.') {
                ++i;
                while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
            }
        }
        while (i < s.size() && s[i] == ' ') ++i;
        if (i != s.size()) return std::nullopt;
        key.seconds = h * 3600 + m * 60 + sec;
    }
    return key;
}

}  // namespace

int compareText(QByteArrayView a, QByteArrayView b)
{
    const auto* pa = reinterpret_cast<const unsigned char*>(a.data());
    const auto* pb = reinterpret_cast<const unsigned char*>(b.data());
    const auto* ea = pa + a.size();
    const auto* eb = pb + b.size();
    // Bytes that are the same fold the same: skip them (grouping compares many equal keys),
    // then step back to the start of the code point where the texts part.
    while (pa < ea && pb < eb && *pa == *pb) {
        ++pa;
        ++pb;
    }
    const auto* startA = reinterpret_cast<const unsigned char*>(a.data());
    auto continuation = [](const unsigned char* p, const unsigned char* end) { return p < end && (*p & 0xC0) == 0x80; };
    while (pa > startA && (continuation(pa, ea) || continuation(pb, eb))) {
        --pa;
        --pb;
    }
    // ASCII needs no decoding; the first non-ASCII byte switches to code points.
    while (pa < ea && pb < eb && *pa < 0x80 && *pb < 0x80) {
        const int ca = fold(*pa), cb = fold(*pb);
        if (ca != cb) return ca < cb ? -1 : 1;
        ++pa;
        ++pb;
    }
    while (pa < ea && pb < eb) {
        const char32_t ca = fold(decode(pa, ea));
        const char32_t cb = fold(decode(pb, eb));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (pa < ea) return 1;
    if (pb < eb) return -1;
    return 0;
}

QString foldedText(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        const char32_t f = fold(c);
        if (QChar::requiresSurrogates(f))
            out += QString::fromUcs4(&f, 1);
        else
            out += QChar(char16_t(f));
    }
    return out;
}

int compareDate(QByteArrayView a, QByteArrayView b)
{
    const auto da = readDate(a);
    const auto db = readDate(b);
    if (da && db) return *da < *db ? -1 : (*db < *da ? 1 : 0);
    if (da) return -1;
    if (db) return 1;
    return compareText(a, b);
}

int registerFunctions(sqlite3* db, FunctionFailure* failure)
{
    constexpr int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    struct Scalar {
        const char* name;
        int args;
        void (*fn)(sqlite3_context*, int, sqlite3_value**);
    };
    const Scalar scalars[] = {
        {"FORMAT", 1, fnFormat}, {"FORMAT", 2, fnFormat}, {"SWITCH", -1, fnSwitch},
        {"IIF", 3, fnIif}, {"ISNUMERIC", 1, fnIsNumeric}, {"ISDATE", 1, fnIsDate},
        {"CDBL", 1, fnCdbl}, {"CLNG", 1, fnClng}, {"CDATE", 1, fnCdate}, {"CSTR", 1, fnCstr},
        {"STR", 1, fnStr}, {"MID", 2, fnMid}, {"MID", 3, fnMid},
        {"TRIM", 1, fnTrim<true, true>}, {"LTRIM", 1, fnTrim<true, false>}, {"RTRIM", 1, fnTrim<false, true>},
        {"LEN", 1, fnLen}, {"UCASE", 1, fnCase<true>}, {"LCASE", 1, fnCase<false>},
        {"NZ", 1, fnNz}, {"NZ", 2, fnNz}, {"JETCAT", -1, fnJetCat},
        {"LIKE", 2, fnLike}, {"LIKE", 3, fnLike},
    };
    int rc = SQLITE_OK;
    auto keep = [&rc](int result) { rc = rc == SQLITE_OK ? result : rc; };
    for (const Scalar& s : scalars)
        keep(sqlite3_create_function_v2(db, s.name, s.args, flags, failure, s.fn, nullptr, nullptr, nullptr));
    keep(sqlite3_create_function_v2(db, "FIRST", 1, flags, failure, nullptr, aggStep<false>, aggFinal, nullptr));
    keep(sqlite3_create_function_v2(db, "LAST", 1, flags, failure, nullptr, aggStep<true>, aggFinal, nullptr));
    keep(sqlite3_create_collation_v2(db, "JETTEXT", SQLITE_UTF8, nullptr, collateText, nullptr));
    keep(sqlite3_create_collation_v2(db, "JETDATE", SQLITE_UTF8, nullptr, collateDate, nullptr));
    return rc;
}

}  // namespace belmo::db::jet
