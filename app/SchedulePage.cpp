#include "SchedulePage.h"

#include "MessageBoxes.h"
#include "ProgramSettings.h"
#include "ScheduleFile.h"
#include "ScheduleModel.h"
#include "SchedulePrint.h"
#include "Utf8Text.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <QUndoCommand>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>
#include <atomic>

namespace {

const QString Caption = QStringLiteral("Ведомость расчётов");
const QString MovesOnlyInOrderText = QStringLiteral(
    "Строки переставляются в порядке по №: щёлкните заголовок «№», чтобы вернуться к нему");
// More would not fit a message box on the screen.
constexpr std::size_t ShownUnreadLines = 15;

} // namespace

// One change of the schedule on the undo stack: its operation and, once applied, the one
// that undoes it; each undo or redo applies the other to the file and keeps its inverse.
class ScheduleCommand : public QUndoCommand {
public:
    ScheduleCommand(SchedulePage& page, workflow::ScheduleOperation operation, const QString& text,
                    QWidget* boxParent)
        : QUndoCommand(text)
        , page_(page)
        , forward_(std::move(operation))
        , boxParent_(boxParent) {}

    void redo() override {
        if (page_.replaying_) return;
        const bool first = std::exchange(first_, false);
        if (page_.Run(forward_, backward_, first ? boxParent_ : nullptr)) return;
        // A change never made is not kept; a redo that failed is stepped back over.
        if (first)
            setObsolete(true);
        else
            page_.failed_ = true;
    }
    void undo() override {
        if (page_.replaying_) return;
        if (!page_.Run(backward_, forward_, nullptr)) page_.failed_ = true;
    }

private:
    SchedulePage& page_;
    workflow::ScheduleOperation forward_, backward_;
    QWidget* boxParent_;
    bool first_ = true;
};

