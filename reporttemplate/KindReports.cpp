#include "KindReports.h"

#include "CalcKinds.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <utility>

namespace reporttemplate {

namespace {

using workflow::Control;
using workflow::Inputs;
using workflow::ShownResult;

enum class Style { Regular, Bold, BoldUnderline, Brand };

struct BoxRow {
    const char* name;
    double left, top, width, height; // mm from the sheet's top-left corner
    Style style;
    bool shown;
    const char* text;
};

// The norm-flux report's label of the region; a plane of equipment is no pipeline laid
// somewhere.
constexpr const char* PipeRegionLabel = "Район прокладки трубопровода";
constexpr const char* PlaneRegionLabel = "Район расположения";

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
    {"Memo24",     7,  110,   79,   4,  Style::Regular,       true,  PipeRegionLabel},
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
    box.name = row.name;
    box.geometry = {MmToUnits(row.left), MmToUnits(row.top), MmToUnits(row.width),
                    MmToUnits(row.height)};
    box.visible = row.shown;
    box.text = row.text;
    box.font.bold = row.style != Style::Regular;
    box.font.underline = row.style == Style::BoldUnderline || row.style == Style::Brand;
    if (row.style == Style::Brand) {
        box.font.pixelSize = 19;
        box.font.color = {255, 0, 0};
        box.background = Rgb{255, 255, 255};
    }
    return box;
}

// A value runs on to the printable edge of the sheet: a long name then breaks into as few
// lines as the page allows.
void ToPrintableEdge(const Template& report, TextBox& value) {
    const double edge = MmToUnits(report.page.paperWidthMm - report.page.marginMm);
    value.geometry.width = edge - value.geometry.left;
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
    heading.text = workflow::CheckHeading;
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

// The engine prints a text in apostrophes as the text between them.
std::string Quoted(std::string_view text) {
    std::string quoted = "'";
    quoted += text;
    quoted += '\'';
    return quoted;
}

void SetText(Template& report, std::string_view name, const std::string& text) {
    report.SetValue(report.IndexOf(name), text);
}

void SetNumber(Template& report, std::string_view name, double number) {
    report.SetValue(report.IndexOf(name), number);
}

// A field with the pattern "0.###" shows at most three decimals; the report prints what
// the window shows, not the digits behind it.
double AsShown(double value) {
    const double scaled = std::round(value * 1000);
    return std::isfinite(scaled) ? scaled / 1000 : value;
}

// A phrase printed as a value starts with a capital letter, as the rows around it do: the
// Latin and Cyrillic letters that the lists' texts begin with.
std::string Capitalised(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') {
        text[0] = char(text[0] - 'a' + 'A');
    } else if (text.size() >= 2) {
        const unsigned lead = static_cast<unsigned char>(text[0]);
        const unsigned next = static_cast<unsigned char>(text[1]);
        const unsigned code = ((lead & 0x1F) << 6) | (next & 0x3F);
        unsigned upper = code;
        if (code >= 0x430 && code <= 0x44F) upper = code - 0x20; // а..я
        if (code == 0x451) upper = 0x401;                        // ё
        text[0] = char(0xC0 | (upper >> 6));
        if ((lead & 0xE0) == 0xC0)
            text[1] = char(0x80 | (upper & 0x3F));
        else
            text[0] = char(lead); // not a two-byte letter: as it stands
    }
    return text;
}

std::string RowText(const Inputs& in, Control choice) {
    return std::string(workflow::ChoiceRowText(choice, in.Choice(choice)));
}

void SetDiameter(Template& report, const Inputs& in) {
    const auto diameters = workflow::DiameterListMm();
    const int position = in.Choice(Control::RzComboBox3);
    const int index = report.IndexOf("dt");
    if (position >= 0 && position < int(diameters.size()))
        report.SetValue(index, double(diameters[std::size_t(position)]));
    else
        report.ClearValue(index);
}

// The chosen row's name as the list shows it; nothing when no row is chosen.
void SetMaterial(Template& report, const Inputs& in) {
    SetText(report, "mat", Quoted(workflow::MaterialText(in.materialValue)));
}

void SetShown(Template& report, std::string_view box, bool shown) {
    if (auto* b = report.FindObject(box)) b->visible = shown;
}

// The thickness, only beside the inputs it was computed from.
void SetThickness(Template& report, const Inputs& in, const ShownResult& result) {
    const bool current = result.ThicknessIsCurrent(in);
    SetText(report, "tt", Quoted(current ? result.Text() : workflow::NoResultText));
    SetShown(report, "NoResult", !current);
}

void SetBoxText(Template& report, const std::string& box, bool shown, const std::string& text) {
    if (auto* b = report.FindObject(box)) {
        b->visible = shown;
        b->text = text;
    }
}

// What the accepted thickness gives, only beside the thickness it belongs to: the method's
// thickness before rounding (the accepted one is the result above), the figures of the
// requirement, the verdict.
void SetCheck(Template& report, const workflow::AcceptedCheck* check, std::string_view separator) {
    std::vector<std::pair<std::string, std::string>> rows;
    if (check) {
        rows.emplace_back(workflow::RequiredLabel, workflow::RequiredThickness(*check, separator));
        auto add = [&](const workflow::CheckFigure& figure) {
            rows.emplace_back(workflow::FigureLabel(figure),
                              workflow::FigureValue(figure, separator));
        };
        add(check->checked);
        rows.emplace_back(workflow::FigureLabel(check->required),
                          workflow::RequiredValue(*check, separator));
        for (const workflow::CheckFigure& figure : check->more)
            add(figure);
        rows.emplace_back(workflow::VerdictLabel, workflow::CheckVerdict(*check));
    }
    if (auto* heading = report.FindObject(CheckHeadingBox())) heading->visible = check != nullptr;
    for (int row = 0; row < CheckRows; ++row) {
        const bool shown = row < int(rows.size());
        const auto [label, value] =
            shown ? rows[std::size_t(row)] : std::pair<std::string, std::string>();
        SetBoxText(report, CheckLabelBox(row), shown, label);
        SetBoxText(report, CheckValueBox(row), shown, value);
    }
}

// The values that kinds 0, 1 and 2 share, and their diameter row: shown for a pipe only.
void SetShared(Template& report, const Inputs& in, std::string_view diameterLabel,
               std::string_view diameterValue) {
    const bool plane = in.Choice(Control::RzRadioGroup1) == 1;
    SetText(report, "cyl", plane ? "'Плоскость'" : "'Труба'");
    SetDiameter(report, in);
    SetText(report, "dis",
            in.Choice(Control::RzRadioGroup2) == 0 ? "'Открытый воздух'" : "'Помещение'");
    SetMaterial(report, in);
    SetText(report, "sur", in.Choice(Control::RzRadioGroup3) == 0 ? "'Металл'" : "'Не металл'");
    for (std::string_view box : {diameterLabel, diameterValue})
        SetShown(report, box, !plane);
}

// What each template prints besides the thickness.
void FillNormFlux(Template& r, const Inputs& in, const ShownResult& result) {
    SetShared(r, in, "Memo26", "Memo27");
    const bool plane = in.Choice(Control::RzRadioGroup1) == 1;
    SetBoxText(r, "Memo24", true, plane ? PlaneRegionLabel : PipeRegionLabel);
    SetText(r, "rp", Quoted(RowText(in, Control::RzComboBox5)));
    SetText(r, "ch", Quoted(RowText(in, Control::RzRadioGroup4)));
    SetNumber(r, "tb", in.Field(Control::RzNumericEdit2));
    SetNumber(r, "ta", in.Field(Control::RzNumericEdit1));
    // The norm is per metre of pipe, or per square metre of a plane.
    SetText(r, "nu", in.Choice(Control::RzRadioGroup1) == 1 ? "'Вт/м²'" : "'Вт/м'");
    if (result.NormIsCurrent(in))
        SetNumber(r, "nt", AsShown(in.Field(Control::RzNumericEdit3)));
    else
        SetText(r, "nt", Quoted(workflow::NoResultText));
}

void FillSurfaceTemp(Template& r, const Inputs& in, const ShownResult&) {
    SetShared(r, in, "Memo24", "Memo25");
    SetNumber(r, "tb", in.Field(Control::RzNumericEdit7));
    SetNumber(r, "ta", in.Field(Control::RzNumericEdit6));
    SetNumber(r, "ts", in.Field(Control::RzNumericEdit8));
}

void FillCondensation(Template& r, const Inputs& in, const ShownResult&) {
    SetShared(r, in, "Memo24", "Memo25");
    SetNumber(r, "tb", in.Field(Control::RzNumericEdit12));
    SetNumber(r, "ta", in.Field(Control::RzNumericEdit11));
    SetNumber(r, "mo", in.Field(Control::RzNumericEdit13));
}

// The object is a fixed text of this template.
void FillTwoPipeChannel(Template& r, const Inputs& in, const ShownResult&) {
    SetMaterial(r, in);
    SetNumber(r, "tg", in.Field(Control::RzNumericEdit16));
    SetNumber(r, "tpg", AsShown(in.Field(Control::RzNumericEdit17)));
    SetText(r, "tb", RowText(in, Control::RzComboBox4)); // digits only: prints as that number
    SetNumber(r, "tp", in.Field(Control::RzNumericEdit24));
    SetNumber(r, "dk", AsShown(in.Field(Control::RzNumericEdit18)));
    SetNumber(r, "hk", AsShown(in.Field(Control::RzNumericEdit21)));
    SetNumber(r, "wk", AsShown(in.Field(Control::RzNumericEdit22)));
    SetText(r, "ch", Quoted(RowText(in, Control::RzRadioGroup4)));
    SetDiameter(r, in);
}

// The object is a fixed text of this template.
void FillFreezing(Template& r, const Inputs& in, const ShownResult&) {
    SetMaterial(r, in);
    SetDiameter(r, in);
    SetNumber(r, "ts", in.Field(Control::RzNumericEdit26));
    SetNumber(r, "tp", in.Field(Control::RzNumericEdit28));
    SetNumber(r, "tb", in.Field(Control::RzNumericEdit27));
    SetNumber(r, "ta", in.Field(Control::RzNumericEdit25));
    SetText(r, "ls", Quoted(Capitalised(workflow::LayingText(in.Choice(Control::RzComboBox2)))));
}

// A kind's report: its variables (the first is a category heading), its own boxes below the
// shared ones, and what fills them besides the thickness. Its name is the kind row's.
struct KindReport {
    std::span<const char* const> variables;
    std::span<const BoxRow> boxes;
    void (*fill)(Template&, const Inputs&, const ShownResult&);
};

// One row per kind, in the kinds' order; a kind without its row fails to compile.
constexpr std::array<KindReport, workflow::CalcMethodCount> KindReports = {{
    {frxReport3Variables, frxReport3Boxes, FillNormFlux},
    {frxReport1Variables, frxReport1Boxes, FillSurfaceTemp},
    {frxReport2Variables, frxReport2Boxes, FillCondensation},
    {frxReport5Variables, frxReport5Boxes, FillTwoPipeChannel},
    {frxReport4Variables, frxReport4Boxes, FillFreezing},
}};
static_assert(std::ranges::all_of(KindReports,
                                  [](const KindReport& row) {
                                      return row.fill != nullptr && !row.boxes.empty();
                                  }),
              "every kind of calculation needs its report row");

Template MakeTemplate(int kind) {
    const KindReport& data = KindReports[std::size_t(kind)];
    Template report;
    report.name = workflow::Kind(kind)->reportTemplate;
    for (const char* name : data.variables)
        report.variables.push_back({name, {}, name[0] == ' '});
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

std::string CheckHeadingBox() {
    return "CheckHeading";
}

std::string CheckLabelBox(int row) {
    return "CheckLabel" + std::to_string(row + 1);
}

std::string CheckValueBox(int row) {
    return "CheckValue" + std::to_string(row + 1);
}

ReportTemplates::ReportTemplates() {
    for (int kind = 0; kind < workflow::CalcMethodCount; ++kind)
        byKind[std::size_t(kind)] = MakeTemplate(kind);
}

Template* ReportTemplates::ForKind(int calcMethod) {
    if (calcMethod < 0 || calcMethod >= workflow::CalcMethodCount) return nullptr;
    return &byKind[std::size_t(calcMethod)];
}

std::string ReportTitle(int calcMethod, std::string_view isoDate) {
    const workflow::CalcKind* row = workflow::Kind(calcMethod);
    std::string title = "Толщина изоляции — ";
    if (row) title += row->shortName;
    title += " — ";
    title += isoDate;
    return title;
}

Template* FillReport(ReportTemplates& templates, int calcMethod, const Inputs& in,
                     const ShownResult& result, const FillDate& date) {
    Template* report = templates.ForKind(calcMethod);
    if (report == nullptr) return nullptr;
    report->title = ReportTitle(calcMethod, date.iso);
    report->author = ReportAuthor;
    SetThickness(*report, in, result);
    // A kind whose page does not ask where the object lies and what covers it says so itself.
    const workflow::CalcKind& kind = *workflow::Kind(calcMethod);
    if (!kind.fixedLocation.empty()) SetText(*report, "dis", Quoted(kind.fixedLocation));
    if (!kind.fixedCovering.empty()) SetText(*report, "sur", Quoted(kind.fixedCovering));
    SetCheck(*report, result.CurrentCheck(in), date.decimalPoint);
    KindReports[std::size_t(calcMethod)].fill(*report, in, result);
    return report;
}

std::vector<FilledBox> FilledBoxes(int calcMethod, const Inputs& in, const ShownResult& result,
                                   const Formats& formats, std::string_view isoDate) {
    ReportTemplates templates;
    const Template* report =
        FillReport(templates, calcMethod, in, result, {std::string(isoDate), formats.decimalPoint});
    return report ? PrintedBoxes(*report, formats) : std::vector<FilledBox>{};
}

} // namespace reporttemplate
