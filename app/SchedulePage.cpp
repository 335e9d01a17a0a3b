#include "SchedulePage.h"

#include "MessageBoxes.h"
#include "ScheduleFile.h"
#include "ScheduleModel.h"
#include "SchedulePrint.h"
#include "Utf8Text.h"

#include <QDate>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString Caption = QStringLiteral("Ведомость расчётов");
// More would not fit a message box on the screen.
constexpr std::size_t ShownUnreadLines = 15;

} // namespace

SchedulePage::SchedulePage(ScheduleModel& model, QWidget* parent)
    : QWidget(parent)
    , model_(model) {
    askPath = [this](const QString& caption, const QString& filter, const QString& suggested,
                     bool save) {
        return save ? QFileDialog::getSaveFileName(this, caption, suggested, filter)
                    : QFileDialog::getOpenFileName(this, caption, suggested, filter);
    };

    sorted_ = new QSortFilterProxyModel(this);
    sorted_->setSourceModel(&model_);
    sorted_->setSortRole(ScheduleModel::SortRole);

    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("ScheduleTable"));
    table_->setModel(sorted_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(ScheduleModel::Number, Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    // Each column as wide as what it shows, headings included; the inputs, a paragraph, start
    // at a width of their own; the check takes the rest.
    QHeaderView* header = table_->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(ScheduleModel::Inputs, QHeaderView::Interactive);
    table_->setColumnWidth(ScheduleModel::Inputs, 180);
    header->setSectionResizeMode(ScheduleModel::Check, QHeaderView::Stretch);
    // A double click on the tag edits it; anywhere else it opens the calculation.
    connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.column() == ScheduleModel::Tag) return;
        emit rowActivated(sorted_->mapToSource(index).row());
    });
    auto* del = new QShortcut(QKeySequence::Delete, table_);
    del->setContext(Qt::WidgetShortcut);
    connect(del, &QShortcut::activated, this, &SchedulePage::DeleteSelected);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    auto* edit = new QHBoxLayout;
    layout->addLayout(edit);
    auto* imports = new QHBoxLayout;
    layout->addWidget(table_, 1);
    auto* files = new QHBoxLayout;
    layout->addLayout(files);

    struct Command {
        QHBoxLayout* row;
        const char* name;
        QString text, toolTip;
        std::function<void()> run;
    };
    const Command commands[] = {
        {edit, "ScheduleUp", QStringLiteral("Вверх"), QStringLiteral("Передвинуть строку вверх"),
         [this] { MoveSelected(-1); }},
        {edit, "ScheduleDown", QStringLiteral("Вниз"), QStringLiteral("Передвинуть строку вниз"),
         [this] { MoveSelected(+1); }},
        {edit, "ScheduleDelete", QStringLiteral("Удалить"),
         QStringLiteral("Удалить выбранные строки (Del)"), [this] { DeleteSelected(); }},
        {edit, "ScheduleClear", QStringLiteral("Очистить..."),
         QStringLiteral("Удалить все строки ведомости"), [this] { ClearAll(); }},
        {files, "ScheduleOpen", QStringLiteral("Открыть..."),
         QStringLiteral("Открыть ведомость из файла"), [this] { Open(); }},
        {files, "ScheduleSaveAs", QStringLiteral("Сохранить как..."),
         QStringLiteral("Сохранить ведомость в файл"), [this] { SaveAs(); }},
        {files, "SchedulePrint", QStringLiteral("Печать..."),
         QStringLiteral("Напечатать ведомость на листах A4"), [this] { Print(); }},
        {files, "SchedulePdf", QStringLiteral("Сохранить в PDF..."),
         QStringLiteral("Сохранить ведомость в файл PDF"), [this] { SavePdf(); }},
        {files, "ScheduleCsv", QStringLiteral("Экспорт CSV..."),
         QStringLiteral("Таблица для электронных таблиц (Excel, LibreOffice)"),
         [this] { ExportCsv(); }},
        {imports, "ScheduleImport", QStringLiteral("Импорт CSV..."),
         QStringLiteral("Рассчитать строки таблицы CSV и добавить их в ведомость"),
         [this] { ImportCsv(); }},
        {imports, "ScheduleTemplate", QStringLiteral("Шаблон для импорта..."),
         QStringLiteral(
             "Сохранить таблицу CSV с нужными столбцами и примером каждого вида расчёта"),
         [this] { SaveImportTemplate(); }},
    };
    for (const Command& command : commands) {
        QPushButton* button = AddButton(command.name, command.text, command.toolTip);
        command.row->addWidget(button);
        connect(button, &QPushButton::clicked, this, command.run);
    }
    edit->addStretch(1);
    edit->addLayout(imports);
    files->addStretch(1);
}

QPushButton* SchedulePage::AddButton(const char* objectName, const QString& text,
                                     const QString& toolTip) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setToolTip(toolTip);
    button->setAutoDefault(false);
    return button;
}

std::vector<int> SchedulePage::SelectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        rows.push_back(sorted_->mapToSource(index).row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void SchedulePage::SelectRow(int row) {
    const QModelIndex index = sorted_->mapFromSource(model_.index(row, ScheduleModel::Number));
    table_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                         QItemSelectionModel::Rows);
}

void SchedulePage::DeleteSelected() {
    const std::vector<int> rows = SelectedRows();
    if (rows.empty()) return;
    model_.remove(rows);
    if (model_.rowCount() > 0) SelectRow(std::min(rows.front(), model_.rowCount() - 1));
}

