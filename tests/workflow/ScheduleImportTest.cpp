#include "ScheduleImport.h"

#include "MethodSelection.h"
#include "ScheduleCsv.h"
#include "ScheduleRows.h"
#include "Windows1251.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

using namespace workflow;

namespace workflow {
void PrintTo(const UnreadLine& u, std::ostream* os) {
    *os << "line " << u.line << ": " << u.reason;
}
} // namespace workflow

namespace {

constexpr std::string_view At = "2026-12-10T16:20:05";

ImportResult Import(std::string_view text, const ImportProgress& progress = {}) {
    return ImportScheduleCsv(text, At, ",", progress);
}

std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines)
        text += std::string(line) + "\r\n";
    return text;
}

// The by-surface-temperature kind, as a person would write the table.
constexpr std::string_view SurfaceHeading =
    "Вид расчёта;Обозначение;Объект;Расположение;Покрытие;Материал;Температура воздуха (°C);"
    "Температура теплоносителя (°C);Температура на поверхности (°C);Диаметр трубы (мм)";
constexpr std::string_view SurfaceLine =
    "2;Т1-108;Труба;На открытом воздухе;Металл;Цилиндр ЗОРБАЛИТ - 80;20;150;45;108";

// The table again with another separator, its figures with a decimal point.
std::string Rewritten(const std::string& csv, char separator) {
    std::string out;
    const std::vector<CsvRecord> records = SplitCsv(csv).value();
    for (const CsvRecord& record : records) {
        for (std::size_t i = 0; i < record.size(); ++i) {
            if (i > 0) out += separator;
            std::string text = record[i].text;
            if (record[i].quoted) {
                std::string quoted = "\"";
                for (char c : text)
                    quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
                out += quoted + "\"";
            } else {
                std::ranges::replace(text, ',', '.');
                out += text;
            }
        }
        out += "\n";
    }
    return out;
}

TEST(ScheduleImport, ExportedRowsOfEveryKindComeBackEqualWhateverTheSeparator) {
    const std::vector<ScheduleRow> rows = RowsOfEveryKind();
    const std::string csv = ScheduleCsv(rows);
    for (const std::string& table : {csv, Rewritten(csv, ','), Rewritten(csv, '\t')}) {
        const ImportResult result = Import(table);
        EXPECT_EQ(result.fileProblem, "");
        EXPECT_EQ(result.unread, std::vector<UnreadLine>{});
        EXPECT_EQ(result.rows, rows);
        EXPECT_EQ(ImportSummary(result), "5 строк: 5 рассчитано, 0 отклонено");
    }
}

// As Excel in a Russian office saves «CSV (разделители — запятые)»: a file that is not UTF-8
// is read as Windows-1251, and the summary says so.
TEST(ScheduleImport, ATableInWindows1251IsReadAndSaidSo) {
    const std::string utf8 = Lines({
        SurfaceHeading,
        "2;Т1-108 «ввод»;Труба;На открытом воздухе;Металл;Цилиндр ЗОРБАЛИТ - 80;20;150;45;108",
        "2;Бак №2;Плоскость;В помещении;Металл;Мат прошивной ЗОРБАЛИТ-80.;20;150;45;",
    });
    const std::string cp1251 = Utf8ToWindows1251(utf8);
    ASSERT_TRUE(cp1251.starts_with("\xC2\xE8\xE4 \xF0\xE0\xF1\xF7\xB8\xF2\xE0;")); // Вид расчёта
    ASSERT_NE(cp1251.find("\r\n2;\xC1\xE0\xEA \xB9"
                          "2;"),
              std::string::npos); // Бак №2
    // 0x98 is no character of the code page: it stands as «�», and its line is read.
    std::string stray = cp1251;
    stray.replace(stray.find("-108"), 1, "\x98");

    struct Case {
        const char* name;
        std::string text;
        std::string summary;
        std::string firstTag = "Т1-108 «ввод»";
    };
    const std::string read = "2 строки: 2 рассчитано, 0 отклонено";
    const std::string said = read + "; файл прочитан в кодировке Windows-1251";
    const Case cases[] = {
        {"UTF-8", utf8, read},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + utf8, read},
        {"Windows-1251", cp1251, said},
        {"Windows-1251 with 0x98", stray, said, "Т1\uFFFD108 «ввод»"},
    };
    const ImportResult expected = Import(utf8);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ImportResult result = Import(c.text);
        EXPECT_EQ(result.fileProblem, "");
        EXPECT_EQ(ImportSummary(result), c.summary);
        ASSERT_EQ(result.rows.size(), 2u);
        EXPECT_EQ(result.rows[0].tag, c.firstTag);
        EXPECT_EQ(result.rows[0].material, "Цилиндр ЗОРБАЛИТ - 80");
        EXPECT_EQ(result.rows[1].tag, "Бак №2");
        EXPECT_EQ(result.rows[1], expected.rows[1]);
    }
}

