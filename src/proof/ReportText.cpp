// The reconciliation as plain text: the report written to a .txt file and the short summary
// `belmo run` ends with.
#include "proof/Reconciliation.h"
#include "proof/ReportTables.h"

namespace belmo::proof {

using namespace Qt::Literals::StringLiterals;

namespace {

// A table in aligned columns: figures to the right, texts to the left, a rule under the
// header and above the totals.
void appendTable(QStringList& out, const ReportTable& t)
{
    QList<qsizetype> widths;
    for (const QString& h : t.headers) widths << h.size();
    for (const ReportRow& row : t.rows)
        for (qsizetype c = 0; c < row.cells.size(); ++c) widths[c] = std::max(widths[c], row.cells[c].size());
    auto line = [&](const QStringList& cells) {
        QStringList padded;
        for (qsizetype c = 0; c < cells.size(); ++c)
            padded << (t.numeric[c] ? cells[c].rightJustified(widths[c]) : cells[c].leftJustified(widths[c]));
        QString text = u"  "_s + padded.join(u"  "_s);
        while (text.endsWith(u' ')) text.chop(1);
        return text;
    };
    qsizetype width = 0;
    for (qsizetype w : widths) width += w + 2;
    const QString rule = u"  "_s + QString(width - 2, u'-');
    out << line(t.headers) << rule;
    bool inTotals = false;
    for (const ReportRow& row : t.rows) {
        if (row.total && !inTotals) out << rule;
        inTotals = row.total;
        out << line(row.cells);
    }
}

QString heading(const QString& title) { return title + u'\n' + QString(title.size(), u'='); }

QString unavailableText(const QString& cause) { return u"yapılamadı: "_s + cause; }

}  // namespace

QString Reconciliation::toText() const
{
    QStringList out{heading(reportTitle())};
    out << companyLines(run);
    if (!run.backup.isEmpty()) out << u"Yedek: "_s + run.backup;
    for (const ReportTable& t : reportTables(*this)) {
        out << QString() << heading(t.title);
        if (!t.unavailable.isEmpty())
            out << u"  "_s + unavailableText(t.unavailable);
        else if (t.rows.empty())
            out << u"  kayıt yok"_s;
        else
            appendTable(out, t);
        if (t.differing > 0) out << u"  %1 kalemde fark var."_s.arg(t.differing);
    }
    const QStringList others = otherUnavailable(*this);
    if (!others.isEmpty()) {
        out << QString() << heading(u"Yapılamayan Bölümler"_s);
        for (const QString& o : others) out << u"  "_s + o;
    }
    out << QString() << u"Toplam fark: %1"_s.arg(differences()) << QString()
        << u"Kontrol eden / İmza: ______________________________"_s;
    return out.join(u'\n') + u'\n';
}

QString Reconciliation::summaryText() const
{
    QStringList out{u"Mutabakat:"_s};
    for (const ReportTable& t : reportTables(*this)) {
        if (t.section == u"run"_s) continue;
        QString line = u"  %1: "_s.arg(t.title);
        if (!t.unavailable.isEmpty()) {
            out << line + unavailableText(t.unavailable);
            continue;
        }
        line += t.section == u"tables"_s ? u"%1 tablo"_s.arg(t.items)
                                          : u"%1 kalem, %2 işaretli, %3 fark"_s.arg(t.items).arg(t.ticked).arg(t.differing);
        if (!t.totals.isEmpty()) line += u"; "_s + t.totals.join(u"; "_s);
        out << line;
    }
    for (const QString& o : otherUnavailable(*this)) out << u"  "_s + unavailableText(o);
    out << u"  Toplam fark: %1"_s.arg(differences());
    return out.join(u'\n') + u'\n';
}

}  // namespace belmo::proof