SchedulePage::SchedulePage(ScheduleModel& model, QWidget* parent)
    : QWidget(parent)
    , model_(model) {
    // Every dialog starts where the last one was answered.
    askPath = [this](const QString& caption, const QString& filter, const QString& suggested,
                     bool save, QString* chosen) {
        const QString start = files::DialogStart(suggested);
        const QString path =
            save ? QFileDialog::getSaveFileName(this, caption, start, filter, chosen)
                 : QFileDialog::getOpenFileName(this, caption, start, filter, chosen);
        if (!path.isEmpty()) files::RememberDialogFolder(path);
        return path;
    };

    undo_ = new QUndoStack(this);
    connect(&model_, &ScheduleModel::tagEdited, this, [this](quint64 id, const QString& tag) {
        Perform(workflow::TagRow(id, tag.toStdString()), QStringLiteral("обозначение строки"));
    });
    // Many rows changed at once by another window reset the table: the same rows stay
    // chosen.
    connect(&model_, &ScheduleModel::modelAboutToBeReset, this, [this] {
        keptSelection_.clear();
        for (int row : SelectedRows())
            keptSelection_.push_back(model_.IdAt(row));
    });
    connect(&model_, &ScheduleModel::modelReset, this, [this] {
        for (workflow::RowId id : keptSelection_)
            if (const int row = model_.RowOf(id); row >= 0)
                table_->selectionModel()->select(sorted_->mapFromSource(model_.index(row, 0)),
                                                 QItemSelectionModel::Select |
                                                     QItemSelectionModel::Rows);
    });

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
    // Enter opens the current row as a double click does, whichever its column; F2 or typing
    // edits the tag, whose editor keeps Enter for itself.
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* open = new QShortcut(QKeySequence(key), table_);
        open->setContext(Qt::WidgetShortcut);
        connect(open, &QShortcut::activated, this, [this] {
            if (const QModelIndex current = table_->currentIndex(); current.isValid())
                emit rowActivated(sorted_->mapToSource(current).row());
        });
    }
    // Ctrl+Z undoes the schedule's last change only while the focus is on this page: on a
    // calculation page it would take back a row the user cannot see.
    auto* undoKey = new QShortcut(QKeySequence::Undo, this);
    undoKey->setContext(Qt::WidgetWithChildrenShortcut);
    connect(undoKey, &QShortcut::activated, this, &SchedulePage::Undo);
    auto* redoKey = new QShortcut(QKeySequence::Redo, this);
    redoKey->setContext(Qt::WidgetWithChildrenShortcut);
    connect(redoKey, &QShortcut::activated, this, &SchedulePage::Redo);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    auto* document = new QHBoxLayout;
    layout->addLayout(document);
    fileName_ = new QLabel(this);
    fileName_->setObjectName(QStringLiteral("ScheduleFileName"));
    fileName_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long name wraps rather than push the buttons off a narrow window.
    fileName_->setWordWrap(true);
    QFont bold = fileName_->font();
    bold.setBold(true);
    fileName_->setFont(bold);
    document->addWidget(fileName_, 1);
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
        {edit, "ScheduleUp", QStringLiteral("&Вверх"), QStringLiteral("Передвинуть строку вверх"),
         [this] { MoveSelected(-1); }},
        {edit, "ScheduleDown", QStringLiteral("В&низ"), QStringLiteral("Передвинуть строку вниз"),
         [this] { MoveSelected(+1); }},
        {edit, "ScheduleDelete", QStringLiteral("&Удалить"),
         QStringLiteral("Удалить выбранные строки (Del)"), [this] { DeleteSelected(); }},
        {edit, "ScheduleClear", QStringLiteral("О&чистить..."),
         QStringLiteral("Удалить все строки ведомости"), [this] { ClearAll(); }},
        {files, "ScheduleUndo", QStringLiteral("Отм&енить"),
         QStringLiteral("Отменить последнее изменение ведомости (Ctrl+Z)"), [this] { Undo(); }},
        {document, "ScheduleNew", QStringLiteral("&Создать..."),
         QStringLiteral("Начать новую ведомость в файле, который вы назовёте"), [this] { New(); }},
        {document, "ScheduleOpen", QStringLiteral("&Открыть..."),
         QStringLiteral("Работать с ведомостью из файла"), [this] { Open(); }},
        {document, "ScheduleSaveAs", QStringLiteral("Сохранить &как..."),
         QStringLiteral("Сохранить ведомость в новый файл и работать дальше в нём"),
         [this] { SaveAs(); }},
        {files, "SchedulePrint", QStringLiteral("&Печать..."),
         QStringLiteral("Напечатать ведомость на листах A4"), [this] { Print(); }},
        {files, "SchedulePdf", QStringLiteral("Со&хранить в PDF..."),
         QStringLiteral("Сохранить ведомость в файл PDF"), [this] { SavePdf(); }},
        {files, "ScheduleCsv", QStringLiteral("&Экспорт CSV..."),
         QStringLiteral("Таблица для электронных таблиц (Excel, LibreOffice)"),
         [this] { ExportCsv(); }},
        {imports, "ScheduleImport", QStringLiteral("&Импорт CSV..."),
         QStringLiteral("Рассчитать строки таблицы CSV и добавить их в ведомость"),
         [this] { ImportCsv(); }},
        {imports, "ScheduleTemplate", QStringLiteral("&Шаблон для импорта..."),
         QStringLiteral(
             "Сохранить таблицу CSV с нужными столбцами и примером каждого вида расчёта"),
         [this] { SaveImportTemplate(); }},
    };
    for (const Command& command : commands) {
        QPushButton* button = AddButton(command.name, command.text, command.toolTip);
        command.row->addWidget(button);
        connect(button, &QPushButton::clicked, this, command.run);
    }
    // The schedules opened last, read from the settings each time the list opens: another
    // window may have opened one since.
    recent_ = new QMenu(this);
    recent_->setObjectName(QStringLiteral("ScheduleRecentMenu"));
    connect(recent_, &QMenu::aboutToShow, this, &SchedulePage::FillRecent);
    QPushButton* recent = AddButton("ScheduleRecent", QStringLiteral("Пос&ледние"),
                                    QStringLiteral("Ведомости, открытые последними"));
    recent->setMenu(recent_);
    document->insertWidget(
        document->indexOf(findChild<QPushButton*>(QStringLiteral("ScheduleOpen"))) + 1, recent);
    connect(&model_, &ScheduleModel::fileSwitched, this, &SchedulePage::ShowFileName);
    ShowFileName();

    auto* undoButton = findChild<QPushButton*>(QStringLiteral("ScheduleUndo"));
    undoButton->setEnabled(false);
    connect(undo_, &QUndoStack::canUndoChanged, undoButton, &QPushButton::setEnabled);
    connect(undo_, &QUndoStack::undoTextChanged, undoButton, [undoButton](const QString& text) {
        undoButton->setToolTip(text.isEmpty() ? QStringLiteral("Отменять нечего")
                                              : QStringLiteral("Отменить: %1 (Ctrl+Z)").arg(text));
    });
    edit->addStretch(1);
    edit->addLayout(imports);
    files->addStretch(1);

    // Tab goes as the eye reads the page: the rows from the top, each from the left.
    const std::function<void(const QLayout*)> collect = [&](const QLayout* row) {
        for (int i = 0; i < row->count(); ++i) {
            QLayoutItem* item = row->itemAt(i);
            if (QWidget* w = item->widget(); w && w->focusPolicy() & Qt::TabFocus)
                tabStops_.push_back(w);
            else if (const QLayout* inner = item->layout())
                collect(inner);
        }
    };
    collect(layout);
    for (std::size_t i = 1; i < tabStops_.size(); ++i)
        setTabOrder(tabStops_[i - 1], tabStops_[i]);

    // Up and down move a row in the user's order, which only the order by № shows: sorted
    // by another column they are off, and say why, rather than sort back unasked.
    std::pair<QPushButton*, QString> moves[] = {
        {findChild<QPushButton*>(QStringLiteral("ScheduleUp")), {}},
        {findChild<QPushButton*>(QStringLiteral("ScheduleDown")), {}}};
    for (auto& move : moves)
        move.second = move.first->toolTip();
    connect(table_->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            [moves](int column, Qt::SortOrder order) {
                const bool inOrder = column == ScheduleModel::Number && order == Qt::AscendingOrder;
                for (const auto& move : moves) {
                    move.first->setEnabled(inOrder);
                    move.first->setToolTip(inOrder ? move.second : MovesOnlyInOrderText);
                }
            });
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

