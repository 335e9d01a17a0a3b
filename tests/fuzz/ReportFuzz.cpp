// Fills the report of a kind from inputs built from arbitrary bytes, after a calculation
// on those inputs or on others (a stale result), and prepares its page as the preview and
// the PDF do. Every printed text must be words and figures: no "nan", no "inf", no
// placeholder left; the thickness and its check are printed only beside their inputs.
#include "CalculateCommand.h"
#include "FuzzedInputs.h"
#include "PreparedPage.h"
#include "ReportCommand.h"
#include "ShownResult.h"

#include <QGuiApplication>
#include <QLocale>

#include <cstdlib>
#include <memory>

using namespace workflow;
using namespace fuzzed;

namespace {

void Check(bool holds) {
    if (!holds) std::abort();
}

bool Printable(const QString& text) {
    const QString lower = text.toLower();
    return !lower.contains(QLatin1String("nan")) && !lower.contains(QLatin1String("inf")) &&
           !text.contains(QLatin1Char('['));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Laying text out needs fonts, which need an application; no display is used.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static std::unique_ptr<QGuiApplication> app(new QGuiApplication(*argc, *argv));
    QLocale::setDefault(QLocale(QLocale::Russian));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    static reports::ReportTemplates templates; // kept across reports, as the window keeps it
    const int method = in.ConsumeIntegralInRange(-1, int(CalcKinds().size()));
    Inputs calculated;
    ChangeInputs(in, calculated);
    T_calc engine;
    ShownResult shown;
    shown.KindChosen(method);
    if (in.ConsumeBool())
        shown.Calculated(method, calculated, Calculate(method, calculated, engine, ","));
    Inputs printed = calculated;
    if (in.ConsumeBool()) ChangeInputs(in, printed);

    const reportengine::Template* report =
        reports::FillReport(templates, method, printed, shown, QDate(2026, 12, 10));
    Check((report != nullptr) == (Kind(method) != nullptr));
    if (!report) return 0;
    const reportengine::PreparedPage page =
        reportengine::PreparePage(*report, {QDate(2026, 12, 10), QLocale(QLocale::Russian)});
    const bool current = shown.ThicknessIsCurrent(printed);
    Check((page.Find(QStringLiteral("NoResult")) == nullptr) == current);
    Check((page.Find(QString::fromStdString(reporttemplate::CheckHeadingBox())) != nullptr) ==
          (shown.CurrentCheck(printed) != nullptr));
    // Nothing printed falls off the sheet, whatever the inputs.
    const QRectF sheet = page.printable.adjusted(-0.01, -0.01, 0.01, 0.01);
    for (const reportengine::PreparedBox& box : page.boxes) {
        Check(Printable(box.text));
        Check(sheet.contains(page.OnSheet(box.geometry)));
    }
    return 0;
}
