// Reads arbitrary bytes as the schedule's file, as they are or spliced into a real file.
// Whatever they are, the reader either gives rows, which are written and read back the
// same, and leaves the file as it was; or it sets the file aside with exactly its bytes.
// It never crashes and never loses the old file.
#include "FuzzedInputs.h"
#include "ScheduleFile.h"
#include "ScheduleJson.h"
#include "ScheduleRows.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool holds) {
    if (!holds) std::abort();
}

// A file as the program writes it, with each row's place.
struct Real {
    std::vector<workflow::RowText> where;
    std::string text;
};
const Real& RealFile() {
    static const Real real = [] {
        Real made;
        made.text =
            workflow::ScheduleJson(workflow::Schedule(workflow::RowsOfEveryKind()), &made.where);
        return made;
    }();
    return real;
}

// Read with the real file's rows at hand: a window that read that file before.
workflow::ParsedSchedule ReadAfterTheRealFile(std::string_view text) {
    static const std::vector<workflow::ScheduleRow> real =
        workflow::ParseScheduleJson(RealFile().text).schedule.Rows();
    std::vector<workflow::ScheduleRow> earlier = real;
    return workflow::ParseScheduleJson(text, {RealFile().text, &RealFile().where, &earlier});
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    Check(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("schedule.json"));
    if (size < 3) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 3, size - 3);
    // Splicing into a real file reaches the rows, which bytes alone seldom form.
    std::string text(bytes);
    if (data[0] & 1) {
        const std::string& real = RealFile().text;
        const std::size_t at = (std::size_t(data[1]) << 8 | data[2]) * real.size() / 65536;
        text =
            real.substr(0, at) + text + real.substr(std::min(real.size(), at + bytes.size() / 2));
    }
    const QByteArray written(text.data(), qsizetype(text.size()));
    {
        QFile file(path);
        Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        Check(file.write(written) == written.size());
    }

    const schedule::LoadResult loaded = schedule::LoadSchedule(path);
    if (loaded.error.isEmpty()) {
        Check(ReadAll(path) == written);
        const workflow::Schedule read(loaded.rows, loaded.nextId);
        Check(read.Rows() == loaded.rows); // ids unique and given
        const workflow::ParsedSchedule again =
            workflow::ParseScheduleJson(workflow::ScheduleJson(read));
        Check(again.problem == workflow::ParsedSchedule::Problem::None);
        Check(again.schedule.Rows().size() == loaded.rows.size());
        for (std::size_t i = 0; i < loaded.rows.size(); ++i) {
            const workflow::ScheduleRow& a = again.schedule.Rows()[i];
            const workflow::ScheduleRow& b = loaded.rows[i];
            // NaN is no equal of itself: compare what is written.
            Check(a.id == b.id && a.tag == b.tag && a.kind == b.kind &&
                  a.inputs.size() == b.inputs.size() && a.materialValue == b.materialValue &&
                  a.meetingMm == b.meetingMm && a.rejection == b.rejection &&
                  a.warning == b.warning);
        }
        Check(again.schedule.NextId() == read.NextId());
        // Rows taken from an earlier reading are the rows a reading from scratch gives.
        const workflow::ParsedSchedule reused = ReadAfterTheRealFile(text);
        Check(reused.problem == workflow::ParsedSchedule::Problem::None);
        Check(workflow::ScheduleJson(reused.schedule) == workflow::ScheduleJson(read));
    } else {
        Check(ReadAfterTheRealFile(text).problem != workflow::ParsedSchedule::Problem::None);
        // A file of the user's is left as it was.
        Check(loaded.setAsidePath.isEmpty());
        Check(ReadAll(path) == written);
        // The program's own is copied aside whole and keeps the rows it can.
        const schedule::LoadResult own = schedule::ReadOwnLocked(path);
        Check(own.sound);
        Check(ReadAll(own.setAsidePath) == written);
        Check(own.rows.size() == workflow::RecoverScheduleRows(text).Size());
        const schedule::LoadResult after = schedule::LoadSchedule(path);
        Check(after.error.isEmpty() && after.rows.size() == own.rows.size());
        QFile::remove(own.setAsidePath);
    }
    return 0;
}
