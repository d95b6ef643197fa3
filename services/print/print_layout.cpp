#include "print_layout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <algorithm>
#include <stdexcept>

namespace qx::print {

namespace {

constexpr int kDpi = 300;
constexpr double kMarginMm = 12.0;
const char* kFontFamily = "NanumGothic";

double Mm(double mm) {
    return mm * kDpi / 25.4;
}

bool IsAmount(const QString& text) {
    static const QRegularExpression amount("^-?(0|[1-9][0-9]{0,2}(,[0-9]{3})*)$");
    return amount.match(text).hasMatch();
}

struct Fonts {
    QFont title, criteria, section, header, cell, footer;
};

Fonts MakeFonts(int layout) {
    // The annual layout carries some forty columns: a smaller type.
    const double base = layout == 10 ? 5.0 : layout == 2 || layout == 9 ? 7.0 : 8.0;
    auto font = [](double points, bool bold) {
        QFont f(kFontFamily);
        f.setPointSizeF(points);
        f.setBold(bold);
        return f;
    };
    return {font(16, true),   font(9, false),    font(10, true),
            font(base, true), font(base, false), font(8, false)};
}

// Column widths that share `width` in proportion to what each needs, never
// wider than needed unless there is room to spare.
std::vector<double> ColumnWidths(const PrintSection& s, const Fonts& fonts, double width,
                                 QPaintDevice* device) {
    // Measured on the PDF itself: its resolution, not the screen's.
    const QFontMetricsF head(fonts.header, device), cell(fonts.cell, device);
    const double pad = Mm(1.6);
    std::vector<double> need(s.table.columns.size(), Mm(6));
    for (std::size_t c = 0; c < need.size(); ++c) {
        need[c] = std::max(
            need[c],
            head.horizontalAdvance(QString::fromStdString(s.table.columns[c].caption)) + pad);
        const std::size_t sample = std::min<std::size_t>(s.table.rows.size(), 500);
        for (std::size_t r = 0; r < sample; ++r)
            if (c < s.table.rows[r].size())
                need[c] = std::max(
                    need[c],
                    cell.horizontalAdvance(QString::fromStdString(s.table.rows[r][c])) + pad);
    }
    double total = 0;
    for (double w : need) total += w;
    if (total <= 0) return need;
    for (double& w : need) w = w * width / total;  // fill the line, or shrink and wrap
    return need;
}

class Layout {
  public:
    Layout(QPainter& p, const PrintList& list, const Fonts& fonts, QRectF page)
        : p_(p), list_(list), fonts_(fonts), page_(page) {}

    // Walks the whole list; paints only when `paint`. Returns the pages used.
    int run(bool paint, int totalPages, QPdfWriter* writer) {
        paint_ = paint;
        total_ = totalPages;
        writer_ = writer;
        pageNo_ = 1;
        y_ = page_.top();
        text(fonts_.title, QString::fromStdString(list_.title), Qt::AlignHCenter, Mm(3));
        text(fonts_.criteria, QString::fromStdString(list_.criteria), Qt::AlignLeft, Mm(2));
        for (const auto& s : list_.sections) section(s);
        footer();
        return pageNo_;
    }

  private:
    double lineHeight(const QFont& f) const { return QFontMetricsF(f, p_.device()).height(); }

    void newPage() {
        footer();
        if (paint_) writer_->newPage();
        ++pageNo_;
        y_ = page_.top();
    }

    void footer() {
        if (!paint_) return;
        p_.setFont(fonts_.footer);
        const QRectF r(page_.left(), page_.bottom() + Mm(2), page_.width(),
                       lineHeight(fonts_.footer));
        p_.drawText(r, Qt::AlignHCenter, QStringLiteral("- %1 / %2 -").arg(pageNo_).arg(total_));
    }

    void text(const QFont& f, const QString& t, Qt::Alignment align, double after) {
        p_.setFont(f);
        const QRectF box = p_.boundingRect(QRectF(page_.left(), 0, page_.width(), 1e6),
                                           int(align) | Qt::TextWordWrap, t);
        if (y_ + box.height() > page_.bottom()) newPage();
        if (paint_)
            p_.drawText(QRectF(page_.left(), y_, page_.width(), box.height()),
                        int(align) | Qt::TextWordWrap, t);
        y_ += box.height() + after;
    }

