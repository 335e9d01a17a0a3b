#include "ScheduleOperations.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace workflow {

namespace {

ScheduleStep StepOf(ScheduleStep::Kind kind) {
    ScheduleStep step;
    step.kind = kind;
    return step;
}

} // namespace

ScheduleOperation AddRows(std::vector<ScheduleRow> rows) {
    if (rows.empty()) return {};
    ScheduleStep insert = StepOf(ScheduleStep::Kind::Insert);
    for (ScheduleRow& row : rows)
        insert.rows.emplace_back().row = std::move(row); // at the end
    return {{std::move(insert)}};
}

ScheduleOperation DeleteRows(std::vector<RowId> ids) {
    if (ids.empty()) return {};
    ScheduleStep remove = StepOf(ScheduleStep::Kind::Remove);
    remove.ids = std::move(ids);
    return {{std::move(remove)}};
}

ScheduleOperation MoveRowBy(RowId id, int direction) {
    ScheduleStep move = StepOf(ScheduleStep::Kind::Move);
    move.id = id;
    move.direction = direction;
    return {{std::move(move)}};
}

ScheduleOperation TagRow(RowId id, std::string tag) {
    ScheduleStep step = StepOf(ScheduleStep::Kind::Tag);
    step.id = id;
    step.tag = std::move(tag);
    return {{std::move(step)}};
}

ScheduleOperation ClearAllRows() {
    return {{StepOf(ScheduleStep::Kind::Clear)}};
}

ScheduleOperation ReplaceAllRows(std::vector<ScheduleRow> rows) {
    ScheduleOperation operation = ClearAllRows();
    for (ScheduleStep& step : AddRows(std::move(rows)).steps)
        operation.steps.push_back(std::move(step));
    return operation;
}

Schedule::Schedule(std::vector<ScheduleRow> rows, RowId nextId)
    : rows_(std::move(rows))
    , nextId_(std::max<RowId>(nextId, 1)) {
    for (const ScheduleRow& row : rows_)
        if (row.id != NoRowId) nextId_ = std::max(nextId_, row.id + 1);
    std::unordered_set<RowId> seen;
    for (ScheduleRow& row : rows_)
        if (row.id == NoRowId || !seen.insert(row.id).second) row.id = NewId();
}

std::optional<std::size_t> Schedule::PositionOf(RowId id) const {
    const auto at = std::ranges::find(rows_, id, &ScheduleRow::id);
    if (at == rows_.end()) return std::nullopt;
    return std::size_t(at - rows_.begin());
}

ScheduleOperation Schedule::Apply(const ScheduleOperation& operation) {
    std::vector<ScheduleStep> undo;
    for (const ScheduleStep& step : operation.steps)
        Apply(step, undo);
    std::ranges::reverse(undo);
    return {std::move(undo)};
}

void Schedule::Apply(const ScheduleStep& step, std::vector<ScheduleStep>& undo) {
    switch (step.kind) {
    case ScheduleStep::Kind::Insert:
        return Insert(step, undo);
    case ScheduleStep::Kind::Remove:
        return Remove(step.ids, undo);
    case ScheduleStep::Kind::Clear: {
        std::vector<RowId> all;
        all.reserve(rows_.size());
        for (const ScheduleRow& row : rows_)
            all.push_back(row.id);
        return Remove(all, undo);
    }
    case ScheduleStep::Kind::Move: {
        const std::optional<std::size_t> at = PositionOf(step.id);
        if (!at || (step.direction != -1 && step.direction != 1)) return;
        if (step.direction < 0 ? *at == 0 : *at + 1 >= rows_.size()) return;
        std::swap(rows_[*at], rows_[std::size_t(std::ptrdiff_t(*at) + step.direction)]);
        undo.push_back(MoveRowBy(step.id, -step.direction).steps.front());
        return;
    }
    case ScheduleStep::Kind::Tag: {
        const std::optional<std::size_t> at = PositionOf(step.id);
        if (!at || rows_[*at].tag == step.tag) return;
        undo.push_back(TagRow(step.id, std::exchange(rows_[*at].tag, step.tag)).steps.front());
        return;
    }
    }
}

// One pass over the list, so that putting back thousands of rows costs no more than
// reading them: a row goes before its anchor, or, with the anchor gone, where the list has
// grown to its position.
void Schedule::Insert(const ScheduleStep& insert, std::vector<ScheduleStep>& undo) {
    if (insert.rows.empty()) return;
    std::unordered_set<RowId> existing;
    existing.reserve(rows_.size());
    for (const ScheduleRow& row : rows_)
        existing.insert(row.id);

    std::vector<ScheduleRow> added;
    added.reserve(insert.rows.size());
    std::unordered_set<RowId> addedIds;
    std::unordered_map<RowId, std::vector<std::size_t>> beforeRow; // anchor -> added rows
    std::vector<std::pair<std::size_t, std::size_t>> atPosition;   // position, added row
    ScheduleStep inverse = StepOf(ScheduleStep::Kind::Remove);
    for (const PlacedRow& placed : insert.rows) {
        ScheduleRow row = placed.row;
        if (insert.keepIds && row.id != NoRowId && !existing.contains(row.id) &&
            !addedIds.contains(row.id))
            nextId_ = std::max(nextId_, row.id + 1);
        else
            row.id = NewId();
        addedIds.insert(row.id);
        inverse.ids.push_back(row.id);
        if (existing.contains(placed.before))
            beforeRow[placed.before].push_back(added.size());
        else
            atPosition.emplace_back(placed.position, added.size());
        added.push_back(std::move(row));
    }
    std::ranges::stable_sort(atPosition, {}, &std::pair<std::size_t, std::size_t>::first);

    std::vector<ScheduleRow> result;
    result.reserve(rows_.size() + added.size());
    auto due = atPosition.begin();
    const auto emitDue = [&] {
        for (; due != atPosition.end() && due->first <= result.size(); ++due)
            result.push_back(std::move(added[due->second]));
    };
    for (ScheduleRow& row : rows_) {
        emitDue();
        if (const auto anchored = beforeRow.find(row.id); anchored != beforeRow.end())
            for (std::size_t index : anchored->second)
                result.push_back(std::move(added[index]));
        result.push_back(std::move(row));
    }
    for (; due != atPosition.end(); ++due)
        result.push_back(std::move(added[due->second]));
    rows_ = std::move(result);
    undo.push_back(std::move(inverse));
}

void Schedule::Remove(const std::vector<RowId>& ids, std::vector<ScheduleStep>& undo) {
    const std::unordered_set<RowId> gone(ids.begin(), ids.end());
    ScheduleStep inverse = StepOf(ScheduleStep::Kind::Insert);
    inverse.keepIds = true;
    std::vector<ScheduleRow> kept;
    kept.reserve(rows_.size());
    std::size_t waiting = 0; // removed rows that wait for the next kept row as their anchor
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (gone.contains(rows_[i].id)) {
            inverse.rows.push_back(PlacedRow{std::move(rows_[i]), NoRowId, i});
            ++waiting;
            continue;
        }
        for (; waiting > 0; --waiting)
            inverse.rows[inverse.rows.size() - waiting].before = rows_[i].id;
        kept.push_back(std::move(rows_[i]));
    }
    rows_ = std::move(kept);
    if (!inverse.rows.empty()) undo.push_back(std::move(inverse));
}

} // namespace workflow
