// Imports arbitrary bytes as a table of calculations, as they are or under the heading of
// the import's template. Whatever the file, every line is accounted for once, a row's
// figures are figures, and the rows written out as a table read back as the same lines.
#include "FuzzedInputs.h"
#include "ScheduleCsv.h"
#include "ScheduleImport.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace workflow;
using namespace fuzzed;

namespace {

void Check(bool holds) {
    if (!holds) std::abort();
}

const std::string& TemplateHeading() {
    static const std::string heading = [] {
        const std::string table = ImportTemplateCsv();
        return table.substr(0, table.find('\n') + 1);
    }();
    return heading;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string table =
        (data[0] & 1) ? TemplateHeading() + std::string(bytes) : std::string(bytes);
    const ImportResult result = ImportScheduleCsv(table, "2026-12-10T16:20:05", ",");

    if (!result.fileProblem.empty()) {
        Check(result.rows.empty() && result.unread.empty());
        return 0;
    }
    Check(result.rows.size() + result.unread.size() == result.lines);
    for (std::size_t i = 0; i < result.unread.size(); ++i) {
        Check(result.unread[i].line >= 2 && !result.unread[i].reason.empty());
        Check(i == 0 || result.unread[i].line > result.unread[i - 1].line);
    }
    bool smallTags = true;
    for (const ScheduleRow& row : result.rows) {
        smallTags = smallTags && row.tag.size() < 1024;
        for (const ScheduleInput& input : row.inputs)
            if (!IsChoice(input.control)) Check(NamesAFigure(input.text));
        if (row.Calculated()) {
            Check(std::isfinite(row.requiredMm) && row.acceptedMm >= 0);
            Check(NamesAFigure(row.checkFigures));
        } else {
            Check(!row.rejection.empty());
        }
    }
    if (result.rows.empty() || !smallTags) return 0;

    const ImportResult back =
        ImportScheduleCsv(ScheduleCsv(result.rows), "2026-12-10T16:20:05", ",");
    Check(back.fileProblem.empty() && back.unread.empty());
    Check(back.rows.size() == result.rows.size());
    for (std::size_t i = 0; i < back.rows.size(); ++i) {
        Check(back.rows[i].kind == result.rows[i].kind);
        Check(back.rows[i].tag == result.rows[i].tag);
    }
    return 0;
}
