// The schedule as a table for the schedule page: one row per calculation, in the user's
// order, the tag editable in place. Every change the user makes is announced, so that the
// window keeps the schedule's file up to date.
#pragma once

#include "Schedule.h"

#include <QAbstractTableModel>

#include <vector>

class ScheduleModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Number, Tag, Kind, Object, Material, Inputs, Required, Accepted, Check, Columns };
    // What the columns sort by: the number, not the text shown.
    static constexpr int SortRole = Qt::UserRole;

    explicit ScheduleModel(QObject* parent = nullptr);

    const workflow::Schedule& schedule() const { return schedule_; }

    void add(workflow::ScheduleRow row);
    // Rows of an import, after the others; announced once.
    void append(std::vector<workflow::ScheduleRow> rows);
    void remove(std::vector<int> rows);
    // One place up (-1) or down (+1); false when the row is at that end.
    bool move(int row, int direction);
    void clear();
    // The rows of the schedule's own file, read at start: nothing announced.
    void replace(std::vector<workflow::ScheduleRow> rows);
    // The rows of a file the user opened: they replace the schedule, announced.
    void open(std::vector<workflow::ScheduleRow> rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    void changed();

private:
    QVariant shown(const workflow::ScheduleRow& row, int number, int column) const;

    workflow::Schedule schedule_;
};