bool SchedulePage::Run(const workflow::ScheduleOperation& operation,
                       workflow::ScheduleOperation& inverse, QWidget* boxParent) {
    ScheduleModel::Outcome outcome = model_.Apply(operation);
    // A problem that does not stop the change (no data folder) is told once.
    if (!outcome.error.isEmpty() && (!outcome.applied || outcome.error != toldError_))
        ShowMessageBox(boxParent ? boxParent : this, outcome.error, Caption);
    toldError_ = outcome.error;
    ran_ = outcome.applied;
    if (outcome.applied) inverse = std::move(outcome.undo);
    return outcome.applied;
}

bool SchedulePage::Perform(workflow::ScheduleOperation operation, const QString& what,
                           QWidget* boxParent) {
    if (operation.Empty()) return false;
    ran_ = false;
    undo_->push(new ScheduleCommand(*this, std::move(operation), what, boxParent));
    return ran_;
}

void SchedulePage::Undo() {
    if (!undo_->canUndo()) return;
    const QString text = undo_->undoText();
    failed_ = false;
    undo_->undo();
    if (std::exchange(failed_, false)) {
        replaying_ = true;
        undo_->redo();
        replaying_ = false;
        return;
    }
    emit undone(QStringLiteral("Отменено: %1").arg(text));
}

void SchedulePage::Redo() {
    if (!undo_->canRedo()) return;
    const QString text = undo_->redoText();
    failed_ = false;
    undo_->redo();
    if (std::exchange(failed_, false)) {
        replaying_ = true;
        undo_->undo();
        replaying_ = false;
        return;
    }
    emit undone(QStringLiteral("Повторено: %1").arg(text));
}

void SchedulePage::DeleteSelected() {
    const std::vector<int> rows = SelectedRows();
    if (rows.empty()) return;
    std::vector<workflow::RowId> ids;
    for (int row : rows)
        ids.push_back(model_.IdAt(row));
    const QString what = rows.size() == 1 ? QStringLiteral("удаление строки")
                                          : QStringLiteral("удаление строк (%1)").arg(rows.size());
    if (!Perform(workflow::DeleteRows(std::move(ids)), what)) return;
    if (model_.rowCount() > 0) SelectRow(std::min(rows.front(), model_.rowCount() - 1));
}

void SchedulePage::MoveSelected(int direction) {
    const std::vector<int> rows = SelectedRows();
    if (rows.size() != 1) return;
    // Moving is about the user's order, which the number column shows.
    table_->sortByColumn(ScheduleModel::Number, Qt::AscendingOrder);
    const workflow::RowId id = model_.IdAt(rows.front());
    Perform(workflow::MoveRowBy(id, direction), QStringLiteral("перемещение строки"));
    if (const int row = model_.RowOf(id); row >= 0) SelectRow(row);
}

