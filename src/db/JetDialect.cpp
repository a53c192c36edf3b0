#include "db/JetDialect.h"

#include "db/DbError.h"
#include "db/Schema.h"
#include "db/VbConvert.h"

#include <cmath>

#include <QSet>

namespace belmo::db::jet {

namespace {

bool isWordStart(QChar c) { return c.isLetter() || c == u'_'; }
bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'$'; }

// Keywords that end the operand of an operator: nothing binds across them.
const QSet<QString>& boundaryWords()
{
    static const QSet<QString> words = [] {
        QSet<QString> set;
        for (const char* w : {"SELECT", "DISTINCT", "DISTINCTROW", "ALL", "FROM", "WHERE", "GROUP", "BY",
                              "ORDER", "HAVING", "AS", "ON", "AND", "OR", "NOT", "IN", "IS", "LIKE", "BETWEEN",
                              "UNION", "INTERSECT", "EXCEPT", "JOIN", "INNER", "LEFT", "RIGHT", "OUTER", "FULL",
                              "CROSS", "CASE", "WHEN", "THEN", "ELSE", "END", "ASC", "DESC", "SET", "VALUES",
                              "INTO", "UPDATE", "DELETE", "INSERT", "LIMIT", "OFFSET", "ESCAPE", "EXISTS", "TOP",
                              "WITH", "CREATE", "VIEW", "TABLE", "DROP", "INDEX"})
            set.insert(QString::fromLatin1(w));
        return set;
    }();
    return words;
}

bool isComparison(const QString& op)
{
    return op == u"=" || op == u"==" || op == u"<>" || op == u"!=" || op == u"<" || op == u">"
        || op == u"<=" || op == u">=";
}

// The Access functions the steps call; on a server each is one of schema belmo.
const QSet<QString>& accessFunctions()
{
    static const QSet<QString> names = [] {
        QSet<QString> set;
        for (const char* f : {"FORMAT", "SWITCH", "IIF", "CDBL", "CDATE", "CSTR", "CLNG", "STR", "MID", "TRIM",
                              "LTRIM", "RTRIM", "LEN", "UCASE", "LCASE", "NZ", "ISNUMERIC", "ISDATE", "FIRST",
                              "LAST"})
            set.insert(QString::fromLatin1(f));
        return set;
    }();
    return names;
}

// A quoted or bracketed name as the server knows it: the server folds an unquoted name's
// ASCII letters to lower case, and the tables are made with those names.
QString serverName(const Token& tok)
{
    QString name = tok.text.mid(1, tok.text.size() - 2);
    for (QChar& c : name)
        if (c.unicode() < 0x80) c = c.toLower();
    name.replace(u'"', QStringLiteral("\"\""));
    return u'"' + name + u'"';
}

// The index of the next token in direction `step` that is not blank space; out of range when
// there is none.
qsizetype nextToken(const QList<Token>& t, qsizetype i, int step = 1)
{
    do i += step;
    while (i >= 0 && i < t.size() && t[i].kind == Token::Space);
    return i;
}

// What a server statement takes in place of the file forms of names, functions and the '?'
// of bound values. String literals are single tokens: nothing inside them changes.
void toServerTokens(QList<Token>& t)
{
    int parameter = 0;
    auto neighbour = [&](qsizetype i, int step) {
        const qsizetype n = nextToken(t, i, step);
        return n >= 0 && n < t.size() ? &t[n] : nullptr;
    };
    for (qsizetype i = 0; i < t.size(); ++i) {
        Token& tok = t[i];
        if (tok.kind == Token::Other && tok.text == u"?") {
            tok.text = u'$' + QString::number(++parameter);
        } else if (tok.kind == Token::Word && tok.text.compare(u"IS", Qt::CaseInsensitive) == 0) {
            // A file's "IS ?" is equality that takes two Nulls as equal.
            const Token* after = neighbour(i, 1);
            if (after && after->kind == Token::Other && after->text == u"?") tok.text = QStringLiteral("IS NOT DISTINCT FROM");
        } else if (tok.kind == Token::QuotedName) {
            tok.text = serverName(tok);
        } else if (tok.kind == Token::Word && (tok.text.compare(u"temp", Qt::CaseInsensitive) == 0 ||
                                               tok.text.compare(u"main", Qt::CaseInsensitive) == 0)) {
            // A file's own schemas: its temporary objects, and the file itself.
            const Token* after = neighbour(i, 1);
            const bool temp = tok.text.compare(u"temp", Qt::CaseInsensitive) == 0;
            if (after && after->kind == Token::Other && after->text == u".")
                tok.text = temp ? QStringLiteral("pg_temp") : QStringLiteral("public");
        } else if (tok.kind == Token::Word && accessFunctions().contains(tok.text.toUpper())) {
            const Token* before = neighbour(i, -1);
            const Token* after = neighbour(i, 1);
            const bool qualified = before && before->kind == Token::Other && before->text == u".";
            if (!qualified && after && after->kind == Token::LParen) tok.text = QStringLiteral("belmo.") + tok.text.toLower();
        }
    }
}

bool isWord(const Token& t, QStringView w) { return t.kind == Token::Word && t.text.compare(w, Qt::CaseInsensitive) == 0; }

// A file sorts Nulls before every value and the server after them: each ORDER BY term on the
// server says where they go, first going up and last going down, as on a file.
void nullsAsOnFiles(QList<Token>& t)
{
    auto nextWord = [&](qsizetype i) { return nextToken(t, i); };
    for (qsizetype i = 0; i < t.size(); ++i) {
        const qsizetype by = nextWord(i);
        if (!isWord(t[i], u"ORDER") || by >= t.size() || !isWord(t[by], u"BY")) continue;
        qsizetype last = -1;
        auto place = [&]() -> qsizetype {
            if (last < 0) return 0;
            const QString where = isWord(t[last], u"DESC") ? QStringLiteral("LAST") : QStringLiteral("FIRST");
            const Token added[] = {{Token::Space, QStringLiteral(" "), -1}, {Token::Word, QStringLiteral("NULLS"), -1},
                                   {Token::Space, QStringLiteral(" "), -1}, {Token::Word, where, -1}};
            for (qsizetype n = 0; n < 4; ++n) t.insert(last + 1 + n, added[n]);
            last = -1;
            return 4;
        };
        int depth = 0;
        qsizetype k = by + 1;
        for (; k < t.size(); ++k) {
            const Token& tok = t[k];
            if (tok.kind == Token::LParen) ++depth;
            else if (tok.kind == Token::RParen && depth-- == 0) break;
            if (depth == 0 && tok.kind == Token::Comma) {
                k += place();
                continue;
            }
            if (depth == 0 && (tok.text == u";" || isWord(tok, u"LIMIT") || isWord(tok, u"OFFSET") || isWord(tok, u"UNION")
                               || isWord(tok, u"INTERSECT") || isWord(tok, u"EXCEPT")))
                break;
            if (tok.kind != Token::Space) last = k;
        }
        place();
        i = k;
    }
}

// A file sorts a UNION by a table's column as the first select names it (ORDER BY
// Kayit.Tarih); the server sorts a UNION by its output columns only: the sort's names lose
// their table.
void unionSortsByOutputNames(QList<Token>& t)
{
    int depth = 0;
    qsizetype unionAt = -1, orderAt = -1;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t[i].kind == Token::LParen) ++depth;
        else if (t[i].kind == Token::RParen) --depth;
        else if (depth == 0 && isWord(t[i], u"UNION")) unionAt = i;
        else if (depth == 0 && unionAt >= 0 && isWord(t[i], u"ORDER")) orderAt = i;
    }
    if (orderAt < 0) return;
    depth = 0;
    for (qsizetype i = orderAt; i + 2 < t.size(); ++i) {
        if (t[i].kind == Token::LParen) ++depth;
        else if (t[i].kind == Token::RParen) --depth;
        const bool qualified = depth == 0 && (t[i].kind == Token::Word || t[i].kind == Token::QuotedName)
                               && t[i + 1].kind == Token::Other && t[i + 1].text == u"."
                               && (t[i + 2].kind == Token::Word || t[i + 2].kind == Token::QuotedName);
        if (qualified) t.remove(i, 2);
    }
}

