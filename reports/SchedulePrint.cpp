// The schedule is laid out here, line by line, rather than by the report engine or a
// QTextDocument: the engine places boxes on one fixed page, and a text document lays a long
// table out again each time it is paginated. Each cell's text is broken into lines once;
// the rows are then dealt out to pages by their heights. A row goes whole onto the page
// where it fits; only a row taller than a page runs on, line by line, under the headings of
// the next pages.
#include "SchedulePrint.h"

#include "PagePainter.h"
#include "ReportCommand.h"
#include "ReportFonts.h"
#include "ScheduleColumns.h"
#include "Utf8Text.h"

#include "FileSave.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTextLayout>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <span>
#include <string_view>

namespace reports {

namespace {

using workflow::ScheduleRow;

// All lengths below are in 1/96 inch, as the report engine's; the painter scales them.
constexpr double UnitsPerMm = 96 / 25.4;
constexpr int TextPixels = 12;
constexpr int TitlePixels = 17;
constexpr double CellPadding = 3;
constexpr double BorderWidth = 1;
constexpr double TableGap = 3 * UnitsPerMm;     // between the date and the first table
constexpr double FooterHeight = 8 * UnitsPerMm; // under the body, for «Лист N из M»

struct Paragraph {
    QString text;
    bool bold = false;
};

// One line of a paragraph, from the top-left corner of its cell's text.
struct Line {
    const QTextLayout* layout;
    int index;
    double x, y, height;
};

// A cell of a row: where it stands across the table, and its lines top to bottom.
struct Cell {
    double left = 0, width = 0;
    std::vector<Line> lines;
};

// The lines of a cell from `first` to before `last`, and how high they stand.
double Height(const Cell& cell, std::size_t first, std::size_t last) {
    if (first >= last) return 0;
    const Line& end = cell.lines[last - 1];
    return end.y + end.height - cell.lines[first].y;
}

struct Row {
    std::vector<Cell> cells;
    double height = 0; // the tallest cell's lines and the padding around them
};

// Breaks paragraphs into lines, once, and keeps them for painting.
class Typesetter {
public:
    Typesetter()
        : regular_(reportengine::ReportFont({"Arial", TextPixels}))
        , bold_(reportengine::ReportFont({"Arial", TextPixels, true})) {}

    Cell Set(double left, double width, std::span<const Paragraph> paragraphs, bool centred = false,
             double padding = CellPadding) {
        Cell cell{left, width, {}};
        double y = 0;
        for (const Paragraph& p : paragraphs)
            if (!p.text.isEmpty())
                Add(cell, p.text, p.bold ? bold_ : regular_, centred, padding, y);
        return cell;
    }

    Cell SetIn(double left, double width, const QString& text, const QFont& font) {
        Cell cell{left, width, {}};
        double y = 0;
        Add(cell, text, font, true, 0, y);
        return cell;
    }

private:
    void Add(Cell& cell, const QString& text, const QFont& font, bool centred, double padding,
             double& y) {
        // A line break typed or imported in a text breaks its line on paper as well.
        QString lines = text;
        lines.remove(QLatin1Char('\r')).replace(QLatin1Char('\n'), QChar::LineSeparator);
        auto& layout = *layouts_.emplace_back(std::make_unique<QTextLayout>(lines, font));
        QTextOption option(Qt::AlignLeft | Qt::AlignTop);
        // A tag or a material without blanks still stays inside its column.
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        option.setUseDesignMetrics(true);
        layout.setTextOption(option);
        const double width = std::max(1.0, cell.width - 2 * padding);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, 0));
            const double x = centred ? (width - line.naturalTextWidth()) / 2 : 0;
            cell.lines.push_back({&layout, line.lineNumber(), x, y, line.height()});
            y += line.height();
        }
        layout.endLayout();
    }

    QFont regular_, bold_;
    std::vector<std::unique_ptr<QTextLayout>> layouts_;
};