void SchedulePage::ClearAll() {
    if (model_.rowCount() == 0) return;
    if (!AskYesNo(this,
                  QStringLiteral("Удалить все строки ведомости (%1)? Их можно вернуть командой "
                                 "«Отменить» (Ctrl+Z).")
                      .arg(model_.rowCount()),
                  Caption))
        return;
    Perform(workflow::ClearAllRows(), QStringLiteral("очистка ведомости"));
}

QString SchedulePage::ShownFileName() const {
    return model_.Path() == schedule::DefaultSchedulePath() || model_.Path().isEmpty()
               ? QString()
               : QFileInfo(model_.Path()).fileName();
}

void SchedulePage::ShowFileName() {
    const QString name = ShownFileName();
    fileName_->setText(name.isEmpty() ? QStringLiteral("Ведомость — рабочий файл программы")
                                      : QStringLiteral("Ведомость — %1").arg(name));
    fileName_->setToolTip(QDir::toNativeSeparators(model_.Path()));
    emit fileShown(name);
}

void SchedulePage::WorkIn(const QString& path) {
    const bool own = QFileInfo(path) == QFileInfo(schedule::DefaultSchedulePath());
    const QString problem =
        model_.SwitchTo(path, own ? schedule::FileOwner::Program : schedule::FileOwner::User);
    // Undo is for the file it was done in.
    undo_->clear();
    toldError_.clear();
    if (!own)
        files::ChangeSettings(
            [&](files::ProgramSettings& settings) { files::AddRecentSchedule(settings, path); });
    if (!problem.isEmpty()) ShowMessageBox(this, problem, Caption);
}

void SchedulePage::New() {
    const QString path =
        askPath(QStringLiteral("Создать ведомость"), QStringLiteral("Ведомость (*.json)"),
                QStringLiteral("Ведомость.json"), true, nullptr);
    if (path.isEmpty()) return;
    if (const QString error = schedule::SaveSchedule(path, {}); !error.isEmpty()) {
        ShowMessageBox(this, error, Caption);
        return;
    }
    WorkIn(path);
}

void SchedulePage::Open() {
    const QString path = askPath(QStringLiteral("Открыть ведомость"),
                                 QStringLiteral("Ведомость (*.json)"), QString(), false, nullptr);
    if (!path.isEmpty()) OpenFile(path);
}

void SchedulePage::OpenFile(const QString& path) {
    // Read first: a file that cannot be opened changes nothing, the file shown stays.
    const schedule::LoadResult loaded = schedule::LoadSchedule(path);
    if (!loaded.error.isEmpty()) {
        ShowMessageBox(this, loaded.error, Caption);
        if (loaded.missing)
            files::ChangeSettings([&](files::ProgramSettings& settings) {
                settings.recentSchedules.removeAll(QFileInfo(path).absoluteFilePath());
            });
        return;
    }
    WorkIn(path);
}

void SchedulePage::SaveAs() {
    const QString shown = ShownFileName();
    const QString path =
        askPath(QStringLiteral("Сохранить ведомость как"), QStringLiteral("Ведомость (*.json)"),
                shown.isEmpty() ? QStringLiteral("Ведомость.json") : shown, true, nullptr);
    if (path.isEmpty()) return;
    if (const QString error = schedule::SaveSchedule(path, model_.Rows()); !error.isEmpty()) {
        ShowMessageBox(this, error, Caption);
        return;
    }
    WorkIn(path);
}

void SchedulePage::FillRecent() {
    recent_->clear();
    const QStringList recent = files::ReadSettings().recentSchedules;
    if (recent.isEmpty()) recent_->addAction(QStringLiteral("(список пуст)"))->setEnabled(false);
    for (const QString& path : recent) {
        const QFileInfo info(path);
        QAction* open = recent_->addAction(
            QStringLiteral("%1   (%2)")
                .arg(info.fileName(), QDir::toNativeSeparators(info.absolutePath())),
            this, [this, path] { OpenFile(path); });
        open->setToolTip(QDir::toNativeSeparators(path));
    }
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
    reports::PrintSchedule(printer, model_.Rows(), QDate::currentDate());
    QGuiApplication::restoreOverrideCursor();
}

void SchedulePage::SavePdf() {
    const QDate today = QDate::currentDate();
    const QString path =
        askPath(QStringLiteral("Сохранить ведомость в PDF"), QStringLiteral("PDF (*.pdf)"),
                reports::ScheduleTitle(today) + QStringLiteral(".pdf"), true, nullptr);
    if (path.isEmpty()) return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const QString reason = reports::WriteSchedulePdf(path, model_.Rows(), today);
    QGuiApplication::restoreOverrideCursor();
    if (!reason.isEmpty())
        ShowMessageBox(this,
                       QStringLiteral("Не удалось записать ведомость в PDF «%1». %2.")
                           .arg(QDir::toNativeSeparators(path), reason),
                       Caption);
}