// A file reads a subquery in FROM without a name; the server wants one.
void nameSubqueries(QList<Token>& t)
{
    auto next = [&](qsizetype i, int step) { return nextToken(t, i, step); };
    int named = 0;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t[i].kind != Token::LParen) continue;
        const qsizetype before = next(i, -1), after = next(i, 1);
        if (before < 0 || after >= t.size() || !isWord(t[after], u"SELECT")) continue;
        if (!isWord(t[before], u"FROM") && !isWord(t[before], u"JOIN")) continue;
        qsizetype close = i;
        for (int depth = 0; close < t.size(); ++close) {
            if (t[close].kind == Token::LParen) ++depth;
            else if (t[close].kind == Token::RParen && --depth == 0) break;
        }
        const qsizetype alias = next(close, 1);
        const bool hasName = alias < t.size() && (isWord(t[alias], u"AS") || t[alias].kind == Token::QuotedName
                                                  || (t[alias].kind == Token::Word && !boundaryWords().contains(t[alias].text.toUpper())));
        if (close < t.size() && !hasName)
            t.insert(close + 1, Token{Token::Other, QStringLiteral(" AS belmo_q%1").arg(++named), -1});
    }
}

// A file lists the rows of a statement without ORDER BY in the order it keeps its first
// table's rows; a server in whatever order its plan gives. A plain
// listing of a table, joins included, is given the file's order on the server: its grid reads
// the same, and what the user ticks by position is the same row. Statements that group,
// aggregate, combine or read a subquery or a view first keep the server's order.
void fileOrderWhereNoneGiven(QList<Token>& t)
{
    using namespace Qt::Literals::StringLiterals;
    static const QSet<QString> ordering = {u"ORDER"_s, u"GROUP"_s, u"HAVING"_s, u"DISTINCT"_s, u"DISTINCTROW"_s, u"UNION"_s,
                                           u"INTERSECT"_s, u"EXCEPT"_s, u"LIMIT"_s, u"TOP"_s, u"INTO"_s};
    static const QSet<QString> aggregates = {u"COUNT"_s, u"SUM"_s, u"MIN"_s, u"MAX"_s, u"AVG"_s, u"FIRST"_s, u"LAST"_s,
                                             u"STDEV"_s, u"VAR"_s, u"BELMO.FIRST"_s, u"BELMO.LAST"_s};
    auto next = [&](qsizetype i) { return nextToken(t, i); };
    const qsizetype first = next(-1);
    if (first >= t.size() || !isWord(t[first], u"SELECT")) return;
    qsizetype from = -1;
    int depth = 0;
    for (qsizetype i = first; i < t.size(); ++i) {
        if (t[i].kind == Token::LParen) ++depth;
        else if (t[i].kind == Token::RParen) --depth;
        else if (t[i].kind == Token::Word && aggregates.contains(t[i].text.toUpper()) && next(i) < t.size()
                 && t[next(i)].kind == Token::LParen)
            return;
        else if (depth == 0 && t[i].kind == Token::Word && ordering.contains(t[i].text.toUpper())) return;
        else if (depth == 0 && from < 0 && isWord(t[i], u"FROM")) from = i;
    }
    if (from < 0) return;
    qsizetype table = next(from);
    while (table < t.size() && t[table].kind == Token::LParen) table = next(table);
    if (table >= t.size() || (t[table].kind != Token::Word && t[table].kind != Token::QuotedName)) return;
    const QString name = t[table].kind == Token::QuotedName ? t[table].text.mid(1, t[table].text.size() - 2) : t[table].text;
    const schema::Table* declared = schema::findTable(schema::companyTables(), name);
    if (!declared) declared = schema::findTable(schema::configTables(), name);
    if (!declared) return;
    // A file keeps a table with an AutoNumber in the order of its numbers, others in the order
    // rows were added (a server's row address, until a row is changed).
    QString key = u"ctid"_s;
    for (const schema::Column& c : declared->columns)
        if (c.kind == schema::Kind::AutoNumber) key = c.name.toLower();
    QString reference = t[table].text;
    qsizetype alias = next(table);
    if (alias < t.size() && isWord(t[alias], u"AS")) alias = next(alias);
    if (alias < t.size() && t[alias].kind == Token::Word && !boundaryWords().contains(t[alias].text.toUpper()))
        reference = t[alias].text;
    qsizetype end = t.size();
    while (end > 0 && (t[end - 1].kind == Token::Space || t[end - 1].text == u";")) --end;
    t.insert(end, Token{Token::Other, u" ORDER BY "_s + reference + u'.' + key, -1});
}

