// The schedule page: the rows of the schedule in a table that sorts by any column, with the
// commands that edit the list and the ones that open, save, print and export it.
#pragma once

#include <QWidget>

#include <functional>

class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class ScheduleModel;

class SchedulePage : public QWidget {
    Q_OBJECT
public:
    SchedulePage(ScheduleModel& model, QWidget* parent = nullptr);

    QTableView* table() const { return table_; }

    // Seam for tests: the file a command reads (save false) or writes; empty: cancelled. By
    // default a file dialog.
    std::function<QString(const QString& caption, const QString& filter, const QString& suggested,
                          bool save)>
        askPath;

    // The rows chosen in the table, as rows of the schedule.
    std::vector<int> SelectedRows() const;
    void DeleteSelected();
    void MoveSelected(int direction);
    void ClearAll();
    void Open();
    void OpenFile(const QString& path);
    void SaveAs();
    void Print();
    void SavePdf();
    void ExportCsv();
    // Each line of a table calculated and added; one box tells how it went.
    void ImportCsv();
    void ImportFile(const QString& path);
    void SaveImportTemplate();

signals:
    // A row's calculation is to be shown again in its kind's page.
    void rowActivated(int row);

private:
    QPushButton* AddButton(const char* objectName, const QString& text, const QString& toolTip);
    void SelectRow(int row);

    ScheduleModel& model_;
    QSortFilterProxyModel* sorted_;
    QTableView* table_;
};
