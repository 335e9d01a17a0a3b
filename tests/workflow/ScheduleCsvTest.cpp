#include "ScheduleCsv.h"

#include "FalsePositive.h"
#include "ScheduleRows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <set>

using namespace workflow;

namespace workflow {
void PrintTo(const CsvField& f, std::ostream* os) {
    *os << (f.quoted ? "text \"" : "number \"") << f.text << "\"";
}
} // namespace workflow

namespace {

std::vector<CsvRecord> Split(const std::string& csv) {
    auto records = SplitCsv(csv);
    if (!records) throw std::runtime_error("the table does not split");
    return *records;
}

std::size_t Column(const CsvRecord& header, std::string_view heading) {
    const auto found =
        std::ranges::find_if(header, [&](const CsvField& f) { return f.text == heading; });
    if (found == header.end()) throw std::runtime_error("no column " + std::string(heading));
    return std::size_t(found - header.begin());
}

CsvField Text(std::string text) {
    return {std::move(text), true};
}
CsvField Number(std::string text) {
    return {std::move(text), false};
}

bool IsFixedColumn(std::string_view heading) {
    return std::ranges::count(ScheduleCsvColumns(), heading) > 0;
}

// A row by hand, for the figures that a calculation does not easily give.
ScheduleRow HandRow() {
    ScheduleRow row;
    row.kind = 1;
    row.object = "Плоскость";
    row.location = "В помещении";
    row.covering = "Металл";
    row.material = "Цилиндр ЗОРБАЛИТ - 80";
    row.materialValue = "4";
    row.requiredMm = 28.26;
    row.acceptedMm = 30;
    row.checkFigures = "tпов = 44,0 °С (задана 45)";
    row.checkState = CheckState::Met;
    row.calculatedAt = "2026-12-10T16:20:05";
    return row;
}

TEST(ScheduleCsv, RealRowsOfEveryKindReadBackFieldByField) {
    const std::vector<ScheduleRow> rows = RowsOfEveryKind();
    const std::string csv = ScheduleCsv(rows);

    ASSERT_TRUE(csv.starts_with("\xEF\xBB\xBF"));
    ASSERT_TRUE(csv.ends_with("\r\n"));
    for (std::size_t at = csv.find('\n'); at != std::string::npos; at = csv.find('\n', at + 1))
        EXPECT_EQ(csv[at - 1], '\r') << "a bare line feed at " << at;

    const std::vector<CsvRecord> records = Split(csv);
    ASSERT_EQ(records.size(), rows.size() + 1);
    const CsvRecord& header = records[0];
    ASSERT_GT(header.size(), ScheduleCsvColumns().size());
    std::set<std::string> headings;
    for (std::size_t c = 0; c < header.size(); ++c) {
        EXPECT_TRUE(header[c].quoted) << header[c].text;
        if (c < ScheduleCsvColumns().size()) {
            EXPECT_EQ(header[c].text, ScheduleCsvColumns()[c]);
        }
        EXPECT_TRUE(headings.insert(header[c].text).second) << "twice: " << header[c].text;
    }
    // The inputs' columns start with the first row's, in the order its kind reads them.
    std::size_t next = ScheduleCsvColumns().size();
    for (const ScheduleInput& input : rows[0].inputs) {
        if (!IsFixedColumn(input.caption)) {
            EXPECT_EQ(header[next++].text, input.caption);
        }
    }

    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        const ScheduleRow& row = rows[i];
        const CsvRecord& record = records[i + 1];
        ASSERT_EQ(record.size(), header.size());
        const auto at = [&](std::string_view heading) { return record[Column(header, heading)]; };
        EXPECT_EQ(at("№"), Number(std::to_string(i + 1)));
        EXPECT_EQ(at("Обозначение"), Text(row.tag));
        EXPECT_EQ(at("Вид расчёта"), Text(std::string(KindCaption(row.kind))));
        EXPECT_EQ(at("Объект"), Text(row.object));
        EXPECT_EQ(at("Расположение"), Text(row.location));
        EXPECT_EQ(at("Покрытие"), Text(row.covering));
        EXPECT_EQ(at("Материал"), Text(row.material));
        EXPECT_EQ(at("Исходные данные"), Text(InputsText(row)));
        EXPECT_EQ(at("Толщина принятая, мм"), Number(std::to_string(row.acceptedMm)));
        EXPECT_EQ(at("Проверка"), Text(row.checkFigures));
        EXPECT_EQ(at("Требование"), Text(CheckVerdictOf(row)));
        EXPECT_EQ(at("Дата и время"), Text(row.calculatedAt));

        CsvField required = at("Толщина расчётная, мм");
        EXPECT_FALSE(required.quoted);
        const auto comma = required.text.find(',');
        ASSERT_EQ(comma, required.text.size() - 2) << required.text;
        required.text[comma] = '.';
        double value = 0;
        std::from_chars(required.text.data(), required.text.data() + required.text.size(), value);
        EXPECT_NEAR(value, row.requiredMm, 0.05);

        // The rows were made with a decimal comma: a number shows as the window showed it.
        // A plane has no diameter, though its row keeps what the hidden list held.
        const bool plane = row.object == "Плоскость";
        std::size_t own = 0;
        for (const ScheduleInput& input : row.inputs) {
            if (IsFixedColumn(input.caption)) continue;
            if (plane && input.caption == "Диаметр трубы (мм)") {
                EXPECT_EQ(input.text, "108");
                EXPECT_EQ(at(input.caption), CsvField{});
                continue;
            }
            ++own;
            EXPECT_EQ(at(input.caption), (CsvField{input.text, IsChoice(input.control)}))
                << input.caption;
        }
        const std::size_t empty = std::size_t(
            std::ranges::count(record.begin() + std::ptrdiff_t(ScheduleCsvColumns().size()),
                               record.end(), CsvField{}));
        EXPECT_EQ(own + empty, header.size() - ScheduleCsvColumns().size());
    }
}