class Rewriter {
public:
    Rewriter(QList<Token> tokens, Target target) : t_(std::move(tokens)), target_(target) {}

    QString run() { return emitRange(0, t_.size()); }

private:
    // One operand-level piece: a single token, or a parenthesised group (first..last).
    struct Item {
        qsizetype first;
        qsizetype last;
        bool group;
    };

    QList<Token> t_;
    Target target_;

    bool isBoundary(const Item& it) const
    {
        if (it.group) return false;
        const Token& tok = t_[it.first];
        if (tok.kind == Token::Comma) return true;
        if (tok.kind == Token::Op) return isComparison(tok.text);
        if (tok.kind == Token::Word) return boundaryWords().contains(tok.text.toUpper());
        return tok.kind == Token::Other && tok.text == u";";
    }
    bool isSpace(const Item& it) const { return !it.group && t_[it.first].kind == Token::Space; }
    bool isOp(const Item& it, QStringView op) const
    {
        return !it.group && t_[it.first].kind == Token::Op && t_[it.first].text == op;
    }
    bool isStringLiteral(const QList<Item>& term) const
    {
        const Item* only = nullptr;
        for (const Item& it : term) {
            if (isSpace(it)) continue;
            if (only) return false;
            only = &it;
        }
        return only && !only->group && t_[only->first].kind == Token::String;
    }

