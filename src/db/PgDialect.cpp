#include "db/PgDialect.h"

#include "db/JetDialect.h"

#include <QRegularExpression>

namespace belmo::db::pg {

using namespace Qt::Literals::StringLiterals;

namespace {

// ---- folding, reading numbers and dates --------------------------------------------------------
// fold is jet::foldedText on the server: ICU's Turkish lowering (the same on every server,
// whatever its locale) makes İ an i and I an ı, then ı and the letters whose case folding
// differs from their lower case (final sigma, long s, micro sign) are replaced (replace() costs
// less than translate()). A text of ASCII alone (as many bytes as letters: most codes) takes
// the plain lowering, at a seventh of the cost: a sort of a text column folds both sides of
// every comparison. Not strict, so that the server writes it into the expressions that call it.
const char* const kReaders = R"SQL(
CREATE OR REPLACE FUNCTION belmo.fold(text) RETURNS text LANGUAGE sql IMMUTABLE PARALLEL SAFE AS
$$ SELECT CASE WHEN octet_length($1) = length($1) THEN lower($1 COLLATE "C")
               ELSE replace(replace(replace(replace(lower($1 COLLATE "tr-x-icu"), 'ı', 'i'), 'ς', 'σ'), 'ſ', 's'), 'µ', 'μ')
                    COLLATE "C" END $$;

-- A number as CDbl reads text: sign or parentheses, thousands dots, one decimal comma, an
-- exponent. Null when the text is none.
CREATE OR REPLACE FUNCTION belmo.tonumber(t text) RETURNS double precision LANGUAGE plpgsql IMMUTABLE STRICT PARALLEL SAFE AS
$$
DECLARE
    s text := btrim(t);
    negative boolean := false;
BEGIN
    IF s ~ '^\(.*\)$' THEN
        s := btrim(substr(s, 2, length(s) - 2));
        negative := true;
    END IF;
    IF s !~ '^[+-]?[0-9.]*(,[0-9]*)?([eE][+-]?[0-9]+)?$' OR s !~ '[0-9]' OR s ~ '^[+-]?[.,]*[eE]' THEN
        RETURN NULL;
    END IF;
    s := replace(replace(s, '.', ''), ',', '.');
    IF s ~ '^[+-]?\.' THEN s := regexp_replace(s, '^([+-]?)\.', '\10.'); END IF;
    RETURN CASE WHEN negative THEN -s::double precision ELSE s::double precision END;
END
$$;

-- A date as the file engine reads one: yyyy-mm-dd or dd.mm.yyyy (also with / or -, two-digit
-- years 00-29 in the 2000s), each with an optional time. Null when the text is none.
CREATE OR REPLACE FUNCTION belmo.todate(t text) RETURNS timestamp LANGUAGE plpgsql IMMUTABLE STRICT PARALLEL SAFE AS
$$
DECLARE
    m text[] := regexp_match(t, '^\s*(\d{1,4})([-./])(\d{1,2})\2(\d{1,4})(?:[ T]+(\d{1,2}):(\d{1,2})(?::(\d{1,2})(?:\.\d*)?)?)?\s*$');
    y int; mo int; d int;
BEGIN
    IF m IS NULL THEN RETURN NULL; END IF;
    mo := m[3]::int;
    IF length(m[1]) = 4 THEN
        y := m[1]::int; d := m[4]::int;
    ELSE
        d := m[1]::int; y := m[4]::int;
        IF length(m[4]) <= 2 THEN y := y + CASE WHEN y < 30 THEN 2000 ELSE 1900 END; END IF;
    END IF;
    IF mo NOT BETWEEN 1 AND 12 OR d < 1 OR d > extract(day FROM make_date(y, mo, 1) + interval '1 month - 1 day') THEN
        RETURN NULL;
    END IF;
    RETURN make_timestamp(y, mo, d, coalesce(m[5]::int, 0), coalesce(m[6]::int, 0), coalesce(m[7]::int, 0));
END
$$;

CREATE OR REPLACE FUNCTION belmo.fromserial(double precision) RETURNS timestamp LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS
$$ SELECT timestamp '1899-12-30' + $1 * interval '1 day' $$;
CREATE OR REPLACE FUNCTION belmo.toserial(timestamp) RETURNS double precision LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS
$$ SELECT extract(epoch FROM $1 - timestamp '1899-12-30')::double precision / 86400 $$;
)SQL";

// ---- the text type -----------------------------------------------------------------------------
// The server's own text, in and out, under another name: what tells the server to compare it
// as the file engine compares texts.
const char* const kTextType = R"SQL(
DO $install$
BEGIN
    IF to_regtype('belmo.metin') IS NOT NULL THEN RETURN; END IF;
    PERFORM set_config('client_min_messages', 'warning', true);  -- not a word of the shell type
    CREATE TYPE belmo.metin;
    CREATE FUNCTION belmo.metin_in(cstring) RETURNS belmo.metin LANGUAGE internal IMMUTABLE STRICT PARALLEL SAFE AS 'textin';
    CREATE FUNCTION belmo.metin_out(belmo.metin) RETURNS cstring LANGUAGE internal IMMUTABLE STRICT PARALLEL SAFE AS 'textout';
    CREATE FUNCTION belmo.metin_recv(internal) RETURNS belmo.metin LANGUAGE internal STABLE STRICT PARALLEL SAFE AS 'textrecv';
    CREATE FUNCTION belmo.metin_send(belmo.metin) RETURNS bytea LANGUAGE internal STABLE STRICT PARALLEL SAFE AS 'textsend';
    CREATE TYPE belmo.metin (INPUT = belmo.metin_in, OUTPUT = belmo.metin_out, RECEIVE = belmo.metin_recv,
                             SEND = belmo.metin_send, LIKE = text, CATEGORY = 'S');
    CREATE CAST (belmo.metin AS text) WITHOUT FUNCTION AS IMPLICIT;
    CREATE CAST (text AS belmo.metin) WITHOUT FUNCTION AS IMPLICIT;
END
$install$;

CREATE OR REPLACE FUNCTION belmo.metin_cmp(belmo.metin, belmo.metin) RETURNS integer LANGUAGE plpgsql IMMUTABLE STRICT PARALLEL SAFE AS
$$ BEGIN RETURN bttextcmp(belmo.fold($1::text) COLLATE "C", belmo.fold($2::text) COLLATE "C"); END $$;
CREATE OR REPLACE FUNCTION belmo.metin_hash(belmo.metin) RETURNS integer LANGUAGE plpgsql IMMUTABLE STRICT PARALLEL SAFE AS
$$ BEGIN RETURN hashtext(belmo.fold($1::text) COLLATE "C"); END $$;
)SQL";

