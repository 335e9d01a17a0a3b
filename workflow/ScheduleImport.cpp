#include "ScheduleImport.h"

#include "CalcKinds.h"
#include "CalculateCommand.h"
#include "FieldBehaviours.h"
#include "MethodSelection.h"
#include "NumberField.h"
#include "ScheduleColumns.h"
#include "ScheduleCsv.h"
#include "TextLines.h"
#include "Windows1251.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <memory>
#include <optional>
#include <span>
#include <unordered_map>
#include <utility>
#include <variant>

namespace workflow {

namespace {

// ---- Comparing what people type -------------------------------------------------------

// Latin letters that look like Cyrillic ones, and the lower-case Cyrillic letter each is
// taken for.
struct Lookalike {
    char latin;
    std::string_view cyrillic;
};
// clang-format off
constexpr Lookalike Lookalikes[] = {
    {'A', "а"}, {'a', "а"}, {'B', "в"}, {'C', "с"}, {'c', "с"}, {'E', "е"}, {'e', "е"},
    {'H', "н"}, {'K', "к"}, {'k', "к"}, {'M', "м"}, {'O', "о"}, {'o', "о"}, {'P', "р"},
    {'p', "р"}, {'T', "т"}, {'X', "х"}, {'x', "х"}, {'y', "у"},
};
// clang-format on

std::string_view CyrillicLookalike(char c) {
    const auto found = std::ranges::find(Lookalikes, c, &Lookalike::latin);
    return found == std::end(Lookalikes) ? std::string_view() : found->cyrillic;
}

bool IsBlank(std::string_view s, std::size_t i) {
    return s[i] == ' ' || s[i] == '\t' || (s.substr(i, 2) == "\xC2\xA0");
}

// A text as it is compared: lower case, «ё» as «е», lookalike Latin letters as Cyrillic,
// one blank between words, none around them and no dots or underlines at the end.
std::string Folded(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    bool blank = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (IsBlank(s, i)) {
            if (s[i] == '\xC2') ++i;
            blank = !out.empty();
            continue;
        }
        if (blank) out += ' ';
        blank = false;
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            const std::string_view cyrillic = CyrillicLookalike(s[i]);
            if (!cyrillic.empty())
                out += cyrillic;
            else
                out += char(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
        } else if (c == 0xD0 && i + 1 < s.size()) {
            const auto d = static_cast<unsigned char>(s[++i]);
            if (d == 0x81) // Ё
                out += "е";
            else if (d >= 0x90 && d <= 0x9F) // А..П
                out += {char(0xD0), char(d + 0x20)};
            else if (d >= 0xA0 && d <= 0xAF) // Р..Я
                out += {char(0xD1), char(d - 0x20)};
            else
                out += {char(c), char(d)};
        } else if (c == 0xD1 && i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) == 0x91) {
            out += "е"; // ё
            ++i;
        } else {
            out += char(c);
        }
    }
    while (!out.empty() && (out.back() == '.' || out.back() == '_' || out.back() == ' '))
        out.pop_back();
    return out;
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

std::string Quoted(std::string_view text) {
    return "«" + std::string(text) + "»";
}

// ---- The file as a whole --------------------------------------------------------------

// The position of the first byte that is not part of well-formed UTF-8; none if all are.
std::optional<std::size_t> FirstInvalidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t length = 0;
        unsigned lowest = 0x80, highest = 0xBF; // of the second byte
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (c >= 0xC2 && c <= 0xDF)
            length = 2;
        else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            if (c == 0xE0) lowest = 0xA0;
            if (c == 0xED) highest = 0x9F; // no surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            if (c == 0xF0) lowest = 0x90;
            if (c == 0xF4) highest = 0x8F;
        } else
            return i;
        if (i + length > s.size()) return i;
        for (std::size_t k = 1; k < length; ++k) {
            const auto b = static_cast<unsigned char>(s[i + k]);
            if (b < (k == 1 ? lowest : 0x80) || b > (k == 1 ? highest : 0xBF)) return i;
        }
        i += length;
    }
    return std::nullopt;
}

// The separator whose fields of the first line hold the kind's heading; none if none does.
std::optional<char> SeparatorOf(std::string_view text) {
    std::string_view firstLine = text.substr(0, text.find('\n'));
    if (firstLine.ends_with('\r')) firstLine.remove_suffix(1);
    const std::string kind = Folded(KindHeading);
    for (char separator : {';', '\t', ','}) {
        const auto records = SplitCsv(firstLine, separator);
        if (records && !records->empty() &&
            std::ranges::any_of(records->front(),
                                [&](const CsvField& f) { return Folded(f.text) == kind; }))
            return separator;
    }
    return std::nullopt;
}

