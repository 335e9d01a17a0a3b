// The schedule's rows and every change of them as one operation. Operations name rows by
// their ids, not by their places, so that an operation made in one window still hits the
// right rows after another window has changed the list; applying one gives the operation
// that undoes it.
#pragma once

#include "Schedule.h"

#include <cstddef>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

namespace workflow {

// A row to put back or to add, and where: before the row `before` while that row is there,
// otherwise at `position` (or at the end, when the list has become shorter).
struct PlacedRow {
    ScheduleRow row;
    RowId before = NoRowId;
    std::size_t position = std::numeric_limits<std::size_t>::max();
    bool operator==(const PlacedRow&) const = default;
};

// One step of a change. New rows get new ids; rows put back by an undo keep theirs
// (`keepIds`), which nothing else has been given since (ids only grow), so that a later
// redo or another window still finds them.
struct ScheduleStep {
    enum class Kind {
        Insert, // `rows`
        Remove, // the rows `ids`
        Move,   // the row `id` one place up (`direction` -1) or down (+1)
        Tag,    // the row `id` gets `tag`
        Clear,  // every row
    };
    Kind kind = Kind::Clear;
    std::vector<PlacedRow> rows;
    bool keepIds = false;
    std::vector<RowId> ids;
    RowId id = NoRowId;
    int direction = 0;
    std::string tag;
    bool operator==(const ScheduleStep&) const = default;
};

// Steps applied in order, as one change of the file.
struct ScheduleOperation {
    std::vector<ScheduleStep> steps;
    bool Empty() const { return steps.empty(); }
    bool operator==(const ScheduleOperation&) const = default;
};

// The user's changes: a calculation added (Ctrl+D), rows of an import after the others,
// the rows chosen deleted, one moved, a tag given, the list cleared, or replaced by the
// rows of a file opened.
ScheduleOperation AddRows(std::vector<ScheduleRow> rows);
ScheduleOperation DeleteRows(std::vector<RowId> ids);
ScheduleOperation MoveRowBy(RowId id, int direction);
ScheduleOperation TagRow(RowId id, std::string tag);
ScheduleOperation ClearAllRows();
ScheduleOperation ReplaceAllRows(std::vector<ScheduleRow> rows);

// The rows in the user's order, each with an id of its own.
class Schedule {
public:
    // Rows without an id, or with one an earlier row has, get new ids after the largest,
    // in their order, so that every reader of the same file gives the same ids.
    explicit Schedule(std::vector<ScheduleRow> rows = {}, RowId nextId = 1);

    const std::vector<ScheduleRow>& Rows() const { return rows_; }
    std::vector<ScheduleRow> TakeRows() && { return std::move(rows_); }
    std::size_t Size() const { return rows_.size(); }
    // Greater than every id the list has given; kept with the rows.
    RowId NextId() const { return nextId_; }
    // The row's place; none when the list has no such row.
    std::optional<std::size_t> PositionOf(RowId id) const;

    // Applies the steps in order and gives the operation that undoes what they did. A
    // step that names a row the list no longer has does nothing for that row.
    ScheduleOperation Apply(const ScheduleOperation& operation);

private:
    void Apply(const ScheduleStep& step, std::vector<ScheduleStep>& undo);
    void Insert(const ScheduleStep& insert, std::vector<ScheduleStep>& undo);
    void Remove(const std::vector<RowId>& ids, std::vector<ScheduleStep>& undo);
    RowId NewId() { return nextId_++; }

    std::vector<ScheduleRow> rows_;
    RowId nextId_ = 1;
};

} // namespace workflow