TEST(ScheduleImport, AnExportInWindows1251ComesBackEqual) {
    const std::vector<ScheduleRow> rows = RowsOfEveryKind();
    const std::string csv = ScheduleCsv(rows, CsvEncoding::Windows1251);
    const ImportResult result = Import(csv);
    EXPECT_EQ(result.unread, std::vector<UnreadLine>{});
    EXPECT_EQ(result.rows, rows);
    EXPECT_EQ(ImportSummary(result),
              "5 строк: 5 рассчитано, 0 отклонено; файл прочитан в кодировке Windows-1251");
    EXPECT_TRUE(ScheduleCsv(result.rows, CsvEncoding::Windows1251) == csv);
}

TEST(ScheduleImport, ATagTheExportGuardsFromFormulasComesBackAsItWas) {
    ScheduleRow row = RowsOfEveryKind()[0];
    for (const std::string tag :
         {"=1+2+cmd|x", "+7", "-x", "@SUM(A1)", "\tТ1", "\rТ1", "'abc", "'=x", "''", "Т1-108"}) {
        row.tag = tag;
        const std::string csv = ScheduleCsv({row});
        const ImportResult result = Import(csv);
        ASSERT_EQ(result.rows.size(), 1u) << tag;
        EXPECT_EQ(result.rows[0].tag, tag);
        EXPECT_TRUE(result.rows[0] == row) << tag;
        EXPECT_TRUE(ScheduleCsv(result.rows) == csv) << tag;
    }

    // As a spreadsheet saves them: unquoted, and an apostrophe only before a formula's start
    // is the export's.
    const std::pair<std::string_view, std::string_view> typed[] = {
        {"'=SUM(A1)", "=SUM(A1)"}, {"'-x", "-x"}, {"'abc", "'abc"},
        {"''=x", "'=x"},           {"'", "'"},    {" '+7 ", "+7"},
    };
    for (const auto& [cell, tag] : typed) {
        const std::string line =
            "2;" + std::string(cell) +
            ";Труба;На открытом воздухе;Металл;Цилиндр ЗОРБАЛИТ - 80;20;150;45;108";
        const ImportResult result = Import(Lines({SurfaceHeading, line}));
        ASSERT_EQ(result.rows.size(), 1u) << cell;
        EXPECT_EQ(result.rows[0].tag, tag) << cell;
    }
}

TEST(ScheduleImport, TemplateGivesACalculatedRowOfEachKind) {
    const ImportResult result = Import(ImportTemplateCsv());
    ASSERT_EQ(result.rows.size(), std::size_t(CalcMethodCount));
    EXPECT_EQ(result.unread, std::vector<UnreadLine>{});
    for (int kind = 0; kind < CalcMethodCount; ++kind) {
        const ScheduleRow& row = result.rows[std::size_t(kind)];
        EXPECT_EQ(row.kind, kind);
        EXPECT_FALSE(row.tag.empty());
        EXPECT_TRUE(row.Calculated()) << row.rejection;
        EXPECT_EQ(row.warning, "");
    }
}

// Tables exported before the laying rows were whole phrases name them as they were then.
TEST(ScheduleImport, AFormerWordingOfTheLayingIsReadAtItsRow) {
    const auto laying = [](auto& r) {
        return std::ranges::find(r.inputs, Control::RzComboBox2, &ScheduleInput::control);
    };
    std::vector<ScheduleRow> rows = RowsOfEveryKind();
    std::erase_if(rows, [&](ScheduleRow& r) { return laying(r) == r.inputs.end(); });
    ASSERT_FALSE(rows.empty());
    const std::pair<const char*, double> former[] = {
        {"Для стальных трубопроводов на подвижных опорах, до 150 мм: ", 0}, {"150 и более", 1}};
    for (const auto& [text, row] : former) {
        rows.resize(1);
        laying(rows[0])->text = text;
        const ImportResult result = Import(ScheduleCsv(rows));
        EXPECT_EQ(result.unread, std::vector<UnreadLine>{}) << text;
        ASSERT_EQ(result.rows.size(), 1u) << text;
        EXPECT_EQ(laying(result.rows[0])->value, row) << text;
    }
}

