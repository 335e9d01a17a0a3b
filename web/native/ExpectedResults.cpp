// Writes, as JSON, what the page must show for a table of cases per kind: the native
// workflow runs each case as the window does (the kind chosen, each value typed and the
// field left, then «Рассчитать»), and the page's test types the same values.
#include "CalculateCommand.h"
#include "FieldBehaviours.h"
#include "MethodSelection.h"
#include "NumberField.h"
#include "ShownResult.h"

#ifdef IZOL_WEB_REPORT
#include "KindReports.h"
#endif

#include <cstdio>
#include <ctime>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

namespace {

using workflow::Control;

constexpr std::string_view Decimal = ",";
constexpr std::string_view Group = "\u00a0";

// One thing the user does: types text into a field, or picks a row of a choice (or of the
// material list).
struct Step {
    Control control;
    std::string text; // typed into a field
    int row = -1;     // a row picked
};

struct Case {
    std::string name;
    int kind;
    std::vector<Step> steps;
};

Step Type(Control c, std::string text) {
    return {c, std::move(text)};
}
Step Pick(Control c, int row) {
    return {c, "", row};
}

// clang-format off
const std::vector<Case> Cases = {
    {"норма: труба 108, воздух 5, теплоноситель 150", 0,
        {Type(Control::RzNumericEdit1, "5"), Type(Control::RzNumericEdit2, "150")}},
    {"норма: плоскость в помещении, Урал", 0,
        {Pick(Control::RzRadioGroup1, 1), Pick(Control::RzRadioGroup2, 1), Pick(Control::RzComboBox5, 3),
         Type(Control::RzNumericEdit1, "20"), Type(Control::RzNumericEdit2, "90")}},
    {"норма: холодный теплоноситель", 0,
        {Type(Control::RzNumericEdit1, "20"), Type(Control::RzNumericEdit2, "-300")}},
    {"поверхность: пример, 30 мм", 1,
        {Type(Control::RzNumericEdit6, "20"), Type(Control::RzNumericEdit7, "150"), Type(Control::RzNumericEdit8, "45")}},
    {"поверхность: труба 273, мат ламельный", 1,
        {Pick(Control::RzComboBox3, 11), Pick(Control::RzComboBox1, 6), Type(Control::RzNumericEdit6, "25"),
         Type(Control::RzNumericEdit7, "300"), Type(Control::RzNumericEdit8, "50")}},
    {"поверхность: равна воздуху", 1,
        {Type(Control::RzNumericEdit6, "45"), Type(Control::RzNumericEdit7, "150"), Type(Control::RzNumericEdit8, "45")}},
    {"конденсация: воздух 20, влажность 70", 2,
        {Type(Control::RzNumericEdit11, "20"), Type(Control::RzNumericEdit12, "5"), Type(Control::RzNumericEdit13, "70")}},
    {"конденсация: воздух 60 вне диапазона", 2,
        {Type(Control::RzNumericEdit11, "60"), Type(Control::RzNumericEdit12, "2"), Type(Control::RzNumericEdit13, "80")}},
    {"канал: значения по умолчанию, 110 °C", 3,
        {Pick(Control::RzComboBox4, 2)}},
    {"канал: глубина 0,2, ширина 0,3", 3,
        {Type(Control::RzNumericEdit18, "0,2"), Type(Control::RzNumericEdit22, "0,3")}},
    {"замерзание: по умолчанию", 4, {}},
    {"замерзание: воздух +5", 4,
        {Type(Control::RzNumericEdit25, "5")}},
    {"замерзание: подвесные опоры, 48 ч", 4,
        {Pick(Control::RzComboBox2, 2), Type(Control::RzNumericEdit28, "48")}},
};
// clang-format on

std::string Json(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        out += c;
    }
    out += '"';
    return out;
}

std::string Name(Control c) {
    return Json(workflow::ObjectName(c));
}

// A comma between the items of a JSON list or object.
void Next(std::ostringstream& out, bool& first) {
    if (!first) out << ",";
    first = false;
}

void Message(std::ostringstream& out, bool& first, const workflow::ShowMessage& m) {
    Next(out, first);
    out << "{\"text\":" << Json(m.text) << ",\"caption\":" << Json(m.caption) << "}";
}