void SchedulePage::MoveSelected(int direction) {
    const std::vector<int> rows = SelectedRows();
    if (rows.size() != 1) return;
    // Moving is about the user's order, which the number column shows.
    table_->sortByColumn(ScheduleModel::Number, Qt::AscendingOrder);
    if (model_.move(rows.front(), direction)) SelectRow(rows.front() + direction);
}

void SchedulePage::ClearAll() {
    if (model_.rowCount() == 0) return;
    if (!AskYesNo(this,
                  QStringLiteral("Удалить все строки ведомости (%1)? Это действие нельзя отменить.")
                      .arg(model_.rowCount()),
                  Caption))
        return;
    model_.clear();
}

void SchedulePage::Open() {
    const QString path = askPath(QStringLiteral("Открыть ведомость"),
                                 QStringLiteral("Ведомость (*.json)"), QString(), false);
    if (!path.isEmpty()) OpenFile(path);
}

void SchedulePage::OpenFile(const QString& path) {
    if (model_.rowCount() > 0 &&
        !AskYesNo(this,
                  QStringLiteral("Заменить строки ведомости (%1) строками из файла?")
                      .arg(model_.rowCount()),
                  Caption))
        return;
    schedule::LoadResult loaded = schedule::LoadSchedule(path);
    if (!loaded.error.isEmpty()) {
        ShowMessageBox(this, loaded.error, Caption);
        return;
    }
    model_.open(std::move(loaded.rows));
}

void SchedulePage::SaveAs() {
    const QString path =
        askPath(QStringLiteral("Сохранить ведомость"), QStringLiteral("Ведомость (*.json)"),
                QStringLiteral("Ведомость.json"), true);
    if (path.isEmpty()) return;
    const QString error = schedule::SaveSchedule(path, model_.schedule().Rows());
    if (!error.isEmpty()) ShowMessageBox(this, error, Caption);
}

void SchedulePage::Print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(reports::SchedulePageLayout());
    // Named before the dialog, which offers the name for printing to a file.
    printer.setDocName(reports::ScheduleTitle(QDate::currentDate()));
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    // Hundreds of rows take a second or more to lay out.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    reports::PrintSchedule(printer, model_.schedule().Rows(), QDate::currentDate());
    QGuiApplication::restoreOverrideCursor();
}

void SchedulePage::SavePdf() {
    const QDate today = QDate::currentDate();
    const QString path =
        askPath(QStringLiteral("Сохранить ведомость в PDF"), QStringLiteral("PDF (*.pdf)"),
                reports::ScheduleTitle(today) + QStringLiteral(".pdf"), true);
    if (path.isEmpty()) return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool written = reports::WriteSchedulePdf(path, model_.schedule().Rows(), today);
    QGuiApplication::restoreOverrideCursor();
    if (!written)
        ShowMessageBox(this, QStringLiteral("Не удалось записать файл %1").arg(path), Caption);
}

void SchedulePage::ExportCsv() {
    const QString path =
        askPath(QStringLiteral("Экспорт ведомости в CSV"), QStringLiteral("CSV (*.csv)"),
                QStringLiteral("Ведомость.csv"), true);
    if (path.isEmpty()) return;
    const QString error = schedule::WriteScheduleCsv(path, model_.schedule().Rows());
    if (!error.isEmpty()) ShowMessageBox(this, error, Caption);
}

void SchedulePage::ImportCsv() {
    const QString path =
        askPath(QStringLiteral("Импорт таблицы расчётов"),
                QStringLiteral("CSV (*.csv *.txt);;Все файлы (*)"), QString(), false);
    if (!path.isEmpty()) ImportFile(path);
}

void SchedulePage::ImportFile(const QString& path) {
    QProgressDialog progress(QStringLiteral("Расчёт строк таблицы..."), QStringLiteral("Отмена"), 0,
                             100, this);
    progress.setWindowTitle(Caption);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    progress.setMinimumWidth(360);
    const auto told = [&progress](std::size_t done, std::size_t total) {
        const int percent = total == 0 ? 100 : int(done * 100 / total);
        if (percent != progress.value()) {
            progress.setLabelText(
                QStringLiteral("Расчёт строк таблицы: %1 из %2").arg(done).arg(total));
            progress.setValue(percent);
        }
        return !progress.wasCanceled();
    };
    workflow::ImportResult result =
        schedule::ImportCsvFile(path, QDateTime::currentDateTime(), DecimalSeparator(), told);
    progress.reset();
    if (result.cancelled) return;
    const QString name = QFileInfo(path).fileName();
    if (!result.fileProblem.empty()) {
        ShowMessageBox(
            this,
            QStringLiteral("Файл «%1» не импортирован. %2").arg(name, Text(result.fileProblem)),
            Caption);
        return;
    }
    QString summary = QStringLiteral("Импорт из файла «%1»: %2.")
                          .arg(name, Text(workflow::ImportSummary(result)));
    if (!result.unread.empty())
        summary += QStringLiteral("\n\nНе прочитаны и не добавлены:\n") +
                   Text(workflow::UnreadLines(result, ShownUnreadLines));
    // Thousands of rows take a moment to show and to save.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    model_.append(std::move(result.rows));
    QGuiApplication::restoreOverrideCursor();
    ShowMessageBox(this, summary.trimmed(), Caption);
}

void SchedulePage::SaveImportTemplate() {
    const QString path =
        askPath(QStringLiteral("Сохранить шаблон для импорта"), QStringLiteral("CSV (*.csv)"),
                QStringLiteral("Шаблон для импорта.csv"), true);
    if (path.isEmpty()) return;
    const QString error = schedule::WriteImportTemplate(path);
    if (!error.isEmpty()) ShowMessageBox(this, error, Caption);
}
