#include "ReportTemplates.h"

#include "QStringPrinter.h"
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

using reportengine::Template;
using reports::MmToUnits;
using reports::ReportTemplates;

TEST(MmToUnits, MatchesTheStoredFigures) {
    EXPECT_NEAR(MmToUnits(10), 37.7953, 1e-9);
    EXPECT_NEAR(MmToUnits(109), 411.96877, 1e-9);
    EXPECT_NEAR(MmToUnits(25), 94.48825, 1e-9);
}

TEST(ReportTemplates, EachKindHasItsOwnTemplateAndHeading) {
    ReportTemplates t;
    // clang-format off
    const std::tuple<int, Template*, const char*> kinds[] = {
        {0, &t.frxReport3, "Расчёт толщины изоляции по норме теплопотерь"},
        {1, &t.frxReport1, "Расчёт толщины теплоизоляции по заданной температуре на поверхности"},
        {2, &t.frxReport2, "Расчёт толщины изоляции с целью предотвращения конденсации влаги на поверхности"},
        {3, &t.frxReport5, "Расчёт толщины изоляции для трубопроводов двухтрубной канальной прокладки"},
        {4, &t.frxReport4, "Расчёт толщины изоляции с целью предотвращения замерзания воды в трубопроводе"},
    };
    // clang-format on
    for (const auto& [kind, report, heading] : kinds) {
        ASSERT_EQ(t.ForKind(kind), report) << kind;
        ASSERT_NE(report->FindObject(QStringLiteral("Memo6")), nullptr);
        EXPECT_EQ(report->FindObject(QStringLiteral("Memo6"))->text, QString::fromUtf8(heading));
    }
    EXPECT_EQ(t.ForKind(-1), nullptr);
    EXPECT_EQ(t.ForKind(5), nullptr);
}

TEST(ReportTemplates, AreWellFormed) {
    ReportTemplates t;
    for (const Template* report :
         {&t.frxReport1, &t.frxReport2, &t.frxReport3, &t.frxReport4, &t.frxReport5}) {
        SCOPED_TRACE(report->name.toStdString());
        ASSERT_FALSE(report->variables.empty());
        EXPECT_EQ(report->variables[0].name, QStringLiteral(" NC1"));
        EXPECT_TRUE(report->variables[0].isCategory);
        EXPECT_EQ(report->page.paperWidthMm, 210);
        EXPECT_EQ(report->page.paperHeightMm, 297);

        QSet<QString> names;
        static const QRegularExpression placeholder(QStringLiteral("\\[([^\\]]*)\\]"));
        for (const auto& box : report->page.boxes) {
            EXPECT_FALSE(names.contains(box.name)) << "twice: " << box.name.toStdString();
            names.insert(box.name);
            // Every placeholder names the date or a variable of this template.
            for (const auto& m : placeholder.globalMatch(box.text)) {
                const QString name = m.captured(1);
                const int index = report->IndexOf(name);
                EXPECT_TRUE(name == QLatin1String("Date") ||
                            (index > 0 && !report->variables[index].isCategory))
                    << box.name.toStdString() << ": " << name.toStdString();
            }
            // The page is A4 and every box lies inside its printable area, 5 mm from the edges.
            EXPECT_GE(box.geometry.left(), MmToUnits(5)) << box.name.toStdString();
            EXPECT_GE(box.geometry.top(), MmToUnits(5)) << box.name.toStdString();
            EXPECT_LE(box.geometry.right(), MmToUnits(205)) << box.name.toStdString();
            EXPECT_LE(box.geometry.bottom(), MmToUnits(292)) << box.name.toStdString();
        }
        for (const char* shared : {"Memo2", "Memo3", "Memo4", "Date", "Memo5", "Memo20"})
            EXPECT_TRUE(names.contains(QLatin1String(shared))) << shared;

        const auto* brand = report->FindObject(QStringLiteral("Memo3"));
        EXPECT_EQ(brand->text, QStringLiteral("ЗОРБАЛИТ"));
        EXPECT_EQ(brand->font.pixelSize, 19);
        EXPECT_TRUE(brand->font.bold && brand->font.underline);
        EXPECT_EQ(brand->font.color, QColor(255, 0, 0));
        EXPECT_EQ(brand->background, QColor(Qt::white));
    }
}