bool AllBlank(std::span<const CsvField> fields) {
    return std::ranges::all_of(fields, [](const CsvField& f) { return Trimmed(f.text).empty(); });
}

bool IsEmptyLine(const CsvRecord& record) {
    return AllBlank(record);
}

// ---- The columns ----------------------------------------------------------------------

// What the heading row says about the kinds: where each input of each kind is.
class Columns {
public:
    explicit Columns(const CsvRecord& heading) {
        for (std::size_t i = 0; i < heading.size(); ++i)
            byHeading_.try_emplace(Folded(heading[i].text), i);
    }
    std::optional<std::size_t> Of(std::string_view heading) const {
        const auto found = byHeading_.find(Folded(heading));
        return found == byHeading_.end() ? std::nullopt : std::optional(found->second);
    }

private:
    std::unordered_map<std::string, std::size_t> byHeading_;
};

// An input a kind reads, and where the line has it.
struct ReadInput {
    Control control;
    std::string caption;
    std::optional<std::size_t> column;
    std::vector<std::string> rows; // a choice's rows as compared
};

struct KindReading {
    Inputs base; // as the window shows the kind before anything is typed
    std::vector<ReadInput> inputs;
};

std::vector<std::string> FoldedRows(Control control) {
    std::vector<std::string> rows;
    if (!IsChoice(control)) return rows;
    for (std::string_view row : Choice(control).rows)
        rows.push_back(Folded(row));
    return rows;
}

std::array<KindReading, CalcMethodCount> Readings(const Columns& columns) {
    std::array<KindReading, CalcMethodCount> readings;
    for (int kind = 0; kind < CalcMethodCount; ++kind) {
        KindReading& reading = readings[std::size_t(kind)];
        reading.base = InputsAfterChoosing(kind);
        for (Control control : InputsReadBy(kind)) {
            std::string caption = InputCaption(control);
            const std::optional<std::size_t> column = columns.Of(caption);
            reading.inputs.push_back({control, std::move(caption), column, FoldedRows(control)});
        }
        // Whether a diameter is asked and which materials are offered depend on the object:
        // it is read first, the material last.
        std::ranges::stable_sort(reading.inputs, {}, [](const ReadInput& input) {
            return input.control == Control::RzRadioGroup1 ? 0
                   : input.control == MaterialListControl  ? 2
                                                           : 1;
        });
    }
    return readings;
}

// ---- One line -------------------------------------------------------------------------

struct Unread {
    std::string reason;
};

std::optional<int> KindIn(std::string_view cell) {
    int number = 0;
    const auto [end, error] = std::from_chars(cell.data(), cell.data() + cell.size(), number);
    if (error == std::errc() && end == cell.data() + cell.size() && !cell.starts_with('0') &&
        number >= 1 && number <= CalcMethodCount)
        return number - 1;
    const std::string folded = Folded(cell);
    for (int kind = 0; kind < CalcMethodCount; ++kind)
        if (Folded(KindCaption(kind)) == folded) return kind;
    return std::nullopt;
}

// The kind of a line whose length and fields are as the heading has them; why not, else.
std::variant<int, Unread> KindOfLine(const CsvRecord& record, std::size_t headingSize,
                                     std::size_t kindColumn) {
    std::size_t length = 0;
    for (const CsvField& field : record)
        length += field.text.size();
    if (length > LongestImportLine)
        return Unread{"строка длиннее " + std::to_string(LongestImportLine / 1024) + " КБ"};
    // An unknown kind says more than a count of fields.
    const std::string_view kindCell =
        kindColumn < record.size() ? Trimmed(record[kindColumn].text) : std::string_view();
    const std::optional<int> kind = KindIn(kindCell);
    if (!kind && !kindCell.empty())
        return Unread{"неизвестный вид расчёта " + Quoted(kindCell) + ": укажите номер от 1 до " +
                      std::to_string(CalcMethodCount) + " или название вида"};
    const bool extraFilled =
        record.size() > headingSize && !AllBlank(std::span(record).subspan(headingSize));
    if (record.size() < headingSize || extraFilled)
        return Unread{"полей " + std::to_string(record.size()) + ", а в заголовке " +
                      std::to_string(headingSize) +
                      " — проверьте разделитель полей и десятичную запятую"};
    if (!kind) return Unread{"не указан вид расчёта"};
    return *kind;
}

