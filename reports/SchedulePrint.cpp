// The schedule is laid out as a QTextDocument rather than by the report engine: the engine
// places boxes on one fixed page, while a schedule is a table of any length whose cells
// wrap. Qt paginates the document and repeats a table's header row on every page, but it
// lets a row run over a page break, cutting it in half. So the rows are measured in one long
// table first, then shared out into tables of a page each, every further one on a new page.
// Only a row taller than its page is left to Qt to carry over, the header repeated above it.
#include "SchedulePrint.h"

#include "PagePainter.h"
#include "ReportCommand.h"
#include "ReportFonts.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <string_view>

namespace reports {

namespace {

using workflow::ScheduleRow;

// All lengths below are in 1/96 inch, as the report engine's; the painter scales them.
constexpr double UnitsPerMm = 96 / 25.4;
constexpr int TextPixels = 12;
constexpr int TitlePixels = 17;
constexpr double CellPadding = 3;
constexpr double FooterHeight = 8 * UnitsPerMm; // under the body, for «Лист N из M»

struct Column {
    const char* heading;
    double percent; // of the table's width
};
// clang-format off
constexpr std::array<Column, 9> Columns{{
    {"№",                        3},
    {"Обозначение",             10},
    {"Вид расчёта",             12},
    {"Объект",                  11},
    {"Материал",                12},
    {"Исходные данные",         24},
    {"Толщина расчётная, мм",    7.5},
    {"Толщина принятая, мм",     7.5},
    {"Проверка",                13},
}};
// clang-format on

QString Text(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

QString LowerFirst(QString text) {
    if (!text.isEmpty()) text[0] = text[0].toLower();
    return text;
}

QTextCharFormat CharFormat(int pixels, bool bold) {
    QTextCharFormat format;
    format.setFont(reportengine::ReportFont({QStringLiteral("Arial"), pixels, bold}));
    return format;
}

// One cell's paragraphs; the first goes where the cell's cursor stands.
struct Paragraph {
    QString text;
    bool bold = false;
};

void FillCell(QTextTableCell cell, std::initializer_list<Paragraph> paragraphs,
              Qt::Alignment alignment = Qt::AlignLeft) {
    QTextCursor cursor = cell.firstCursorPosition();
    QTextBlockFormat block;
    block.setAlignment(alignment);
    bool first = true;
    for (const Paragraph& p : paragraphs) {
        if (p.text.isEmpty()) continue;
        if (!first) cursor.insertBlock();
        cursor.setBlockFormat(block);
        cursor.insertText(p.text, CharFormat(TextPixels, p.bold));
        first = false;
    }
}

QString Millimetres(double mm, int decimals) {
    if (!std::isfinite(mm)) return QStringLiteral("—");
    return QString::number(mm, 'f', decimals).replace(QLatin1Char('.'), QLatin1Char(','));
}

void FillRow(QTextTable& table, int at, std::size_t number, const ScheduleRow& row) {
    auto cell = [&](int column) { return table.cellAt(at, column); };
    FillCell(cell(0), {{QString::number(number)}}, Qt::AlignHCenter);
    FillCell(cell(1), {{Text(row.tag)}});
    FillCell(cell(2), {{Text(workflow::KindCaption(row.kind))}});
    const QString covering = Text(row.covering);
    FillCell(cell(3), {{Text(row.object)},
                       {Text(row.location)},
                       {covering.isEmpty() ? QString() : "покрытие: " + LowerFirst(covering)}});
    FillCell(cell(4), {{Text(row.material)}});
    FillCell(cell(5), {{Text(workflow::InputsText(row))}});
    const QString none = Text(workflow::NoResultText);
    FillCell(cell(6), {{row.Calculated() ? Millimetres(row.requiredMm, 1) : none}},
             Qt::AlignHCenter);
    FillCell(cell(7), {{row.Calculated() ? QString::number(row.acceptedMm) : none}},
             Qt::AlignHCenter);
    // A shortfall, or no thickness at all, is what the checking engineer must not miss.
    FillCell(cell(8), {{Text(workflow::CheckFiguresOf(row))},
                       {Text(workflow::CheckVerdictOf(row)), !row.checkMet}});
}

// The first table stands a little below the date; each further one opens a page.
QTextTable* NewTable(QTextCursor& cursor, bool onNewPage) {
    QTextTableFormat format;
    format.setHeaderRowCount(1);
    format.setBorderCollapse(true);
    format.setBorder(1);
    format.setBorderBrush(Qt::black);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setCellSpacing(0);
    format.setCellPadding(CellPadding);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    QList<QTextLength> widths;
    for (const Column& c : Columns)
        widths << QTextLength(QTextLength::PercentageLength, c.percent);
    format.setColumnWidthConstraints(widths);
    if (onNewPage)
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    else
        format.setTopMargin(3 * UnitsPerMm);

    QTextTable* table = cursor.insertTable(1, int(Columns.size()), format);
    QTextTableCellFormat heading;
    heading.setVerticalAlignment(QTextCharFormat::AlignMiddle);
    for (int c = 0; c < int(Columns.size()); ++c) {
        QTextTableCell cell = table->cellAt(0, c);
        cell.setFormat(heading);
        FillCell(cell, {{QString::fromUtf8(Columns[std::size_t(c)].heading), true}},
                 Qt::AlignHCenter);
    }
    return table;
}

// The rows that go into one table, on one page of their own.
struct Chunk {
    std::size_t first = 0, count = 0;
};

// A document without a layout takes text at no cost; one that has one lays itself out again
// on every insertion, so the layout is asked for only once the document is built.
std::unique_ptr<QTextDocument> NewDocument(double width, double pageHeight) {
    auto document = std::make_unique<QTextDocument>();
    document->setDocumentMargin(0);
    document->setDefaultFont(reportengine::ReportFont({QStringLiteral("Arial"), TextPixels}));
    QTextOption option = document->defaultTextOption();
    option.setUseDesignMetrics(true);
    // A tag or a material without blanks still stays inside its column.
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document->setDefaultTextOption(option);
    document->setPageSize(QSizeF(width, pageHeight));
    return document;
}

// The title and the tables, the first under the title, each further one on a new page.
std::vector<QTextTable*> Fill(QTextDocument& document, const std::vector<ScheduleRow>& rows,
                              const std::vector<Chunk>& chunks, QDate date) {
    QTextCursor cursor(&document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(centred);
    cursor.insertText(QStringLiteral("Ведомость толщин тепловой изоляции"),
                      CharFormat(TitlePixels, true));
    cursor.insertBlock(centred);
    cursor.insertText(QStringLiteral("от ") + date.toString(QStringLiteral("dd.MM.yyyy")),
                      CharFormat(TextPixels + 1, false));

    // Qt keeps a paragraph after each table; it takes no room, lest the last one open a page.
    QTextBlockFormat collapsed;
    collapsed.setLineHeight(0, QTextBlockFormat::FixedHeight);
    std::vector<QTextTable*> tables;
    if (chunks.empty()) {
        QTextTable* table = NewTable(cursor, false);
        table->appendRows(1);
        table->mergeCells(1, 0, 1, int(Columns.size()));
        FillCell(table->cellAt(1, 0), {{QStringLiteral("Ведомость пуста")}}, Qt::AlignHCenter);
        tables.push_back(table);
    }
    for (const Chunk& chunk : chunks) {
        QTextTable* table = NewTable(cursor, !tables.empty());
        table->appendRows(int(chunk.count));
        for (std::size_t i = 0; i < chunk.count; ++i)
            FillRow(*table, int(i) + 1, chunk.first + i + 1, rows[chunk.first + i]);
        tables.push_back(table);
        cursor = table->lastCursorPosition();
        cursor.movePosition(QTextCursor::NextBlock);
    }
    for (QTextTable* table : tables) {
        QTextCursor after = table->lastCursorPosition();
        after.movePosition(QTextCursor::NextBlock);
        after.setBlockFormat(collapsed);
    }
    return tables;
}

// Where a row's text begins and ends: a table's frame rectangle is not where Qt draws it.
double TopOfRow(const QAbstractTextDocumentLayout& layout, QTextTable& table, int row) {
    double top = std::numeric_limits<double>::max();
    for (int c = 0; c < table.columns(); ++c)
        top = std::min(
            top,
            layout.blockBoundingRect(table.cellAt(row, c).firstCursorPosition().block()).top());
    return top;
}

double BottomOfRow(const QAbstractTextDocumentLayout& layout, QTextTable& table, int row) {
    double bottom = std::numeric_limits<double>::lowest();
    for (int c = 0; c < table.columns(); ++c)
        bottom = std::max(
            bottom,
            layout.blockBoundingRect(table.cellAt(row, c).lastCursorPosition().block()).bottom());
    return bottom;
}

// How far below the top of a page Qt sets the text of a header that opens the page.
double HeaderTextOnNewPage(double width) {
    constexpr double page = 1000;
    auto document = NewDocument(width, page);
    QTextCursor cursor(document.get());
    QTextTable& table = *NewTable(cursor, true);
    return TopOfRow(*document->documentLayout(), table, 0) - page;
}

// Under a row's text: its padding, its border, and a whisker.
constexpr double RowTail = CellPadding + 2;

// The rows shared out between pages by their heights in one long table: as many on a page as
// fit, and a row taller than a page alone.
std::vector<Chunk> ShareOut(const std::vector<ScheduleRow>& rows, QSizeF body, QDate date) {
    const std::size_t count = rows.size();
    auto document = NewDocument(body.width(), -1);
    QTextTable& table = *Fill(*document, rows, {{0, count}}, date).front();
    const QAbstractTextDocumentLayout& layout = *document->documentLayout();
    std::vector<double> tops(count), bottoms(count);
    for (std::size_t r = 0; r < count; ++r) {
        tops[r] = TopOfRow(layout, table, int(r) + 1);
        bottoms[r] = BottomOfRow(layout, table, int(r) + 1);
    }
    // On a page of its own, a table's rows start below its header, as in the long table, and
    // below where Qt puts a header that opens a page.
    const double aboveRows =
        tops[0] - TopOfRow(layout, table, 0) + HeaderTextOnNewPage(body.width());
    const double page = body.height();

    std::vector<Chunk> chunks{{0, 1}};
    for (std::size_t r = 1; r < count; ++r) {
        const Chunk& last = chunks.back();
        const double bottom =
            chunks.size() == 1 ? bottoms[r] : aboveRows + bottoms[r] - tops[last.first];
        if (bottom + RowTail <= page)
            ++chunks.back().count;
        else
            chunks.push_back({r, 1});
    }
    return chunks;
}

class ScheduleDocument {
public:
    ScheduleDocument(QSizeF body, const std::vector<ScheduleRow>& rows, QDate date);

    int PageCount() const { return document_->pageCount(); }
    double PageHeight() const { return document_->pageSize().height(); }
    void PaintPage(QPainter& painter, int page) const;

private:
    // The first chunk whose table, of two rows or more, runs over a page break; none: -1.
    int FirstOverflow(const std::vector<QTextTable*>& tables) const;
    void SplitParagraphsAtPageBreaks();

    std::unique_ptr<QTextDocument> document_;
};

ScheduleDocument::ScheduleDocument(QSizeF body, const std::vector<ScheduleRow>& rows, QDate date) {
    std::vector<Chunk> chunks = rows.empty() ? std::vector<Chunk>() : ShareOut(rows, body, date);
    // The heights were measured in one table; should a page's table still run over, its last
    // row moves on to the next page.
    for (;;) {
        document_ = NewDocument(body.width(), body.height());
        const int overflow = FirstOverflow(Fill(*document_, rows, chunks, date));
        if (overflow < 0) break;
        Chunk& full = chunks[std::size_t(overflow)];
        --full.count;
        const std::size_t moved = full.first + full.count;
        if (std::size_t(overflow) + 1 < chunks.size())
            chunks[std::size_t(overflow) + 1] = {moved,
                                                 chunks[std::size_t(overflow) + 1].count + 1};
        else
            chunks.push_back({moved, 1});
    }
    SplitParagraphsAtPageBreaks();
}

int ScheduleDocument::FirstOverflow(const std::vector<QTextTable*>& tables) const {
    const QAbstractTextDocumentLayout& layout = *document_->documentLayout();
    const double page = PageHeight();
    for (std::size_t i = 0; i < tables.size(); ++i) {
        QTextTable& table = *tables[i];
        if (table.rows() <= 2) continue;
        const double top = TopOfRow(layout, table, 0);
        const double bottom = BottomOfRow(layout, table, table.rows() - 1) + RowTail;
        if (std::floor(top / page) != std::floor(bottom / page)) return int(i);
    }
    return -1;
}

// A row taller than a page runs on over the break, its paragraphs with it. Painting a page,
// Qt draws the line above the page's top as well, hidden by the clip but kept in a PDF's
// text; a paragraph that stops at the break leaves nothing of itself to draw there.
void ScheduleDocument::SplitParagraphsAtPageBreaks() {
    const double page = PageHeight();
    for (QTextBlock block = document_->begin(); block.isValid(); block = block.next()) {
        const QTextLayout* lines = block.layout();
        const double top = document_->documentLayout()->blockBoundingRect(block).top() -
                           lines->boundingRect().top();
        if (lines->lineCount() < 2) continue;
        const double firstPage = std::floor((top + lines->lineAt(0).y()) / page);
        for (int i = 1; i < lines->lineCount(); ++i) {
            const QTextLine line = lines->lineAt(i);
            if (std::floor((top + line.y()) / page) == firstPage) continue;
            QTextCursor cursor(block);
            cursor.setPosition(block.position() + line.textStart());
            cursor.insertBlock(block.blockFormat(), cursor.charFormat());
            break;
        }
    }
}

void ScheduleDocument::PaintPage(QPainter& painter, int page) const {
    const double height = PageHeight();
    const QRectF clip(0, page * height, document_->pageSize().width(), height);
    painter.save();
    painter.translate(0, -clip.top());
    painter.setClipRect(clip);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = clip;
    context.palette.setColor(QPalette::Text, Qt::black);
    document_->documentLayout()->draw(&painter, context);
    painter.restore();
}

// Paints every page on the device, whose painter has been begun; `area` is where on each
// sheet the pages go, in the device's pixels from the painter's origin.
bool PaintSchedule(QPainter& painter, QPagedPaintDevice& device, QRectF area,
                   const std::vector<ScheduleRow>& rows, QDate date) {
    const double scaleX = device.logicalDpiX() / 96.0, scaleY = device.logicalDpiY() / 96.0;
    const QSizeF page(area.width() / scaleX, area.height() / scaleY);
    const ScheduleDocument document(QSizeF(page.width(), page.height() - FooterHeight), rows, date);
    const int count = document.PageCount();
    const QFont footerFont = reportengine::ReportFont({QStringLiteral("Arial"), TextPixels});
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !device.newPage()) return false;
        painter.save();
        painter.translate(area.topLeft());
        painter.scale(scaleX, scaleY);
        painter.setRenderHint(QPainter::TextAntialiasing);
        document.PaintPage(painter, i);
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

bool WriteSchedulePdf(const QString& path, const std::vector<ScheduleRow>& rows, QDate date) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const QString title = ScheduleTitle(date);
    QPdfWriter writer(&file);
    writer.setPageLayout(SchedulePageLayout());
    writer.setTitle(title);
    writer.setCreator(QGuiApplication::applicationDisplayName());
    writer.setDocumentXmpMetadata(reportengine::XmpMetadata(title, ReportAuthor()));
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    const bool painted =
        PaintSchedule(painter, writer, QRectF(0, 0, writer.width(), writer.height()), rows, date);
    return painter.end() && painted && file.flush();
}

} // namespace reports