    QString tokenText(const Token& tok) const
    {
        if (tok.kind == Token::Word) {
            const QString up = tok.text.toUpper();
            if (up == u"DISTINCTROW") return QStringLiteral("DISTINCT");
            if (up == u"MOD") return QStringLiteral("%");
            if (up == u"TRUE") return QStringLiteral("-1");
            if (up == u"FALSE") return QStringLiteral("0");
        }
        if (tok.kind == Token::Op && tok.text == u"/")
            return target_ == Target::File ? QStringLiteral("*1.0/") : QStringLiteral("*1::float8/");
        return tok.text;
    }

    QString itemText(const Item& it)
    {
        if (!it.group) return tokenText(t_[it.first]);
        const bool closed = t_[it.last].kind == Token::RParen;
        return u'(' + emitRange(it.first + 1, closed ? it.last : it.last + 1) + (closed ? QStringLiteral(")") : QString());
    }

    QString itemsText(const QList<Item>& items, bool trim = false)
    {
        qsizetype b = 0, e = items.size();
        if (trim) {
            while (b < e && isSpace(items[b])) ++b;
            while (e > b && isSpace(items[e - 1])) --e;
        }
        QString s;
        for (qsizetype i = b; i < e; ++i) s += itemText(items[i]);
        return s;
    }

