// Renders a report to PDF and reads its words back with their boxes, as a reader would.
#include "PagePainter.h"
#include "ReportCommand.h"

#include "QStringPrinter.h"
#include <QProcess>
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
    QProcess pdftotext;
    pdftotext.start(QStringLiteral(PDFTOTEXT), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(30000) || pdftotext.exitCode() != 0) return {};
    const QString html = QString::fromUtf8(pdftotext.readAllStandardOutput());
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
    ASSERT_TRUE(reportengine::WritePdf(
        reportengine::PreparePage(*report, {QDate(2024, 3, 5), QLocale(QLocale::Russian)}), pdf));

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