TEST(ScheduleImport, ReadsWhatPeopleTypeIntoASpreadsheet) {
    const ImportResult strict = Import(Lines({SurfaceHeading, SurfaceLine}));
    ASSERT_EQ(strict.rows.size(), 1u);
    // Headings in other case, «е» for «ё», a Latin C in «°C», blanks; the kind by caption;
    // choices in lower case, the object as the export writes it; a no-break space.
    const ImportResult loose = Import(Lines({
        " вид расчета ;ОБОЗНАЧЕНИЕ;объект;Расположение;Покрытие;Материал;Температура воздуха "
        "(°С);Температура  теплоносителя (°C);Температура на поверхности (°C);Диаметр трубы (мм)"
        "......",
        "По заданной температуре на поверхности изоляции;Т1-108;Труба 108 мм;на открытом "
        "воздухе;металл;Цилиндр  ЗОРБАЛИТ - 80;20;1\xC2\xA0"
        "50;45,0;108",
        ";;;;;;;;;", // a spreadsheet's empty line
    }));
    EXPECT_EQ(loose.unread, std::vector<UnreadLine>{});
    EXPECT_EQ(loose.lines, 1u);
    EXPECT_EQ(loose.rows, strict.rows);

    // A plane has no diameter, in the window or in the table.
    const std::string_view plane =
        "2;Бак;Плоскость;В помещении;Металл;Мат прошивной ЗОРБАЛИТ-80.;20;150;45;";
    const ImportResult planes = Import(Lines({SurfaceHeading, plane}));
    ASSERT_EQ(planes.rows.size(), 1u) << planes.unread.front().reason;
    EXPECT_TRUE(planes.rows[0].Calculated());
    EXPECT_EQ(planes.rows[0].object, "Плоскость");
}

TEST(ScheduleImport, AFractionInAWholeNumberColumnIsRoundedAndSaidSo) {
    const ImportResult result = Import(Lines({
        SurfaceHeading,
        "2;Т1;Труба;На открытом воздухе;Металл;Цилиндр ЗОРБАЛИТ - 80;20;150,5;45.4;108",
    }));
    ASSERT_EQ(result.rows.size(), 1u);
    const ScheduleRow& row = result.rows[0];
    EXPECT_EQ(row.warning, "Температура теплоносителя (°C): 150,5 — округлено до целого, "
                           "принято 151; Температура на поверхности (°C): 45,4 — округлено до "
                           "целого, принято 45");
    EXPECT_EQ(InputsOfRow(row).Field(Control::RzNumericEdit7), 151);
    EXPECT_EQ(InputsOfRow(row).Field(Control::RzNumericEdit8), 45);
}