    QString emitRange(qsizetype begin, qsizetype end)
    {
        QList<Item> items;
        for (qsizetype i = begin; i < end; ++i) {
            if (t_[i].kind != Token::LParen) {
                items.append(Item{i, i, false});
                continue;
            }
            int depth = 0;
            qsizetype j = i;
            for (; j < end; ++j) {
                if (t_[j].kind == Token::LParen) ++depth;
                else if (t_[j].kind == Token::RParen && --depth == 0) break;
            }
            if (j == end) j = end - 1;  // unbalanced: SQLite will report the syntax error
            items.append(Item{i, j, true});
            i = j;
        }
        QString out;
        QList<Item> segment;
        for (const Item& it : items) {
            if (isBoundary(it)) {
                out += segmentText(segment);
                segment.clear();
                out += itemText(it);
            } else {
                segment.append(it);
            }
        }
        out += segmentText(segment);
        return out;
    }

    // An expression between boundaries: a & b & c becomes JETCAT(a, b, c).
    QString segmentText(const QList<Item>& seg)
    {
        QList<QList<Item>> parts(1);
        for (const Item& it : seg) {
            if (isOp(it, u"&")) parts.append(QList<Item>());
            else parts.last().append(it);
        }
        if (parts.size() == 1) return plusText(seg);
        qsizetype lead = 0, tail = seg.size();
        while (lead < tail && isSpace(seg[lead])) ++lead;
        while (tail > lead && isSpace(seg[tail - 1])) --tail;
        // The server's function takes texts: each operand goes through the & rule of CStr.
        const bool server = target_ == Target::Server;
        QString out = itemsText(seg.mid(0, lead)) + (server ? QStringLiteral("belmo.jetcat(") : QStringLiteral("JETCAT("));
        for (qsizetype i = 0; i < parts.size(); ++i) {
            if (i) out += QStringLiteral(", ");
            out += server ? QStringLiteral("belmo.jettext(%1)").arg(plusText(parts[i], true)) : plusText(parts[i], true);
        }
        return out + u')' + itemsText(seg.mid(tail));
    }

    // A + chain with a string literal among its terms joins text, as in Jet.
    QString plusText(const QList<Item>& part, bool trim = false)
    {
        QList<QList<Item>> terms(1);
        bool hasMinus = false;
        const Item* prev = nullptr;
        for (const Item& it : part) {
            const bool binary = prev && !(!prev->group && t_[prev->first].kind == Token::Op);
            if (binary && isOp(it, u"+")) {
                terms.append(QList<Item>());
            } else {
                if (binary && isOp(it, u"-")) hasMinus = true;
                terms.last().append(it);
            }
            if (!isSpace(it)) prev = &it;
        }
        bool literal = false;
        for (const auto& term : terms) literal |= isStringLiteral(term);
        if (terms.size() == 1 || hasMinus || !literal) return itemsText(part, trim);
        QString out;
        for (qsizetype i = 0; i < terms.size(); ++i) {
            if (i) out += QStringLiteral("||");
            out += u'(' + itemsText(terms[i], true) + u')';
        }
        return out;
    }
};

// ---- RIGHT JOIN reduction ------------------------------------------------------------------
// "a RIGHT JOIN b ... WHERE a.x <op> literal" keeps no row of b without a match: such a row
// has a.x Null, the comparison is Null and WHERE drops it. The join is then an inner join,
// and saying so lets SQLite 3.40 plan it as one (it does not notice by itself): the
// current-account balance views run in half the time. Only comparisons of a left-side column
// with literals, as top-level AND terms of the same SELECT, count; anything else keeps the
// RIGHT JOIN as written.

class JoinReducer {
public:
    explicit JoinReducer(QList<Token>& tokens) : t_(tokens)
    {
        int depth = 0;
        for (const Token& tok : t_) {
            if (tok.kind == Token::RParen) --depth;
            depth_.append(depth);
            if (tok.kind == Token::LParen) ++depth;
        }
    }