double RowHeight(const Row& row) {
    double tallest = 0;
    for (const Cell& cell : row.cells)
        tallest = std::max(tallest, Height(cell, 0, cell.lines.size()));
    return tallest + 2 * CellPadding + BorderWidth;
}

class Table {
public:
    explicit Table(double width)
        : width_(width)
        , columns_(workflow::ViewColumns(&workflow::ScheduleColumn::printed)) {
        double left = 0;
        for (const workflow::ViewColumn& c : columns_) {
            lefts_.push_back(left);
            widths_.push_back(width * c.printPercent / 100);
            left += widths_.back();
        }
    }

    Row Heading(Typesetter& set) const {
        Row row;
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            const Paragraph heading{Text(columns_[c].heading), true};
            row.cells.push_back(set.Set(lefts_[c], widths_[c], {&heading, 1}, true));
        }
        row.height = RowHeight(row);
        return row;
    }

    // Each cell: its column's text, and below it a paragraph of each column shown there.
    Row Of(Typesetter& set, std::size_t number, const ScheduleRow& row) const {
        const workflow::RowAt at{row, number, ","};
        Row printed;
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            std::vector<Paragraph> paragraphs;
            for (const workflow::ScheduleColumn* part : columns_[c].parts) {
                std::string text = part->text(at);
                if (!text.empty() && !part->printLabel.empty())
                    text = std::string(part->printLabel) + workflow::LowerFirst(std::move(text));
                paragraphs.push_back({Text(text), part->accented && part->accented(row)});
            }
            printed.cells.push_back(
                set.Set(lefts_[c], widths_[c], paragraphs, columns_[c].parts.front()->figure));
        }
        printed.height = RowHeight(printed);
        return printed;
    }

    Row Empty(Typesetter& set) const {
        const Paragraph empty{QStringLiteral("Ведомость пуста")};
        Row row;
        row.cells.push_back(set.Set(0, width_, {&empty, 1}, true));
        row.height = RowHeight(row);
        return row;
    }

private:
    double width_;
    std::vector<workflow::ViewColumn> columns_;
    std::vector<double> lefts_, widths_;
};

// A row on a page, or the part of a tall row: for each cell the lines from first to before
// last, and the height that the part takes.
struct Piece {
    const Row* row;
    std::vector<std::size_t> first, last;
    double height;
};

Piece Whole(const Row& row) {
    Piece piece{&row, {}, {}, row.height};
    for (const Cell& cell : row.cells) {
        piece.first.push_back(0);
        piece.last.push_back(cell.lines.size());
    }
    return piece;
}

struct SheetPage {
    std::vector<Piece> pieces;
};

// The rows dealt out to pages of `height`, the first of them starting at `firstTop`; each
// page's table opens with the heading.
std::vector<SheetPage> Paginate(const std::vector<Row>& rows, const Row& heading, double firstTop,
                                double height) {
    std::vector<SheetPage> pages(1);
    double y = firstTop + heading.height;
    const double top = heading.height;
    auto newPage = [&] {
        pages.emplace_back();
        y = top;
    };
    for (const Row& row : rows) {
        if (y + row.height > height && top + row.height <= height) newPage();
        if (y + row.height <= height) {
            pages.back().pieces.push_back(Whole(row));
            y += row.height;
            continue;
        }
        // Taller than a page: each cell runs on with as many lines as the page holds.
        Piece rest = Whole(row);
        std::fill(rest.last.begin(), rest.last.end(), 0);
        for (;;) {
            const double room = height - y - 2 * CellPadding - BorderWidth;
            Piece piece{&row, rest.last, rest.last, 0};
            bool done = true;
            double used = 0;
            for (std::size_t c = 0; c < row.cells.size(); ++c) {
                const Cell& cell = row.cells[c];
                std::size_t& last = piece.last[c];
                while (last < cell.lines.size() &&
                       (Height(cell, piece.first[c], last + 1) <= room ||
                        (last == piece.first[c] && y == top)))
                    ++last;
                used = std::max(used, Height(cell, piece.first[c], last));
                done = done && last == cell.lines.size();
            }
            if (used == 0 && !done) { // not a line fits below the rows above
                newPage();
                continue;
            }
            piece.height = done ? used + 2 * CellPadding + BorderWidth : height - y;
            pages.back().pieces.push_back(piece);
            y += piece.height;
            rest = piece;
            if (done) break;
            newPage();
        }
    }
    return pages;
}

