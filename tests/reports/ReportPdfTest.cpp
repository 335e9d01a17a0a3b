// Renders a report to PDF and reads its words back with their boxes, as a reader would.
#include "CalculateCommand.h"
#include "MethodSelection.h"
#include "PagePainter.h"
#include "ReportCommand.h"

#include "PdfText.h"
#include "QStringPrinter.h"
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>

namespace {

constexpr double MmPerPoint = 25.4 / 72;

struct Word {
    double xMm, yMm; // top-left corner of the word's box
};

// pdftotext -bbox writes one <word xMin=".." yMin=".." ...>text</word> per word, in points.
std::multimap<QString, Word> ReadWords(const QString& pdf) {
    const QString html = PdfText(pdf, {QStringLiteral("-bbox")});
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    std::multimap<QString, Word> words;
    for (const auto& m : word.globalMatch(html))
        words.insert(
            {m.captured(3),
             {m.captured(1).toDouble() * MmPerPoint, m.captured(2).toDouble() * MmPerPoint}});
    return words;
}

} // namespace

TEST(ReportPdf, TextsStandWhereTheTemplatePutsThem) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    reports::ReportTemplates templates;
    workflow::Inputs inputs;
    inputs.Field(workflow::Control::RzNumericEdit7) = 150;
    workflow::ShownResult shown;
    shown.Calculated(1, inputs, std::vector<workflow::Effect>{workflow::SetResult{"30,0"}});
    const auto* report = reports::FillReport(templates, 1, inputs, shown);
    ASSERT_NE(report, nullptr);
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    ASSERT_EQ(reportengine::WritePdf(reportengine::PreparePage(
                                         *report, {QDate(2024, 3, 5), QLocale(QLocale::Russian)}),
                                     pdf),
              QString());

    const auto words = ReadWords(pdf);
    ASSERT_FALSE(words.empty()) << "pdftotext could not read " << pdf.toStdString();

    // A box's text starts 2 and 1 units (0.53 and 0.26 mm) inside its top-left corner.
    const double padX = 2 * 25.4 / 96, padY = 1 * 25.4 / 96;
    // clang-format off
    const std::tuple<const char*, double, double> expected[] = {
        {"ЗОРБАЛИТ",   138, 10},
        {"Объект",       7, 52},
        {"Труба",      109, 53},
        {"05.03.2024", 139, 33},
        {"Диаметр",      7, 112},
        {"108",        109, 112},
        {"150",        109, 122},
        {"30,0",       104, 236},
    };
    // clang-format on
    for (const auto& [text, leftMm, topMm] : expected) {
        const auto found = words.find(QString::fromUtf8(text));
        ASSERT_NE(found, words.end()) << text;
        EXPECT_NEAR(found->second.xMm, leftMm + padX, 0.5) << text;
        EXPECT_NEAR(found->second.yMm, topMm + padY, 0.5) << text;
    }
}

namespace {

// The page's words as pdftotext lays them out, row by row, one blank between words.
QString ReadText(const QString& pdf) {
    return PdfText(pdf, {QStringLiteral("-layout")}).simplified();
}

} // namespace

// A calculation run as the window runs it, printed: the check below the result when the
// thickness belongs to the printed inputs, nothing of it when they have changed since.
TEST(ReportPdf, TheCheckAtTheAcceptedThicknessIsPrintedBesideItsThickness) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // The figures follow the user's locale, as the window's do.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Russian));
    reports::ReportTemplates templates;
    workflow::Inputs inputs;
    inputs.Field(workflow::Control::RzNumericEdit6) = 20;
    inputs.Field(workflow::Control::RzNumericEdit7) =
        250; // 52 mm, rounded down to 50 within the allowance
    inputs.Field(workflow::Control::RzNumericEdit8) = 45;
    T_calc engine;
    workflow::ShownResult shown;
    shown.KindChosen(1);
    shown.Calculated(1, inputs, workflow::Calculate(1, inputs, engine, ","));

    auto printed = [&](const workflow::Inputs& now, const char* file) {
        const auto* report = reports::FillReport(templates, 1, now, shown);
        const QString pdf = dir.filePath(QString::fromUtf8(file));
        EXPECT_EQ(
            reportengine::WritePdf(
                reportengine::PreparePage(*report, {QDate(2024, 3, 5), QLocale(QLocale::Russian)}),
                pdf),
            QString());
        return ReadText(pdf);
    };
    const QString current = printed(inputs, "current.pdf");
    for (const char* phrase :
         {"Принятая толщина тепловой изоляции, мм 50,0", "Проверка при принятой толщине",
          "Расчётная толщина изоляции, мм 52,0", "Температура поверхности изоляции, °С 46,1",
          "Заданная температура поверхности, °С 45", "Плотность теплового потока, Вт/м 102,2",
          "Требование в пределах допуска 3 мм (СП 61.13330.2012, п. 6.12); с запасом — 60 мм"})
        EXPECT_TRUE(current.contains(QString::fromUtf8(phrase))) << phrase << "\n"
                                                                 << current.toStdString();

    workflow::Inputs changed = inputs;
    changed.Field(workflow::Control::RzNumericEdit7) = 200;
    const QString stale = printed(changed, "stale.pdf");
    EXPECT_FALSE(stale.isEmpty());
    EXPECT_FALSE(stale.contains(QStringLiteral("Проверка"))) << stale.toStdString();
    EXPECT_FALSE(stale.contains(QStringLiteral("Требование")));
    QLocale::setDefault(before);
}

// The norm-flux kind's check prints its requirement as the norm times the region's
// coefficient, and what the accepted thickness gives beside it.
TEST(ReportPdf, TheNormFluxCheckPrintsTheNormTimesTheRegionsCoefficient) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Russian));
    reports::ReportTemplates templates;
    workflow::Inputs inputs = workflow::InputsAfterChoosing(0);
    inputs.Field(workflow::Control::RzNumericEdit1) = 5;   // air
    inputs.Field(workflow::Control::RzNumericEdit2) = 150; // carrier
    inputs.Choice(workflow::Control::RzComboBox5) = 3;     // the Urals
    T_calc engine;
    workflow::ShownResult shown;
    shown.KindChosen(0);
    // The calculation writes the norm it read into its field, as the window shows it.
    const std::vector<workflow::Effect> effects = workflow::Calculate(0, inputs, engine, ",");
    for (const workflow::Effect& effect : effects)
        if (const auto* set = std::get_if<workflow::SetField>(&effect))
            inputs.Field(set->field) = set->value;
    shown.Calculated(0, inputs, effects);
    const auto* report = reports::FillReport(templates, 0, inputs, shown);
    ASSERT_NE(report, nullptr);
    const QString pdf = dir.filePath(QStringLiteral("norm.pdf"));
    ASSERT_EQ(reportengine::WritePdf(reportengine::PreparePage(
                                         *report, {QDate(2024, 3, 5), QLocale(QLocale::Russian)}),
                                     pdf),
              QString());
    const QString text = ReadText(pdf);
    // 57,0 × 0,98 = 55,86: the product is the requirement, rounded as it is shown.
    for (const char* phrase :
         {"Норма тепловых потерь, Вт/м 57", "Принятая толщина тепловой изоляции, мм 50,0",
          "Плотность теплового потока, Вт/м 56,9",
          "Норма qн × районный коэффициент K, Вт/м 57,0 × 0,98 = 55,9",
          "Требование в пределах допуска 3 мм (СП 61.13330.2012, п. 6.12); с запасом — 60 мм"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(phrase))) << phrase << "\n"
                                                              << text.toStdString();
    QLocale::setDefault(before);
}
