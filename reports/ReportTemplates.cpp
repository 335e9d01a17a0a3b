#include "ReportTemplates.h"

#include "CalcKinds.h"

#include <span>

namespace reports {

namespace {

using reportengine::Template;
using reportengine::TextBox;

enum class Style { Regular, Bold, BoldUnderline, Brand };

struct BoxRow {
    const char* name;
    double left, top, width, height; // mm from the sheet's top-left corner
    Style style;
    bool shown;
    const char* text;
};

// clang-format off
// Every template begins with these; rows run top to bottom, left to right.
constexpr BoxRow sharedBoxes[] = {
    // box      left  top   width height style                 shown  text
    {"Memo2",      9,   13,   69,   8,  Style::Bold,          true,  "ТЕПЛОИЗОЛЯЦИЯ ТРУБОПРОВОДОВ И ОБОРУДОВАНИЯ"},
    {"Memo4",    139,   21,   35,  10,  Style::Regular,       true,  "Программа расчёта теплоизоляции"},
    {"Date",     139,   33,   21,   5,  Style::Regular,       true,  "[Date]"},
    {"Memo5",      7,   41,   25,   5,  Style::BoldUnderline, true,  "Вид расчёта"},
    {"Memo20",     7,  224,   45,   5,  Style::BoldUnderline, true,  "Результаты расчёта"},
    // Shown instead of a thickness that was not computed from the printed inputs.
    {"NoResult",   7,  242,  150,   5,  Style::Regular,       false, "Расчёт для приведённых исходных данных не выполнен"},
};

constexpr BoxRow frxReport1Boxes[] = {
    // box      left  top   width height style                 shown  text
    {"Memo3",    138,   10,   42,   7,  Style::Brand,         true,  "ЗОРБАЛИТ"},
    {"Memo6",     35,   41,  167,   5,  Style::Regular,       true,  "Расчёт толщины теплоизоляции по заданной температуре на поверхности"},
    {"Memo7",      7,   52,   25,   5,  Style::Regular,       true,  "Объект"},
    {"Memo10",   109,   53,   64,   4,  Style::Regular,       true,  "[cyl]"},
    {"Memo8",      7,   59,   25,   4,  Style::Regular,       true,  "Расположение"},
    {"Memo11",   109,   59,   64,   4,  Style::Regular,       true,  "[dis]"},
    {"Memo9",      7,   65,   25,   4,  Style::Regular,       true,  "Материал"},
    {"Memo12",   109,   65,   97,   4,  Style::Regular,       true,  "[mat]"},
    {"Memo13",     7,   71,   25,   4,  Style::Regular,       true,  "Покрытие"},
    {"Memo23",   109,   71,   64,   4,  Style::Regular,       true,  "[sur]"},
    {"Memo14",     7,  101,   45,   5,  Style::BoldUnderline, true,  "Исходные данные"},
    {"Memo24",     7,  112,   54,   4,  Style::Regular,       false, "Диаметр трубы, мм"},
    {"Memo25",   109,  112,   25,   4,  Style::Regular,       false, "[dt]"},
    {"Memo15",     7,  122,   54,   4,  Style::Regular,       true,  "Температура теплоносителя °С"},
    {"Memo1",    109,  122,   25,   4,  Style::Regular,       true,  "[tb]"},
    {"Memo16",     7,  132,   66,   4,  Style::Regular,       true,  "Температура окружающего воздуха °С"},
    {"Memo18",   109,  132,   25,   4,  Style::Regular,       true,  "[ta]"},
    {"Memo17",     7,  144,   66,   4,  Style::Regular,       true,  "Заданная температура поверхности °С"},
    {"Memo19",   109,  144,   25,   4,  Style::Regular,       true,  "[ts]"},
    {"Memo21",     7,  236,   77,   4,  Style::Regular,       true,  "Принятая толщина тепловой изоляции, мм"},
    {"Memo22",   104,  236,   62,   4,  Style::Regular,       true,  "[tt]"},
};

constexpr BoxRow frxReport2Boxes[] = {
    // box      left  top   width height style                 shown  text
    {"Memo3",    142,   10,   40,   7,  Style::Brand,         true,  "ЗОРБАЛИТ"},
    {"Memo6",     35,   41,  167,   5,  Style::Regular,       true,  "Расчёт толщины изоляции с целью предотвращения конденсации влаги на поверхности"},
    {"Memo7",      7,   52,   25,   5,  Style::Regular,       true,  "Объект"},
    {"Memo10",   109,   53,   25,   4,  Style::Regular,       true,  "[cyl]"},
    {"Memo8",      7,   59,   25,   4,  Style::Regular,       true,  "Расположение"},
    {"Memo11",   109,   59,   25,   4,  Style::Regular,       true,  "[dis]"},
    {"Memo9",      7,   65,   25,   4,  Style::Regular,       true,  "Материал"},
    {"Memo12",   109,   65,   95,   4,  Style::Regular,       true,  "[mat]"},
    {"Memo13",     7,   72,   25,   4,  Style::Regular,       true,  "Покрытие"},
    {"Memo23",   109,   72,   25,   4,  Style::Regular,       true,  "[sur]"},
    {"Memo14",     7,  101,   45,   5,  Style::BoldUnderline, true,  "Исходные данные"},
    {"Memo24",     7,  114,   54,   4,  Style::Regular,       false, "Диаметр трубы, мм"},
    {"Memo25",   109,  114,   25,   4,  Style::Regular,       false, "[dt]"},
    {"Memo15",     7,  125,   54,   4,  Style::Regular,       true,  "Температура теплоносителя °С"},
    {"Memo1",    109,  125,   25,   5,  Style::Regular,       true,  "[tb]"},
    {"Memo16",     7,  135,   66,   4,  Style::Regular,       true,  "Температура окружающего воздуха °С"},
    {"Memo18",   109,  135,   25,   4,  Style::Regular,       true,  "[ta]"},
    {"Memo17",     7,  147,   87,   4,  Style::Regular,       true,  "Относительная влажность окружающего воздуха, %"},
    {"Memo19",   109,  147,   25,   4,  Style::Regular,       true,  "[mo]"},
    {"Memo21",     7,  236,   76,   4,  Style::Regular,       true,  "Принятая толщина тепловой изоляции, мм"},
    {"Memo22",   109,  236,   25,   4,  Style::Regular,       true,  "[tt]"},
};

constexpr BoxRow frxReport3Boxes[] = {
    // box      left  top   width height style                 shown  text
    {"Memo3",    138,   10,   40,   7,  Style::Brand,         true,  "ЗОРБАЛИТ"},
    {"Memo6",     35,   41,  167,   5,  Style::Regular,       true,  "Расчёт толщины изоляции по норме теплопотерь"},
    {"Memo7",      7,   52,   25,   5,  Style::Regular,       true,  "Объект"},
    {"Memo10",   109,   53,   25,   4,  Style::Regular,       true,  "[cyl]"},
    {"Memo8",      7,   59,   25,   4,  Style::Regular,       true,  "Расположение"},
    {"Memo11",   109,   59,   25,   4,  Style::Regular,       true,  "[dis]"},
    {"Memo9",      7,   66,   25,   4,  Style::Regular,       true,  "Материал"},
    {"Memo12",   109,   66,   25,   4,  Style::Regular,       true,  "[mat]"},
    {"Memo13",     7,   73,   25,   4,  Style::Regular,       true,  "Покрытие"},
    {"Memo25",   109,   73,   25,   4,  Style::Regular,       true,  "[sur]"},
    {"Memo24",     7,  110,   79,   4,  Style::Regular,       true,  "Район прокладки трубопровода"},
    {"Memo29",   109,  110,   89,   4,  Style::Regular,       true,  "[rp]"},
    {"Memo14",     7,  126,   45,   5,  Style::BoldUnderline, true,  "Исходные данные"},
    {"Memo26",     7,  138,   54,   4,  Style::Regular,       false, "Диаметр трубы, мм"},
    {"Memo27",   109,  138,   25,   4,  Style::Regular,       false, "[dt]"},
    {"Memo15",     7,  150,   54,   4,  Style::Regular,       true,  "Температура теплоносителя °С"},
    {"Memo1",    109,  150,   25,   5,  Style::Regular,       true,  "[tb]"},
    {"Memo16",     7,  160,   66,   4,  Style::Regular,       true,  "Температура окружающего воздуха °С"},
    {"Memo18",   109,  160,   25,   4,  Style::Regular,       true,  "[ta]"},
    {"Memo17",     7,  172,   87,   4,  Style::Regular,       true,  "Норма тепловых потерь, [nu]"},
    {"Memo19",   109,  172,   25,   4,  Style::Regular,       true,  "[nt]"},
    {"Memo30",     7,  184,   87,   4,  Style::Regular,       true,  "Число часов работы в год"},
    {"Memo31",   109,  184,   60,   4,  Style::Regular,       true,  "[ch]"},
    {"Memo21",     7,  236,   78,   4,  Style::Regular,       true,  "Принятая толщина тепловой изоляции, мм"},
    {"Memo22",   109,  236,   25,   4,  Style::Regular,       true,  "[tt]"},
};

constexpr BoxRow frxReport4Boxes[] = {
    // box      left  top   width height style                 shown  text
    {"Memo3",    138,   10,   43,   7,  Style::Brand,         true,  "ЗОРБАЛИТ"},
    {"Memo6",     35,   41,  167,   5,  Style::Regular,       true,  "Расчёт толщины изоляции с целью предотвращения замерзания воды в трубопроводе"},
    {"Memo7",      7,   52,   25,   5,  Style::Regular,       true,  "Объект"},
    {"Memo10",   109,   53,   25,   4,  Style::Regular,       true,  "Труба"},
    {"Memo8",      7,   60,   25,   4,  Style::Regular,       true,  "Расположение"},
    {"Memo11",   109,   60,   39,   4,  Style::Regular,       true,  "[dis]"},
    {"Memo9",      7,   67,   25,   4,  Style::Regular,       true,  "Материал"},
    {"Memo12",   109,   67,   71,   4,  Style::Regular,       true,  "[mat]"},
    {"Memo13",     7,   74,   25,   4,  Style::Regular,       true,  "Покрытие"},
    {"Memo23",   109,   74,   39,   4,  Style::Regular,       true,  "[sur]"},
    {"Memo14",     7,  101,   45,   5,  Style::BoldUnderline, true,  "Исходные данные"},
    {"Memo1",    109,  110,   25,   5,  Style::Regular,       true,  "[dt]"},
    {"Memo15",     7,  111,   54,   4,  Style::Regular,       true,  "Диаметр трубопровода, мм"},
    {"Memo16",     7,  121,   66,   4,  Style::Regular,       true,  "Толщина стенки трубопровода, мм"},
    {"Memo18",   109,  121,   25,   4,  Style::Regular,       true,  "[ts]"},
    {"Memo17",     7,  133,   66,   4,  Style::Regular,       true,  "Начальная температура воды °С"},
    {"Memo19",   109,  133,   25,   4,  Style::Regular,       true,  "[tb]"},
    {"Memo24",     7,  147,   66,   4,  Style::Regular,       true,  "Температура наружного воздуха °С"},
    {"Memo25",   109,  147,   25,   4,  Style::Regular,       true,  "[ta]"},
    {"Memo26",     7,  161,   87,   4,  Style::Regular,       true,  "Заданное время прекращения движения воды, час"},
    {"Memo27",   109,  161,   25,   4,  Style::Regular,       true,  "[tp]"},
    {"Memo28",     7,  173,   87,   4,  Style::Regular,       true,  "Способ установки трубопровода"},
    {"Memo29",   109,  173,   95,   4,  Style::Regular,       true,  "[ls]"},
    {"Memo21",     7,  236,   77,   4,  Style::Regular,       true,  "Принятая толщина тепловой изоляции, мм"},
    {"Memo22",   109,  236,   25,   4,  Style::Regular,       true,  "[tt]"},
};

constexpr BoxRow frxReport5Boxes[] = {
    // box      left  top   width height style                 shown  text
    {"Memo3",    138,   10,   44,   7,  Style::Brand,         true,  "ЗОРБАЛИТ"},
    {"Memo6",     35,   41,  167,   5,  Style::Regular,       true,  "Расчёт толщины изоляции для трубопроводов двухтрубной канальной прокладки"},
    {"Memo7",      7,   52,   29,   5,  Style::Regular,       true,  "Объект"},
    {"Memo10",    84,   53,   50,   4,  Style::Regular,       true,  "Труба подающая и обратная"},
    {"Memo8",      7,   59,   25,   4,  Style::Regular,       true,  "Расположение"},
    {"Memo11",    84,   59,   50,   4,  Style::Regular,       true,  "[dis]"},
    {"Memo9",      7,   66,   25,   4,  Style::Regular,       true,  "Материал"},
    {"Memo12",    84,   66,  120,   4,  Style::Regular,       true,  "[mat]"},
    {"Memo25",    84,   72,   50,   4,  Style::Regular,       true,  "[sur]"},
    {"Memo13",     7,   73,   25,   4,  Style::Regular,       true,  "Покрытие"},
    {"Memo14",     7,  107,   45,   5,  Style::BoldUnderline, true,  "Исходные данные"},
    {"Memo23",     7,  123,   63,   4,  Style::Regular,       true,  "Температура грунта °С"},
    {"Memo26",   109,  123,   25,   4,  Style::Regular,       true,  "[tg]"},
    {"Memo1",    109,  133,   25,   5,  Style::Regular,       true,  "[tpg]"},
    {"Memo24",     7,  134,   87,   4,  Style::Regular,       true,  "Теплопроводность грунта, Вт/(м·°С)"},
    {"Memo30",     7,  145,   87,   4,  Style::Regular,       true,  "Температура подающего трубопровода °С"},
    {"Memo31",   109,  145,   25,   4,  Style::Regular,       true,  "[tb]"},
    {"Memo32",     7,  154,   87,   4,  Style::Regular,       true,  "Температура обратного трубопровода °С"},
    {"Memo33",   109,  154,   25,   4,  Style::Regular,       true,  "[tp]"},
    {"Memo15",     7,  164,   66,   4,  Style::Regular,       true,  "Глубина заложения канала, м"},
    {"Memo27",   109,  164,   25,   4,  Style::Regular,       true,  "[dk]"},
    {"Memo16",     7,  174,   66,   4,  Style::Regular,       true,  "Высота канала, м"},
    {"Memo18",   109,  174,   25,   4,  Style::Regular,       true,  "[hk]"},
    {"Memo17",     7,  186,   87,   4,  Style::Regular,       true,  "Ширина канала, м"},
    {"Memo19",   109,  186,   25,   4,  Style::Regular,       true,  "[wk]"},
    {"Memo28",     7,  202,   87,   4,  Style::Regular,       true,  "Диаметр трубы, мм"},
    {"dt",       109,  202,   21,   5,  Style::Regular,       true,  "[dt]"},
    {"Memo34",     7,  212,   87,   4,  Style::Regular,       true,  "Число часов работы в год"},
    {"Memo35",   109,  212,   60,   4,  Style::Regular,       true,  "[ch]"},
    {"Memo21",     7,  236,   78,   4,  Style::Regular,       true,  "Принятая толщина тепловой изоляции, мм"},
    {"Memo22",   109,  236,   25,   4,  Style::Regular,       true,  "[tt]"},
};

// clang-format on

struct TemplateData {
    const char* name;
    std::span<const char* const> variables; // the first is a category heading
    std::span<const BoxRow> boxes;
};

constexpr const char* frxReport1Variables[] = {" NC1", "cyl", "dis", "mat", "sur",
                                               "dt",   "tb",  "ta",  "ts",  "tt"};
constexpr const char* frxReport2Variables[] = {" NC1", "cyl", "dis", "mat", "sur",
                                               "tb",   "ta",  "mo",  "tt",  "dt"};
constexpr const char* frxReport3Variables[] = {" NC1", "cyl", "dis", "mat", "sur", "sp", "rp",
                                               "tb",   "ta",  "nt",  "tt",  "dt",  "ch", "nu"};
constexpr const char* frxReport4Variables[] = {" NC1", "cyl", "dis", "mat", "sur", "dt",
                                               "ts",   "tb",  "ta",  "tp",  "tt",  "ls"};
constexpr const char* frxReport5Variables[] = {" NC1", "cyl", "dis", "mat", "sur",
                                               "tg",   "tpg", "tb",  "tp",  "dk",
                                               "hk",   "wk",  "tt",  "dt",  "ch"};

TextBox MakeBox(const BoxRow& row) {
    TextBox box;
    box.name = QString::fromUtf8(row.name);
    box.geometry = QRectF(MmToUnits(row.left), MmToUnits(row.top), MmToUnits(row.width),
                          MmToUnits(row.height));
    box.visible = row.shown;
    box.text = QString::fromUtf8(row.text);
    box.font.bold = row.style != Style::Regular;
    box.font.underline = row.style == Style::BoldUnderline || row.style == Style::Brand;
    if (row.style == Style::Brand) {
        box.font.pixelSize = 19;
        box.font.color = QColor(255, 0, 0);
        box.background = Qt::white;
    }
    return box;
}

// A value runs on to the printable edge of the sheet: a long name then breaks into as few
// lines as the page allows.
void ToPrintableEdge(const Template& report, TextBox& value) {
    const double edge = MmToUnits(report.page.paperWidthMm - report.page.marginMm);
    value.geometry.setRight(edge);
}

// Boxes that start this far right, below the heading, are the values of the rows.
constexpr double ValuesLeft = 84, RowsTop = 50;
bool IsValue(const BoxRow& row) {
    return row.left >= ValuesLeft && row.top >= RowsTop;
}

// The check's block: its heading below the no-result line, then rows of 5 mm, the last
// ending 10 mm above the sheet's foot.
void AddCheckBoxes(Template& report) {
    constexpr double HeadingTop = 246, FirstRowTop = 253, RowPitch = 5;
    TextBox heading = MakeBox({"", 7, HeadingTop, 100, 5, Style::BoldUnderline, false, ""});
    heading.name = CheckHeadingBox();
    heading.text =
        QString::fromUtf8(workflow::CheckHeading.data(), qsizetype(workflow::CheckHeading.size()));
    report.page.boxes.push_back(heading);
    for (int row = 0; row < CheckRows; ++row) {
        const double top = FirstRowTop + RowPitch * row;
        TextBox label = MakeBox({"", 7, top, 100, 4, Style::Regular, false, ""});
        label.name = CheckLabelBox(row);
        report.page.boxes.push_back(label);
        TextBox value = MakeBox({"", 109, top, 0, 4, Style::Regular, false, ""});
        ToPrintableEdge(report, value);
        value.name = CheckValueBox(row);
        report.page.boxes.push_back(value);
    }
}

Template MakeTemplate(const TemplateData& data) {
    Template report;
    report.name = QString::fromUtf8(data.name);
    for (const char* name : data.variables)
        report.variables.push_back({QString::fromUtf8(name), {}, name[0] == ' '});
    for (const BoxRow& row : sharedBoxes)
        report.page.boxes.push_back(MakeBox(row));
    for (const BoxRow& row : data.boxes) {
        report.page.boxes.push_back(MakeBox(row));
        if (IsValue(row)) ToPrintableEdge(report, report.page.boxes.back());
    }
    AddCheckBoxes(report);
    return report;
}

} // namespace

QString CheckHeadingBox() {
    return QStringLiteral("CheckHeading");
}

QString CheckLabelBox(int row) {
    return QStringLiteral("CheckLabel%1").arg(row + 1);
}

QString CheckValueBox(int row) {
    return QStringLiteral("CheckValue%1").arg(row + 1);
}

ReportTemplates::ReportTemplates()
    : frxReport1(MakeTemplate({"frxReport1", frxReport1Variables, frxReport1Boxes}))
    , frxReport2(MakeTemplate({"frxReport2", frxReport2Variables, frxReport2Boxes}))
    , frxReport3(MakeTemplate({"frxReport3", frxReport3Variables, frxReport3Boxes}))
    , frxReport4(MakeTemplate({"frxReport4", frxReport4Variables, frxReport4Boxes}))
    , frxReport5(MakeTemplate({"frxReport5", frxReport5Variables, frxReport5Boxes})) {}

reportengine::Template* ReportTemplates::ForKind(int calcMethod) {
    // The numbering of the templates does not follow the kinds; the kind table names them.
    const workflow::CalcKind* kind = workflow::Kind(calcMethod);
    if (kind == nullptr) return nullptr;
    for (Template* t : {&frxReport1, &frxReport2, &frxReport3, &frxReport4, &frxReport5})
        if (t->name.toStdString() == kind->reportTemplate) return t;
    return nullptr;
}

} // namespace reports
