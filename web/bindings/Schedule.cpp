// The schedule for the page: the same rows, operations, file, CSV and import as the
// desktop's, held in the module; the page shows the rows and keeps the file's text in the
// browser's storage. Files pass as bytes (a view of the module's memory), never as decoded
// text, so that a file not in UTF-8 reaches the import as it is.
#include "Calculator.h"
#include "ScheduleCsv.h"
#include "ScheduleImport.h"
#include "ScheduleJson.h"
#include "ScheduleOperations.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

using emscripten::val;

namespace {

// The desktop takes no larger table: no list of calculations comes near it.
constexpr std::size_t LargestImportFile = std::size_t(64) << 20;
// As many steps back as an engineer takes; older ones are forgotten.
constexpr std::size_t UndoDepth = 100;

struct State {
    workflow::Schedule schedule;
    std::vector<workflow::ScheduleOperation> undo;
    std::string json;  // the file's text as last written
    std::string bytes; // a file coming in, or going out
    std::unique_ptr<workflow::ScheduleImportRun> import;
};

State& The() {
    static State state;
    return state;
}

// Written whole on every change: ten thousand rows take a few tens of milliseconds.
void WriteJson() {
    State& s = The();
    s.json = workflow::ScheduleJson(s.schedule);
}

// Applies a change and keeps what undoes it; the file's text follows.
void Run(const workflow::ScheduleOperation& operation, bool keepUndo = true) {
    State& s = The();
    if (operation.Empty()) return;
    workflow::ScheduleOperation inverse = s.schedule.Apply(operation);
    if (keepUndo && !inverse.Empty()) {
        s.undo.push_back(std::move(inverse));
        if (s.undo.size() > UndoDepth) s.undo.erase(s.undo.begin());
    }
    WriteJson();
}

val Row(const workflow::ScheduleRow& row, std::size_t number) {
    val r = val::object();
    r.set("id", double(row.id));
    r.set("number", double(number));
    r.set("tag", row.tag);
    r.set("kind", row.kind);
    r.set("kindCaption", std::string(workflow::KindCaption(row.kind)));
    r.set("object", row.object);
    r.set("location", row.location);
    r.set("covering", row.covering);
    r.set("material", row.material);
    r.set("inputs", workflow::InputsText(row));
    const bool calculated = row.Calculated();
    const std::string none(workflow::NoResultText);
    r.set("calculated", calculated);
    r.set("requiredMm", calculated ? row.requiredMm : -1.0);
    r.set("required",
          calculated ? workflow::DecimalText(row.requiredMm, 1, web::DecimalSeparator) : none);
    r.set("acceptedMm", calculated ? double(row.acceptedMm) : -1.0);
    r.set("accepted", calculated ? std::to_string(row.acceptedMm) : none);
    r.set("figures", workflow::CheckFiguresOf(row));
    r.set("verdict", workflow::CheckVerdictOf(row));
    r.set("checkState", calculated ? int(row.checkState) : -1);
    r.set("accented", calculated && workflow::CheckAccented(row.checkState));
    return r;
}

std::vector<workflow::RowId> Ids(const val& ids) {
    std::vector<workflow::RowId> out;
    const unsigned n = ids["length"].as<unsigned>();
    for (unsigned i = 0; i < n; ++i)
        out.push_back(workflow::RowId(ids[i].as<double>()));
    return out;
}

val Bytes(const std::string& bytes) {
    return val(emscripten::typed_memory_view(bytes.size(),
                                             reinterpret_cast<const unsigned char*>(bytes.data())));
}

// ---- What the page calls ----------------------------------------------------------------

// The rows in the user's order, as the table shows them.
val Rows() {
    val rows = val::array();
    const auto& all = The().schedule.Rows();
    for (std::size_t i = 0; i < all.size(); ++i)
        rows.call<void>("push", Row(all[i], i + 1));
    return rows;
}

// The column headings, named as the export and the desktop's printout name them.
val Headings() {
    val h = val::array();
    for (std::string_view heading : workflow::ScheduleCsvColumns())
        h.call<void>("push", std::string(heading));
    return h;
}

// A place for a file of `size` bytes that the page fills; none for a file no schedule or
// table comes near.
val Incoming(double size) {
    State& s = The();
    if (size < 0 || size > double(LargestImportFile)) return val::null();
    s.bytes.assign(std::size_t(size), '\0');
    return Bytes(s.bytes);
}

std::string TooLarge(const std::string& name) {
    return "Файл «" + name + "» больше " + std::to_string(LargestImportFile >> 20) +
           " МБ — это не таблица расчётов.";
}

// The file's text now, for the browser's storage and for a download.
val JsonBytes() {
    return Bytes(The().json);
}

// The rows kept in the browser's storage, as the page starts or as another tab has changed
// them: the steps back stay, since they name rows by their ids. A damaged text leaves the
// page empty, telling why; the page sets the text aside.
std::string Restore() {
    State& s = The();
    workflow::ParsedSchedule parsed = workflow::ParseScheduleJson(s.bytes);
    s.bytes.clear();
    if (parsed.problem != workflow::ParsedSchedule::Problem::None) {
        s.schedule = workflow::Schedule();
        WriteJson();
        return parsed.problem == workflow::ParsedSchedule::Problem::Newer
                   ? "Ведомость в хранилище браузера записана более новой версией программы и "
                     "не может быть прочитана."
                   : "Ведомость в хранилище браузера повреждена и не может быть прочитана.";
    }
    s.schedule = std::move(parsed.schedule);
    WriteJson();
    return {};
}

// A schedule file opened by the user replaces the rows (one step back undoes it); a file
// that cannot be read changes nothing.
std::string Open(const std::string& name) {
    State& s = The();
    workflow::ParsedSchedule parsed = workflow::ParseScheduleJson(s.bytes);
    s.bytes.clear();
    if (parsed.problem == workflow::ParsedSchedule::Problem::Newer)
        return "Файл ведомости «" + name +
               "» записан более новой версией программы и не может быть прочитан.";
    if (parsed.problem != workflow::ParsedSchedule::Problem::None)
        return "Файл ведомости «" + name + "» повреждён и не может быть прочитан.";
    Run(workflow::ReplaceAllRows(std::move(parsed.schedule).TakeRows()));
    return {};
}

val CsvBytes() {
    State& s = The();
    s.bytes = workflow::ScheduleCsv(s.schedule.Rows());
    return Bytes(s.bytes);
}

val TemplateBytes() {
    State& s = The();
    s.bytes = workflow::ImportTemplateCsv();
    return Bytes(s.bytes);
}

// An import of the file given to Incoming, read by Step a few lines at a time.
val ImportBegin(const std::string& calculatedAt) {
    State& s = The();
    s.import =
        std::make_unique<workflow::ScheduleImportRun>(s.bytes, calculatedAt, web::DecimalSeparator);
    s.bytes.clear();
    s.bytes.shrink_to_fit();
    val r = val::object();
    r.set("total", double(s.import->Total()));
    return r;
}

double ImportStep(double lines) {
    State& s = The();
    if (!s.import) return 0;
    s.import->Step(std::size_t(lines));
    return double(s.import->Done());
}

void ImportCancel() {
    The().import.reset();
}

// Ends the import: its rows go after the others as one change, and the page is told what
// to say about the file.
val ImportEnd(const std::string& name) {
    State& s = The();
    val r = val::object();
    if (!s.import) return r;
    workflow::ImportResult result = std::move(*s.import).Take();
    s.import.reset();
    if (!result.fileProblem.empty()) {
        r.set("problem", "Файл «" + name + "» не импортирован. " + result.fileProblem);
        return r;
    }
    std::string summary =
        "Импорт из файла «" + name + "»: " + workflow::ImportSummary(result) + ".";
    if (!result.unread.empty())
        summary += "\n\nНе прочитаны и не добавлены:\n" + workflow::UnreadLines(result, 20);
    r.set("added", double(result.rows.size()));
    Run(workflow::AddRows(std::move(result.rows)));
    r.set("summary", summary);
    return r;
}

void Delete(const val& ids) {
    Run(workflow::DeleteRows(Ids(ids)));
}
void Move(double id, int direction) {
    Run(workflow::MoveRowBy(workflow::RowId(id), direction));
}
void Tag(double id, const std::string& tag) {
    Run(workflow::TagRow(workflow::RowId(id), tag));
}
void Clear() {
    Run(workflow::ClearAllRows());
}

bool Undo() {
    State& s = The();
    if (s.undo.empty()) return false;
    workflow::ScheduleOperation operation = std::move(s.undo.back());
    s.undo.pop_back();
    Run(operation, false);
    return true;
}

bool CanUndo() {
    return !The().undo.empty();
}

// The calculation the page shows, added as a row (Ctrl+D); why not, in the user's words,
// otherwise.
std::string Add(const web::Calculator& calculator, const std::string& calculatedAt) {
    workflow::RowOrReason made =
        workflow::RowFromCalculation(calculator.Method(), calculator.Inputs(), calculator.Shown(),
                                     calculatedAt, web::DecimalSeparator);
    if (!made.row) return made.reason;
    std::vector<workflow::ScheduleRow> rows;
    rows.push_back(std::move(*made.row));
    Run(workflow::AddRows(std::move(rows)));
    return {};
}

} // namespace

EMSCRIPTEN_BINDINGS(schedule) {
    using emscripten::function;
    function("scheduleAdd", &Add);
    function("scheduleRows", &Rows);
    function("scheduleHeadings", &Headings);
    function("scheduleIncoming", &Incoming);
    function("scheduleTooLarge", &TooLarge);
    function("scheduleJsonBytes", &JsonBytes);
    function("scheduleRestore", &Restore);
    function("scheduleOpen", &Open);
    function("scheduleCsvBytes", &CsvBytes);
    function("scheduleTemplateBytes", &TemplateBytes);
    function("scheduleImportBegin", &ImportBegin);
    function("scheduleImportStep", &ImportStep);
    function("scheduleImportCancel", &ImportCancel);
    function("scheduleImportEnd", &ImportEnd);
    function("scheduleDelete", &Delete);
    function("scheduleMove", &Move);
    function("scheduleTag", &Tag);
    function("scheduleClear", &Clear);
    function("scheduleUndo", &Undo);
    function("scheduleCanUndo", &CanUndo);
}