    void run()
    {
        for (qsizetype i = 0; i < t_.size(); ++i) {
            if (!isWord(t_[i], u"RIGHT")) continue;
            qsizetype join = next(i);
            const bool outer = join < t_.size() && isWord(t_[join], u"OUTER");
            if (outer) join = next(join);
            if (join >= t_.size() || !isWord(t_[join], u"JOIN")) continue;
            if (!leftSideIsFiltered(i)) continue;
            t_[i].text = QStringLiteral("INNER");
            if (outer) t_[next(i)].text.clear();
        }
    }

private:
    QList<Token>& t_;
    QList<int> depth_;  // parenthesis depth of each token (a parenthesis counts outside)

    qsizetype next(qsizetype i) const
    {
        do ++i;
        while (i < t_.size() && t_[i].kind == Token::Space);
        return i;
    }
    bool nextToDot(qsizetype i) const
    {
        auto dot = [&](qsizetype k) { return k >= 0 && k < t_.size() && t_[k].kind == Token::Other && t_[k].text == u"."; };
        return dot(i - 1) || dot(i + 1);
    }

    bool leftSideIsFiltered(qsizetype right) const
    {
        const int d = depth_[right];
        // The FROM of this join's SELECT, and where its left operand starts.
        qsizetype from = -1, start = -1;
        for (qsizetype k = right - 1; k >= 0; --k) {
            if (depth_[k] < d && t_[k].kind == Token::LParen && start < 0) start = k + 1;
            if (isWord(t_[k], u"FROM") && depth_[k] <= d) {
                from = k;
                break;
            }
            if (isWord(t_[k], u"SELECT") && depth_[k] <= d) return false;  // no FROM before the join
        }
        if (from < 0) return false;
        if (start < 0 || start < from) start = from + 1;
        const int level = depth_[from];
        // Tables and aliases of the left operand; subqueries count by their alias only.
        QStringList left;
        for (qsizetype k = start; k < right; ++k) {
            if (t_[k].kind == Token::LParen && isWord(t_[next(k)], u"SELECT")) {
                const int inner = depth_[k];
                while (k + 1 < right && !(t_[k + 1].kind == Token::RParen && depth_[k + 1] == inner)) ++k;
                continue;
            }
            if (t_[k].kind == Token::Word && !nextToDot(k) && !boundaryWords().contains(t_[k].text.toUpper()))
                left << t_[k].text.toLower();
        }
        // The WHERE of the same SELECT and its top-level AND terms.
        qsizetype where = -1, end = t_.size();
        for (qsizetype k = right + 1; k < t_.size(); ++k) {
            if (depth_[k] < level) {
                end = k;
                break;
            }
            if (depth_[k] != level || t_[k].kind != Token::Word) continue;
            const QString up = t_[k].text.toUpper();
            if (where < 0 && up == u"WHERE") where = k;
            else if (up == u"GROUP" || up == u"HAVING" || up == u"ORDER" || up == u"UNION" || up == u"LIMIT") {
                end = k;
                break;
            }
        }
        if (where < 0) return false;
        qsizetype termStart = where + 1;
        for (qsizetype k = where + 1; k <= end; ++k) {
            if (k < end && !(isWord(t_[k], u"AND") && depth_[k] == level)) continue;
            if (rejectsNullOf(termStart, k, left)) return true;
            termStart = k + 1;
        }
        return false;
    }