// The equality of two metin values, which grouping, DISTINCT and hash joins call once a row
// through the function manager: there a plpgsql body costs a third of a SQL one, and texts
// equal byte for byte (most rows of a group) are told without folding. In a condition the
// difference to an inlined body is small.
const char* const kMetinEquality = R"SQL(
CREATE OR REPLACE FUNCTION belmo.metin_eq(belmo.metin, belmo.metin) RETURNS boolean LANGUAGE plpgsql IMMUTABLE STRICT PARALLEL SAFE AS
$$ BEGIN RETURN $1::text = $2::text COLLATE "C" OR belmo.fold($1::text) COLLATE "C" = belmo.fold($2::text) COLLATE "C"; END $$
)SQL";

struct Comparison {
    const char* op;
    const char* name;
    const char* commutator;
    const char* negator;
    const char* restrict;
    const char* join;
};
constexpr Comparison kComparisons[] = {
    {"=", "eq", "=", "<>", "eqsel", "eqjoinsel"},           {"<>", "ne", "<>", "=", "neqsel", "neqjoinsel"},
    {"<", "lt", ">", ">=", "scalarltsel", "scalarltjoinsel"}, {"<=", "le", ">=", ">", "scalarlesel", "scalarlejoinsel"},
    {">", "gt", "<", "<=", "scalargtsel", "scalargtjoinsel"}, {">=", "ge", "<=", "<", "scalargesel", "scalargejoinsel"},
};

