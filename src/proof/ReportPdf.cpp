// The printable report: the companies and periods at the head of every page, each part as a
// table whose header row repeats on every page it runs over, differences marked and totals
// under the items, "Sayfa N / M" at the foot, a signature line at the end. The fonts need a
// QGuiApplication.
#include "proof/Reconciliation.h"
#include "proof/ReportTables.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

namespace belmo::proof {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kResolution = 300;  // dots per inch of the page's coordinates

// Lays the report out page by page. The same walk runs twice: first without a painter, to
// count the pages, then with one, to draw them with "Sayfa N / M".
class PdfPages {
public:
    PdfPages(QPdfWriter& writer, QPainter* painter, const Reconciliation& report, int pageCount)
        : writer_(writer), painter_(painter), report_(report), pageCount_(pageCount),
          area_(writer.pageLayout().paintRectPixels(kResolution)),
          base_(u"DejaVu Sans"_s, 8), bold_(base_), heading_(base_), title_(base_)
    {
        bold_.setBold(true);
        heading_.setPointSizeF(11);
        heading_.setBold(true);
        title_.setPointSizeF(14);
        title_.setBold(true);
        area_.moveTo(0, 0);  // the painter's origin is the corner of the printable area
    }

    int run()
    {
        startPage();
        for (const ReportTable& t : reportTables(report_)) section(t);
        const QStringList others = otherUnavailable(report_);
        if (!others.isEmpty()) {
            sectionTitle(u"Yapılamayan Bölümler"_s);
            for (const QString& o : others) line(o, base_);
        }
        ensure(lineHeight(bold_) * 5);
        y_ += lineHeight(base_);
        line(u"Toplam fark: %1"_s.arg(report_.differences()), bold_);
        y_ += lineHeight(base_) * 2;
        line(u"Kontrol eden / İmza: ______________________________      Tarih: ____________"_s, base_);
        endPage();
        return page_;
    }

private:
    double lineHeight(const QFont& font) const { return QFontMetricsF(font, &writer_).height() * 1.35; }
    double textWidth(const QFont& font, const QString& text) const
    {
        return QFontMetricsF(font, &writer_).horizontalAdvance(text);
    }
    double padding() const { return QFontMetricsF(base_, &writer_).averageCharWidth(); }

    void startPage()
    {
        ++page_;
        y_ = 0;
        const QStringList companies = companyLines(report_.run);
        if (painter_) {
            painter_->setFont(title_);
            painter_->drawText(QRectF(0, 0, area_.width(), lineHeight(title_)), Qt::AlignLeft | Qt::AlignVCenter,
                               reportTitle());
        }
        y_ += lineHeight(title_);
        for (const QString& c : companies) line(c, base_);
        if (painter_) painter_->drawLine(QPointF(0, y_), QPointF(area_.width(), y_));
        y_ += lineHeight(base_) * 0.6;
        bottom_ = area_.height() - lineHeight(base_) * 1.5;
    }

    void endPage()
    {
        if (!painter_) return;
        painter_->setFont(base_);
        const QRectF foot(0, area_.height() - lineHeight(base_), area_.width(), lineHeight(base_));
        painter_->drawLine(foot.topLeft(), foot.topRight());
        painter_->drawText(foot, Qt::AlignRight | Qt::AlignBottom, u"Sayfa %1 / %2"_s.arg(page_).arg(pageCount_));
        painter_->drawText(foot, Qt::AlignLeft | Qt::AlignBottom, reportTitle());
    }

    void newPage()
    {
        endPage();
        if (painter_) writer_.newPage();
        startPage();
    }

    // Room for `height` more on this page, or a new page.
    void ensure(double height)
    {
        if (y_ + height > bottom_) newPage();
    }

    void line(const QString& text, const QFont& font)
    {
        if (painter_) {
            painter_->setFont(font);
            painter_->drawText(QRectF(0, y_, area_.width(), lineHeight(font)), Qt::AlignLeft | Qt::AlignVCenter, text);
        }
        y_ += lineHeight(font);
    }

    void sectionTitle(const QString& title)
    {
        ensure(lineHeight(heading_) + lineHeight(base_) * 3);
        y_ += lineHeight(base_) * 0.5;
        line(title, heading_);
    }

