#include "SchedulePage.h"

#include "MessageBoxes.h"
#include "ScheduleModel.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString Caption = QStringLiteral("Ведомость расчётов");

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
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setColumnWidth(ScheduleModel::Number, 32);
    table_->setColumnWidth(ScheduleModel::Tag, 90);
    table_->setColumnWidth(ScheduleModel::Kind, 160);
    table_->setColumnWidth(ScheduleModel::Object, 100);
    table_->setColumnWidth(ScheduleModel::Material, 150);
    table_->setColumnWidth(ScheduleModel::Inputs, 220);
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
    layout->addWidget(table_, 1);

    auto place = [&](QHBoxLayout* row, QPushButton* button) { row->addWidget(button); };
    place(edit, AddButton("ScheduleUp", QStringLiteral("Вверх"),
                          QStringLiteral("Передвинуть строку вверх")));
    place(edit, AddButton("ScheduleDown", QStringLiteral("Вниз"),
                          QStringLiteral("Передвинуть строку вниз")));
    place(edit, AddButton("ScheduleDelete", QStringLiteral("Удалить"),
                          QStringLiteral("Удалить выбранные строки (Del)")));
    place(edit, AddButton("ScheduleClear", QStringLiteral("Очистить..."),
                          QStringLiteral("Удалить все строки ведомости")));
    edit->addStretch(1);
    connect(findChild<QPushButton*>(QStringLiteral("ScheduleUp")), &QPushButton::clicked, this,
            [this] { MoveSelected(-1); });
    connect(findChild<QPushButton*>(QStringLiteral("ScheduleDown")), &QPushButton::clicked, this,
            [this] { MoveSelected(+1); });
    connect(findChild<QPushButton*>(QStringLiteral("ScheduleDelete")), &QPushButton::clicked, this,
            &SchedulePage::DeleteSelected);
    connect(findChild<QPushButton*>(QStringLiteral("ScheduleClear")), &QPushButton::clicked, this,
            &SchedulePage::ClearAll);
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