void DrawLines(QPainter& painter, const Cell& cell, std::size_t first, std::size_t last,
               QPointF corner) {
    if (first >= last) return;
    const double from = cell.lines[first].y;
    for (std::size_t i = first; i < last; ++i) {
        const Line& line = cell.lines[i];
        line.layout->lineAt(line.index).draw(&painter, corner + QPointF(line.x, line.y - from));
    }
}

// A piece at `top`: its cells' lines, the line above it and those between its cells. A cell
// whose lines are fewer than the piece's height has them at the top, or in the middle.
void DrawPiece(QPainter& painter, const Piece& piece, double top, double tableWidth,
               bool middle = false) {
    const Row& row = *piece.row;
    painter.drawLine(QPointF(0, top), QPointF(tableWidth, top));
    const double inner = piece.height - 2 * CellPadding - BorderWidth;
    for (std::size_t c = 0; c < row.cells.size(); ++c) {
        const Cell& cell = row.cells[c];
        painter.drawLine(QPointF(cell.left, top), QPointF(cell.left, top + piece.height));
        const double below = middle ? (inner - Height(cell, piece.first[c], piece.last[c])) / 2 : 0;
        DrawLines(painter, cell, piece.first[c], piece.last[c],
                  QPointF(cell.left + CellPadding, top + CellPadding + BorderWidth + below));
    }
    painter.drawLine(QPointF(tableWidth, top), QPointF(tableWidth, top + piece.height));
}

// The schedule laid out on pages of `page` size, ready to paint any one of them.
class ScheduleSheets {
public:
    ScheduleSheets(QSizeF page, const std::vector<ScheduleRow>& rows, QDate date)
        : page_(page)
        , table_(page.width()) {
        const QFont titleFont = reportengine::ReportFont({"Arial", TitlePixels, true});
        const QFont dateFont = reportengine::ReportFont({"Arial", TextPixels + 1});
        title_ = set_.SetIn(0, page.width(), QStringLiteral("Ведомость толщин тепловой изоляции"),
                            titleFont);
        date_ = set_.SetIn(0, page.width(),
                           QStringLiteral("от ") + date.toString(QStringLiteral("dd.MM.yyyy")),
                           dateFont);
        heading_ = table_.Heading(set_);
        if (rows.empty()) body_.push_back(table_.Empty(set_));
        for (std::size_t i = 0; i < rows.size(); ++i)
            body_.push_back(table_.Of(set_, i + 1, rows[i]));
        tableTop_ = Height(title_, 0, title_.lines.size()) + Height(date_, 0, date_.lines.size()) +
                    TableGap;
        pages_ = Paginate(body_, heading_, tableTop_, BodyHeight());
    }

    int PageCount() const { return int(pages_.size()); }

    void Paint(QPainter& painter, int index) const {
        painter.setPen(QPen(Qt::black, BorderWidth));
        double y = 0;
        if (index == 0) {
            DrawLines(painter, title_, 0, title_.lines.size(), {0, 0});
            const double dateTop = Height(title_, 0, title_.lines.size());
            DrawLines(painter, date_, 0, date_.lines.size(), {0, dateTop});
            y = tableTop_;
        }
        const double width = page_.width();
        DrawPiece(painter, Whole(heading_), y, width, true);
        y += heading_.height;
        for (const Piece& piece : pages_[std::size_t(index)].pieces) {
            DrawPiece(painter, piece, y, width);
            y += piece.height;
        }
        painter.drawLine(QPointF(0, y), QPointF(width, y));
    }

private:
    double BodyHeight() const { return page_.height() - FooterHeight; }

