// The schedule page: the rows of the schedule in a table that sorts by any column, with the
// commands that edit the list and the ones that open, save, print and export it. Every edit
// is one operation on the schedule's file, kept on an undo stack: «Отменить» (Ctrl+Z) undoes
// it, again as an operation on the file, so that a row deleted by mistake is never lost.
#pragma once

#include "ScheduleOperations.h"

#include <QWidget>

#include <functional>
#include <vector>

class QLabel;
class QMenu;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class QUndoStack;
class ScheduleModel;

class SchedulePage : public QWidget {
    Q_OBJECT
public:
    SchedulePage(ScheduleModel& model, QWidget* parent = nullptr);

    QTableView* table() const { return table_; }
    // The page's stops in Tab's order: its rows from the top, each from the left.
    const std::vector<QWidget*>& TabStops() const { return tabStops_; }
    QUndoStack* undoStack() const { return undo_; }

    // Seam for tests: the file a command reads (save false) or writes; empty: cancelled. By
    // default a file dialog; where `filter` offers several kinds, `chosen` (when given)
    // receives the one the user took.
    std::function<QString(const QString& caption, const QString& filter, const QString& suggested,
                          bool save, QString* chosen)>
        askPath;

    // Applies a change to the schedule's file and keeps it for «Отменить»; a box on
    // `boxParent` (or the page) says what went wrong. False when nothing changed.
    bool Perform(workflow::ScheduleOperation operation, const QString& what,
                 QWidget* boxParent = nullptr);
    void Undo();
    void Redo();

    // The rows chosen in the table, as rows of the schedule.
    std::vector<int> SelectedRows() const;
    void DeleteSelected();
    void MoveSelected(int direction);
    void ClearAll();
    // The page works in one schedule file at a time, and each change goes straight into it:
    // the program's own working file at first, then one made, opened or saved as. A file
    // that cannot be opened is refused and the file shown stays.
    void New();
    void Open();
    void OpenFile(const QString& path);
    void SaveAs();
    void Print();
    void SavePdf();
    void ExportCsv();
    // Each line of a table asked for, or given, calculated and added; one box tells how it
    // went.
    void ImportCsv();
    void ImportFile(const QString& path);
    void SaveImportTemplate();

signals:
    // A row's calculation is to be shown again in its kind's page.
    void rowActivated(int row);
    // What an undo or a redo did, for the status line.
    void undone(const QString& text);
    // The file the page works in now, by name; empty for the program's own working file.
    void fileShown(const QString& name);

private:
    QPushButton* AddButton(const char* objectName, const QString& text, const QString& toolTip);
    // The page's rows from now on those of the file at `path`.
    void WorkIn(const QString& path);
    QString ShownFileName() const;
    void ShowFileName();
    void FillRecent();
    void SelectRow(int row);
    friend class ScheduleCommand;
    // Runs one side of an undo command; false when the file could not be changed.
    bool Run(const workflow::ScheduleOperation& operation, workflow::ScheduleOperation& inverse,
             QWidget* boxParent);

    ScheduleModel& model_;
    QSortFilterProxyModel* sorted_;
    QTableView* table_;
    QUndoStack* undo_;
    QLabel* fileName_;
    QMenu* recent_;
    // A failed undo or redo is stepped back over without running it again.
    bool replaying_ = false;
    bool failed_ = false;
    bool ran_ = false; // the last operation was applied
    QString toldError_;
    std::vector<workflow::RowId> keptSelection_; // over a reset of the table
    std::vector<QWidget*> tabStops_;
};
