#include "ThicknessAnalysis.h"

#include "ScheduleRows.h"

#include "CalcKinds.h"
#include "CalculateCommand.h"
#include "MethodSelection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <variant>

namespace workflow {
namespace {

using C = Control;

struct Calculation {
    T_calc engine;
    std::optional<AcceptedCheck> check;
};

// A calculation of the kind as the window runs it, after choosing the kind.
Calculation Calculated(int kind, const Inputs& in) {
    Calculation c;
    for (const Effect& effect : Calculate(kind, in, c.engine, ","))
        if (const auto* shown = std::get_if<ShowCheck>(&effect)) c.check = shown->check;
    return c;
}

Inputs Typed(int kind, const std::function<void(Inputs&)>& typing) {
    Inputs in = InputsAfterChoosing(kind);
    typing(in);
    return in;
}

// A successful calculation of each kind, as the window's examples.
Inputs Example(int kind) {
    Inputs in = InputsAfterChoosing(kind);
    if (kind == 0) in.Field(C::RzNumericEdit2) = 150;
    if (kind == 1) {
        in.Field(C::RzNumericEdit6) = 20;
        in.Field(C::RzNumericEdit7) = 150;
        in.Field(C::RzNumericEdit8) = 45;
    }
    if (kind == 2) {
        in.Field(C::RzNumericEdit11) = 20;
        in.Field(C::RzNumericEdit12) = 5;
        in.Field(C::RzNumericEdit13) = 60;
    }
    return in;
}

// Sweeps of one input per kind, wide enough to meet every state of the check.
std::vector<std::pair<int, Inputs>> Sweeps() {
    std::vector<std::pair<int, Inputs>> sweeps;
    for (int carrier = 40; carrier <= 400; carrier += 9)
        for (int plane = 0; plane <= 1; ++plane)
            sweeps.emplace_back(0, Typed(0, [&](Inputs& in) {
                                    in.Choice(C::RzRadioGroup1) = plane;
                                    in.materialValue = "0";
                                    in.Field(C::RzNumericEdit1) = 5;
                                    in.Field(C::RzNumericEdit2) = carrier;
                                }));
    for (int carrier = 100; carrier <= 300; carrier += 7)
        sweeps.emplace_back(1, Typed(1, [&](Inputs& in) {
                                in.Field(C::RzNumericEdit6) = 20;
                                in.Field(C::RzNumericEdit7) = carrier;
                                in.Field(C::RzNumericEdit8) = 45;
                            }));
    for (int carrier = -30; carrier <= 10; carrier += 3)
        sweeps.emplace_back(2, Typed(2, [&](Inputs& in) {
                                in.Field(C::RzNumericEdit11) = 20;
                                in.Field(C::RzNumericEdit12) = carrier;
                                in.Field(C::RzNumericEdit13) = 75;
                            }));
    for (int soil = -10; soil <= 15; soil += 5)
        for (int diameter = 0; diameter < 20; diameter += 3)
            sweeps.emplace_back(3, Typed(3, [&](Inputs& in) {
                                    in.Field(C::RzNumericEdit16) = soil;
                                    in.Choice(C::RzComboBox3) = diameter;
                                }));
    for (int air = -40; air <= -5; air += 5)
        sweeps.emplace_back(4, Typed(4, [&](Inputs& in) { in.Field(C::RzNumericEdit25) = air; }));
    // The 45 mm pipe at the thickest product: 1000 mm accepted and short, 1010 meets; and
    // past it, 1080 mm accepted and short.
    // (A pair, not a structured binding: clang 14 lets no lambda capture one.)
    for (const std::pair<int, int>& airAndHours : {std::pair{-60, 15}, std::pair{-50, 18}})
        sweeps.emplace_back(4, Typed(4, [airAndHours](Inputs& in) {
                                in.Field(C::RzNumericEdit25) = airAndHours.first;
                                in.Field(C::RzNumericEdit28) = airAndHours.second;
                                in.Choice(C::RzComboBox3) = 3;
                            }));
    return sweeps;
}

// The rows are the check's own figures at their thickness, the accepted row is the one the
// calculation showed, and the verdict turns to «обеспечено» exactly at the thickness the
// check names, and nowhere else.
TEST(ThicknessAnalysis, RowsAreTheCheckAtTheirThickness) {
    int shortfalls = 0;
    for (const auto& [kind, in] : Sweeps()) {
        SCOPED_TRACE("kind " + std::to_string(kind) + ", carrier " +
                     std::to_string(in.Field(C::RzNumericEdit2)));
        Calculation calc = Calculated(kind, in);
        if (!calc.check) continue;
        const AcceptedCheck& shown = *calc.check;
        const std::optional<ThicknessAnalysis> a = AnalyseCalculation(kind, in);
        ASSERT_TRUE(a.has_value());
        ASSERT_FALSE(a->rows.empty());
        EXPECT_LE(a->rows.size(), std::size_t(AnalysisRowsAtMost));
        EXPECT_EQ(a->acceptedMm, shown.acceptedMm);

        for (std::size_t i = 0; i < a->rows.size(); ++i) {
            const AnalysisRow& row = a->rows[i];
            if (i > 0) {
                EXPECT_EQ(row.mm, a->rows[i - 1].mm + ProductStepMm);
            }
            ASSERT_EQ(row.figures.size(), a->columns.size());
            const AcceptedCheck at = Kind(kind)->check(calc.engine, row.mm);
            EXPECT_EQ(row.figures.front(), at.checked.value) << row.mm;
            const bool met = at.state == CheckState::Met;
            EXPECT_EQ(row.state == CheckState::Met, met && row.mm <= LargestProductThickness);
            EXPECT_EQ(row.accepted, row.mm == shown.acceptedMm);
            if (row.accepted) {
                EXPECT_EQ(row.state, shown.state);
                EXPECT_EQ(row.figures.front(), shown.checked.value);
            }
            // The verdict changes at the thinnest thickness that meets.
            if (a->meetingMm && *a->meetingMm <= LargestProductThickness) {
                EXPECT_EQ(met, row.mm >= *a->meetingMm) << row.mm;
            }
            EXPECT_EQ(row.firstMeeting, a->meetingMm == row.mm);
            // Marked wherever it stands, past the thickest product too.
            const bool thinnerMeets =
                row.mm > 0 &&
                Kind(kind)->check(calc.engine, row.mm - ProductStepMm).state == CheckState::Met;
            EXPECT_EQ(row.firstMeeting, met && !thinnerMeets) << row.mm;
        }
        const bool hasAccepted = std::any_of(a->rows.begin(), a->rows.end(),
                                             [](const AnalysisRow& r) { return r.accepted; });
        EXPECT_TRUE(hasAccepted);
        if (shown.state == CheckState::NotMet || shown.state == CheckState::WithinAllowance) {
            ++shortfalls;
            EXPECT_EQ(a->meetingMm, shown.meetingMm);
        }
        // Two steps past the thinnest that meets, when the rows reach it.
        if (a->meetingMm && a->meetingMm >= shown.acceptedMm) {
            EXPECT_EQ(a->rows.back().mm, *a->meetingMm + AnalysisStepsBeyond * ProductStepMm);
        }
    }
    EXPECT_GT(shortfalls, 5); // the sweeps reach the verdicts that name a thickness
}

// Each kind's figures, in the order of its columns, as the check gives them.
TEST(ThicknessAnalysis, EveryKindHasItsFigures) {
    const std::vector<std::vector<std::string>> headings = {
        {"q, Вт/м", "q/(K·qн), %", "tпов, °С", "Qгод, кВт·ч/(м·год)", "ΔQгод, кВт·ч/(м·год)"},
        {"tпов, °С", "q, Вт/м"},
        {"tпов, °С", "точка росы, °С", "запас, °С"},
        {"qпары, Вт/м", "qпары/норма, %", "Qгод, кВт·ч/(м·год)", "ΔQгод, кВт·ч/(м·год)"},
        {"время до замерзания, ч"},
    };
    for (int kind = 0; kind < CalcMethodCount; ++kind) {
        const Inputs in = Example(kind);
        Calculation calc = Calculated(kind, in);
        ASSERT_TRUE(calc.check) << kind;
        const auto a = AnalyseCalculation(kind, in);
        ASSERT_TRUE(a) << kind;
        std::vector<std::string> shown;
        for (const AnalysisColumn& column : a->columns)
            shown.push_back(ColumnHeading(column));
        EXPECT_EQ(shown, headings[std::size_t(kind)]);
        const AnalysisRow& accepted =
            *std::find_if(a->rows.begin(), a->rows.end(), [](auto& r) { return r.accepted; });
        const AcceptedCheck& c = *calc.check;
        switch (kind) {
        case 0:
            EXPECT_EQ(accepted.figures[1], c.more[1].value);
            EXPECT_EQ(accepted.figures[2], c.more[0].value);
            break;
        case 2:
            EXPECT_EQ(accepted.figures[1], c.required.value);
            EXPECT_EQ(accepted.figures[2], c.more[0].value);
            break;
        default:
            break;
        }
        EXPECT_EQ(a->required, c.required);
    }
}

// The loss of a year is the flux over the year's working hours of the hours choice, in kWh;
// the saving is the bare surface's loss less the row's.
TEST(ThicknessAnalysis, YearlyLossAndSaving) {
    for (const int kind : {0, 3})
        for (const auto& [choice, hours] : {std::pair{0, 5000.0}, std::pair{1, 8400.0}}) {
            Inputs in = Example(kind);
            in.Choice(C::RzRadioGroup4) = choice;
            Calculation calc = Calculated(kind, in);
            const auto a = AnalyseCalculation(kind, in);
            ASSERT_TRUE(a && calc.check);
            EXPECT_EQ(a->yearlyHours, int32_t(hours));
            const std::size_t yearly = a->columns.size() - 2, saving = yearly + 1;
            const double bare = Kind(kind)->check(calc.engine, 0).checked.value * hours / 1000;
            ASSERT_EQ(a->rows.front().mm, 0);
            EXPECT_DOUBLE_EQ(a->rows.front().figures[saving], 0);
            for (const AnalysisRow& row : a->rows) {
                const double q = Kind(kind)->check(calc.engine, row.mm).checked.value;
                EXPECT_DOUBLE_EQ(row.figures[yearly], q * hours / 1000);
                EXPECT_DOUBLE_EQ(row.figures[saving], bare - q * hours / 1000);
                EXPECT_GE(row.figures[saving], 0);
            }
        }
    for (const int kind : {1, 2, 4}) {
        const auto a = AnalyseCalculation(kind, Example(kind));
        ASSERT_TRUE(a);
        EXPECT_FALSE(a->yearlyHours);
    }
}

// A row taken as the accepted thickness is checked as the calculation checks its own: at
// the accepted thickness the same check, at each other the table's verdict.
TEST(ThicknessAnalysis, CheckAtAChosenThickness) {
    for (const auto& [kind, in] : Sweeps()) {
        const Calculation calc = Calculated(kind, in);
        if (!calc.check) continue;
        const auto a = AnalyseCalculation(kind, in);
        ASSERT_TRUE(a);
        for (const AnalysisRow& row : a->rows) {
            const std::optional<AcceptedCheck> at = CheckAtThickness(kind, in, row.mm);
            ASSERT_TRUE(at);
            EXPECT_EQ(at->acceptedMm, row.mm);
            EXPECT_EQ(at->state, row.state) << kind << " " << row.mm;
            EXPECT_EQ(at->checked.value, row.figures.front());
            EXPECT_EQ(at->requiredMm, calc.check->requiredMm);
            if (row.accepted) {
                EXPECT_EQ(*at, *calc.check);
            }
            if (row.state != CheckState::Met && row.state != CheckState::BeyondProducts) {
                EXPECT_EQ(at->meetingMm, a->meetingMm);
            }
        }
    }
}

// A calculation that gives no thickness gives no table.
TEST(ThicknessAnalysis, NoneWithoutAThickness) {
    Inputs in = Example(1);
    in.Field(C::RzNumericEdit8) = 20; // the surface at the air's temperature
    EXPECT_FALSE(AnalyseCalculation(1, in));
    EXPECT_FALSE(AnalyseCalculation(7, InputsAfterChoosing(0)));
}

// The batch's table: a line per figure of each row, the requirement beside the main one,
// the row's verdict and its marks as the check words them, for every kind.
TEST(ThicknessAnalysis, CsvLines) {
    EXPECT_EQ(AnalysisCsvHeader("\"Строка\""),
              "\"Строка\";\"Вид расчёта\";\"Толщина, мм\";\"Показатель\";\"Значение\";"
              "\"Единица\";\"Требование\";\"Вывод\";\"Отметка\"\r\n");
    struct Case {
        const char* name;
        int kind;
        std::function<void(Inputs&)> typing;
        const char* caption;
        std::vector<std::string> lines; // after the prefix and the kind
    };
    const auto surface = [](int carrier) {
        return [=](Inputs& in) {
            in.Field(C::RzNumericEdit6) = 20;
            in.Field(C::RzNumericEdit7) = carrier;
            in.Field(C::RzNumericEdit8) = 45;
        };
    };
    // clang-format off
    const Case cases[] = {
        {"by the norm, within the allowance", 0, [](Inputs& in) { in.Field(C::RzNumericEdit2) = 150; },
         "По нормам плотности теплового потока",
         {"40;\"Плотность теплового потока\";68,9;\"Вт/м\";57,0;\"не обеспечено\";\"\"",
          "50;\"Плотность теплового потока\";58,5;\"Вт/м\";57,0;\"в пределах допуска\";\"принята\"",
          "50;\"Отношение к норме\";102,7;\"%\";;\"в пределах допуска\";\"принята\"",
          "50;\"Теплопотери за год\";293;\"кВт·ч/(м·год)\";;\"в пределах допуска\";\"принята\"",
          "60;\"Плотность теплового потока\";51,5;\"Вт/м\";57,0;\"обеспечено\";\"первая, что обеспечивает\""}},
        {"surface, within the allowance", 1, surface(250),
         "По заданной температуре на поверхности изоляции",
         {"50;\"Температура поверхности изоляции\";46,1;\"°С\";45;\"в пределах допуска\";\"принята\"",
          "50;\"Плотность теплового потока\";102,2;\"Вт/м\";;\"в пределах допуска\";\"принята\"",
          "60;\"Температура поверхности изоляции\";41,3;\"°С\";45;\"обеспечено\";\"первая, что обеспечивает\""}},
        {"surface, accepted and the first that meets", 1, surface(150),
         "По заданной температуре на поверхности изоляции",
         {"20;\"Температура поверхности изоляции\";51,3;\"°С\";45;\"не обеспечено\";\"\"",
          "30;\"Температура поверхности изоляции\";41,6;\"°С\";45;\"обеспечено\";\"принята; первая, что обеспечивает\"",
          "40;\"Температура поверхности изоляции\";36,2;\"°С\";45;\"обеспечено\";\"\""}},
        {"condensation", 2, [](Inputs& in) {
             in.Field(C::RzNumericEdit11) = 20;
             in.Field(C::RzNumericEdit12) = 5;
             in.Field(C::RzNumericEdit13) = 60;
         },
         "С целью предотвращения конденсации влаги на поверхности изоляции",
         {"0;\"Запас до точки росы\";-7,0;\"°С\";;\"не обеспечено\";\"\"",
          "10;\"Температура поверхности изоляции\";14,1;\"°С\";12,0;\"обеспечено\";\"принята; первая, что обеспечивает\""}},
        {"channel", 3, [](Inputs&) {},
         "Трубопроводов тепловых сетей двухтрубной канальной прокладки",
         {"40;\"Теплопотери пары трубопроводов\";54,7;\"Вт/м\";48,9;\"не обеспечено\";\"\"",
          "50;\"Отношение к норме\";97,3;\"%\";;\"обеспечено\";\"принята; первая, что обеспечивает\""}},
        {"freezing, short", 4, [](Inputs&) {},
         "С целью предотвращения замерзания воды в трубопроводе",
         {"50;\"Время до замерзания допустимой доли воды\";23,4;\"ч\";24;\"не обеспечено\";\"принята\"",
          "60;\"Время до замерзания допустимой доли воды\";26,7;\"ч\";24;\"обеспечено\";\"первая, что обеспечивает\""}},
        {"freezing, met past the products", 4, [](Inputs& in) {
             in.Field(C::RzNumericEdit25) = -60;
             in.Field(C::RzNumericEdit28) = 15;
             in.Choice(C::RzComboBox3) = 3;
         },
         "С целью предотвращения замерзания воды в трубопроводе",
         {"1000;\"Время до замерзания допустимой доли воды\";15,0;\"ч\";15;\"не обеспечено\";\"принята\"",
          "1010;\"Время до замерзания допустимой доли воды\";15,0;\"ч\";15;\"вне сортамента\";\"первая, что обеспечивает\""}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto a = AnalyseCalculation(c.kind, Typed(c.kind, c.typing));
        ASSERT_TRUE(a);
        const std::string csv = AnalysisCsvLines(*a, "3", ",");
        bool all = true;
        for (const std::string& line : c.lines) {
            const std::string whole = "3;\"" + std::string(c.caption) + "\";" + line + "\r\n";
            const std::size_t at = csv.find(whole);
            const bool found = at != std::string::npos && (at == 0 || csv[at - 1] == '\n');
            EXPECT_TRUE(found) << line;
            all = all && found;
        }
        EXPECT_TRUE(all) << csv;
    }
}

// A tag a spreadsheet would run as a formula is led by an apostrophe, as in the schedule's table.
TEST(ThicknessAnalysis, ATagIsNoFormulaInTheTable) {
    std::vector<ScheduleRow> rows = RowsOfEveryKind();
    rows.resize(1);
    rows[0].tag = "=1+2+cmd|x";
    const std::string csv = AnalysisCsv(rows);
    EXPECT_NE(csv.find("\r\n1;\"'=1+2+cmd|x\";"), std::string::npos) << csv;
    EXPECT_EQ(csv.find("\"=1+2"), std::string::npos) << csv;
}

} // namespace
} // namespace workflow