std::optional<int> ChoiceIn(const ReadInput& input, std::string_view cell) {
    const std::string folded = Folded(cell);
    const auto row = std::ranges::find(input.rows, folded);
    if (row != input.rows.end()) return int(row - input.rows.begin());
    // The object column of an export names the diameter too: «Труба 108 мм».
    if (input.control == Control::RzRadioGroup1 && folded.starts_with(input.rows.front())) return 0;
    // Tables exported before the laying rows became whole phrases name them as they were.
    static constexpr std::string_view FormerLayings[] = {
        "Для стальных трубопроводов на подвижных опорах, до 150 мм:", "150 и более"};
    if (input.control == Control::RzComboBox2)
        for (int i = 0; i < int(std::size(FormerLayings)); ++i)
            if (folded == Folded(FormerLayings[i])) return i;
    return std::nullopt;
}

std::optional<std::string> MaterialIn(const Inputs& in, std::string_view cell) {
    const std::string folded = Folded(cell);
    const bool pipe = in.Choice(Control::RzRadioGroup1) != 1;
    for (const MaterialSpec* row : MaterialRowsFor(pipe, in.Choice(Control::RzComboBox3)))
        if (Folded(row->text) == folded) return std::string(row->value);
    return std::nullopt;
}

std::string ObjectWords(const Inputs& in) {
    if (in.Choice(Control::RzRadioGroup1) == 1) return "плоскости";
    return "трубы " +
           std::string(ChoiceRowText(Control::RzComboBox3, in.Choice(Control::RzComboBox3))) +
           " мм";
}

// What the window tells when a field is left with a value beyond its limits, or else
// what it makes of the value.
std::string BroughtIntoRange(const NumberFieldSpec& field, const std::string& caption, double typed,
                             double taken, std::string_view separator) {
    if (auto message = RangeMessage(field, typed)) return message->text;
    return caption + ": " + DecimalText(typed, 3, separator, true) +
           " — вне пределов поля, принято " + DecimalText(taken, 3, separator, true);
}

// A whole-number field rounds a fraction; the figure is written with all its decimals, so
// that what was rounded can be seen.
std::string Rounded(const std::string& caption, double typed, double taken,
                    std::string_view separator) {
    return caption + ": " + DecimalText(typed, 6, separator, true) +
           " — округлено до целого, принято " + DecimalText(taken, 0, separator);
}

void Append(std::string& texts, std::string_view text) {
    if (text.empty()) return;
    if (!texts.empty()) texts += "; ";
    texts += text;
}

// The inputs of a line, or why it cannot be read. A value is taken as the field takes it
// when the user leaves it; `brought` tells of each value brought into the field's limits
// or rounded to a whole number.
std::variant<Inputs, Unread> InputsOfLine(const KindReading& reading, const CsvRecord& record,
                                          std::string_view separator, std::string& brought) {
    Inputs in = reading.base;
    for (const ReadInput& input : reading.inputs) {
        const std::string_view cell =
            input.column ? Trimmed(record[*input.column].text) : std::string_view();
        // A plane has no diameter: the window hides its list.
        if (cell.empty() && input.control == Control::RzComboBox3 &&
            !DiameterGroupVisible(in.Choice(Control::RzRadioGroup1)))
            continue;
        if (!input.column) return Unread{"нет столбца " + Quoted(input.caption)};
        if (cell.empty()) return Unread{"не заполнен столбец " + Quoted(input.caption)};

        if (input.control == MaterialListControl) {
            in.materialValue = MaterialIn(in, UnguardedText(cell));
            if (!in.materialValue)
                return Unread{"материала " + Quoted(cell) + " нет в списке для " + ObjectWords(in)};
        } else if (IsChoice(input.control)) {
            const std::optional<int> position = ChoiceIn(input, UnguardedText(cell));
            if (!position) return Unread{Quoted(input.caption) + ": нет варианта " + Quoted(cell)};
            in.Choice(input.control) = *position;
        } else {
            const std::optional<std::string> number = PastedNumber(cell, ",");
            const std::optional<double> value =
                number ? ParseNumber(*number, ",", "") : std::nullopt;
            if (!value) return Unread{Quoted(input.caption) + ": не число " + Quoted(cell)};
            const NumberFieldSpec& field = NumberField(input.control);
            const LeftField left = LeaveField(RuleOf(field), *value);
            if (left.outsideLimits)
                Append(brought,
                       BroughtIntoRange(field, input.caption, *value, left.value, separator));
            else if (left.value != *value)
                Append(brought, Rounded(input.caption, *value, left.value, separator));
            in.Field(input.control) = left.value;
        }
    }
    return in;
}