// The comparison functions of two operand types, each written with `read` turning an operand
// ($1 or $2, of its type) into what is compared; and the operators on them. The functions are
// not strict, as fold is not: the server then writes their bodies into the statements.
struct OperandPair {
    const char* left;
    const char* right;
    const char* tag;  // in the functions' names
    QString (*read)(const char* operand, const char* type);
};

QString readText(const char* operand, const char*) { return u"belmo.fold(%1::text) COLLATE \"C\""_s.arg(QLatin1String(operand)); }
QString readDate(const char* operand, const char* type)
{
    const QString o = QLatin1String(operand);
    return QLatin1String(type) == "text"_L1 ? u"belmo.todate(%1)"_s.arg(o) : o;
}

constexpr OperandPair kOperandPairs[] = {
    {"belmo.metin", "belmo.metin", "metin", readText},
    {"belmo.metin", "text", "metin_text", readText},
    {"text", "belmo.metin", "text_metin", readText},
    {"timestamp", "text", "date_text", readDate},
    {"text", "timestamp", "text_date", readDate},
};

QStringList comparisonStatements()
{
    QStringList functions, operators;
    for (const OperandPair& p : kOperandPairs) {
        const bool sameType = QLatin1String(p.left) == QLatin1String(p.right);
        for (const Comparison& c : kComparisons) {
            const QString fn = u"belmo.%1_%2"_s.arg(QLatin1String(p.tag), QLatin1String(c.name));
            const bool hashing = sameType && QLatin1String(c.op) == "="_L1;
            if (hashing && QLatin1String(p.tag) == "metin"_L1) functions << QString::fromUtf8(kMetinEquality).trimmed();
            else functions << u"CREATE OR REPLACE FUNCTION %1(%2, %3) RETURNS boolean LANGUAGE sql IMMUTABLE PARALLEL SAFE "
                         "AS $$ SELECT %4 OPERATOR(pg_catalog.%5) %6 $$"_s
                             .arg(fn, QLatin1String(p.left), QLatin1String(p.right), p.read("$1", p.left), QLatin1String(c.op),
                                  p.read("$2", p.right));
            const QString hashes = hashing ? u", HASHES, MERGES"_s : QString();
            operators << u"CREATE OPERATOR belmo.%1 (LEFTARG = %2, RIGHTARG = %3, FUNCTION = %4, "
                         "COMMUTATOR = OPERATOR(belmo.%5), NEGATOR = OPERATOR(belmo.%6), RESTRICT = %7, JOIN = %8%9);"_s
                             .arg(QLatin1String(c.op), QLatin1String(p.left), QLatin1String(p.right), fn,
                                  QLatin1String(c.commutator), QLatin1String(c.negator), QLatin1String(c.restrict),
                                  QLatin1String(c.join), hashes);
        }
    }
    // LIKE folds both sides of any two texts (belmo comes before pg_catalog in a session's
    // search_path); a backslash in the pattern is a letter, as on a file.
    for (const char* type : {"belmo.metin", "text"}) {
        for (const char* like : {"like", "notlike"})
            functions << u"CREATE OR REPLACE FUNCTION belmo.%1(%2, text) RETURNS boolean LANGUAGE sql IMMUTABLE "
                         "PARALLEL SAFE AS $$ SELECT belmo.fold($1::text) OPERATOR(pg_catalog.%3) like_escape(belmo.fold($2), '') $$"_s
                             .arg(QLatin1String(like), QLatin1String(type), QLatin1String(like[0] == 'l' ? "~~" : "!~~"));
        operators << u"CREATE OPERATOR belmo.~~ (LEFTARG = %1, RIGHTARG = text, FUNCTION = belmo.like, "
                     "NEGATOR = OPERATOR(belmo.!~~), RESTRICT = likesel, JOIN = likejoinsel); "
                     "CREATE OPERATOR belmo.!~~ (LEFTARG = %1, RIGHTARG = text, FUNCTION = belmo.notlike, "
                     "NEGATOR = OPERATOR(belmo.~~), RESTRICT = nlikesel, JOIN = nlikejoinsel);"_s
                         .arg(QLatin1String(type));
    }
    operators << uR"(CREATE OPERATOR CLASS belmo.metin_ops DEFAULT FOR TYPE belmo.metin USING btree AS
            OPERATOR 1 belmo.< , OPERATOR 2 belmo.<= , OPERATOR 3 belmo.= , OPERATOR 4 belmo.>= , OPERATOR 5 belmo.> ,
            FUNCTION 1 belmo.metin_cmp(belmo.metin, belmo.metin);
        CREATE OPERATOR CLASS belmo.metin_hash_ops DEFAULT FOR TYPE belmo.metin USING hash AS
            OPERATOR 1 belmo.= , FUNCTION 1 belmo.metin_hash(belmo.metin);)"_s;
    // Operators cannot be replaced: they are made once, with the operator classes that end them.
    const QString made = u"EXISTS (SELECT FROM pg_opclass c JOIN pg_namespace n ON n.oid = c.opcnamespace "
                         "WHERE n.nspname = 'belmo' AND c.opcname = 'metin_ops')"_s;
    return functions << u"DO $install$ BEGIN\nIF %1 THEN RETURN; END IF;\n"_s.arg(made) + operators.join(u'\n')
               + u"\nEND $install$"_s;
}

