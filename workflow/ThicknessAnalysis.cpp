#include "ThicknessAnalysis.h"

#include "ScheduleCsv.h"

#include "CalcKinds.h"
#include "CalculateCommand.h"
#include "Schedule.h"

#include <algorithm>
#include <cmath>
#include <variant>

namespace workflow {

namespace {

struct KindColumns {
    std::vector<AnalysisColumn> columns;
    bool yearlyLoss = false;
};

AnalysisColumn ColumnOf(const CheckFigure& figure, int decimals) {
    return {figure.symbol, figure.name, figure.unit, decimals};
}
AnalysisColumn ColumnOf(const CheckFigure& figure) {
    return ColumnOf(figure, figure.decimals);
}

// The ratio of the kinds whose requirement is a limit: with a decimal, so that 100,4 % is
// not read as met.
constexpr int RatioDecimals = 1;

// The kind's figures of a row, from its check at that thickness, in the order of its columns.
std::vector<double> FiguresOf(int method, const AcceptedCheck& c) {
    switch (method) {
    case 0: // q, its ratio to K·qн, tпов
        return {c.checked.value, c.more[1].value, c.more[0].value};
    case 1: // tпов, q
        return {c.checked.value, c.more[0].value};
    case 2: // tпов, the dew point, the margin
        return {c.checked.value, c.required.value, c.more[0].value};
    case 3: // the pair's loss and its ratio to the norm
        return {c.checked.value, 100 * c.checked.value / c.required.value};
    default: // the hours to freezing
        return {c.checked.value};
    }
}

constexpr AnalysisColumn PairRatio{"qпары/норма", "Отношение к норме", "%", RatioDecimals};

KindColumns ColumnsOf(int method, const AcceptedCheck& c) {
    switch (method) {
    case 0:
        return {{ColumnOf(c.checked), ColumnOf(c.more[1], RatioDecimals), ColumnOf(c.more[0])},
                true};
    case 1:
        return {{ColumnOf(c.checked), ColumnOf(c.more[0])}};
    case 2:
        return {{ColumnOf(c.checked), ColumnOf(c.required), ColumnOf(c.more[0])}};
    case 3:
        return {{ColumnOf(c.checked), PairRatio}, true};
    default:
        return {{ColumnOf(c.checked)}};
    }
}

// A year's loss in kWh per metre (or square metre) from a flux in W per metre: the flux's
// magnitude, since a cold carrier's heat flows in.
double YearlyKwh(double flux, int32_t hours) {
    return std::abs(flux) * hours / 1000;
}

} // namespace

bool UpTo5000Hours(const Inputs& inputs) {
    return inputs.Choice(Control::RzRadioGroup4) == 0;
}

ThicknessAnalysis AnalyseThickness(const CalcKind& kind, int method, const T_calc& engine,
                                   const AcceptedCheck& accepted, bool upTo5000Hours) {
    const auto met = [&](int32_t mm) { return kind.check(engine, mm).state == CheckState::Met; };
    ThicknessAnalysis a;
    a.method = method;
    a.acceptedMm = accepted.acceptedMm;
    a.required = accepted.required;

    // The thinnest that meets: the check names it for a shortfall up to the thickest
    // product, and none past it, where the table still does; a layer that meets may have
    // thinner ones that do too.
    if (met(accepted.acceptedMm))
        a.meetingMm = met(0) ? 0
                             : T_calc::SmallestMeetingThickness(0, accepted.acceptedMm, met)
                                   .value_or(accepted.acceptedMm);
    else if (accepted.acceptedMm <= LargestProductThickness)
        a.meetingMm = accepted.meetingMm;
    else
        a.meetingMm =
            T_calc::SmallestMeetingThickness(accepted.acceptedMm, LargestShownThickness, met);
    if (a.meetingMm && *a.meetingMm > LargestShownThickness) a.meetingMm.reset();

    const int32_t step = ProductStepMm;
    const int64_t span = int64_t(AnalysisRowsAtMost - 1) * step;
    int64_t last = int64_t(std::max(accepted.acceptedMm, a.meetingMm.value_or(0))) +
                   AnalysisStepsBeyond * step;
    int64_t first = std::max<int64_t>(0, last - span);
    // The accepted row is always there, at the cost of the steps beyond.
    if (accepted.acceptedMm < first) {
        first = accepted.acceptedMm;
        last = first + span;
    }

    KindColumns columns = ColumnsOf(method, accepted);
    a.columns = std::move(columns.columns);
    a.mainFigure = a.columns.front();
    double bareYearly = 0;
    if (columns.yearlyLoss) {
        a.yearlyHours = upTo5000Hours ? HoursUpTo5000 : HoursOver5000;
        const bool perMetre = accepted.checked.unit == "Вт/м";
        const std::string_view unit = perMetre ? "кВт·ч/(м·год)" : "кВт·ч/(м²·год)";
        a.columns.push_back({"Qгод", "Теплопотери за год", unit, 0});
        a.columns.push_back({"ΔQгод", "Экономия против неизолированной", unit, 0});
        bareYearly = YearlyKwh(kind.check(engine, 0).checked.value, *a.yearlyHours);
    }

    a.rows.reserve(std::size_t((last - first) / step + 1));
    for (int64_t mm64 = first; mm64 <= last; mm64 += step) {
        const auto mm = int32_t(mm64);
        const AcceptedCheck c = kind.check(engine, mm);
        AnalysisRow row{mm, FiguresOf(method, c)};
        if (a.yearlyHours) {
            const double yearly = YearlyKwh(c.checked.value, *a.yearlyHours);
            row.figures.push_back(yearly);
            row.figures.push_back(bareYearly - yearly);
        }
        // As the check judges this thickness were it the accepted one: a thicker layer
        // never does worse, so the thinnest that meets above it is the table's.
        const bool metHere = c.state == CheckState::Met;
        const std::optional<int32_t> meetingAbove =
            !metHere && a.meetingMm && *a.meetingMm > mm ? a.meetingMm : std::nullopt;
        row.state = JudgeCheck(kind, metHere, mm, accepted.requiredMm,
                               metHere ? std::nullopt : meetingAbove);
        row.accepted = mm == accepted.acceptedMm;
        row.firstMeeting = a.meetingMm == mm;
        a.rows.push_back(std::move(row));
    }
    return a;
}

std::optional<ThicknessAnalysis> AnalyseCalculation(int method, const Inputs& inputs) {
    const CalcKind* kind = Kind(method);
    if (kind == nullptr) return std::nullopt;
    T_calc engine;
    const std::vector<Effect> effects = Calculate(method, inputs, engine, ",");
    for (const Effect& effect : effects)
        if (const auto* shown = std::get_if<ShowCheck>(&effect))
            return AnalyseThickness(*kind, method, engine, shown->check, UpTo5000Hours(inputs));
    return std::nullopt;
}

std::optional<AcceptedCheck> CheckAtThickness(int method, const Inputs& inputs, int32_t mm) {
    const CalcKind* kind = Kind(method);
    if (kind == nullptr || mm < 0) return std::nullopt;
    T_calc engine;
    std::optional<AcceptedCheck> shown;
    for (const Effect& effect : Calculate(method, inputs, engine, ","))
        if (const auto* check = std::get_if<ShowCheck>(&effect)) shown = check->check;
    if (!shown) return std::nullopt;
    AcceptedCheck check = kind->check(engine, mm);
    check.requiredMm = shown->requiredMm;
    const bool met = check.state == CheckState::Met;
    if (!met && mm <= LargestProductThickness)
        check.meetingMm =
            T_calc::SmallestMeetingThickness(mm, LargestShownThickness, [&](int32_t at) {
                return kind->check(engine, at).state == CheckState::Met;
            });
    check.state = JudgeCheck(*kind, met, mm, check.requiredMm, check.meetingMm);
    return check;
}

std::string_view ShortVerdict(CheckState state) {
    switch (state) {
    case CheckState::Met:
        return "обеспечено";
    case CheckState::WithinAllowance:
        return "в пределах допуска";
    case CheckState::NotMet:
        return "не обеспечено";
    case CheckState::BeyondProducts:
        break;
    }
    return "вне сортамента";
}

std::string ColumnHeading(const AnalysisColumn& column) {
    return column.unit.empty() ? std::string(column.symbol)
                               : std::string(column.symbol) + ", " + std::string(column.unit);
}

std::string AnalysisValue(double value, const AnalysisColumn& column,
                          std::string_view decimalSeparator) {
    const std::string text = DecimalText(value, column.decimals, decimalSeparator);
    return text.empty() ? "—" : text;
}

std::string RowMarks(const AnalysisRow& row) {
    if (row.accepted && row.firstMeeting) return "принята; первая, что обеспечивает";
    if (row.accepted) return "принята";
    if (row.firstMeeting) return "первая, что обеспечивает";
    return {};
}

namespace {

// A text field of the CSV, guarded as the schedule's table guards it.
std::string Quoted(std::string_view text) {
    std::string field;
    AppendCsvText(field, text);
    return field;
}

} // namespace

std::string AnalysisCsvHeader(std::string_view prefixHeading) {
    std::string line(prefixHeading);
    for (const std::string_view heading :
         {std::string_view("Вид расчёта"), ThicknessColumn, std::string_view("Показатель"),
          std::string_view("Значение"), std::string_view("Единица"), std::string_view("Требование"),
          std::string_view("Вывод"), std::string_view("Отметка")}) {
        if (!line.empty()) line += ';';
        line += Quoted(heading);
    }
    line += "\r\n";
    return line;
}

std::string AnalysisCsvLines(const ThicknessAnalysis& analysis, std::string_view linePrefix,
                             std::string_view decimalSeparator) {
    // A line per figure: the kinds have figures of their own, and a spreadsheet's filter
    // picks a figure out of the table of every line.
    std::string lines;
    const std::string kind(KindCaption(analysis.method));
    const std::string required =
        DecimalText(analysis.required.value, analysis.required.decimals, decimalSeparator);
    for (const AnalysisRow& row : analysis.rows) {
        for (std::size_t i = 0; i < analysis.columns.size(); ++i) {
            const AnalysisColumn& column = analysis.columns[i];
            std::string line(linePrefix);
            if (!line.empty()) line += ';';
            for (const std::string& field :
                 {Quoted(kind), std::to_string(row.mm), Quoted(column.name),
                  DecimalText(row.figures[i], column.decimals, decimalSeparator),
                  Quoted(column.unit), i == 0 ? required : std::string(),
                  Quoted(ShortVerdict(row.state))}) {
                line += field;
                line += ';';
            }
            line += Quoted(RowMarks(row));
            line += "\r\n";
            lines += line;
        }
    }
    return lines;
}

std::string AnalysisCsv(const std::vector<ScheduleRow>& rows) {
    std::string csv = "\xEF\xBB\xBF" + AnalysisCsvHeader("\"№\";\"Обозначение\"");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ScheduleRow& row = rows[i];
        std::string prefix = std::to_string(i + 1);
        prefix += ';';
        prefix += Quoted(row.tag);
        const std::optional<ThicknessAnalysis> analysis =
            row.Calculated() ? AnalyseCalculation(row.kind, InputsOfRow(row)) : std::nullopt;
        if (analysis) {
            csv += AnalysisCsvLines(*analysis, prefix, ",");
            continue;
        }
        prefix += ';';
        prefix += Quoted(KindCaption(row.kind));
        prefix += ";;;;;;";
        prefix += Quoted(RejectedVerdict);
        prefix += ";\r\n";
        csv += prefix;
    }
    return csv;
}

} // namespace workflow