void SchedulePage::ExportCsv() {
    // UTF-8 with its mark, which Excel opens by a double click, unless the user asks for
    // the code page older programs read.
    const QString utf8 = QStringLiteral("CSV в UTF-8, открывается в Excel двойным щелчком (*.csv)");
    const QString windows1251 = QStringLiteral("CSV в Windows-1251, для старых программ (*.csv)");
    QString chosen = utf8;
    const QString path = askPath(QStringLiteral("Экспорт ведомости в CSV"),
                                 utf8 + QStringLiteral(";;") + windows1251,
                                 QStringLiteral("Ведомость.csv"), true, &chosen);
    if (path.isEmpty()) return;
    const workflow::CsvEncoding encoding = chosen == windows1251
                                               ? workflow::CsvEncoding::Windows1251
                                               : workflow::CsvEncoding::Utf8WithBom;
    const QString error = schedule::WriteScheduleCsv(path, model_.Rows(), encoding);
    if (!error.isEmpty()) ShowMessageBox(this, error, Caption);
}

void SchedulePage::ImportCsv() {
    const QString path =
        askPath(QStringLiteral("Импорт таблицы расчётов"),
                QStringLiteral("CSV (*.csv *.txt);;Все файлы (*)"), QString(), false, nullptr);
    if (!path.isEmpty()) ImportFile(path);
}

void SchedulePage::ImportFile(const QString& path) {
    // The file is read, split and calculated in a worker, so that the window stays
    // responsive; the bar shows reading (the first tenth) and calculating.
    constexpr int ReadingShare = 100;
    std::atomic<int> permille{0};
    std::atomic<std::size_t> linesDone{0}, linesTotal{0};
    std::atomic<bool> cancel{false};
    const QDateTime now = QDateTime::currentDateTime();
    const std::string separator(DecimalSeparator());
    workflow::ImportResult result;
    QThread* worker = QThread::create([&] {
        result = schedule::ImportCsvFile(
            path, now, separator,
            [&](std::size_t done, std::size_t total) {
                linesDone = done;
                linesTotal = total;
                permille =
                    ReadingShare + int(total == 0 ? 0 : done * (1000 - ReadingShare) / total);
                return !cancel;
            },
            [&](qint64 read, qint64 size) {
                permille = int(size <= 0 ? 0 : read * ReadingShare / size);
                return !cancel;
            });
    });

    QProgressDialog progress(QStringLiteral("Чтение файла..."), QStringLiteral("Отмена"), 0, 1000,
                             this);
    progress.setWindowTitle(Caption);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    progress.setMinimumWidth(360);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    // The window waits for the import: a large file's bar comes at once, so that nothing is
    // clicked meanwhile.
    if (QFileInfo(path).size() > (qint64(1) << 20)) progress.show();
    QEventLoop waiting;
    QTimer tick;
    connect(&tick, &QTimer::timeout, &progress, [&] {
        if (progress.wasCanceled()) cancel = true;
        const std::size_t total = linesTotal;
        if (total > 0)
            progress.setLabelText(
                QStringLiteral("Расчёт строк таблицы: %1 из %2").arg(linesDone.load()).arg(total));
        progress.setValue(std::min(permille.load(), 999));
    });
    connect(worker, &QThread::finished, &waiting, &QEventLoop::quit);
    tick.start(50);
    worker->start();
    waiting.exec();
    worker->wait();
    delete worker;
    tick.stop();
    progress.reset();
    progress.close();

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
    Perform(workflow::AddRows(std::move(result.rows)), QStringLiteral("импорт из «%1»").arg(name));
    QGuiApplication::restoreOverrideCursor();
    ShowMessageBox(this, summary.trimmed(), Caption);
}

void SchedulePage::SaveImportTemplate() {
    const QString path =
        askPath(QStringLiteral("Сохранить шаблон для импорта"), QStringLiteral("CSV (*.csv)"),
                QStringLiteral("Шаблон для импорта.csv"), true, nullptr);
    if (path.isEmpty()) return;
    const QString error = schedule::WriteImportTemplate(path);
    if (!error.isEmpty()) ShowMessageBox(this, error, Caption);
}
