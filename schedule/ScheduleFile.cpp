#include "ScheduleFile.h"

#include "CalcKinds.h"
#include "ScheduleCsv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <type_traits>
#include <utility>

namespace schedule {

using workflow::Control;
using workflow::ScheduleInput;
using workflow::ScheduleRow;

namespace {

constexpr QLatin1String FormatName("izolcalc-schedule");
// 2: rows may be rejected or carry a warning. 3: the check has a state, which may be
// within the rounding allowance, in place of whether it was met.
constexpr int Version = 3;

// The check's states by their keys in the file.
constexpr std::array<std::pair<workflow::CheckState, const char*>, 4> CheckStateKeys = {{
    {workflow::CheckState::Met, "met"},
    {workflow::CheckState::WithinAllowance, "withinAllowance"},
    {workflow::CheckState::NotMet, "notMet"},
    {workflow::CheckState::BeyondProducts, "beyondProducts"},
}};

QString CheckStateKey(workflow::CheckState state) {
    for (const auto& [known, key] : CheckStateKeys)
        if (known == state) return QLatin1String(key);
    return {};
}

// The state of a row's check as written, or as an earlier version's «met» and the row's
// figures judge it today; none for a value unlike either.
std::optional<workflow::CheckState> CheckStateIn(const QJsonObject& object,
                                                 const ScheduleRow& row) {
    const QJsonValue state = object.value(QLatin1String("checkState"));
    if (!state.isUndefined()) {
        for (const auto& [known, key] : CheckStateKeys)
            if (state.toString() == QLatin1String(key)) return known;
        return std::nullopt;
    }
    const QJsonValue met = object.value(QLatin1String("checkMet"));
    if (!met.isBool()) return std::nullopt;
    return workflow::JudgeCheck(*workflow::Kind(row.kind), met.toBool(), row.acceptedMm,
                                row.requiredMm, row.meetingMm);
}

QString Shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// The texts of a row by their keys, for writing and for reading.
template <class Row> auto TextFields(Row& row) {
    return std::array{
        std::pair{"tag", &row.tag},
        std::pair{"object", &row.object},
        std::pair{"location", &row.location},
        std::pair{"covering", &row.covering},
        std::pair{"material", &row.material},
        std::pair{"checkFigures", &row.checkFigures},
        std::pair{"calculatedAt", &row.calculatedAt},
    };
}

// Texts that a row of the first version does not have.
template <class Row> auto NoteFields(Row& row) {
    return std::array{
        std::pair{"rejection", &row.rejection},
        std::pair{"warning", &row.warning},
    };
}

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// JSON has no NaN or infinity: such a number is written as null and read back as NaN.
QJsonValue Number(double value) {
    return std::isfinite(value) ? QJsonValue(value) : QJsonValue(QJsonValue::Null);
}

template <class T> QJsonValue Optional(const std::optional<T>& value) {
    if (!value) return QJsonValue::Null;
    if constexpr (std::is_same_v<T, std::string>)
        return Text(*value);
    else
        return *value;
}

QJsonObject InputObject(const ScheduleInput& input) {
    return {{QStringLiteral("control"), Text(workflow::ObjectName(input.control))},
            {QStringLiteral("caption"), Text(input.caption)},
            {QStringLiteral("text"), Text(input.text)},
            {QStringLiteral("value"), Number(input.value)}};
}

QJsonObject RowObject(const ScheduleRow& row) {
    QJsonObject object;
    object.insert(QStringLiteral("kind"), row.kind);
    for (const auto& [key, text] : TextFields(row))
        object.insert(QLatin1String(key), Text(*text));
    object.insert(QStringLiteral("materialValue"), Optional(row.materialValue));
    QJsonArray inputs;
    for (const ScheduleInput& input : row.inputs)
        inputs.append(InputObject(input));
    object.insert(QStringLiteral("inputs"), inputs);
    object.insert(QStringLiteral("requiredMm"), Number(row.requiredMm));
    object.insert(QStringLiteral("acceptedMm"), row.acceptedMm);
    object.insert(QStringLiteral("checkState"), CheckStateKey(row.checkState));
    // For people and other programs that read the file; the state above is what is read.
    object.insert(QStringLiteral("checkVerdict"), Text(workflow::CheckVerdictOf(row)));
    object.insert(QStringLiteral("meetingMm"), Optional(row.meetingMm));
    for (const auto& [key, text] : NoteFields(row))
        object.insert(QLatin1String(key), Text(*text));
    return object;
}

// ---- Reading: each gives none for a value unlike what this program writes ------------

std::optional<std::string> TextIn(const QJsonValue& value) {
    if (!value.isString()) return std::nullopt;
    return value.toString().toStdString();
}

std::optional<double> NumberIn(const QJsonValue& value) {
    if (value.isNull()) return std::numeric_limits<double>::quiet_NaN();
    if (!value.isDouble()) return std::nullopt;
    return value.toDouble();
}

std::optional<int32_t> WholeIn(const QJsonValue& value) {
    if (!value.isDouble()) return std::nullopt;
    const double number = value.toDouble();
    if (!(number == std::floor(number) && number >= std::numeric_limits<int32_t>::min() &&
          number <= std::numeric_limits<int32_t>::max()))
        return std::nullopt;
    return int32_t(number);
}

bool Missing(const QJsonValue& value) {
    return value.isUndefined() || value.isNull();
}

// The controls that a row's input may name: filling the window from a row sets them.
bool IsInput(Control control) {
    return workflow::IsChoice(control) || control == workflow::MaterialListControl ||
           std::ranges::any_of(workflow::NumberFields(),
                               [&](const auto& field) { return field.control == control; });
}

std::optional<ScheduleInput> InputIn(const QJsonValue& value) {
    const QJsonObject object = value.toObject();
    const std::optional<std::string> name = TextIn(object.value(QLatin1String("control")));
    if (!name) return std::nullopt;
    const std::optional<Control> control = workflow::ControlNamed(*name);
    std::optional<std::string> caption = TextIn(object.value(QLatin1String("caption")));
    std::optional<std::string> text = TextIn(object.value(QLatin1String("text")));
    if (!control || !IsInput(*control) || !caption || !text) return std::nullopt;

    std::optional<double> number;
    if (workflow::IsChoice(*control)) {
        // A choice's position picks a row of its table; one outside would read past it.
        const std::optional<int32_t> position = WholeIn(object.value(QLatin1String("value")));
        if (position && *position >= 0 &&
            std::size_t(*position) < workflow::Choice(*control).rows.size())
            number = *position;
    } else {
        number = NumberIn(object.value(QLatin1String("value")));
    }
    if (!number) return std::nullopt;
    return ScheduleInput{*control, std::move(*caption), std::move(*text), *number};
}

std::optional<ScheduleRow> RowIn(const QJsonValue& value) {
    const QJsonObject object = value.toObject();
    ScheduleRow row;

    const std::optional<int32_t> kind = WholeIn(object.value(QLatin1String("kind")));
    if (!kind || workflow::Kind(*kind) == nullptr) return std::nullopt;
    row.kind = *kind;

    for (const auto& [key, text] : TextFields(row)) {
        std::optional<std::string> read = TextIn(object.value(QLatin1String(key)));
        if (!read) return std::nullopt;
        *text = std::move(*read);
    }

    const QJsonValue material = object.value(QLatin1String("materialValue"));
    if (!Missing(material)) {
        row.materialValue = TextIn(material);
        if (!row.materialValue) return std::nullopt;
    }

    const QJsonValue inputs = object.value(QLatin1String("inputs"));
    if (!inputs.isArray()) return std::nullopt;
    for (const QJsonValue& input : inputs.toArray()) {
        std::optional<ScheduleInput> read = InputIn(input);
        if (!read) return std::nullopt;
        row.inputs.push_back(std::move(*read));
    }

    const std::optional<double> required = NumberIn(object.value(QLatin1String("requiredMm")));
    const std::optional<int32_t> accepted = WholeIn(object.value(QLatin1String("acceptedMm")));
    if (!required || !accepted) return std::nullopt;
    row.requiredMm = *required;
    row.acceptedMm = *accepted;

    const QJsonValue meeting = object.value(QLatin1String("meetingMm"));
    if (!Missing(meeting)) {
        row.meetingMm = WholeIn(meeting);
        if (!row.meetingMm) return std::nullopt;
    }
    const std::optional<workflow::CheckState> state = CheckStateIn(object, row);
    if (!state) return std::nullopt;
    row.checkState = *state;

    for (const auto& [key, text] : NoteFields(row)) {
        const QJsonValue note = object.value(QLatin1String(key));
        if (Missing(note)) continue;
        std::optional<std::string> read = TextIn(note);
        if (!read) return std::nullopt;
        *text = std::move(*read);
    }
    return row;
}

enum class Problem { None, Damaged, Newer };

struct Parsed {
    std::vector<ScheduleRow> rows;
    Problem problem = Problem::None;
};

Parsed Parse(const QByteArray& bytes) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return {{}, Problem::Damaged};
    const QJsonObject root = document.object();
    if (root.value(QLatin1String("format")).toString() != FormatName) return {{}, Problem::Damaged};
    const std::optional<int32_t> version = WholeIn(root.value(QLatin1String("version")));
    if (!version || *version < 1) return {{}, Problem::Damaged};
    if (*version > Version) return {{}, Problem::Newer};