TEST(ScheduleImport, ARejectedLineIsARowWithTheBoxTheWindowShows) {
    // Condensation: a carrier warmer than the air cannot wet the surface.
    Inputs in = InputsAfterChoosing(2);
    in.Field(Control::RzNumericEdit11) = 20;
    in.Field(Control::RzNumericEdit12) = 25;
    in.Field(Control::RzNumericEdit13) = 60;
    T_calc engine;
    std::string windowBox;
    for (const Effect& e : Calculate(2, in, engine, ","))
        if (const auto* box = std::get_if<ShowMessage>(&e)) windowBox = box->text;
    ASSERT_FALSE(windowBox.empty());

    const ImportResult result = Import(Lines({
        "Вид расчёта;Обозначение;Объект;Покрытие;Материал;Температура воздуха "
        "(°C);Температура теплоносителя (°C);Относительная влажность воздуха (%);Диаметр трубы "
        "(мм);Толщина стенки трубопровода (мм);Начальная температура воды (°C);Время отсутствия "
        "движения (час);Способ установки трубопровода",
        "3;К1;Труба;Металл;Цилиндр ЗОРБАЛИТ - 80;20;25;60;108;;;;",
        "3;К2;Труба;Металл;Цилиндр ЗОРБАЛИТ - 80;60;5;95;108;;;;",
        "5;В1;;;Цилиндр ЗОРБАЛИТ - 80;-40;;;108;150;18;24;Бесканальный",
    }));
    ASSERT_EQ(result.rows.size(), 3u);
    const ScheduleRow& rejected = result.rows[0];
    EXPECT_FALSE(rejected.Calculated());
    EXPECT_EQ(rejected.rejection, windowBox);
    EXPECT_EQ(rejected.acceptedMm, 0);
    EXPECT_EQ(CheckVerdictOf(rejected), RejectedVerdict);
    EXPECT_EQ(CheckFiguresOf(rejected), windowBox);

    // Values beyond a field's limits are taken as the field takes them, and said so: in the
    // window's own words where it has a box for it.
    const ScheduleRow& brought = result.rows[1];
    EXPECT_TRUE(brought.Calculated());
    EXPECT_EQ(brought.warning, "Диапазон температур предусмотрен от -40 до +50 °С; Относительная "
                               "влажность воздуха (%): 95 — вне пределов поля, принято 90");
    EXPECT_EQ(InputsOfRow(brought).Field(Control::RzNumericEdit11), 50);
    EXPECT_EQ(InputsOfRow(brought).Field(Control::RzNumericEdit13), 90);
    EXPECT_NE(CheckFiguresOf(brought).find(brought.warning), std::string::npos);
    // Brought into range and still refused: both said.
    EXPECT_EQ(result.rows[2].rejection,
              "Толщина стенки трубопровода (мм): 150 — вне пределов поля, принято 100; Толщина "
              "стенки трубы должна быть меньше половины её наружного диаметра");
    EXPECT_EQ(ImportSummary(result), "3 строки: 1 рассчитано, 2 отклонено");

    // The export says why, and a rejected row imports back the same.
    const std::string csv = ScheduleCsv(result.rows);
    EXPECT_NE(csv.find(windowBox), std::string::npos);
    EXPECT_EQ(Import(csv).rows[0], rejected);
}

// A line gives what the window gives on the same inputs, whatever the window calculated
// before: each choice of a kind resets the window's one engine, and the import starts every
// line afresh.
TEST(ScheduleImport, ALineAgreesWithTheWindowAfterAnotherKind) {
    const ImportResult result = Import(Lines({
        "Вид расчёта;Обозначение;Объект;Расположение;Покрытие;Материал;Температура воздуха "
        "(°C);Температура теплоносителя (°C);Температура на поверхности (°C);Относительная "
        "влажность воздуха (%);Диаметр трубы (мм)",
        "2;П;Труба;На открытом воздухе;Металл;Цилиндр ЗОРБАЛИТ - 80;20;150;45;;108",
        "3;К;Труба;;Металл;Мат прошивной  ГОСТ М1-100 и его модификации;20;5;;70;108",
    }));
    ASSERT_EQ(result.rows.size(), 2u);
    const ScheduleRow& line = result.rows[1];
    EXPECT_NE(line.checkFigures.find("tпов = 13,6 °С"), std::string::npos) << line.checkFigures;

    // The window: the kind chosen, the line's inputs typed, «Рассчитать».
    auto typed = [](const ScheduleRow& row) {
        Inputs in = InputsAfterChoosing(row.kind);
        for (const ScheduleInput& input : row.inputs)
            if (IsChoice(input.control))
                in.Choice(input.control) = int(input.value);
            else if (input.control != MaterialListControl)
                in.Field(input.control) = input.value;
        in.materialValue = row.materialValue;
        return in;
    };
    T_calc engine;
    ShownResult shown;
    for (const ScheduleRow& row : result.rows) {
        engine.Reset();
        shown.KindChosen(row.kind);
        shown.Calculated(row.kind, typed(row), Calculate(row.kind, typed(row), engine, ","));
    }
    const RowOrReason window =
        RowFromCalculation(line.kind, typed(line), shown, std::string(At), ",");
    ASSERT_TRUE(window.row.has_value());
    ScheduleRow same = *window.row;
    same.tag = line.tag;
    EXPECT_EQ(same, line);
}

