// The calculator's bindings: the tables of kinds, fields and lists as the page builds its
// controls from them, the number-field rules, and the session that calculates.
#include "Calculator.h"

#include "AcceptedCheck.h"
#include "CalcKinds.h"
#include "CalculateCommand.h"
#include "MethodSelection.h"
#include "NumberField.h"

#include <emscripten/bind.h>

#include <stdexcept>
#include <type_traits>
#include <variant>

using emscripten::val;

namespace web {

namespace {

val Str(std::string_view text) {
    return val(std::string(text));
}

val Array() {
    return val::array();
}

std::string Name(workflow::Control control) {
    return std::string(workflow::ObjectName(control));
}

const char* ActionName(workflow::ControlChange::Action action) {
    using A = workflow::ControlChange::Action;
    switch (action) {
    case A::Show:
        return "show";
    case A::Hide:
        return "hide";
    case A::Enable:
        return "enable";
    case A::Disable:
        return "disable";
    case A::ChooseRow:
        return "chooseRow";
    case A::SetValue:
        return "setValue";
    }
    return "";
}

const char* UseName(workflow::FieldUse use) {
    switch (use) {
    case workflow::FieldUse::Input:
        return "input";
    case workflow::FieldUse::Output:
        return "output";
    case workflow::FieldUse::Disabled:
        return "disabled";
    }
    return "";
}

const char* StateName(workflow::CheckState state) {
    switch (state) {
    case workflow::CheckState::Met:
        return "met";
    case workflow::CheckState::WithinAllowance:
        return "withinAllowance";
    case workflow::CheckState::NotMet:
        return "notMet";
    case workflow::CheckState::BeyondProducts:
        return "beyondProducts";
    }
    return "";
}

val CheckOf(const workflow::AcceptedCheck& check) {
    val c = val::object();
    c.set("line", workflow::CheckLine(check, DecimalSeparator));
    c.set("state", StateName(check.state));
    c.set("accented", workflow::CheckAccented(check.state));
    return c;
}

val MessageOf(const workflow::ShowMessage& m) {
    val box = val::object();
    box.set("text", m.text);
    box.set("caption", m.caption);
    return box;
}

// ---- Tables ---------------------------------------------------------------------------

val Kinds() {
    val kinds = Array();
    for (const workflow::CalcKind& k : workflow::CalcKinds()) {
        val kind = val::object();
        kind.set("caption", Str(k.caption));
        kind.set("page", Str(workflow::KindPages[std::size_t(&k - workflow::CalcKinds().data())]));
        kind.set("shortName", Str(k.shortName));
        val reads = Array();
        for (workflow::Control c : k.reads)
            reads.call<void>("push", Name(c));
        kind.set("reads", reads);
        kinds.call<void>("push", kind);
    }
    return kinds;
}

val Choices() {
    val choices = Array();
    for (const workflow::ChoiceSpec& c : workflow::Choices()) {
        val choice = val::object();
        choice.set("control", Name(c.control));
        choice.set("caption", Str(c.caption));
        choice.set("method", workflow::PageOf(c.control));
        val rows = Array();
        for (std::string_view row : c.rows)
            rows.call<void>("push", Str(row));
        choice.set("rows", rows);
        choice.set("defaultRow", c.defaultRow);
        choices.call<void>("push", choice);
    }
    return choices;
}

val NumberFields() {
    val fields = Array();
    for (const workflow::NumberFieldSpec& f : workflow::NumberFields()) {
        val field = val::object();
        field.set("control", Name(f.control));
        field.set("caption", Str(f.caption));
        field.set("method", workflow::PageOf(f.control));
        field.set("integer", f.kind == workflow::FieldKind::Integer);
        field.set("use", UseName(f.use));
        field.set("defaultValue", f.defaultValue);
        field.set("min", f.limits ? val(f.limits->min) : val::null());
        field.set("max", f.limits ? val(f.limits->max) : val::null());
        fields.call<void>("push", field);
    }
    return fields;
}

val Changes(std::span<const workflow::ControlChange> changes) {
    val list = Array();
    for (const workflow::ControlChange& c : changes) {
        val change = val::object();
        change.set("control", Name(c.control));
        change.set("action", ActionName(c.action));
        change.set("value", c.value);
        list.call<void>("push", change);
    }
    return list;
}

val DiameterGroup() {
    val names = Array();
    for (workflow::Control c : workflow::DiameterGroup)
        names.call<void>("push", Name(c));
    return names;
}

val PictureLists() {
    val pairs = Array();
    for (const workflow::PictureOpensList& p : workflow::PictureLists) {
        val pair = val::object();
        pair.set("picture", Name(p.picture));
        pair.set("list", Name(p.list));
        pairs.call<void>("push", pair);
    }
    return pairs;
}

val Texts() {
    val t = val::object();
    t.set("headerPrefix", Str(workflow::HeaderPrefix));
    t.set("staleHint", Str(workflow::StaleResultHint));
    t.set("materialCaption", Str(workflow::MaterialCaption));
    t.set("materialControl", Name(workflow::MaterialListControl));
    t.set("inputErrorCaption", Str(workflow::InputErrorCaption));
    return t;
}

// ---- Number-field rules ---------------------------------------------------------------

const workflow::NumberFieldSpec& FieldNamed(const std::string& control) {
    return workflow::NumberField(ControlByName(control));
}

bool IsTypable(const std::string& text) {
    return workflow::IsTypable(text, DecimalSeparator, GroupSeparator);
}

val PastedNumber(const std::string& text) {
    const auto pasted = workflow::PastedNumber(text, DecimalSeparator);
    if (!pasted || !workflow::IsTypable(*pasted, DecimalSeparator, GroupSeparator))
        return val::null();
    return val(*pasted);
}

std::string TextOnEntry(const std::string& control, const std::string& shown) {
    return workflow::TextOnEntry(FieldNamed(control), shown);
}

std::string FieldText(const std::string& control, double value);

// Leaving a field with its text: the range message (if any) comes before the value it takes.
val LeaveField(const std::string& control, const std::string& text, double previous) {
    const workflow::NumberFieldSpec& field = FieldNamed(control);
    const workflow::LeftField left =
        workflow::LeaveField(workflow::RuleOf(field), text, previous, DecimalSeparator,
                             GroupSeparator, FieldText(control, previous));
    const auto message =
        left.outsideLimits ? workflow::RangeMessage(field, left.typed) : std::nullopt;
    const auto note =
        workflow::RoundingNote(workflow::RuleOf(field), left, FieldText(control, left.value));
    val out = val::object();
    out.set("message", message ? MessageOf(*message) : val::null());
    out.set("value", left.value);
    out.set("note", note ? val(*note) : val::null());
    return out;
}

// A field's value as it shows it: whole for an integer field, up to three decimals else.
std::string FieldText(const std::string& control, double value) {
    const bool integer = FieldNamed(control).kind == workflow::FieldKind::Integer;
    return workflow::DecimalText(value, integer ? 0 : 3, DecimalSeparator, !integer);
}

std::string NormCaption(int objectPosition) {
    return std::string(workflow::NormCaption(objectPosition));
}

std::string LayingText(int position) {
    return workflow::LayingText(position);
}

bool DiameterGroupVisible(int objectPosition) {
    return workflow::DiameterGroupVisible(objectPosition);
}

} // namespace

workflow::Control ControlByName(const std::string& name) {
    const auto control = workflow::ControlNamed(name);
    if (!control) throw std::out_of_range("no control named " + name);
    return *control;
}

// ---- The session ----------------------------------------------------------------------

Calculator::Calculator() = default;

val Calculator::ChooseKind(int method) {
    if (!workflow::Kind(method)) return Array();
    method_ = method;
    engine_.Reset();
    const auto changes = workflow::MethodSelectionChanges(method);
    for (const workflow::ControlChange& c : changes) {
        if (c.action == workflow::ControlChange::Action::ChooseRow)
            SetChoice(Name(c.control), int(c.value));
        else if (c.action == workflow::ControlChange::Action::SetValue)
            inputs_.Field(c.control) = c.value;
    }
    shown_.KindChosen(method);
    return Changes(changes);
}

void Calculator::SetChoice(const std::string& control, int row) {
    const workflow::Control c = ControlByName(control);
    const auto rows = workflow::Choice(c).rows;
    if (row < 0 || row >= int(rows.size())) return;
    inputs_.Choice(c) = row;
    const int object = inputs_.Choice(workflow::Control::RzRadioGroup1);
    const int diameter = inputs_.Choice(workflow::Control::RzComboBox3);
    if (c == workflow::Control::RzRadioGroup1) materials_.SwitchObject(object, diameter);
    if (c == workflow::Control::RzComboBox3) materials_.ChangeDiameter(diameter);
    inputs_.materialValue = materials_.ChosenValue();
}

void Calculator::SetField(const std::string& control, double value) {
    inputs_.Field(ControlByName(control)) = value;
}

void Calculator::ChooseMaterial(int position) {
    materials_.Choose(position);
    inputs_.materialValue = materials_.ChosenValue();
}

val Calculator::MaterialRows() const {
    val rows = Array();
    for (const workflow::MaterialSpec* m : materials_.Rows()) {
        val row = val::object();
        row.set("value", Str(m->value));
        row.set("text", Str(m->text));
        rows.call<void>("push", row);
    }
    return rows;
}

int Calculator::ChosenMaterial() const {
    const auto chosen = materials_.ChosenRow();
    return chosen ? int(*chosen) : -1;
}

val Calculator::Calculate() {
    val out = Array();
    if (!workflow::Kind(method_)) return out;
    const workflow::Inputs inputs = inputs_;
    const auto effects = workflow::Calculate(method_, inputs, engine_, DecimalSeparator);
    for (const workflow::Effect& effect : effects) {
        val e = val::object();
        std::visit(
            [&](const auto& x) {
                using T = std::decay_t<decltype(x)>;
                if constexpr (std::is_same_v<T, workflow::ShowMessage>) {
                    e = MessageOf(x);
                    e.set("type", "message");
                } else if constexpr (std::is_same_v<T, workflow::SetField>) {
                    e.set("type", "field");
                    e.set("control", Name(x.field));
                    e.set("value", x.value);
                    e.set("text", FieldText(Name(x.field), x.value));
                    inputs_.Field(x.field) = x.value;
                } else if constexpr (std::is_same_v<T, workflow::SetResult>) {
                    e.set("type", "result");
                    e.set("text", x.text);
                } else if constexpr (std::is_same_v<T, workflow::MoveFocus>) {
                    e.set("type", "focus");
                    e.set("control", Name(x.field));
                } else {
                    e = CheckOf(x.check);
                    e.set("type", "check");
                }
            },
            effect);
        out.call<void>("push", e);
    }
    shown_.Calculated(method_, inputs, effects);
    return out;
}

val Calculator::ResultState(const std::string& editedControl, const std::string& typedText) const {
    workflow::Inputs now = inputs_;
    if (!editedControl.empty()) {
        double& value = now.Field(ControlByName(editedControl));
        value = workflow::TypedValue(typedText, value, DecimalSeparator, GroupSeparator);
    }
    val state = val::object();
    state.set("text", shown_.Text());
    state.set("stale", shown_.HasThickness() && !shown_.ThicknessIsCurrent(now));
    state.set("normStale", shown_.HasNorm() && !shown_.NormIsCurrent(now));
    const workflow::AcceptedCheck* check = shown_.CurrentCheck(now);
    state.set("check", check ? CheckOf(*check) : val::null());
    state.set("warning", shown_.Warning());
    return state;
}

} // namespace web

