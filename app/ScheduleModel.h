// The schedule as a table for the schedule page: one row per calculation, in the user's
// order, the tag editable in place. The rows are those of the schedule's file: every change
// is an operation on the file (schedule::ScheduleStore), and what other windows write there
// is shown within a second, row by row, so that the selection and a tag being typed stay.
#pragma once

#include "ScheduleStore.h"

#include <QAbstractTableModel>
#include <QFileSystemWatcher>
#include <QTimer>

#include <vector>

class ScheduleModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The columns are those the schedule's column table shows on the page; these are the
    // ones the page and its tests name.
    static const int Number, Tag, Object, Inputs, Accepted, Check, Columns;
    // What the columns sort by: the number, not the text shown.
    static constexpr int SortRole = Qt::UserRole;

    // The rows of the file at `path`, watched from now on; an empty path keeps them in
    // memory only. Nothing is read before Refresh.
    explicit ScheduleModel(const QString& path, QObject* parent = nullptr);

    const std::vector<workflow::ScheduleRow>& Rows() const { return rows_; }
    workflow::RowId IdAt(int row) const;
    // The row of that id; -1 when the schedule has none.
    int RowOf(workflow::RowId id) const;

    struct Outcome {
        bool applied = false;
        workflow::ScheduleOperation undo;
        QString error; // for a box
    };
    // Applies the operation to the file's current content and shows the result.
    Outcome Apply(const workflow::ScheduleOperation& operation);
    // Shows the file as it is now; an error for a box.
    QString Refresh();
    // The rows of another file from now on, watched and read at once; an error for a box.
    QString SwitchTo(const QString& path, schedule::FileOwner owner);
    const QString& Path() const { return store_.Path(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A tag typed in the table is asked for (tagEdited), not made here: it is an operation
    // like any other.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    void tagEdited(quint64 id, const QString& tag);
    // A problem with the file found while looking at it (set aside, unreadable).
    void fileProblem(const QString& text);
    // The model shows another file now.
    void fileSwitched();

private:
    QVariant shown(const workflow::ScheduleRow& row, int number, int column) const;
    // Turns the rows shown into `target` one step at a time: removed, moved, inserted and
    // changed rows, each announced as such.
    void Show(const std::vector<workflow::ScheduleRow>& target);
    void Watch();

    schedule::ScheduleStore store_;
    std::vector<workflow::ScheduleRow> rows_;
    QFileSystemWatcher watcher_;
    QTimer refresh_;
};