TEST(ScheduleImport, BadFilesAndLinesSayWhyAndGiveNoRows) {
    const std::string heading(SurfaceHeading);
    const auto with = [&](std::string_view line) { return Lines({heading, line}); };
    struct Case {
        const char* name;
        std::string text;
        std::string fileProblem; // or else the one unread line 2 has this reason
        std::string lineReason = {};
    };
    const Case cases[] = {
        {"empty", "", "Файл пуст"},
        {"byte order mark and blank lines", "\xEF\xBB\xBF\r\n\r\n", "Файл пуст"},
        {"only a heading", Lines({heading, ";;;"}),
         "В файле только заголовок — нет строк с расчётами"},
        {"another separator", "Вид расчёта|Обозначение\n2|Т1\n",
         "В первой строке нет столбца «Вид расчёта». Первая строка — заголовок: названия "
         "столбцов через «;», «,» или табуляцию, как в шаблоне для импорта"},
        {"UTF-8 by its mark, then bytes that are not",
         "\xEF\xBB\xBF" + Lines({heading, "2;\xD2\xF0\xF3\xE1\xE0"}),
         "Файл начинается с метки UTF-8, но строка 2 не в кодировке UTF-8: сохраните таблицу "
         "заново"},
        {"UTF-16", std::string("\xFF\xFE\x12\x04\x38\x04", 6),
         "Файл в кодировке UTF-16: сохраните таблицу как CSV в UTF-8 или как «CSV (разделители "
         "— запятые)»"},
        {"DOS code page", "\x82\xA8\xA4 \xE0\xA0\xE1\xE7\xA5\xE2\xA0\r\n2\r\n",
         "В первой строке нет столбца «Вид расчёта». Первая строка — заголовок: названия "
         "столбцов через «;», «,» или табуляцию, как в шаблоне для импорта. Файл не в кодировке "
         "UTF-8 и прочитан как Windows-1251"},
        {"quote left open", with("2;\"Т1;Труба"),
         "Строка 2: кавычка не закрыта или стоит внутри поля без кавычек"},
        {"too few fields", with("2;Т1;Труба;На открытом воздухе"), "",
         "полей 4, а в заголовке 10 — проверьте разделитель полей и десятичную запятую"},
        {"decimal comma in a comma table", "Вид расчёта,Диаметр трубы (мм)\n2,108,5\n", "",
         "полей 3, а в заголовке 2 — проверьте разделитель полей и десятичную запятую"},
        {"number with letters",
         with("2;Т1;Труба;На открытом воздухе;Металл;Цилиндр ЗОРБАЛИТ - 80;20;15О;45;108"), "",
         "«Температура теплоносителя (°C)»: не число «15О»"},
        {"kind 9",
         with("9;Т1;Труба;На открытом воздухе;Металл;Цилиндр ЗОРБАЛИТ - 80;20;150;45;108"), "",
         "неизвестный вид расчёта «9»: укажите номер от 1 до 5 или название вида"},
        {"no kind",
         with(";Т1;Труба;На открытом воздухе;Металл;Цилиндр ЗОРБАЛИТ - 80;20;150;45;108"), "",
         "не указан вид расчёта"},
        {"a 10 MB line", with("2;" + std::string(10 << 20, '7')), "", "строка длиннее 64 КБ"},
        {"missing column", Lines({"Вид расчёта;Объект", "2;Труба"}), "",
         "нет столбца «Расположение»"},
        {"empty cell",
         with("2;Т1;Труба;На открытом воздухе;Металл;Цилиндр ЗОРБАЛИТ - 80;20;;45;108"), "",
         "не заполнен столбец «Температура теплоносителя (°C)»"},
        {"unknown choice", with("2;Т1;Труба;Под водой;Металл;Цилиндр ЗОРБАЛИТ - 80;20;150;45;108"),
         "", "«Расположение»: нет варианта «Под водой»"},
        {"material of another object",
         with("2;Т1;Плоскость;На открытом воздухе;Металл;Цилиндр ЗОРБАЛИТ - 80;20;150;45;108"), "",
         "материала «Цилиндр ЗОРБАЛИТ - 80» нет в списке для плоскости"},
        {"diameter not in the list",
         with("2;Т1;Труба;На открытом воздухе;Металл;Цилиндр ЗОРБАЛИТ - 80;20;150;45;100"), "",
         "«Диаметр трубы (мм)»: нет варианта «100»"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ImportResult result = Import(c.text);
        EXPECT_EQ(result.fileProblem, c.fileProblem);
        EXPECT_TRUE(result.rows.empty());
        if (c.fileProblem.empty())
            EXPECT_EQ(result.unread, (std::vector<UnreadLine>{{2, c.lineReason}}));
        else
            EXPECT_TRUE(result.unread.empty());
    }
}

TEST(ScheduleImport, ReadableLinesAreKeptBesideUnreadOnes) {
    const ImportResult result = Import(Lines({
        SurfaceHeading,
        SurfaceLine,
        "7;Т2",
        SurfaceLine,
        "2;Т3;Труба;На открытом воздухе;Металл;Цилиндр ЗОРБАЛИТ - 80;двадцать;150;45;108",
    }));
    EXPECT_EQ(result.rows.size(), 2u);
    ASSERT_EQ(result.unread.size(), 2u);
    EXPECT_EQ(result.unread[0].line, 3u);
    EXPECT_EQ(result.unread[1].line, 5u);
    EXPECT_EQ(ImportSummary(result), "4 строки: 2 рассчитано, 0 отклонено, 2 не прочитано");
    EXPECT_EQ(UnreadLines(result, 1),
              "Строка 3: неизвестный вид расчёта «7»: укажите номер от 1 до 5 или название "
              "вида\n…и ещё 1 строка\n");
}

TEST(ScheduleImport, ProgressIsToldAndCanStopTheImport) {
    std::string text(SurfaceHeading);
    text += "\n";
    for (int i = 0; i < 10; ++i)
        text += std::string(SurfaceLine) + "\n";
    std::vector<std::size_t> told;
    const ImportResult all = Import(text, [&](std::size_t done, std::size_t total) {
        EXPECT_EQ(total, 10u);
        told.push_back(done);
        return true;
    });
    EXPECT_EQ(all.rows.size(), 10u);
    EXPECT_EQ(told.front(), 0u);
    EXPECT_EQ(told.back(), 10u);
    EXPECT_TRUE(std::ranges::is_sorted(told));

    const ImportResult stopped =
        Import(text, [](std::size_t done, std::size_t) { return done < 4; });
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_TRUE(stopped.rows.empty());
    EXPECT_TRUE(stopped.unread.empty());
}

TEST(ScheduleImport, ARunReadInStepsGivesWhatTheWholeImportGives) {
    const std::string text = Lines({
        SurfaceHeading,
        SurfaceLine,
        "7;Т2",
        "",
        SurfaceLine,
        "2;Т3;Труба;На открытом воздухе;Металл;Цилиндр ЗОРБАЛИТ - 80;двадцать;150;45;108",
        SurfaceLine,
    });
    ScheduleImportRun run(text, At, ",");
    EXPECT_EQ(run.Total(), 6u);
    std::vector<std::size_t> done;
    while (run.Step(4))
        done.push_back(run.Done());
    EXPECT_EQ(done, std::vector<std::size_t>{4});
    EXPECT_EQ(run.Done(), 6u);
    EXPECT_EQ(std::move(run).Take(), Import(text));

    ScheduleImportRun broken("\xFF;Вид расчёта\n1\n", At, ",");
    EXPECT_EQ(broken.Total(), 0u);
    EXPECT_FALSE(broken.Step(10));
    EXPECT_FALSE(std::move(broken).Take().fileProblem.empty());
}

TEST(ScheduleImport, SummaryCountsInRussian) {
    const auto summary = [](std::size_t lines) {
        ImportResult r;
        r.lines = lines;
        return ImportSummary(r);
    };
    EXPECT_EQ(summary(1), "1 строка: 0 рассчитано, 0 отклонено");
    EXPECT_EQ(summary(3), "3 строки: 0 рассчитано, 0 отклонено");
    EXPECT_EQ(summary(11), "11 строк: 0 рассчитано, 0 отклонено");
    EXPECT_EQ(summary(22), "22 строки: 0 рассчитано, 0 отклонено");
    EXPECT_EQ(summary(60), "60 строк: 0 рассчитано, 0 отклонено");
}

} // namespace