// ---- the Access functions ----------------------------------------------------------------------
// Each in the forms its operands take on the server: text (and belmo.metin through the cast),
// double precision (every number through the server's implicit casts) and timestamp.
const char* const kFunctions = R"SQL(
-- CStr and Str print a number with fifteen significant digits, as the file engine does.
CREATE OR REPLACE FUNCTION belmo.numbertext(double precision) RETURNS text LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS
$$ SELECT trim_scale($1::numeric)::text $$;
CREATE OR REPLACE FUNCTION belmo.cstr(text) RETURNS text LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT $1 $$;
CREATE OR REPLACE FUNCTION belmo.cstr(double precision) RETURNS text LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS
$$ SELECT replace(belmo.numbertext($1), '.', ',') $$;
CREATE OR REPLACE FUNCTION belmo.cstr(timestamp) RETURNS text LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS
$$ SELECT CASE WHEN $1::time = '00:00' THEN to_char($1, 'DD.MM.YYYY')
               WHEN $1::date = date '1899-12-30' THEN to_char($1, 'HH24:MI:SS')
               ELSE to_char($1, 'DD.MM.YYYY HH24:MI:SS') END $$;
-- The & operator: each operand as CStr gives it, Null as Null; belmo.jetcat joins them.
CREATE OR REPLACE FUNCTION belmo.jettext(text) RETURNS text LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT $1 $$;
CREATE OR REPLACE FUNCTION belmo.jettext(double precision) RETURNS text LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT belmo.cstr($1) $$;
CREATE OR REPLACE FUNCTION belmo.jettext(timestamp) RETURNS text LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT belmo.cstr($1) $$;
CREATE OR REPLACE FUNCTION belmo.jetcat(VARIADIC text[]) RETURNS text LANGUAGE sql IMMUTABLE PARALLEL SAFE AS
$$ SELECT CASE WHEN EXISTS (SELECT FROM unnest($1) v WHERE v IS NOT NULL) THEN array_to_string($1, '') END $$;

CREATE OR REPLACE FUNCTION belmo.str(double precision) RETURNS text LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS
$$ SELECT CASE WHEN $1 < 0 THEN '-' ELSE ' ' END || regexp_replace(belmo.numbertext(abs($1)), '^0\.', '.') $$;

CREATE OR REPLACE FUNCTION belmo.cdbl(double precision) RETURNS double precision LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT $1 $$;
CREATE OR REPLACE FUNCTION belmo.cdbl(timestamp) RETURNS double precision LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT belmo.toserial($1) $$;
CREATE OR REPLACE FUNCTION belmo.cdbl(text) RETURNS double precision LANGUAGE plpgsql IMMUTABLE STRICT PARALLEL SAFE AS
$$
DECLARE n double precision := coalesce(belmo.tonumber($1), belmo.toserial(belmo.todate($1)));
BEGIN
    IF n IS NULL THEN RAISE EXCEPTION 'Type mismatch' USING ERRCODE = '22018'; END IF;
    RETURN n;
