// The report as a reader gets it: a hand-made reconciliation written as text and as PDF.
// The expected totals are worked out here by hand; the PDF is read back with poppler's
// pdfinfo and pdftotext, page by page.
#include "proof/Reconciliation.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;
using proof::Reconciliation;

// Two current accounts in TL, the second carried 50,00 short; a stock card; a cheque; the
// orders part unavailable; `extra` more accounts without a difference to fill pages.
Reconciliation sampleReport(int extra)
{
    Reconciliation r;
    r.run.source = {u"SRC"_s, u"MUHASEBE/SRC.mdb"_s, u"2025"_s, {}, {}};
    r.run.target = {u"TGT"_s, u"MUHASEBE/TGT.mdb"_s, u"2026"_s, {}, {}};
    r.accounts = {{u"120"_s, u"01"_s, u"001"_s, u"Öztürk Gıda"_s, u"TL"_s, 1500.25, 1500.25},
                  {u"120"_s, u"01"_s, u"002"_s, u"Çiğdem Şahin"_s, u"TL"_s, 200.10, 150.10}};
    for (int i = 0; i < extra; ++i)
        r.accounts.push_back({u"320"_s, u"02"_s, u"E%1"_s.arg(i), u"Satıcı %1"_s.arg(i), u"USD"_s, 10, 10});
    r.stock = {{u"STK-1"_s, u"01"_s, {}, 12.5, 250, 12.5, 250}};
    r.cheques = {{u"Portföydeki Çekler"_s, u"C-77"_s, u"Işık Yapı"_s, u"TL"_s, 300, 300, 1, 1}};
    r.unavailable[u"orders"_s] = u"Cari_Sip tablosu yok"_s;
    return r;
}

QString run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(-1);
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST(ReportWritersTest, TextShowsEachPartWithTheDifferenceAndTheTotalsWorkedOutByHand)
{
    const QStringList lines = sampleReport(0).toText().split(u'\n');
    auto lineWith = [&](const QStringList& parts) {
        for (const QString& l : lines)
            if (std::all_of(parts.begin(), parts.end(), [&](const QString& p) { return l.contains(p); })) return l;
        return QString();
    };
    const std::vector<QStringList> expected = {
        {u"Devir Mutabakat Raporu"_s},
        {u"Kaynak: SRC, dönem 2025"_s},
        {u"Hedef: TGT, dönem 2026"_s},
        {u"Cari Hesaplar"_s},
        {u"Çiğdem Şahin"_s, u"200,10"_s, u"150,10"_s, u"-50,00"_s, u"FARK"_s},
        {u"Toplam 120"_s, u"TL"_s, u"1.700,35"_s, u"1.650,35"_s, u"-50,00"_s},
        {u"Genel Toplam"_s, u"TL"_s, u"1.700,35"_s, u"1.650,35"_s},
        {u"Stoklar"_s},
        {u"Toplam"_s, u"12,5"_s, u"250,00"_s},
        {u"Çekler"_s},
        {u"Portföydeki Çekler"_s, u"C-77"_s, u"Işık Yapı"_s, u"300,00"_s},
        {u"Toplam (1 kalem)"_s, u"TL"_s, u"300,00"_s},
        {u"yapılamadı: Cari_Sip tablosu yok"_s},
        {u"Toplam fark: 1"_s},
        {u"Kontrol eden / İmza:"_s},
    };
    for (const QStringList& parts : expected) EXPECT_FALSE(lineWith(parts).isEmpty()) << parts.join(u" | "_s).toStdString();
    // The item with the difference leads its part.
    EXPECT_LT(lines.indexOf(lineWith({u"Çiğdem Şahin"_s})), lines.indexOf(lineWith({u"Öztürk Gıda"_s})));
    EXPECT_TRUE(lineWith({u"Öztürk Gıda"_s, u"FARK"_s}).isEmpty());

    const QString summary = sampleReport(0).summaryText();
    EXPECT_TRUE(summary.contains(u"Cari Hesaplar: 2 kalem, 2 işaretli, 1 fark; TL 1.700,35 / 1.650,35"_s)) << summary.toStdString();
    EXPECT_TRUE(summary.contains(u"Siparişler: yapılamadı"_s));
}

TEST(ReportWritersTest, PdfCarriesTheCompaniesAndPageNumbersOnEveryPage)
{
    struct Case {
        int extraAccounts;
        bool manyPages;
    };
    QTemporaryDir dir;
    for (const Case& c : {Case{0, false}, Case{150, true}}) {
        const QString path = dir.filePath(u"rapor%1.pdf"_s.arg(c.extraAccounts));
        QString error;
        ASSERT_TRUE(proof::writeReportPdf(sampleReport(c.extraAccounts), path, error)) << error.toStdString();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.read(5).startsWith("%PDF"));

        const QString info = run(u"pdfinfo"_s, {path});
        const int pages = info.section(u"Pages:"_s, 1).section(u'\n', 0, 0).trimmed().toInt();
        EXPECT_EQ(pages > 1, c.manyPages) << pages;
        const QStringList texts = run(u"pdftotext"_s, {u"-layout"_s, path, u"-"_s}).split(u'\f', Qt::SkipEmptyParts);
        ASSERT_EQ(texts.size(), pages);
        for (int p = 0; p < pages; ++p) {
            EXPECT_TRUE(texts[p].contains(u"Kaynak: SRC, dönem 2025"_s)) << p;
            EXPECT_TRUE(texts[p].contains(u"Sayfa %1 / %2"_s.arg(p + 1).arg(pages))) << p;
        }
        // A table running over a page break repeats its header row.
        if (c.manyPages) {
            EXPECT_TRUE(texts[1].contains(u"Cari Hesaplar (devam)"_s) && texts[1].contains(u"Kapanış"_s));
        }
        EXPECT_TRUE(texts.last().contains(u"Kontrol eden / İmza:"_s));
    }
}

}  // namespace
}  // namespace belmo::test