    const QJsonValue rows = root.value(QLatin1String("rows"));
    if (!rows.isArray()) return {{}, Problem::Damaged};
    Parsed parsed;
    for (const QJsonValue& value : rows.toArray()) {
        std::optional<ScheduleRow> row = RowIn(value);
        if (!row) return {{}, Problem::Damaged};
        parsed.rows.push_back(std::move(*row));
    }
    return parsed;
}

bool Taken(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink(); // a dangling link still holds the name
}

// Moves the file out of the way of the next save, or failing that copies it, and says so
// after `why`, the sentence that tells what is wrong with it.
LoadResult SetAside(const QString& path, const QString& why) {
    LoadResult result;
    const QDateTime now = QDateTime::currentDateTime();
    QString failure;
    // A name taken between choosing it and renaming is passed over for the next one.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString aside = SetAsidePathFor(path, now);
        QFile file(path);
        if (file.rename(aside)) {
            result.setAsidePath = aside;
            break;
        }
        failure = file.errorString();
        if (!Taken(aside)) {
            // Where it cannot be moved, a copy still keeps it from the next save.
            if (QFile::copy(path, aside)) result.setAsidePath = aside;
            break;
        }
    }
    if (!result.setAsidePath.isEmpty()) {
        result.error = why + QStringLiteral(" Он сохранён как «%1»; ведомость начата заново.")
                                 .arg(Shown(result.setAsidePath));
    } else {
        result.error =
            why + QStringLiteral(" Сохранить его под другим именем не удалось (%1). Ведомость "
                                 "начата заново; если файл нужен, скопируйте его до сохранения "
                                 "ведомости: при сохранении он будет заменён.")
                      .arg(failure);
    }
    return result;
}