END
$$;
-- CLng rounds half to even, as the server rounds a double.
CREATE OR REPLACE FUNCTION belmo.clng(double precision) RETURNS integer LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT round($1)::integer $$;
CREATE OR REPLACE FUNCTION belmo.clng(text) RETURNS integer LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT belmo.clng(belmo.cdbl($1)) $$;
CREATE OR REPLACE FUNCTION belmo.cdate(timestamp) RETURNS timestamp LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT $1 $$;
CREATE OR REPLACE FUNCTION belmo.cdate(double precision) RETURNS timestamp LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT belmo.fromserial($1) $$;
CREATE OR REPLACE FUNCTION belmo.cdate(text) RETURNS timestamp LANGUAGE plpgsql IMMUTABLE STRICT PARALLEL SAFE AS
$$
DECLARE d timestamp := coalesce(belmo.todate($1), belmo.fromserial(belmo.tonumber($1)));
BEGIN
    IF d IS NULL THEN RAISE EXCEPTION 'Type mismatch' USING ERRCODE = '22018'; END IF;
    RETURN d;
END
$$;
CREATE OR REPLACE FUNCTION belmo.isnumeric(text) RETURNS integer LANGUAGE sql IMMUTABLE PARALLEL SAFE AS
$$ SELECT CASE WHEN belmo.tonumber($1) IS NULL THEN 0 ELSE -1 END $$;
CREATE OR REPLACE FUNCTION belmo.isnumeric(double precision) RETURNS integer LANGUAGE sql IMMUTABLE PARALLEL SAFE AS
$$ SELECT CASE WHEN $1 IS NULL THEN 0 ELSE -1 END $$;
CREATE OR REPLACE FUNCTION belmo.isnumeric(timestamp) RETURNS integer LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT 0 $$;
CREATE OR REPLACE FUNCTION belmo.isdate(text) RETURNS integer LANGUAGE sql IMMUTABLE PARALLEL SAFE AS
$$ SELECT CASE WHEN belmo.todate($1) IS NULL THEN 0 ELSE -1 END $$;
CREATE OR REPLACE FUNCTION belmo.isdate(double precision) RETURNS integer LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT 0 $$;
CREATE OR REPLACE FUNCTION belmo.isdate(timestamp) RETURNS integer LANGUAGE sql IMMUTABLE PARALLEL SAFE AS
$$ SELECT CASE WHEN $1 IS NULL THEN 0 ELSE -1 END $$;

-- Text functions: Trim takes blanks only, Mid counts from 1.
CREATE OR REPLACE FUNCTION belmo.trim(text) RETURNS text LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT btrim($1, ' ') $$;
CREATE OR REPLACE FUNCTION belmo.ltrim(text) RETURNS text LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT pg_catalog.ltrim($1, ' ') $$;
CREATE OR REPLACE FUNCTION belmo.rtrim(text) RETURNS text LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT pg_catalog.rtrim($1, ' ') $$;
-- A number or a date is trimmed as the text CStr gives it.
CREATE OR REPLACE FUNCTION belmo.trim(double precision) RETURNS text LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT belmo.cstr($1) $$;
CREATE OR REPLACE FUNCTION belmo.ltrim(double precision) RETURNS text LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT belmo.cstr($1) $$;
CREATE OR REPLACE FUNCTION belmo.rtrim(double precision) RETURNS text LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT belmo.cstr($1) $$;
CREATE OR REPLACE FUNCTION belmo.trim(timestamp) RETURNS text LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT belmo.cstr($1) $$;
CREATE OR REPLACE FUNCTION belmo.ltrim(timestamp) RETURNS text LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT belmo.cstr($1) $$;
CREATE OR REPLACE FUNCTION belmo.rtrim(timestamp) RETURNS text LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT belmo.cstr($1) $$;
CREATE OR REPLACE FUNCTION belmo.len(text) RETURNS integer LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT length($1) $$;
CREATE OR REPLACE FUNCTION belmo.ucase(text) RETURNS text LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT upper($1 COLLATE "und-x-icu") $$;
CREATE OR REPLACE FUNCTION belmo.lcase(text) RETURNS text LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT lower($1 COLLATE "und-x-icu") $$;
CREATE OR REPLACE FUNCTION belmo.mid(text, double precision, double precision) RETURNS text LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS
$$
BEGIN
    IF $1 IS NULL THEN RETURN NULL; END IF;
    IF belmo.clng($2) < 1 OR belmo.clng($3) < 0 THEN RAISE EXCEPTION 'MID: invalid start or length' USING ERRCODE = '22023'; END IF;
    RETURN CASE WHEN $3 IS NULL THEN substr($1, belmo.clng($2)) ELSE substr($1, belmo.clng($2), belmo.clng($3)) END;