    double rowHeight(const std::vector<QString>& cells, const std::vector<double>& widths,
                     const QFont& f) {
        p_.setFont(f);
        double h = lineHeight(f);
        for (std::size_t c = 0; c < cells.size() && c < widths.size(); ++c) {
            const QRectF box = p_.boundingRect(QRectF(0, 0, widths[c] - Mm(1.2), 1e6),
                                               Qt::TextWrapAnywhere, cells[c]);
            h = std::max(h, box.height());
        }
        return h + Mm(1.2);
    }

    void row(const std::vector<QString>& cells, const std::vector<double>& widths, const QFont& f,
             bool header, double h) {
        if (!paint_) return;
        p_.setFont(f);
        double x = page_.left();
        for (std::size_t c = 0; c < widths.size(); ++c) {
            const QRectF cellBox(x, y_, widths[c], h);
            if (header) p_.fillRect(cellBox, QColor(0xe4, 0xe9, 0xf2));
            p_.drawRect(cellBox);
            const QString t = c < cells.size() ? cells[c] : QString();
            const int align = header        ? Qt::AlignHCenter
                              : IsAmount(t) ? Qt::AlignRight
                                            : Qt::AlignLeft;
            p_.drawText(cellBox.adjusted(Mm(0.6), Mm(0.6), -Mm(0.6), -Mm(0.6)),
                        align | Qt::AlignVCenter | Qt::TextWrapAnywhere, t);
            x += widths[c];
        }
    }

    void section(const PrintSection& s) {
        const auto widths = ColumnWidths(s, fonts_, page_.width(), p_.device());
        std::vector<QString> head;
        for (const auto& c : s.table.columns) head.push_back(QString::fromStdString(c.caption));
        const double headH = rowHeight(head, widths, fonts_.header);
        // The section title stays with its header and first row.
        if (y_ + lineHeight(fonts_.section) + 2 * headH > page_.bottom()) newPage();
        text(fonts_.section, QString::fromStdString(s.title), Qt::AlignLeft, Mm(1));
        row(head, widths, fonts_.header, true, headH);
        y_ += headH;
        for (const auto& r : s.table.rows) {
            std::vector<QString> cells;
            for (const auto& c : r) cells.push_back(QString::fromStdString(c));
            const double h = rowHeight(cells, widths, fonts_.cell);
            if (y_ + h > page_.bottom()) {
                newPage();
                row(head, widths, fonts_.header, true, headH);  // the header again on a new page
                y_ += headH;
            }
            row(cells, widths, fonts_.cell, false, h);
            y_ += h;
        }
        y_ += Mm(5);
    }

    QPainter& p_;
    const PrintList& list_;
    const Fonts& fonts_;
    QRectF page_;
    bool paint_ = false;
    int total_ = 0, pageNo_ = 1;
    double y_ = 0;
    QPdfWriter* writer_ = nullptr;
};

}  // namespace

int LayoutNumber(const std::string& name) {
    for (int n : {0, 2, 3, 4, 5, 9, 10})
        if (name == PrintLayoutName(static_cast<PrintLayout>(n))) return n;
    return -1;
}

int WritePdf(const PrintList& list, int layout, const QString& pdfPath) {
    std::size_t columns = 0;
    for (const auto& s : list.sections) columns = std::max(columns, s.table.columns.size());
    QPdfWriter writer(pdfPath);
    writer.setResolution(kDpi);
    writer.setTitle(QString::fromStdString(list.title));
    writer.setCreator(QStringLiteral("Quorisdex"));
    const bool landscape = columns > 7;
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                     landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&writer))
        throw std::runtime_error("PDF 파일을 만들지 못했습니다: " + pdfPath.toStdString());
    painter.setPen(QPen(Qt::black, Mm(0.15)));
    const Fonts fonts = MakeFonts(layout);
    const QRectF full(0, 0, writer.width(), writer.height());
    // Room below for the page number.
    const QRectF page =
        full.adjusted(Mm(kMarginMm), Mm(kMarginMm), -Mm(kMarginMm), -Mm(kMarginMm + 6));
    Layout l(painter, list, fonts, page);
    const int pages = l.run(false, 0, &writer);
    l.run(true, pages, &writer);
    if (!painter.end())
        throw std::runtime_error("PDF 파일을 만들지 못했습니다: " + pdfPath.toStdString());
    return pages;
}

}  // namespace qx::print