    void section(const ReportTable& t)
    {
        sectionTitle(t.title);
        if (!t.unavailable.isEmpty()) return line(u"Yapılamadı: "_s + t.unavailable, base_);
        if (t.rows.empty()) return line(u"Kayıt yok."_s, base_);
        const QList<double> widths = columnWidths(t);
        row(t, widths, t.headers, RowKind::Header);
        for (const ReportRow& r : t.rows) {
            if (y_ + lineHeight(base_) > bottom_) {
                newPage();
                line(t.title + u" (devam)"_s, heading_);
                row(t, widths, t.headers, RowKind::Header);
            }
            row(t, widths, r.cells, r.total ? RowKind::Total : r.differs ? RowKind::Difference : RowKind::Item);
        }
        if (t.differing > 0) line(u"%1 kalemde fark var."_s.arg(t.differing), bold_);
    }

    // The widest text of each column; the widest text columns give way when the page is too narrow.
    QList<double> columnWidths(const ReportTable& t) const
    {
        QList<double> widths;
        for (const QString& h : t.headers) widths << textWidth(bold_, h) + 2 * padding();
        for (const ReportRow& r : t.rows)
            for (qsizetype c = 0; c < r.cells.size(); ++c)
                widths[c] = std::max(widths[c], textWidth(r.total ? bold_ : base_, r.cells[c]) + 2 * padding());
        // Too wide: the widest text columns are cut to one width, so that short codes stay whole.
        auto width = [&](double cap) {
            double sum = 0;
            for (qsizetype c = 0; c < widths.size(); ++c) sum += t.numeric[c] ? widths[c] : std::min(widths[c], cap);
            return sum;
        };
        double low = 0, high = area_.width();
        if (width(high) <= area_.width()) return widths;
        for (int i = 0; i < 30; ++i) {
            const double mid = (low + high) / 2;
            (width(mid) <= area_.width() ? low : high) = mid;
        }
        for (qsizetype c = 0; c < widths.size(); ++c)
            if (!t.numeric[c]) widths[c] = std::min(widths[c], low);
        return widths;
    }

    enum class RowKind { Header, Item, Difference, Total };

    void row(const ReportTable& t, const QList<double>& widths, const QStringList& cells, RowKind kind)
    {
        const double h = lineHeight(base_);
        if (painter_) {
            double width = 0;
            for (double w : widths) width += w;
            const QFont& font = kind == RowKind::Header || kind == RowKind::Total ? bold_ : base_;
            if (kind == RowKind::Header) painter_->fillRect(QRectF(0, y_, width, h), QColor(220, 220, 220));
            if (kind == RowKind::Total) painter_->fillRect(QRectF(0, y_, width, h), QColor(240, 240, 240));
            if (kind == RowKind::Difference) painter_->fillRect(QRectF(0, y_, width, h), QColor(255, 215, 215));
            painter_->setFont(font);
            const QFontMetricsF metrics(font, &writer_);
            double x = 0;
            for (qsizetype c = 0; c < cells.size(); ++c) {
                const QRectF cell(x + padding(), y_, widths[c] - 2 * padding(), h);
                const auto align = (t.numeric[c] ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
                painter_->drawText(cell, align, metrics.elidedText(cells[c], Qt::ElideRight, cell.width()));
                x += widths[c];
            }
        }
        y_ += h;
    }

    QPdfWriter& writer_;
    QPainter* painter_;
    const Reconciliation& report_;
    const int pageCount_;
    QRectF area_;
    QFont base_, bold_, heading_, title_;
    int page_ = 0;
    double y_ = 0, bottom_ = 0;
};

}  // namespace

bool writeReportPdf(const Reconciliation& report, const QString& path, QString& error)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        error = u"PDF yazılamadı: grafik ortamı başlatılmadı."_s;
        return false;
    }
    QPdfWriter writer(path);
    writer.setResolution(kResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                                     QPageLayout::Millimeter));
    writer.setTitle(reportTitle());
    writer.setCreator(u"Belmo"_s);
    const int pages = PdfPages(writer, nullptr, report, 0).run();
    QPainter painter;
    if (!painter.begin(&writer)) {
        error = u"%1 yazılamadı."_s.arg(QFileInfo(path).absoluteFilePath());
        return false;
    }
    PdfPages(writer, &painter, report, pages).run();
    if (!painter.end()) {
        error = u"%1 yazılamadı."_s.arg(QFileInfo(path).absoluteFilePath());
        return false;
    }
    return true;
}

}  // namespace belmo::proof