END
$$;
CREATE OR REPLACE FUNCTION belmo.mid(text, double precision) RETURNS text LANGUAGE sql IMMUTABLE PARALLEL SAFE AS
$$ SELECT belmo.mid($1, $2, NULL::double precision) $$;
CREATE OR REPLACE FUNCTION belmo.nz(text) RETURNS text LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT coalesce($1, '') $$;
CREATE OR REPLACE FUNCTION belmo.nz(double precision) RETURNS double precision LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT coalesce($1, 0) $$;
CREATE OR REPLACE FUNCTION belmo.nz(anycompatible, anycompatible) RETURNS anycompatible LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT coalesce($1, $2) $$;

-- First and Last take the value of the first and the last row, Null included.
CREATE OR REPLACE FUNCTION belmo.first_step(anyarray, anyelement) RETURNS anyarray LANGUAGE sql IMMUTABLE PARALLEL SAFE AS
$$ SELECT coalesce($1, ARRAY[$2]) $$;
CREATE OR REPLACE FUNCTION belmo.first_final(anyarray) RETURNS anyelement LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT $1[1] $$;
CREATE OR REPLACE FUNCTION belmo.last_step(anyelement, anyelement) RETURNS anyelement LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT $2 $$;
CREATE OR REPLACE AGGREGATE belmo.first(anyelement) (SFUNC = belmo.first_step, STYPE = anyarray, FINALFUNC = belmo.first_final);
CREATE OR REPLACE AGGREGATE belmo.last(anyelement) (SFUNC = belmo.last_step, STYPE = anyelement);

-- Format: number patterns (# and 0 placeholders, thousands comma, decimal point; shown with the
-- Turkish thousands dot and decimal comma) and date patterns (d, m, yy, yyyy, h, n, s).
CREATE OR REPLACE FUNCTION belmo.format_number(v double precision, pattern text) RETURNS text LANGUAGE plpgsql IMMUTABLE STRICT PARALLEL SAFE AS
$$
DECLARE
    section text := split_part(pattern, ';', 1);
    point int := position('.' IN section);
    whole text := CASE WHEN point > 0 THEN left(section, point - 1) ELSE section END;
    fraction text := CASE WHEN point > 0 THEN regexp_replace(substr(section, point + 1), '[^#0]', '', 'g') ELSE '' END;
    grouping boolean := whole ~ '[#0],+[#0]';
    min_int int := length(regexp_replace(coalesce(substring(whole FROM '0[#0,]*$'), ''), '[^#0]', '', 'g'));
    max_dec int := length(fraction);
    min_dec int := length(rtrim(fraction, '#'));
    r numeric := round(abs(v)::numeric, max_dec);
    digits text := CASE WHEN trunc(r) = 0 THEN '' ELSE trunc(r)::text END;
    decimals text := rtrim(split_part(r::text, '.', 2), '0');
    shown text;
BEGIN
    decimals := rpad(decimals, greatest(min_dec, length(decimals)), '0');
    digits := lpad(digits, greatest(min_int, length(digits)), '0');
    IF grouping THEN
        shown := reverse(regexp_replace(reverse(digits), '(\d{3})(?=\d)', '\1.', 'g'));
    ELSE
        shown := digits;
    END IF;
    IF max_dec > 0 THEN shown := shown || ',' || decimals; END IF;
    IF v < 0 AND r <> 0 THEN shown := '-' || shown; END IF;
    RETURN shown;
END
$$;
CREATE OR REPLACE FUNCTION belmo.format_date(v timestamp, pattern text) RETURNS text LANGUAGE plpgsql IMMUTABLE STRICT PARALLEL SAFE AS
$$
DECLARE
    shown text := '';
    run text;
    c text;
    after_hour boolean := false;
