#include "ScheduleModel.h"

#include "Colors.h"
#include "ScheduleColumns.h"
#include "Utf8Text.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <unordered_set>

namespace {

const std::vector<workflow::ViewColumn>& PageColumns() {
    static const std::vector<workflow::ViewColumn> columns =
        workflow::ViewColumns(&workflow::ScheduleColumn::onPage);
    return columns;
}

int PageColumn(std::string_view heading) {
    const auto& columns = PageColumns();
    const auto found = std::ranges::find(columns, heading, &workflow::ViewColumn::heading);
    return found == columns.end() ? -1 : int(found - columns.begin());
}

} // namespace

const int ScheduleModel::Number = PageColumn("№");
const int ScheduleModel::Tag = PageColumn(workflow::TagHeading);
const int ScheduleModel::Object = PageColumn("Объект");
const int ScheduleModel::Inputs = PageColumn("Исходные данные");
const int ScheduleModel::Accepted = PageColumn("Толщина принятая, мм");
const int ScheduleModel::Check = PageColumn("Проверка");
const int ScheduleModel::Columns = int(PageColumns().size());

ScheduleModel::ScheduleModel(const QString& path, QObject* parent)
    : QAbstractTableModel(parent)
    , store_(path) {
    // Events come in bursts (a save is a new file, a rename and a lock); one look after
    // them is enough.
    refresh_.setSingleShot(true);
    refresh_.setInterval(100);
    connect(&refresh_, &QTimer::timeout, this, [this] {
        const QString problem = Refresh();
        if (!problem.isEmpty()) emit fileProblem(problem);
    });
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this] { refresh_.start(); });
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { refresh_.start(); });
    Watch();
}

// A save replaces the file, which ends the watch on the old one: the folder is watched
// too, and the file again whenever it is there.
void ScheduleModel::Watch() {
    const QString& path = store_.Path();
    if (path.isEmpty()) return;
    const QString folder = QFileInfo(path).absolutePath();
    if (!watcher_.directories().contains(folder) && QDir().mkpath(folder)) watcher_.addPath(folder);
    if (!watcher_.files().contains(path) && QFileInfo::exists(path)) watcher_.addPath(path);
}

workflow::RowId ScheduleModel::IdAt(int row) const {
    return row >= 0 && row < rowCount() ? rows_[std::size_t(row)].id : workflow::NoRowId;
}

int ScheduleModel::RowOf(workflow::RowId id) const {
    const auto at = std::ranges::find(rows_, id, &workflow::ScheduleRow::id);
    return at == rows_.end() ? -1 : int(at - rows_.begin());
}

ScheduleModel::Outcome ScheduleModel::Apply(const workflow::ScheduleOperation& operation) {
    schedule::ScheduleStore::Outcome done = store_.Apply(operation);
    // Even a change refused may have read what other windows wrote.
    Show(store_.Current().Rows());
    Watch();
    return {done.applied, std::move(done.undo), std::move(done.error)};
}

QString ScheduleModel::Refresh() {
    const schedule::ScheduleStore::Reread reread = store_.Refresh(std::chrono::milliseconds(200));
    if (reread.busy) {
        refresh_.start(500);
        return {};
    }
    if (reread.changed) Show(store_.Current().Rows());
    Watch();
    return reread.error;
}

QString ScheduleModel::SwitchTo(const QString& path, schedule::FileOwner owner) {
    const QStringList watched = watcher_.files() + watcher_.directories();
    if (!watched.isEmpty()) watcher_.removePaths(watched);
    store_ = schedule::ScheduleStore(path, owner);
    const QString problem = Refresh();
    emit fileSwitched();
    return problem;
}