// The row of a line's inputs, calculated as the window would on a freshly opened window:
// with its thickness, or rejected with the boxes shown. `brought` leads either text.
ScheduleRow CalculatedRow(int kind, Inputs in, const std::string& brought,
                          std::string_view calculatedAt, std::string_view separator) {
    T_calc engine;
    const std::vector<Effect> effects = Calculate(kind, in, engine, separator);
    for (const Effect& effect : effects)
        if (const auto* set = std::get_if<SetField>(&effect)) in.Field(set->field) = set->value;
    ShownResult shown;
    shown.KindChosen(kind);
    shown.Calculated(kind, in, effects);
    RowOrReason made = RowFromCalculation(kind, in, shown, std::string(calculatedAt), separator);
    std::string told = brought;
    if (made.row) {
        Append(told, made.row->warning);
        made.row->warning = std::move(told);
        return std::move(*made.row);
    }
    for (const Effect& effect : effects)
        if (const auto* box = std::get_if<ShowMessage>(&effect)) Append(told, box->text);
    ScheduleRow row = *DescribedRow(kind, in, separator);
    row.rejection = told.empty() ? std::move(made.reason) : std::move(told);
    row.calculatedAt = std::string(calculatedAt);
    return row;
}

std::string Plural(std::size_t n, std::string_view one, std::string_view few,
                   std::string_view many) {
    const std::size_t tens = n % 100, units = n % 10;
    const std::string_view word = tens >= 11 && tens <= 14   ? many
                                  : units == 1               ? one
                                  : units >= 2 && units <= 4 ? few
                                                             : many;
    return std::to_string(n) + " " + std::string(word);
}

} // namespace

std::size_t ImportResult::Rejected() const {
    return std::size_t(
        std::ranges::count_if(rows, [](const ScheduleRow& r) { return !r.Calculated(); }));
}

// What a run keeps between its steps: the table's lines and where each kind's inputs are.
struct ScheduleImportRun::State {
    std::string calculatedAt, decimalSeparator;
    std::vector<CsvRecord> records;
    std::size_t kindColumn = 0;
    std::vector<std::pair<const ScheduleColumn*, std::size_t>> readColumns;
    std::array<KindReading, CalcMethodCount> readings;
    std::size_t next = 1; // the record read next; the heading is record 0
    ImportResult result;
};

ScheduleImportRun::ScheduleImportRun(std::string_view text, std::string_view calculatedAt,
                                     std::string_view decimalSeparator)
    : state_(std::make_unique<State>()) {
    State& s = *state_;
    s.calculatedAt = calculatedAt;
    s.decimalSeparator = decimalSeparator;
    ImportResult& result = s.result;
    // Read as Windows-1251, UTF-16 would give a heading of letters and nulls.
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
        result.fileProblem = "Файл в кодировке UTF-16: сохраните таблицу как CSV в UTF-8 или "
                             "как «CSV (разделители — запятые)»";
        return;
    }
    std::string decoded;
    if (const auto invalid = FirstInvalidUtf8(text)) {
        // A byte order mark says UTF-8: bytes that are not are damage, not another code page.
        if (text.starts_with("\xEF\xBB\xBF")) {
            result.fileProblem = "Файл начинается с метки UTF-8, но строка " +
                                 std::to_string(LineAt(text, *invalid)) +
                                 " не в кодировке UTF-8: сохраните таблицу заново";
            return;
        }
        decoded = Windows1251ToUtf8(text);
        text = decoded;
    }
    const bool windows1251 = !decoded.empty();
    if (Trimmed(text.starts_with("\xEF\xBB\xBF") ? text.substr(3) : text)
            .find_first_not_of("\r\n") == std::string_view::npos) {
        result.fileProblem = "Файл пуст";
        return;
    }
    const std::optional<char> separator = SeparatorOf(text);
    if (!separator) {
        result.fileProblem =
            "В первой строке нет столбца «Вид расчёта». Первая строка — заголовок: названия "
            "столбцов через «;», «,» или табуляцию, как в шаблоне для импорта";
        // Another code page (DOS, KOI8-R) read as Windows-1251 is letters out of place.
        if (windows1251)
            result.fileProblem += ". Файл не в кодировке UTF-8 и прочитан как Windows-1251";
        return;
    }
    std::size_t broken = 0;
    auto records = SplitCsv(text, *separator, &broken);
    if (!records) {
        result.fileProblem = "Строка " + std::to_string(broken) +
                             ": кавычка не закрыта или стоит внутри поля без кавычек";
        return;
    }
    if (std::all_of(records->begin() + 1, records->end(), IsEmptyLine)) {
        result.fileProblem = "В файле только заголовок — нет строк с расчётами";
        return;
    }
    s.records = std::move(*records);
    result.windows1251 = windows1251;
    const Columns columns(s.records.front());
    s.kindColumn = *columns.Of(KindHeading);
    // The columns that are set on the calculated row as they stand.
    for (const ScheduleColumn& column : ScheduleColumns())
        if (column.read)
            if (const std::optional<std::size_t> at = columns.Of(column.heading))
                s.readColumns.emplace_back(&column, *at);
    s.readings = Readings(columns);
}