BEGIN
    FOR run IN SELECT m[1] FROM regexp_matches(pattern, '(d+|m+|y+|h+|n+|s+|[^dmyhns])', 'gi') AS m LOOP
        c := lower(left(run, 1));
        shown := shown || CASE
            WHEN c = 'd' AND length(run) = 1 THEN to_char(v, 'FMDD')
            WHEN c = 'd' THEN to_char(v, 'DD')
            WHEN c = 'm' AND after_hour THEN to_char(v, CASE WHEN length(run) = 1 THEN 'FMMI' ELSE 'MI' END)
            WHEN c = 'm' AND length(run) = 1 THEN to_char(v, 'FMMM')
            WHEN c = 'm' THEN to_char(v, 'MM')
            WHEN c = 'y' AND length(run) <= 2 THEN to_char(v, 'YY')
            WHEN c = 'y' THEN to_char(v, 'YYYY')
            WHEN c = 'h' THEN to_char(v, CASE WHEN length(run) = 1 THEN 'FMHH24' ELSE 'HH24' END)
            WHEN c = 'n' THEN to_char(v, CASE WHEN length(run) = 1 THEN 'FMMI' ELSE 'MI' END)
            WHEN c = 's' THEN to_char(v, CASE WHEN length(run) = 1 THEN 'FMSS' ELSE 'SS' END)
            ELSE run END;
        IF c = 'h' THEN after_hour := true; ELSIF c IN ('d', 'y') THEN after_hour := false; END IF;
    END LOOP;
    RETURN shown;
END
$$;
CREATE OR REPLACE FUNCTION belmo.datepattern(text) RETURNS boolean LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS
$$ SELECT $1 !~ '[#0]' AND $1 ~* '[dmyhns]' $$;
CREATE OR REPLACE FUNCTION belmo.format(double precision, text DEFAULT '') RETURNS text LANGUAGE sql IMMUTABLE PARALLEL SAFE AS
$$ SELECT CASE WHEN $1 IS NULL THEN NULL WHEN coalesce($2, '') = '' THEN belmo.cstr($1)
               WHEN belmo.datepattern($2) THEN belmo.format_date(belmo.fromserial($1), $2)
               WHEN $2 ~ '[#0]' THEN belmo.format_number($1, $2) ELSE belmo.cstr($1) END $$;
CREATE OR REPLACE FUNCTION belmo.format(timestamp, text DEFAULT '') RETURNS text LANGUAGE sql IMMUTABLE PARALLEL SAFE AS
$$ SELECT CASE WHEN $1 IS NULL THEN NULL WHEN coalesce($2, '') = '' THEN belmo.cstr($1)
               WHEN belmo.datepattern($2) THEN belmo.format_date($1, $2)
               WHEN $2 ~ '[#0]' THEN belmo.format_number(belmo.toserial($1), $2) ELSE belmo.cstr($1) END $$;
CREATE OR REPLACE FUNCTION belmo.format(text, text DEFAULT '') RETURNS text LANGUAGE sql IMMUTABLE PARALLEL SAFE AS
$$ SELECT CASE WHEN $1 IS NULL THEN NULL WHEN coalesce($2, '') = '' THEN $1
               WHEN belmo.datepattern($2) THEN coalesce(belmo.format_date(coalesce(belmo.todate($1), belmo.fromserial(belmo.tonumber($1))), $2), $1)
               WHEN $2 ~ '[#0]' THEN coalesce(belmo.format_number(coalesce(belmo.tonumber($1), belmo.toserial(belmo.todate($1))), $2), $1)
               ELSE $1 END $$;
)SQL";

// The value types of IIF and SWITCH: a text with a number gives text, as the file engine's
// variant does when it is shown.
constexpr const char* kValueTypes[] = {"text", "double precision", "timestamp"};