void ScheduleModel::Show(const std::vector<workflow::ScheduleRow>& target) {
    if (rows_ == target) return;
    using workflow::RowId;
    const auto reset = [&] {
        beginResetModel();
        rows_ = target;
        endResetModel();
    };
    // Past this many moves a reset is quicker; the page keeps the selection over it.
    constexpr int MostMoves = 64;

    std::unordered_set<RowId> wanted;
    wanted.reserve(target.size());
    for (const workflow::ScheduleRow& row : target)
        wanted.insert(row.id);
    bool structure = false;
    for (int last = rowCount() - 1; last >= 0;) {
        if (wanted.contains(rows_[std::size_t(last)].id)) {
            --last;
            continue;
        }
        int first = last;
        while (first > 0 && !wanted.contains(rows_[std::size_t(first) - 1].id))
            --first;
        beginRemoveRows({}, first, last);
        rows_.erase(rows_.begin() + first, rows_.begin() + last + 1);
        endRemoveRows();
        structure = true;
        last = first - 1;
    }

    std::unordered_set<RowId> shownIds;
    shownIds.reserve(rows_.size());
    for (const workflow::ScheduleRow& row : rows_)
        shownIds.insert(row.id);
    std::vector<int> changed;
    int moves = 0;
    for (std::size_t i = 0; i < target.size(); ++i) {
        const RowId id = target[i].id;
        if (i >= rows_.size() || rows_[i].id != id) {
            if (!shownIds.contains(id)) {
                std::size_t end = i;
                while (end < target.size() && !shownIds.contains(target[end].id))
                    ++end;
                beginInsertRows({}, int(i), int(end) - 1);
                rows_.insert(rows_.begin() + std::ptrdiff_t(i), target.begin() + std::ptrdiff_t(i),
                             target.begin() + std::ptrdiff_t(end));
                endInsertRows();
                structure = true;
                i = end - 1;
                continue;
            }
            if (++moves > MostMoves) return reset();
            const auto from = std::find_if(rows_.begin() + std::ptrdiff_t(i) + 1, rows_.end(),
                                           [&](const auto& row) { return row.id == id; });
            const int at = int(from - rows_.begin());
            beginMoveRows({}, at, at, {}, int(i));
            workflow::ScheduleRow moved = std::move(*from);
            rows_.erase(from);
            rows_.insert(rows_.begin() + std::ptrdiff_t(i), std::move(moved));
            endMoveRows();
            structure = true;
        }
        if (!(rows_[i] == target[i])) {
            rows_[i] = target[i];
            changed.push_back(int(i));
        }
    }
    // Whole rows, never the one cell being edited, whose typed text would be replaced.
    for (int row : changed)
        emit dataChanged(index(row, 0), index(row, Columns - 1));
    if (structure && rowCount() > 0)
        emit dataChanged(index(0, Number), index(rowCount() - 1, Number));
}

int ScheduleModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int ScheduleModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Columns;
}

QVariant ScheduleModel::shown(const workflow::ScheduleRow& row, int number, int column) const {
    if (column < 0 || column >= Columns) return {};
    const std::string separator = DecimalSeparator();
    const workflow::RowAt at{row, std::size_t(number), separator};
    QString text;
    for (const workflow::ScheduleColumn* part : PageColumns()[std::size_t(column)].parts) {
        const std::string shown = part->text(at);
        if (shown.empty()) continue;
        if (!text.isEmpty()) text += QStringLiteral(" — ");
        text += Text(shown);
    }
    return text;
}

QVariant ScheduleModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= Columns) return {};
    const workflow::ScheduleRow& row = rows_[std::size_t(index.row())];
    const int column = index.column();
    const auto& parts = PageColumns()[std::size_t(column)].parts;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return shown(row, index.row() + 1, column);
    case Qt::EditRole:
        return column == Tag ? QVariant(Text(row.tag)) : QVariant();
    case SortRole:
        for (const workflow::ScheduleColumn* part : parts)
            if (part->order) return part->order({row, std::size_t(index.row()) + 1, {}});
        return shown(row, index.row() + 1, column);
    case Qt::ForegroundRole:
        for (const workflow::ScheduleColumn* part : parts)
            if (part->accented && part->accented(row)) return QColor(Colors::Accent);
        return {};
    case Qt::TextAlignmentRole:
        if (parts.front()->figure) return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant ScheduleModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section < 0 || section >= Columns) return {};
    return Text(PageColumns()[std::size_t(section)].heading);
}

Qt::ItemFlags ScheduleModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == Tag) flags |= Qt::ItemIsEditable;
    return flags;
}

bool ScheduleModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.column() != Tag) return false;
    const QString tag = value.toString().trimmed();
    const workflow::ScheduleRow& row = rows_[std::size_t(index.row())];
    if (tag.toStdString() == row.tag) return false;
    emit tagEdited(quint64(row.id), tag);
    return true;
}
