// The report's and the schedule's PDF over an earlier PDF on a full and on a read-only
// disk: the earlier file stays byte for byte, nothing is left beside it, and the reason is
// the system's in the user's words.
#include "FullDisk.h"
#include "PagePainter.h"
#include "ReportCommand.h"
#include "SchedulePrint.h"

#include "ScheduleRows.h"

#include <QFile>
#include <gtest/gtest.h>

#include <functional>

TEST(PdfOnFullDisk, AnEarlierPdfStaysAndTheReasonIsSaid) {
    reports::ReportTemplates templates;
    workflow::Inputs inputs;
    workflow::ShownResult shown;
    shown.Calculated(1, inputs, std::vector<workflow::Effect>{workflow::SetResult{"30,0"}});
    const auto* report = reports::FillReport(templates, 1, inputs, shown);
    ASSERT_NE(report, nullptr);
    const reportengine::PreparedPage page = reportengine::PreparePage(*report);
    const std::vector<workflow::ScheduleRow> rows = workflow::RowsOfEveryKind();
    const std::pair<const char*, std::function<QString(const QString&)>> writers[] = {
        {"the report", [&](const QString& path) { return reportengine::WritePdf(page, path); }},
        {"the schedule",
         [&](const QString& path) {
             return reports::WriteSchedulePdf(path, rows, QDate(2024, 3, 5));
         }},
    };
    const QByteArray earlier = "%PDF-1.4 an earlier document";
    for (const auto& [name, write] : writers)
        for (const bool readOnly : {false, true}) {
            SCOPED_TRACE(std::string(name) +
                         (readOnly ? " on a read-only disk" : " on a full disk"));
            SmallDisk disk;
            if (!disk.Mounted()) GTEST_SKIP() << "a small disk of the test's own needs root";
            const QString path = disk.Path(QStringLiteral("earlier.pdf"));
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(earlier) == earlier.size());
            file.close();
            if (readOnly)
                ASSERT_TRUE(disk.MakeReadOnly());
            else
                disk.Fill();
            const QStringList before = disk.Entries();

            EXPECT_EQ(write(path), readOnly ? QStringLiteral("Диск доступен только для чтения")
                                            : QStringLiteral("Недостаточно места на диске"));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), earlier);
            EXPECT_EQ(disk.Entries(), before);
        }
}