EMSCRIPTEN_BINDINGS(calculator) {
    using namespace emscripten;
    function("kinds", &web::Kinds);
    function("choices", &web::Choices);
    function("numberFields", &web::NumberFields);
    function("diameterGroup", &web::DiameterGroup);
    function("pictureLists", &web::PictureLists);
    function("texts", &web::Texts);
    function("isTypable", &web::IsTypable);
    function("pastedNumber", &web::PastedNumber);
    function("textOnEntry", &web::TextOnEntry);
    function("leaveField", &web::LeaveField);
    function("fieldText", &web::FieldText);
    function("normCaption", &web::NormCaption);
    function("layingText", &web::LayingText);
    function("diameterGroupVisible", &web::DiameterGroupVisible);
    class_<web::Calculator>("Calculator")
        .constructor<>()
        .function("method", &web::Calculator::Method)
        .function("chooseKind", &web::Calculator::ChooseKind)
        .function("setChoice", &web::Calculator::SetChoice)
        .function("setField", &web::Calculator::SetField)
        .function("chooseMaterial", &web::Calculator::ChooseMaterial)
        .function("materialRows", &web::Calculator::MaterialRows)
        .function("chosenMaterial", &web::Calculator::ChosenMaterial)
        .function("calculate", &web::Calculator::Calculate)
        .function("resultState", &web::Calculator::ResultState);
}