std::string Run(const Case& c) {
    workflow::Inputs in = workflow::InputsAfterChoosing(c.kind);
    workflow::MaterialList materials;
    materials.SwitchObject(in.Choice(Control::RzRadioGroup1), in.Choice(Control::RzComboBox3));
    std::ostringstream messages, steps;
    bool firstMessage = true, firstStep = true;
    for (const Step& s : c.steps) {
        Next(steps, firstStep);
        if (s.row < 0) {
            const workflow::NumberFieldSpec& field = workflow::NumberField(s.control);
            const auto left = workflow::LeaveField(workflow::RuleOf(field), s.text,
                                                   in.Field(s.control), Decimal, Group);
            if (left.outsideLimits)
                if (const auto message = workflow::RangeMessage(field, left.typed))
                    Message(messages, firstMessage, *message);
            in.Field(s.control) = left.value;
            steps << "{\"type\":" << Name(s.control) << ",\"text\":" << Json(s.text) << "}";
            continue;
        }
        std::string text;
        if (s.control == workflow::MaterialListControl) {
            // Picked by its text: the list's rows depend on the object and the diameter.
            const workflow::MaterialSpec& m = workflow::MaterialCatalogue()[std::size_t(s.row)];
            text = m.text;
            const auto rows = materials.Rows();
            for (std::size_t i = 0; i < rows.size(); ++i)
                if (rows[i]->value == m.value) materials.Choose(int(i));
        } else {
            in.Choice(s.control) = s.row;
            if (s.control == Control::RzRadioGroup1)
                materials.SwitchObject(s.row, in.Choice(Control::RzComboBox3));
            if (s.control == Control::RzComboBox3) materials.ChangeDiameter(s.row);
            text = s.control == Control::RzComboBox2
                       ? workflow::LayingText(s.row)
                       : std::string(workflow::ChoiceRowText(s.control, s.row));
        }
        steps << "{\"pick\":" << Name(s.control) << ",\"text\":" << Json(text) << "}";
        in.materialValue = materials.ChosenValue();
    }
    T_calc engine;
    const auto effects = workflow::Calculate(c.kind, in, engine, Decimal);
    workflow::ShownResult shown;
    shown.KindChosen(c.kind);
    shown.Calculated(c.kind, in, effects);
    std::ostringstream fields;
    bool firstField = true;
    std::string focus = "\"RzBmpButton1\"";
    for (const workflow::Effect& e : effects) {
        if (const auto* m = std::get_if<workflow::ShowMessage>(&e))
            Message(messages, firstMessage, *m);
        if (const auto* f = std::get_if<workflow::SetField>(&e)) {
            in.Field(f->field) = f->value; // the window shows it, and then reads it
            const bool integer =
                workflow::NumberField(f->field).kind == workflow::FieldKind::Integer;
            Next(fields, firstField);
            fields << Name(f->field) << ":"
                   << Json(workflow::DecimalText(f->value, integer ? 0 : 3, Decimal, !integer));
        }
        if (const auto* f = std::get_if<workflow::MoveFocus>(&e)) focus = Name(f->field);
    }
    const workflow::AcceptedCheck* check = shown.CurrentCheck(in);
    std::ostringstream report;
#ifdef IZOL_WEB_REPORT
    // Today, as the page prints it.
    const std::time_t now = std::time(nullptr);
    char iso[16], day[16];
    std::strftime(iso, sizeof iso, "%Y-%m-%d", std::localtime(&now));
    std::strftime(day, sizeof day, "%d.%m.%Y", std::localtime(&now));
    reporttemplate::Formats formats;
    formats.date = day;
    formats.decimalPoint = std::string(Decimal);
    bool firstBox = true;
    for (const auto& box : reporttemplate::FilledBoxes(c.kind, in, shown, formats, iso)) {
        Next(report, firstBox);
        report << Json(box.text);
    }
#endif
    std::ostringstream out;
    out << "{\"name\":" << Json(c.name) << ",\"kind\":" << c.kind << ",\"steps\":[" << steps.str()
        << "],\"result\":" << Json(shown.Text()) << ",\"messages\":[" << messages.str()
        << "],\"fields\":{" << fields.str() << "},\"focus\":" << focus << ",\"check\":"
        << (check ? Json(workflow::CheckLine(*check, Decimal)) : std::string("null"))
        << ",\"report\":[" << report.str() << "]}";
    return out.str();
}

} // namespace

int main() {
    std::fputs("[\n", stdout);
    for (std::size_t i = 0; i < Cases.size(); ++i) {
        std::fputs(Run(Cases[i]).c_str(), stdout);
        std::fputs(i + 1 < Cases.size() ? ",\n" : "\n", stdout);
    }
    std::fputs("]\n", stdout);
}
