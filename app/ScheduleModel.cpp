#include "ScheduleModel.h"

#include "Colors.h"
#include "Utf8Text.h"

#include <QColor>
#include <QLocale>

#include <algorithm>
#include <functional>

ScheduleModel::ScheduleModel(QObject* parent)
    : QAbstractTableModel(parent) {}

void ScheduleModel::add(workflow::ScheduleRow row) {
    const int at = rowCount();
    beginInsertRows({}, at, at);
    schedule_.Add(std::move(row));
    endInsertRows();
    emit changed();
}

void ScheduleModel::append(std::vector<workflow::ScheduleRow> rows) {
    if (rows.empty()) return;
    const int at = rowCount();
    beginInsertRows({}, at, at + int(rows.size()) - 1);
    for (workflow::ScheduleRow& row : rows)
        schedule_.Add(std::move(row));
    endInsertRows();
    emit changed();
}

void ScheduleModel::remove(std::vector<int> rows) {
    if (rows.empty()) return;
    // From the last, so that the positions still to go stay valid.
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (int row : rows) {
        if (row < 0 || row >= rowCount()) continue;
        beginRemoveRows({}, row, row);
        schedule_.Remove(std::size_t(row));
        endRemoveRows();
    }
    // The numbers of the rows below have changed.
    if (rowCount() > 0) emit dataChanged(index(0, Number), index(rowCount() - 1, Number));
    emit changed();
}

bool ScheduleModel::move(int row, int direction) {
    if (row < 0 || row >= rowCount()) return false;
    const int other = row + direction;
    if (other < 0 || other >= rowCount()) return false;
    // Qt wants the destination before which the moved row lands.
    beginMoveRows({}, row, row, {}, direction > 0 ? other + 1 : other);
    schedule_.Move(std::size_t(row), direction);
    endMoveRows();
    emit dataChanged(index(std::min(row, other), Number), index(std::max(row, other), Number));
    emit changed();
    return true;
}

void ScheduleModel::clear() {
    beginResetModel();
    schedule_.Clear();
    endResetModel();
    emit changed();
}

void ScheduleModel::replace(std::vector<workflow::ScheduleRow> rows) {
    beginResetModel();
    schedule_.Replace(std::move(rows));
    endResetModel();
}

void ScheduleModel::open(std::vector<workflow::ScheduleRow> rows) {
    replace(std::move(rows));
    emit changed();
}

int ScheduleModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(schedule_.Size());
}

int ScheduleModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Columns;
}

QVariant ScheduleModel::shown(const workflow::ScheduleRow& row, int number, int column) const {
    const QLocale locale;
    switch (column) {
    case Number:
        return number;
    case Tag:
        return Text(row.tag);
    case Kind:
        return Text(workflow::KindCaption(row.kind));
    case Object:
        return Text(row.object);
    case Material:
        return Text(row.material);
    case Inputs:
        return Text(workflow::InputsText(row));
    case Required:
        return row.Calculated() ? locale.toString(row.requiredMm, 'f', 1)
                                : Text(workflow::NoResultText);
    case Accepted:
        return row.Calculated() ? locale.toString(row.acceptedMm) : Text(workflow::NoResultText);
    case Check:
        return Text(workflow::CheckFiguresOf(row)) + QStringLiteral(" — ") +
               Text(workflow::CheckVerdictOf(row));
    default:
        return {};
    }
}

QVariant ScheduleModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const workflow::ScheduleRow& row = schedule_.Rows()[std::size_t(index.row())];
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return shown(row, index.row() + 1, column);
    case Qt::EditRole:
        return column == Tag ? QVariant(Text(row.tag)) : QVariant();
    case SortRole:
        if (column == Number) return index.row();
        if (column == Kind) return row.kind;
        if (column == Required) return row.requiredMm;
        if (column == Accepted) return row.acceptedMm;
        if (column == Check) return int(row.checkState);
        return shown(row, index.row() + 1, column);
    case Qt::ForegroundRole:
        if (column == Check && workflow::CheckAccented(row.checkState))
            return QColor(Colors::Accent);
        return {};
    case Qt::TextAlignmentRole:
        if (column == Number || column == Required || column == Accepted)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant ScheduleModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const Headers[Columns] = {
        "№",        "Обозначение",     "Вид расчёта",           "Объект",
        "Материал", "Исходные данные", "Толщина расчётная, мм", "Толщина принятая, мм",
        "Проверка"};
    return section >= 0 && section < Columns ? QString::fromUtf8(Headers[section]) : QVariant();
}

Qt::ItemFlags ScheduleModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == Tag) flags |= Qt::ItemIsEditable;
    return flags;
}

bool ScheduleModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.column() != Tag) return false;
    const std::string tag = value.toString().trimmed().toStdString();
    if (tag == schedule_.Rows()[std::size_t(index.row())].tag) return false;
    schedule_.SetTag(std::size_t(index.row()), tag);
    emit dataChanged(index, index);
    emit changed();
    return true;
}