TEST(ScheduleCsv, TextsWithSeparatorsQuotesAndLineBreaksComeBackWhole) {
    ScheduleRow row = HandRow();
    row.tag = "Т1; \"ввод\"\r\nлиния 2";
    row.material = "Мат \"А\";\nвторая строка";
    row.checkFigures = "\"";
    const std::string csv = ScheduleCsv({row, row});
    EXPECT_NE(csv.find("\"Т1; \"\"ввод\"\"\r\nлиния 2\""), std::string::npos);

    const std::vector<CsvRecord> records = Split(csv);
    ASSERT_EQ(records.size(), 3u);
    for (std::size_t i = 1; i < records.size(); ++i) {
        EXPECT_EQ(records[i][Column(records[0], "Обозначение")], Text(row.tag));
        EXPECT_EQ(records[i][Column(records[0], "Материал")], Text(row.material));
        EXPECT_EQ(records[i][Column(records[0], "Проверка")], Text("\""));
    }
}

// A spreadsheet runs a cell that begins so as a formula; an apostrophe makes it a text.
TEST(ScheduleCsv, ATextAFormulaWouldStartIsLedByAnApostrophe) {
    struct Case {
        std::string tag;
        std::string cell; // as the file has it
    };
    const Case cases[] = {
        {"=1+2+cmd|x", "\"'=1+2+cmd|x\""},
        {"+7", "\"'+7\""},
        {"-x", "\"'-x\""},
        {"@SUM(A1)", "\"'@SUM(A1)\""},
        {"\tТ1", "\"'\tТ1\""},
        {"\rТ1", "\"'\rТ1\""},
        {"=A1&\"x\"", "\"'=A1&\"\"x\"\"\""},
        // One apostrophe more where the import would take one off.
        {"'=x", "\"''=x\""},
        {"'abc", "\"'abc\""},
        {"Т1-108", "\"Т1-108\""},
        {"", "\"\""},
    };
    ScheduleRow row = HandRow();
    row.inputs = {{Control::RzNumericEdit6, "Температура воздуха (°C)", "-5", -5},
                  {Control::RzNumericEdit7, "Температура теплоносителя (°C)", "-6,7", -6.7}};
    for (const Case& c : cases) {
        row.tag = c.tag;
        const std::string csv = ScheduleCsv({row});
        const std::string record = csv.substr(csv.find("\r\n") + 2);
        EXPECT_TRUE(record.starts_with("1;" + c.cell + ";")) << record;
        // Figures are no texts, a negative one included.
        EXPECT_TRUE(record.ends_with(";-5;-6,7\r\n")) << record;
    }
}

