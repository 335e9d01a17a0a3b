// The report's binding: the boxes of the kind's A4 template filled from the calculator's
// inputs and shown result, with their texts final, as the desktop prints them.
#include "Calculator.h"

#include "KindReports.h"

#include <emscripten/bind.h>

#include <cstdio>

using emscripten::val;

namespace web {

namespace {

double Mm(double units) {
    return units / reporttemplate::MmToUnits(1);
}

std::string Colour(const reporttemplate::Rgb& c) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%02x%02x%02x", c.red, c.green, c.blue);
    return hex;
}

// The report of the calculator's kind for what its inputs hold now; `isoDate` names it,
// `userDate` is the day as the report prints it. No boxes before a kind is chosen.
val Report(const Calculator& calc, const std::string& isoDate, const std::string& userDate) {
    reporttemplate::Formats formats;
    formats.date = userDate;
    formats.decimalPoint = std::string(DecimalSeparator);
    const reporttemplate::Page sheet;
    val report = val::object();
    report.set("title", reporttemplate::ReportTitle(calc.Method(), isoDate));
    report.set("author", std::string(reporttemplate::ReportAuthor));
    report.set("widthMm", sheet.paperWidthMm);
    report.set("heightMm", sheet.paperHeightMm);
    val boxes = val::array();
    for (const reporttemplate::FilledBox& b : reporttemplate::FilledBoxes(
             calc.Method(), calc.Inputs(), calc.Shown(), formats, isoDate)) {
        val box = val::object();
        box.set("name", b.name);
        box.set("leftMm", Mm(b.geometry.left));
        box.set("topMm", Mm(b.geometry.top));
        box.set("widthMm", Mm(b.geometry.width));
        box.set("heightMm", Mm(b.geometry.height));
        box.set("family", b.font.family);
        box.set("sizePx", b.font.pixelSize); // 1/96 inch, a CSS pixel
        box.set("bold", b.font.bold);
        box.set("underline", b.font.underline);
        box.set("color", Colour(b.font.color));
        box.set("background", b.background ? val(Colour(*b.background)) : val::null());
        box.set("text", b.text);
        boxes.call<void>("push", box);
    }
    report.set("boxes", boxes);
    return report;
}

} // namespace

} // namespace web

EMSCRIPTEN_BINDINGS(report) {
    emscripten::function("report", &web::Report);
}