    QSizeF page_;
    Table table_;
    Typesetter set_;
    Cell title_, date_;
    Row heading_;
    std::vector<Row> body_;
    double tableTop_ = 0;
    std::vector<SheetPage> pages_;
};

// Paints every page on the device, whose painter has been begun; `area` is where on each
// sheet the pages go, in the device's pixels from the painter's origin.
bool PaintSchedule(QPainter& painter, QPagedPaintDevice& device, QRectF area,
                   const std::vector<ScheduleRow>& rows, QDate date) {
    const double scaleX = device.logicalDpiX() / 96.0, scaleY = device.logicalDpiY() / 96.0;
    const QSizeF page(area.width() / scaleX, area.height() / scaleY);
    const ScheduleSheets sheets(page, rows, date);
    const int count = sheets.PageCount();
    const QFont footerFont = reportengine::ReportFont({"Arial", TextPixels});
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !device.newPage()) return false;
        painter.save();
        painter.translate(area.topLeft());
        painter.scale(scaleX, scaleY);
        painter.setRenderHint(QPainter::TextAntialiasing);
        sheets.Paint(painter, i);
        painter.setFont(footerFont);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, page.height() - FooterHeight, page.width(), FooterHeight),
                         Qt::AlignRight | Qt::AlignBottom,
                         QStringLiteral("Лист %1 из %2").arg(i + 1).arg(count));
        painter.restore();
    }
    return true;
}

} // namespace
QPageLayout SchedulePageLayout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(20, 10, 10, 10),
                       QPageLayout::Millimeter);
}

QString ScheduleTitle(QDate date) {
    return QStringLiteral("Ведомость толщин тепловой изоляции — ") + date.toString(Qt::ISODate);
}

void PrintSchedule(QPrinter& printer, const std::vector<ScheduleRow>& rows, QDate date) {
    printer.setDocName(ScheduleTitle(date));
    printer.setCreator(QGuiApplication::applicationDisplayName());
    QPainter painter;
    if (!painter.begin(&printer)) return;
    // In full-page mode the painter starts at the sheet's corner and the margins are ours
    // to keep (the layout's paint rect is then the whole sheet); otherwise it starts inside
    // them.
    const QPageLayout layout = printer.pageLayout();
    const int dpi = printer.resolution();
    const QRectF area =
        printer.fullPage()
            ? QRectF(layout.fullRectPixels(dpi)).marginsRemoved(layout.marginsPixels(dpi))
            : QRectF(0, 0, printer.width(), printer.height());
    PaintSchedule(painter, printer, area, rows, date);
    painter.end();
}

QString WriteSchedulePdf(const QString& path, const std::vector<ScheduleRow>& rows, QDate date) {
    files::FileSave file(path);
    if (!file.Open()) return file.Reason();
    const QString title = ScheduleTitle(date);
    QPdfWriter writer(&file.Device());
    writer.setPageLayout(SchedulePageLayout());
    writer.setTitle(title);
    writer.setCreator(QGuiApplication::applicationDisplayName());
    writer.setDocumentXmpMetadata(reportengine::XmpMetadata(title, ReportAuthor()));
    QPainter painter;
    if (!painter.begin(&writer)) return QStringLiteral("Не удалось начать документ PDF");
    const bool painted =
        PaintSchedule(painter, writer, QRectF(0, 0, writer.width(), writer.height()), rows, date);
    const bool ended = painter.end();
    // Left uncommitted, an unfinished document is dropped; one the disk refused says why.
    if ((!ended || !painted) && file.Device().error() == QFileDevice::NoError)
        return QStringLiteral("Не удалось закончить документ PDF");
    return file.Commit() ? QString() : file.Reason();
}

} // namespace reports