// For a spreadsheet that reads only Windows-1251: no byte order mark, and a character the
// code page lacks written as its likeness or «?», then guarded as the text it has become.
TEST(ScheduleCsv, InWindows1251ACharacterItLacksIsWrittenAsItsLikeness) {
    struct Case {
        std::string tag;
        std::string cell; // as the file has it
    };
    const Case cases[] = {
        {"Бак №2 «ёлка» · 1", "\"\xC1\xE0\xEA \xB9"
                              "2 \xAB\xB8\xEB\xEA\xE0\xBB \xB7 1\""},
        {"t ≤ 45 °С, ≥ 5", "\"t <= 45 \xB0\xD1, >= 5\""},
        {"2 × 108 м²", "\"2 x 108 \xEC"
                       "2\""},
        {"−5", "\"'-5\""},
        {"Δt Ø", "\"?t ?\""},
    };
    ScheduleRow row = HandRow();
    for (const Case& c : cases) {
        row.tag = c.tag;
        const std::string csv = ScheduleCsv({row}, CsvEncoding::Windows1251);
        const std::string record = csv.substr(csv.find("\r\n") + 2);
        EXPECT_TRUE(record.starts_with("1;" + c.cell + ";")) << record;
    }
    EXPECT_TRUE(ScheduleCsv({}, CsvEncoding::Windows1251)
                    .starts_with("\"\xB9\";\"\xCE\xE1\xEE\xE7\xED\xE0\xF7\xE5\xED\xE8\xE5\";"));
}

TEST(ScheduleCsv, NumbersHaveADecimalCommaAndNoGrouping) {
    struct Case {
        double value;
        const char* field;
    };
    const Case inputs[] = {
        {1.375, "1,375"},
        {0.5, "0,5"},
        {-40, "-40"},
        {2, "2"},
        {1234567.25, "1234567,25"},
        {0.0004, "0"},
        {-0.0004, "0"},
        {1.0001, "1"},
        {1.9996, "2"},
        {NAN, ""},
        {-12.125, "-12,125"},
    };
    ScheduleRow row = HandRow();
    for (std::size_t i = 0; i < std::size(inputs); ++i)
        row.inputs.push_back(
            {Control::RzNumericEdit6, "v" + std::to_string(i), "", inputs[i].value});
    row.inputs.push_back({Control::RzComboBox3, "Диаметр трубы (мм)", "108", 7});

    const Case required[] = {{28.26, "28,3"}, {12345.67, "12345,7"}, {30, "30,0"}, {0, "0,0"}};
    std::vector<ScheduleRow> rows;
    for (const Case& c : required) {
        rows.push_back(row);
        rows.back().requiredMm = c.value;
    }

    const std::vector<CsvRecord> records = Split(ScheduleCsv(rows));
    ASSERT_EQ(records.size(), rows.size() + 1);
    const CsvRecord& header = records[0];
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const CsvRecord& record = records[r + 1];
        EXPECT_EQ(record[Column(header, "Толщина расчётная, мм")], Number(required[r].field));
        for (std::size_t i = 0; i < std::size(inputs); ++i)
            // GCC 12 at -O3 sees the copies of "v" + std::to_string(i) overlap.
            IZOL_GCC_FALSE_POSITIVE(
                "-Wrestrict",
                EXPECT_EQ(record[Column(header, "v" + std::to_string(i))], Number(inputs[i].field))
                    << inputs[i].value;)
        EXPECT_EQ(record[Column(header, "Диаметр трубы (мм)")], Text("108"));
    }
}

TEST(ScheduleCsv, AnEmptyScheduleIsTheHeaderAlone) {
    const std::vector<CsvRecord> records = Split(ScheduleCsv({}));
    ASSERT_EQ(records.size(), 1u);
    ASSERT_EQ(records[0].size(), ScheduleCsvColumns().size());
}

TEST(SplitCsv, UndoesQuotingAndRefusesWhatIsNoTable) {
    using Records = std::vector<CsvRecord>;
    struct Case {
        const char* text;
        std::optional<Records> records;
    };
    const Case cases[] = {
        {"", Records{}},
        {"\xEF\xBB\xBF"
         "1;\"a\"\r\n",
         Records{{Number("1"), Text("a")}}},
        {"1;\n;\"\"", Records{{Number("1"), Number("")}, {Number(""), Text("")}}},
        {"\"a\"\"b;\nc\"", Records{{Text("a\"b;\nc")}}},
        {"\"open", std::nullopt},
        {"\"a\"b;c", std::nullopt},
        {"a\"b", std::nullopt},
        {"a\rb", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitCsv(c.text), c.records) << c.text;
}

} // namespace