    // Does the term [b, e) compare a column of one of `tables` with literals?
    bool rejectsNullOf(qsizetype b, qsizetype e, const QStringList& tables) const
    {
        QList<const Token*> w;
        for (qsizetype k = b; k < e; ++k)
            if (t_[k].kind != Token::Space) w.append(&t_[k]);
        while (w.size() >= 2 && w.first()->kind == Token::LParen && w.last()->kind == Token::RParen) {
            int depth = 0;
            bool wraps = true;
            for (qsizetype k = 0; k < w.size() - 1 && wraps; ++k) {
                depth += w[k]->kind == Token::LParen ? 1 : w[k]->kind == Token::RParen ? -1 : 0;
                wraps = depth > 0;
            }
            if (!wraps) break;
            w = w.mid(1, w.size() - 2);
        }
        auto column = [&](qsizetype k) {
            return k + 2 < w.size() && w[k]->kind == Token::Word && w[k + 1]->text == u"." && w[k + 2]->kind == Token::Word
                && tables.contains(w[k]->text.toLower());
        };
        auto literal = [&](qsizetype k, qsizetype& after) {
            if (k < w.size() && (w[k]->kind == Token::Number || w[k]->kind == Token::String)) {
                after = k + 1;
                return true;
            }
            if (k + 1 < w.size() && w[k]->text == u"-" && w[k + 1]->kind == Token::Number) {
                after = k + 2;
                return true;
            }
            return false;
        };
        auto comparison = [&](qsizetype k) { return k < w.size() && w[k]->kind == Token::Op && isComparison(w[k]->text); };
        qsizetype after = 0;
        if (column(0) && comparison(3) && literal(4, after)) return after == w.size();
        if (literal(0, after) && comparison(after) && column(after + 1)) return after + 4 == w.size();
        if (!column(0)) return false;
        qsizetype k = 3;
        if (k < w.size() && isWord(*w[k], u"NOT")) ++k;
        if (k >= w.size() || !isWord(*w[k], u"IN") || k + 1 >= w.size() || w[k + 1]->kind != Token::LParen) return false;
        k += 2;
        do {
            if (!literal(k, after)) return false;
            k = after;
        } while (k < w.size() && w[k]->kind == Token::Comma && ++k);
        return k + 1 == w.size() && w[k]->kind == Token::RParen;
    }
};

}  // namespace