// IIF takes a condition that is a comparison (boolean) or a number (True is any but 0); a Null
// condition takes the else value. SWITCH takes up to 8 pairs of comparison and value.
QStringList choiceStatements()
{
    QStringList out;
    const QList<std::pair<QString, QString>> pairs = [] {
        QList<std::pair<QString, QString>> p;
        for (const char* t : kValueTypes) p.append({QLatin1String(t), QLatin1String(t)});
        p.append({u"text"_s, u"double precision"_s});
        p.append({u"double precision"_s, u"text"_s});
        return p;
    }();
    for (const auto& [a, b] : pairs) {
        const QString result = a == b ? a : u"text"_s;
        const QString then = a == result ? u"$2"_s : u"belmo.cstr($2)"_s;
        const QString otherwise = b == result ? u"$3"_s : u"belmo.cstr($3)"_s;
        out << u"CREATE OR REPLACE FUNCTION belmo.iif(boolean, %1, %2) RETURNS %3 LANGUAGE sql IMMUTABLE PARALLEL SAFE "
               "AS $$ SELECT CASE WHEN $1 THEN %4 ELSE %5 END $$"_s.arg(a, b, result, then, otherwise);
        out << u"CREATE OR REPLACE FUNCTION belmo.iif(double precision, %1, %2) RETURNS %3 LANGUAGE sql IMMUTABLE PARALLEL SAFE "
               "AS $$ SELECT CASE WHEN $1 <> 0 THEN %4 ELSE %5 END $$"_s.arg(a, b, result, then, otherwise);
    }
    for (const char* type : kValueTypes) {
        QStringList args, whens;
        for (int n = 1; n <= 8; ++n) {
            args << u"boolean"_s << QLatin1String(type);
            whens << u"WHEN $%1 THEN $%2"_s.arg(2 * n - 1).arg(2 * n);
            out << u"CREATE OR REPLACE FUNCTION belmo.switch(%1) RETURNS %2 LANGUAGE sql IMMUTABLE PARALLEL SAFE "
                   "AS $$ SELECT CASE %3 END $$"_s.arg(args.join(u", "), QLatin1String(type), whens.join(u' '));
        }
    }
    return out;
}

// The statements of a script above, one by one (the server takes one per call): each starts a
// line with CREATE, DO or a comment; the lines of a function's body never do.
QStringList statementsOf(const char* script)
{
    static const QRegularExpression end(u";\\s*\\n(?=CREATE|DO|--)"_s);
    QStringList out = QString::fromUtf8(script).trimmed().split(end, Qt::SkipEmptyParts);
    if (!out.isEmpty() && out.last().endsWith(u';')) out.last().chop(1);
    return out;
}

}  // namespace

QStringList installStatements()
{
    QStringList out{u"CREATE SCHEMA IF NOT EXISTS belmo"_s};
    out << statementsOf(kReaders) << statementsOf(kTextType) << comparisonStatements() << statementsOf(kFunctions)
        << choiceStatements();
    out << u"CREATE OR REPLACE FUNCTION belmo.version() RETURNS integer LANGUAGE sql IMMUTABLE AS $$ SELECT %1 $$"_s.arg(
        kDialectVersion);
    return out;
}

QStringList sessionStatements()
{
    return {u"SET search_path = public, belmo, pg_catalog"_s, u"SET datestyle = 'ISO, DMY'"_s,
            u"SET standard_conforming_strings = on"_s,
            // Grouping the movements of a large company by account fits in memory, rather than
            // being sorted by the text comparison, which costs a function call every time.
            u"SET work_mem = '64MB'"_s};
}

QString declaration(schema::Kind kind)
{
    switch (kind) {
    case schema::Kind::AutoNumber: return u"integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY"_s;
    case schema::Kind::Long: return u"integer DEFAULT 0"_s;
    case schema::Kind::Short: return u"smallint DEFAULT 0"_s;
    case schema::Kind::Double: return u"double precision DEFAULT 0"_s;
    case schema::Kind::Text: return u"belmo.metin"_s;
    case schema::Kind::Date: return u"timestamp"_s;
    }
    return {};
}

QStringList createStatements(const schema::Table& table) { return schema::createStatements(table, jet::Target::Server); }

QString rewrite(QStringView accessSql) { return jet::rewrite(accessSql, jet::Target::Server); }

}  // namespace belmo::db::pg