QString WriteWhole(const QString& path, const QByteArray& bytes, const QString& failed) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return failed.arg(Shown(path),
                          QStringLiteral("не удалось создать папку «%1»").arg(Shown(folder)));
    QSaveFile file(path);
    // Without a commit the save file drops what it wrote and the old file stays.
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return failed.arg(Shown(path), file.errorString());
    return {};
}

} // namespace

QByteArray ToJson(const std::vector<ScheduleRow>& rows) {
    QJsonArray array;
    for (const ScheduleRow& row : rows)
        array.append(RowObject(row));
    const QJsonObject root{{QStringLiteral("format"), FormatName},
                           {QStringLiteral("version"), Version},
                           {QStringLiteral("rows"), array}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

LoadResult LoadSchedule(const QString& path) {
    QFile file(path);
    if (!file.exists()) return {};
    QString why;
    if (!file.open(QIODevice::ReadOnly)) {
        why = QStringLiteral("Файл ведомости «%1» не удалось прочитать (%2).")
                  .arg(Shown(path), file.errorString());
    } else {
        const QByteArray bytes = file.readAll();
        const bool readWhole = file.error() == QFileDevice::NoError;
        const QString readError = file.errorString();
        file.close();
        Parsed parsed = readWhole ? Parse(bytes) : Parsed{{}, Problem::Damaged};
        if (!readWhole)
            why = QStringLiteral("Файл ведомости «%1» не удалось прочитать (%2).")
                      .arg(Shown(path), readError);
        else if (parsed.problem == Problem::None)
            return {std::move(parsed.rows), {}, {}};
        else if (parsed.problem == Problem::Newer)
            why = QStringLiteral("Файл ведомости «%1» записан более новой версией программы и "
                                 "не может быть прочитан.")
                      .arg(Shown(path));
        else
            why = QStringLiteral("Файл ведомости «%1» повреждён и не может быть прочитан.")
                      .arg(Shown(path));
    }
    return SetAside(path, why);
}

QString SaveSchedule(const QString& path, const std::vector<ScheduleRow>& rows) {
    return WriteWhole(path, ToJson(rows),
                      QStringLiteral("Не удалось сохранить ведомость в файл «%1»: %2."));
}

QString DefaultSchedulePath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // No folder is no path rather than one at the root of the disk.
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/schedule.json");
}

QString WriteScheduleCsv(const QString& path, const std::vector<ScheduleRow>& rows) {
    return WriteWhole(path, QByteArray::fromStdString(workflow::ScheduleCsv(rows)),
                      QStringLiteral("Не удалось записать таблицу ведомости в файл «%1»: %2."));
}

workflow::ImportResult ImportCsvFile(const QString& path, const QDateTime& now,
                                     std::string_view decimalSeparator,
                                     const workflow::ImportProgress& progress) {
    QFile file(path);
    workflow::ImportResult result;
    if (!file.open(QIODevice::ReadOnly)) {
        result.fileProblem = QStringLiteral("Не удалось открыть файл «%1»: %2.")
                                 .arg(Shown(path), file.errorString())
                                 .toStdString();
        return result;
    }
    if (file.size() > LargestImportFile) {
        result.fileProblem = QStringLiteral("Файл «%1» больше %2 МБ — это не таблица расчётов.")
                                 .arg(Shown(path))
                                 .arg(LargestImportFile >> 20)
                                 .toStdString();
        return result;
    }
    const QByteArray bytes = file.readAll();
    return workflow::ImportScheduleCsv(
        std::string_view(bytes.constData(), std::size_t(bytes.size())),
        now.toString(Qt::ISODate).toStdString(), decimalSeparator, progress);
}

QString WriteImportTemplate(const QString& path) {
    return WriteWhole(path, QByteArray::fromStdString(workflow::ImportTemplateCsv()),
                      QStringLiteral("Не удалось записать шаблон в файл «%1»: %2."));
}

QString SetAsidePathFor(const QString& path, const QDateTime& at) {
    const QFileInfo info(path);
    const QString stem = info.dir().filePath(info.completeBaseName() + QStringLiteral(".damaged-") +
                                             at.toString(QStringLiteral("yyyyMMdd-HHmmss")));
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    QString candidate = stem + suffix;
    for (int n = 2; Taken(candidate); ++n)
        candidate = stem + QLatin1Char('-') + QString::number(n) + suffix;
    return candidate;
}

} // namespace schedule