QList<Token> tokenize(QStringView s)
{
    QList<Token> out;
    qsizetype i = 0;
    auto push = [&](Token::Kind k, qsizetype from, qsizetype to) {
        out.append({k, s.mid(from, to - from).toString(), from});
    };
    while (i < s.size()) {
        const QChar c = s[i];
        const qsizetype start = i;
        if (c.isSpace()) {
            while (i < s.size() && s[i].isSpace()) ++i;
            push(Token::Space, start, i);
        } else if (c == u'-' && i + 1 < s.size() && s[i + 1] == u'-') {
            while (i < s.size() && s[i] != u'\n') ++i;
            push(Token::Space, start, i);
        } else if (c == u'/' && i + 1 < s.size() && s[i + 1] == u'*') {
            const qsizetype end = s.indexOf(u"*/", i + 2);
            i = end < 0 ? s.size() : end + 2;
            push(Token::Space, start, i);
        } else if (c == u'\'' || c == u'"' || c == u'`' || c == u'[') {
            const QChar close = c == u'[' ? QChar(u']') : c;
            ++i;
            while (i < s.size()) {
                if (s[i] == close) {
                    if (close != u']' && i + 1 < s.size() && s[i + 1] == close) {
                        i += 2;  // doubled quote inside the literal
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            push(c == u'\'' ? Token::String : Token::QuotedName, start, i);
        } else if (isWordStart(c)) {
            while (i < s.size() && isWordChar(s[i])) ++i;
            push(Token::Word, start, i);
        } else if (c.isDigit() || (c == u'.' && i + 1 < s.size() && s[i + 1].isDigit()
                                   && (out.isEmpty() || (out.last().kind != Token::Word
                                                         && out.last().kind != Token::QuotedName
                                                         && out.last().kind != Token::RParen)))) {
            while (i < s.size() && (s[i].isDigit() || s[i] == u'.')) ++i;
            if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
                qsizetype j = i + 1;
                if (j < s.size() && (s[j] == u'+' || s[j] == u'-')) ++j;
                if (j < s.size() && s[j].isDigit()) {
                    i = j;
                    while (i < s.size() && s[i].isDigit()) ++i;
                }
            }
            push(Token::Number, start, i);
        } else if (c == u'(') {
            push(Token::LParen, i, i + 1);
            ++i;
        } else if (c == u')') {
            push(Token::RParen, i, i + 1);
            ++i;
        } else if (c == u',') {
            push(Token::Comma, i, i + 1);
            ++i;
        } else if (QStringView(u"<>=!|+-*/%&~^").contains(c)) {
            const QStringView two = s.mid(i, 2);
            if (two == u"<=" || two == u">=" || two == u"<>" || two == u"!=" || two == u"==" || two == u"||")
                i += 2;
            else
                ++i;
            push(Token::Op, start, i);
        } else {
            push(Token::Other, i, i + 1);
            ++i;
        }
    }
    return out;
}

QString rewrite(QStringView accessSql, Target target)
{
    QList<Token> tokens = tokenize(accessSql);
    JoinReducer(tokens).run();
    if (target == Target::Server) {
        toServerTokens(tokens);
        nullsAsOnFiles(tokens);
        unionSortsByOutputNames(tokens);
        nameSubqueries(tokens);
        fileOrderWhereNoneGiven(tokens);
    }
    return Rewriter(std::move(tokens), target).run();
}

QString serverNames(QStringView sql)
{
    QList<Token> tokens = tokenize(sql);
    toServerTokens(tokens);
    QString out;
    out.reserve(sql.size() + 8);
    for (const Token& t : tokens) out += t.text;
    return out;
}

SelectShape inspectSelect(QStringView sql)
{
    SelectShape shape;
    const QList<Token> tokens = tokenize(sql);
    int depth = 0;
    bool first = true;
    shape.rowPerRecord = true;
    for (const Token& tok : tokens) {
        if (tok.kind == Token::Space) continue;
        if (tok.kind == Token::LParen) ++depth;
        else if (tok.kind == Token::RParen) --depth;
        if (first) {
            first = false;
            if (tok.kind != Token::Word || tok.text.compare(u"SELECT", Qt::CaseInsensitive) != 0) {
                shape.rowPerRecord = false;
                return shape;
            }
            shape.isSelect = true;
            shape.afterSelect = tok.offset + tok.text.size();
            continue;
        }
        if (depth != 0 || tok.kind != Token::Word) continue;
        const QString up = tok.text.toUpper();
        if (up == u"DISTINCT" || up == u"DISTINCTROW" || up == u"GROUP" || up == u"HAVING" || up == u"UNION"
            || up == u"INTERSECT" || up == u"EXCEPT")
            shape.rowPerRecord = false;
    }
    return shape;
}

QString viewQuery(QStringView sql)
{
    int word = 0;  // CREATE, [TEMP,] VIEW
    int depth = 0;
    for (const Token& tok : tokenize(sql)) {
        if (tok.kind == Token::Space) continue;
        if (tok.kind == Token::LParen) ++depth;
        else if (tok.kind == Token::RParen) --depth;
        const QString up = tok.kind == Token::Word ? tok.text.toUpper() : QString();
        if (word == 0) {
            if (up != u"CREATE") return {};
            word = 1;
        } else if (word == 1) {
            if (up == u"TEMP" || up == u"TEMPORARY") continue;
            if (up != u"VIEW") return {};
            word = 2;
        } else if (depth == 0 && up == u"AS") {
            return sql.mid(tok.offset + tok.text.size()).toString();
        }
    }
    return {};
}

QString quoted(QStringView text)
{
    QString s = text.toString();
    s.replace(u'\'', QStringLiteral("''"));
    return u'\'' + s + u'\'';
}

Value number(QStringView text)
{
    const std::optional<double> n = vb::parseNumber(text.trimmed());
    if (!n || !std::isfinite(*n))
        throw DbError(err::Syntax, QStringLiteral("Syntax error: '%1' is not a number.").arg(text));
    const double whole = std::trunc(*n);
    if (whole == *n && std::abs(whole) < 1e15) return Value(static_cast<qint64>(whole));
    return Value(*n);
}

}  // namespace belmo::db::jet