ScheduleImportRun::~ScheduleImportRun() = default;

std::size_t ScheduleImportRun::Total() const {
    return state_->records.empty() ? 0 : state_->records.size() - 1;
}

std::size_t ScheduleImportRun::Done() const {
    return state_->records.empty() ? 0 : state_->next - 1;
}

bool ScheduleImportRun::Step(std::size_t lines) {
    State& s = *state_;
    ImportResult& result = s.result;
    const CsvRecord* heading = s.records.empty() ? nullptr : &s.records.front();
    for (; lines > 0 && s.next < s.records.size(); --lines) {
        const std::size_t i = s.next++;
        const CsvRecord& record = s.records[i];
        if (IsEmptyLine(record)) continue;
        ++result.lines;
        const auto unread = [&](std::string reason) {
            result.unread.push_back({i + 1, std::move(reason)});
        };

        const std::variant<int, Unread> kind = KindOfLine(record, heading->size(), s.kindColumn);
        if (const auto* why = std::get_if<Unread>(&kind)) {
            unread(why->reason);
            continue;
        }
        std::string brought;
        auto in = InputsOfLine(s.readings[std::size_t(std::get<int>(kind))], record,
                               s.decimalSeparator, brought);
        if (const auto* why = std::get_if<Unread>(&in)) {
            unread(why->reason);
            continue;
        }
        ScheduleRow row = CalculatedRow(std::get<int>(kind), std::get<Inputs>(std::move(in)),
                                        brought, s.calculatedAt, s.decimalSeparator);
        for (const auto& [column, at] : s.readColumns)
            column->read(row, UnguardedText(Trimmed(record[at].text)));
        result.rows.push_back(std::move(row));
    }
    return s.next < s.records.size();
}

ImportResult ScheduleImportRun::Take() && {
    return std::move(state_->result);
}

ImportResult ImportScheduleCsv(std::string_view text, std::string_view calculatedAt,
                               std::string_view decimalSeparator, const ImportProgress& progress) {
    ScheduleImportRun run(text, calculatedAt, decimalSeparator);
    const auto cancelled = [] {
        ImportResult result;
        result.cancelled = true;
        return result;
    };
    const std::size_t total = run.Total();
    while (run.Done() < total) {
        if (progress && !progress(run.Done(), total)) return cancelled();
        run.Step(1);
    }
    if (total > 0 && progress && !progress(total, total)) return cancelled();
    return std::move(run).Take();
}

std::string ImportSummary(const ImportResult& result) {
    const std::size_t rejected = result.Rejected();
    std::string summary = Plural(result.lines, "строка", "строки", "строк") + ": " +
                          std::to_string(result.rows.size() - rejected) + " рассчитано, " +
                          std::to_string(rejected) + " отклонено";
    if (!result.unread.empty())
        summary += ", " + std::to_string(result.unread.size()) + " не прочитано";
    if (result.windows1251) summary += "; файл прочитан в кодировке Windows-1251";
    return summary;
}

std::string UnreadLines(const ImportResult& result, std::size_t shown) {
    std::string text;
    for (std::size_t i = 0; i < result.unread.size() && i < shown; ++i)
        text += "Строка " + std::to_string(result.unread[i].line) + ": " + result.unread[i].reason +
                "\n";
    if (result.unread.size() > shown)
        text +=
            "…и ещё " + Plural(result.unread.size() - shown, "строка", "строки", "строк") + "\n";
    return text;
}

} // namespace workflow
