#include "ReportCommand.h"

#include "CalcKinds.h"

#include <QLocale>

#include <cmath>
#include <string_view>
#include <utility>
#include <vector>

namespace reports {

namespace {

using reportengine::Template;
using workflow::Control;
using workflow::Inputs;

QString Text(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

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

// A phrase printed as a value starts with a capital letter, as the rows around it do.
QString Capitalised(QString text) {
    if (!text.isEmpty()) text[0] = text[0].toUpper();
    return text;
}

QString RowText(const Inputs& in, workflow::Control choice) {
    return Text(workflow::ChoiceRowText(choice, in.Choice(choice)));
}

void SetDiameter(Template& report, const Inputs& in) {
    const auto diameters = workflow::DiameterListMm();
    const int position = in.Choice(Control::RzComboBox3);
    const int index = report.IndexOf(QStringLiteral("dt"));
    if (position >= 0 && position < int(diameters.size()))
        report.SetValue(index, diameters[std::size_t(position)]);
    else
        report.ClearValue(index);
}

// The chosen row's name as the list shows it; nothing when no row is chosen.
void SetMaterial(Template& report, const Inputs& in) {
    SetText(report, "mat", Quoted(Text(workflow::MaterialText(in.materialValue))));
}

void SetShown(Template& report, const char* box, bool shown) {
    if (auto* b = report.FindObject(QLatin1String(box))) b->visible = shown;
}

// The thickness, only beside the inputs it was computed from.
void SetThickness(Template& report, const Inputs& in, const workflow::ShownResult& result) {
    const bool current = result.ThicknessIsCurrent(in);
    SetText(report, "tt", Quoted(Text(current ? result.Text() : workflow::NoResultText)));
    SetShown(report, "NoResult", !current);
}

void SetBoxText(Template& report, const QString& box, bool shown, const QString& text) {
    if (auto* b = report.FindObject(box)) {
        b->visible = shown;
        b->text = text;
    }
}

// What the accepted thickness gives, only beside the thickness it belongs to: the method's
// thickness before rounding (the accepted one is the result above), the figures of the
// requirement, the verdict.
void SetCheck(Template& report, const workflow::AcceptedCheck* check) {
    std::vector<std::pair<QString, QString>> rows;
    if (check) {
        const std::string separator = QLocale().decimalPoint().toStdString();
        rows.emplace_back(Text(workflow::RequiredLabel),
                          Text(workflow::RequiredThickness(*check, separator)));
        auto add = [&](const workflow::CheckFigure& figure) {
            rows.emplace_back(Text(workflow::FigureLabel(figure)),
                              Text(workflow::FigureValue(figure, separator)));
        };
        add(check->checked);
        rows.emplace_back(Text(workflow::FigureLabel(check->required)),
                          Text(workflow::RequiredValue(*check, separator)));
        for (const workflow::CheckFigure& figure : check->more)
            add(figure);
        rows.emplace_back(Text(workflow::VerdictLabel), Text(workflow::CheckVerdict(*check)));
    }
    if (auto* heading = report.FindObject(CheckHeadingBox())) heading->visible = check != nullptr;
    for (int row = 0; row < CheckRows; ++row) {
        const bool shown = row < int(rows.size());
        const auto [label, value] = shown ? rows[std::size_t(row)] : std::pair<QString, QString>();
        SetBoxText(report, CheckLabelBox(row), shown, label);
        SetBoxText(report, CheckValueBox(row), shown, value);
    }
}

// The values that kinds 0, 1 and 2 share, and their diameter row: shown for a pipe only.
void SetShared(Template& report, const Inputs& in, const char* diameterLabel,
               const char* diameterValue) {
    const bool plane = in.Choice(Control::RzRadioGroup1) == 1;
    SetText(report, "cyl", plane ? QStringLiteral("'Плоскость'") : QStringLiteral("'Труба'"));
    SetDiameter(report, in);
    SetText(report, "dis",
            in.Choice(Control::RzRadioGroup2) == 0 ? QStringLiteral("'Открытый воздух'")
                                                   : QStringLiteral("'Помещение'"));
    SetMaterial(report, in);
    SetText(report, "sur",
            in.Choice(Control::RzRadioGroup3) == 0 ? QStringLiteral("'Металл'")
                                                   : QStringLiteral("'Не металл'"));
    for (const char* box : {diameterLabel, diameterValue})
        SetShown(report, box, !plane);
}

} // namespace

QString ReportTitle(int calcMethod, QDate date) {
    const workflow::CalcKind* row = workflow::Kind(calcMethod);
    const QString kind = row ? Text(row->shortName) : QString();
    return QStringLiteral("Толщина изоляции — %1 — %2").arg(kind, date.toString(Qt::ISODate));
}

namespace {

// What each template prints besides the thickness, by the template's name.
struct Filler {
    std::string_view templateName;
    void (*fill)(Template&, const Inputs&, const workflow::ShownResult&);
};

void FillNormFlux(Template& r, const Inputs& in, const workflow::ShownResult& result) {
    SetShared(r, in, "Memo26", "Memo27");
    SetText(r, "rp", Quoted(RowText(in, Control::RzComboBox5)));
    SetText(r, "ch", Quoted(RowText(in, Control::RzRadioGroup4)));
    SetNumber(r, "tb", in.Field(Control::RzNumericEdit2));
    SetNumber(r, "ta", in.Field(Control::RzNumericEdit1));
    // The norm is per metre of pipe, or per square metre of a plane.
    SetText(r, "nu",
            in.Choice(Control::RzRadioGroup1) == 1 ? QStringLiteral("'Вт/м²'")
                                                   : QStringLiteral("'Вт/м'"));
    if (result.NormIsCurrent(in))
        SetNumber(r, "nt", AsShown(in.Field(Control::RzNumericEdit3)));
    else
        SetText(r, "nt", Quoted(Text(workflow::NoResultText)));
}

void FillSurfaceTemp(Template& r, const Inputs& in, const workflow::ShownResult&) {
    SetShared(r, in, "Memo24", "Memo25");
    SetNumber(r, "tb", in.Field(Control::RzNumericEdit7));
    SetNumber(r, "ta", in.Field(Control::RzNumericEdit6));
    SetNumber(r, "ts", in.Field(Control::RzNumericEdit8));
}

void FillCondensation(Template& r, const Inputs& in, const workflow::ShownResult&) {
    SetShared(r, in, "Memo24", "Memo25");
    SetNumber(r, "tb", in.Field(Control::RzNumericEdit12));
    SetNumber(r, "ta", in.Field(Control::RzNumericEdit11));
    SetNumber(r, "mo", in.Field(Control::RzNumericEdit13));
}

// The object is a fixed text of this template.
void FillTwoPipeChannel(Template& r, const Inputs& in, const workflow::ShownResult&) {
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
void FillFreezing(Template& r, const Inputs& in, const workflow::ShownResult&) {
    SetMaterial(r, in);
    SetDiameter(r, in);
    SetNumber(r, "ts", in.Field(Control::RzNumericEdit26));
    SetNumber(r, "tp", in.Field(Control::RzNumericEdit28));
    SetNumber(r, "tb", in.Field(Control::RzNumericEdit27));
    SetNumber(r, "ta", in.Field(Control::RzNumericEdit25));
    SetText(r, "ls",
            Quoted(Capitalised(Text(workflow::LayingText(in.Choice(Control::RzComboBox2))))));
}

constexpr Filler Fillers[] = {
    {"frxReport3", FillNormFlux},     {"frxReport1", FillSurfaceTemp},
    {"frxReport2", FillCondensation}, {"frxReport5", FillTwoPipeChannel},
    {"frxReport4", FillFreezing},
};

} // namespace

QString ReportAuthor() {
    return QStringLiteral("Программа расчёта теплоизоляции");
}

reportengine::Template* FillReport(ReportTemplates& templates, int calcMethod, const Inputs& in,
                                   const workflow::ShownResult& result, QDate date) {
    Template* report = templates.ForKind(calcMethod);
    if (report == nullptr) return nullptr;
    report->title = ReportTitle(calcMethod, date);
    report->author = ReportAuthor();
    SetThickness(*report, in, result);
    // A kind whose page does not ask where the object lies and what covers it says so itself.
    const workflow::CalcKind& kind = *workflow::Kind(calcMethod);
    if (!kind.fixedLocation.empty()) SetText(*report, "dis", Quoted(Text(kind.fixedLocation)));
    if (!kind.fixedCovering.empty()) SetText(*report, "sur", Quoted(Text(kind.fixedCovering)));
    SetCheck(*report, result.CurrentCheck(in));
    for (const Filler& filler : Fillers)
        if (report->name.toStdString() == filler.templateName) filler.fill(*report, in, result);
    return report;
}

} // namespace reports
