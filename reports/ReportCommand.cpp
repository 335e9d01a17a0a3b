#include "ReportCommand.h"

#include "TCalc.h"

#include <cmath>

namespace reports {

namespace {

using reportengine::Template;

// The return pipe's temperature that the window shows in its disabled field.
constexpr int ReturnPipeTemp = 50;

// The engine prints a text in apostrophes as the text between them.
QString Quoted(const QString& text) {
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

void SetText(Template& report, const char* name, const QString& text) {
    report.SetValue(report.IndexOf(QLatin1String(name)), text);
}

void SetNumber(Template& report, const char* name, double number) {
    report.SetValue(report.IndexOf(QLatin1String(name)), number);
}

// A field with the pattern "0.###" shows at most three decimals; the report prints what
// the window shows, not the digits behind it.
double AsShown(double value) {
    const double scaled = std::round(value * 1000);
    return std::isfinite(scaled) ? scaled / 1000 : value;
}

void SetDiameter(Template& report, const WindowState& state) {
    const int mm = DiameterMm(state.RzComboBox3);
    const int index = report.IndexOf(QStringLiteral("dt"));
    if (mm > 0)
        report.SetValue(index, mm);
    else
        report.ClearValue(index);
}

// The values that kinds 0, 1 and 2 share, and their diameter row: shown for a pipe only.
void SetShared(Template& report, const WindowState& state, const char* diameterLabel,
               const char* diameterValue) {
    const bool plane = state.RzRadioGroup1 == 1;
    SetText(report, "cyl", plane ? QStringLiteral("'Плоскость'") : QStringLiteral("'Труба'"));
    SetDiameter(report, state);
    SetText(report, "dis",
            state.RzRadioGroup2 == 0 ? QStringLiteral("'Открытый воздух'")
                                     : QStringLiteral("'Помещение'"));
    SetText(report, "mat", Quoted(state.RzComboBox1));
    SetText(report, "sur",
            state.RzRadioGroup3 == 0 ? QStringLiteral("'Металл'") : QStringLiteral("'Не металл'"));
    SetText(report, "tt", Quoted(state.RzLabel4));
    for (const char* name : {diameterLabel, diameterValue})
        if (auto* box = report.FindObject(QLatin1String(name))) box->visible = !plane;
}

} // namespace

int DiameterMm(int diameterIndex) {
    const auto diameters = T_calc::OuterDiametersMm();
    if (diameterIndex < 0 || diameterIndex >= static_cast<int>(diameters.size())) return 0;
    return diameters[size_t(diameterIndex)];
}

reportengine::Template* FillReport(ReportTemplates& templates, int notebookPageIndex,
                                   const WindowState& state) {
    const int calcMethod = notebookPageIndex - 2;
    Template* report = templates.ForKind(calcMethod);
    if (report == nullptr) return nullptr;
    Template& r = *report;
    switch (calcMethod) {
    case 0:
        SetShared(r, state, "Memo26", "Memo27");
        SetText(r, "rp", Quoted(state.RzComboBox5));
        SetNumber(r, "tb", state.RzNumericEdit2);
        SetNumber(r, "ta", state.RzNumericEdit1);
        SetNumber(r, "nt", AsShown(state.RzNumericEdit3));
        break;
    case 1:
        SetShared(r, state, "Memo24", "Memo25");
        SetNumber(r, "tb", state.RzNumericEdit7);
        SetNumber(r, "ta", state.RzNumericEdit6);
        SetNumber(r, "ts", state.RzNumericEdit8);
        break;
    case 2:
        SetShared(r, state, "Memo24", "Memo25");
        SetNumber(r, "tb", state.RzNumericEdit12);
        SetNumber(r, "ta", state.RzNumericEdit11);
        SetNumber(r, "mo", state.RzNumericEdit13);
        break;
    case 3: // object, location and covering are fixed texts of this template
        SetText(r, "mat", Quoted(state.RzComboBox1));
        SetNumber(r, "tg", state.RzNumericEdit16);
        SetNumber(r, "tpg", AsShown(state.RzNumericEdit17));
        SetText(r, "tb", state.RzComboBox4); // digits only: prints as that number
        SetNumber(r, "tp", ReturnPipeTemp);
        SetNumber(r, "dk", AsShown(state.RzNumericEdit18));
        SetNumber(r, "hk", AsShown(state.RzNumericEdit21));
        SetNumber(r, "wk", AsShown(state.RzNumericEdit22));
        SetDiameter(r, state);
        SetText(r, "tt", Quoted(state.RzLabel4));
        break;
    case 4: // object, location and covering are fixed texts of this template
        SetText(r, "mat", Quoted(state.RzComboBox1));
        SetDiameter(r, state);
        SetNumber(r, "ts", state.RzNumericEdit26);
        SetNumber(r, "tp", state.RzNumericEdit28);
        SetNumber(r, "tb", state.RzNumericEdit27);
        SetNumber(r, "ta", state.RzNumericEdit25);
        SetText(r, "tt", Quoted(state.RzLabel4));
        break;
    }
    return report;
}

} // namespace reports
