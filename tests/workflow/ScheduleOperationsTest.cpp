#include "ScheduleOperations.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace workflow;

ScheduleRow Tagged(const std::string& tag) {
    ScheduleRow row;
    row.tag = tag;
    return row;
}

// The tags in order: "abc".
std::string Tags(const Schedule& s) {
    std::string all;
    for (const ScheduleRow& row : s.Rows())
        all += row.tag;
    return all;
}

Schedule Letters(const std::string& letters) {
    std::vector<ScheduleRow> rows;
    for (std::size_t i = 0; i < letters.size(); ++i)
        rows.push_back(Tagged(letters.substr(i, 1)));
    return Schedule(std::move(rows));
}

RowId IdOf(const Schedule& s, const std::string& tag) {
    for (const ScheduleRow& row : s.Rows())
        if (row.tag == tag) return row.id;
    return NoRowId;
}

TEST(ScheduleOperations, RowsGetIdsInTheirOrderAndNoIdIsEverGivenTwice) {
    std::vector<ScheduleRow> rows = {Tagged("a"), Tagged("b"), Tagged("c"), Tagged("d")};
    rows[1].id = 7;
    rows[2].id = 7; // a copy of a row: it gets one of its own
    const Schedule read(rows, 3);
    std::vector<RowId> ids;
    for (const ScheduleRow& row : read.Rows())
        ids.push_back(row.id);
    EXPECT_EQ(ids, (std::vector<RowId>{8, 7, 9, 10}));
    EXPECT_EQ(read.NextId(), 11u);

    // The largest id deleted is not given again: a window that still shows it must not hit
    // another row through it.
    Schedule s = Letters("ab");
    const RowId b = IdOf(s, "b");
    s.Apply(DeleteRows({b}));
    s.Apply(AddRows({Tagged("c")}));
    EXPECT_GT(IdOf(s, "c"), b);
    s.Apply(TagRow(b, "x"));
    EXPECT_EQ(Tags(s), "ac");
}

// Each change undone gives the list back as it was, ids included, and the undo undone
// gives the change again.
TEST(ScheduleOperations, EveryChangeIsUndoneAndRedoneExactly) {
    const Schedule start = Letters("abcde");
    const auto id = [&](const char* tag) { return IdOf(start, tag); };
    struct Case {
        const char* name;
        ScheduleOperation operation;
        const char* after;
    };
    const Case cases[] = {
        {"delete a run", DeleteRows({id("b"), id("c")}), "ade"},
        {"delete scattered, last included", DeleteRows({id("a"), id("c"), id("e")}), "bd"},
        {"delete a row gone", DeleteRows({id("b"), 999}), "acde"},
        {"clear", ClearAllRows(), ""},
        {"move up", MoveRowBy(id("c"), -1), "acbde"},
        {"move down", MoveRowBy(id("d"), +1), "abced"},
        {"move past the top", MoveRowBy(id("a"), -1), "abcde"},
        {"move past the end", MoveRowBy(id("e"), +1), "abcde"},
        {"tag", TagRow(id("b"), "T1-108"), "aT1-108cde"},
        {"add", AddRows({Tagged("f"), Tagged("g")}), "abcdefg"},
        {"replace", ReplaceAllRows({Tagged("z")}), "z"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Schedule s = start;
        const ScheduleOperation undo = s.Apply(c.operation);
        EXPECT_EQ(Tags(s), c.after);
        const Schedule changed = s;
        const ScheduleOperation redo = s.Apply(undo);
        EXPECT_EQ(s.Rows(), start.Rows());
        s.Apply(redo);
        EXPECT_EQ(s.Rows(), changed.Rows());
    }
}

// Another window changed the file between a change and its undo: operations still hit
// their rows, and a row put back goes before the row that followed it.
TEST(ScheduleOperations, ChangesHitTheirRowsAfterAnotherWindowChangedTheList) {
    Schedule s = Letters("abcd");
    const RowId b = IdOf(s, "b"), c = IdOf(s, "c");
    const ScheduleOperation undoDelete = s.Apply(DeleteRows({b, c}));
    ASSERT_EQ(Tags(s), "ad");

    // The other window adds a row at the end, tags the first and moves the last up.
    s.Apply(AddRows({Tagged("f")}));
    s.Apply(TagRow(IdOf(s, "a"), "z"));
    s.Apply(MoveRowBy(IdOf(s, "d"), -1));
    ASSERT_EQ(Tags(s), "dzf");

    s.Apply(undoDelete);
    EXPECT_EQ(Tags(s), "bcdzf");
    EXPECT_EQ(s.Rows()[0].id, b);

    // With the row that followed gone too, the row goes back to its old place.
    Schedule t = Letters("abc");
    const ScheduleOperation undo = t.Apply(DeleteRows({IdOf(t, "b")}));
    t.Apply(DeleteRows({IdOf(t, "c")}));
    t.Apply(AddRows({Tagged("d"), Tagged("e")}));
    t.Apply(undo);
    EXPECT_EQ(Tags(t), "abde");
}

TEST(ScheduleOperations, ClearingThousandsAndPuttingThemBackKeepsTheOrder) {
    std::string letters;
    for (int i = 0; i < 5000; ++i)
        letters += char('a' + i % 26);
    Schedule s = Letters(letters);
    const std::vector<ScheduleRow> before = s.Rows();
    const ScheduleOperation undo = s.Apply(ClearAllRows());
    EXPECT_EQ(s.Size(), 0u);
    s.Apply(undo);
    EXPECT_EQ(s.Rows(), before);
}

} // namespace
