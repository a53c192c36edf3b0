#include "db/JetDialect.h"

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

class Rewriter {
public:
    explicit Rewriter(QList<Token> tokens) : t_(std::move(tokens)) {}

    QString run() { return emitRange(0, t_.size()); }

private:
    // One operand-level piece: a single token, or a parenthesised group (first..last).
    struct Item {
        qsizetype first;
        qsizetype last;
        bool group;
    };

    QList<Token> t_;

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
        if (tok.kind == Token::Op && tok.text == u"/") return QStringLiteral("*1.0/");
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
        QString out = itemsText(seg.mid(0, lead)) + QStringLiteral("JETCAT(");
        for (qsizetype i = 0; i < parts.size(); ++i) {
            if (i) out += QStringLiteral(", ");
            out += plusText(parts[i], true);
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

QString rewrite(QStringView accessSql)
{
    return Rewriter(tokenize(accessSql)).run();
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

bool changesSchema(QStringView sql)
{
    const QString head = sql.trimmed().left(6).toString().toUpper();
    return head.startsWith(u"CREATE") || head.startsWith(u"DROP") || head.startsWith(u"ALTER");
}

QString quoted(QStringView text)
{
    QString s = text.toString();
    s.replace(u'\'', QStringLiteral("''"));
    return u'\'' + s + u'\'';
}

}  // namespace belmo::db::jet
