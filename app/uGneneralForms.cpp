#include "uGneneralForms.h"

#include "Utf8Text.h"

#include "AnalysisPanel.h"
#include "CalculateCommand.h"
#include "Colors.h"
#include "Fonts.h"
#include "GroupBarGroup.h"
#include "MessageBoxes.h"
#include "MethodSelection.h"
#include "NumberField.h"
#include "NumericEdit.h"
#include "PictureButton.h"
#include "ProgramSettings.h"
#include "RadioGroup.h"
#include "ReferencePage.h"
#include "ReportCommand.h"
#include "ReportPreview.h"
#include "Schedule.h"
#include "ScheduleFile.h"
#include "ScheduleModel.h"
#include "SchedulePage.h"
#include "TCalc.h"
#include "ValueComboBox.h"
#include "uTitleForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <variant>

TFGeneral* FGeneral = nullptr;

namespace {

const QString ScheduleCaption = QStringLiteral("Ведомость расчётов");

} // namespace

TFGeneral::TFGeneral(QWidget* parent)
    : QMainWindow(parent) {
    BuildFrame();
    BuildPages();
    BuildCommonPanel();
    ConfigureInputs(workflow::CommonPanel);
    ConnectHandlers();
    BuildAnalysisButton();
    RestoreWindowPlace();
    FormCreate();
}

TFGeneral::~TFGeneral() {
    if (FGeneral == this) FGeneral = nullptr;
}

int TFGeneral::CalcMethod() const {
    const int method = Notebook->currentIndex() - workflow::FirstMethodPage;
    return method >= 0 && method < workflow::CalcMethodCount ? method : -1;
}

// ---- Lifecycle -----------------------------------------------------------------------

void TFGeneral::FormCreate() {
    calc_ = std::make_unique<T_calc>();
    calc_->ShowMessageBox = [this](const std::string& text, const std::string& caption) {
        ShowMessageBox(this, Text(text), Text(caption));
    };
    SelectMethod(0);
    LoadSchedule(); // its rows are counted in the group bar
}

void TFGeneral::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    if (const QScreen* screen = this->screen(); screen && !placeRestored_) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    FormShow();
}

void TFGeneral::FormShow() {
    FocusFirstField();
    // An unreadable schedule file was set aside when the window was made; say so now that
    // there is a window to say it over.
    if (!scheduleError_.isEmpty())
        QTimer::singleShot(0, this,
                           [this] { ShowMessageBox(this, scheduleError_, ScheduleCaption); });
    // The splash runs by its own timers and the window is usable meanwhile. It comes up
    // right after the window's first paint, so that drawing it never delays the window.
    if (QWindow* window = windowHandle()) {
        window->installEventFilter(this);
    } else {
        (new TFTitle(this))->show();
    }
}

bool TFGeneral::eventFilter(QObject* watched, QEvent* event) {
    if (watched == rightPane_ && event->type() == QEvent::Resize) PlaceRightPane();
    // The window paints while it handles its first exposure; the splash follows.
    if (watched == windowHandle() && event->type() == QEvent::Expose) {
        watched->removeEventFilter(this);
        QTimer::singleShot(0, this, [this] {
            FitScreenHeight();
            (new TFTitle(this))->show();
        });
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFGeneral::closeEvent(QCloseEvent* event) {
    SaveWindowPlace();
    FormClose();
    QMainWindow::closeEvent(event);
}

void TFGeneral::FitScreenHeight() {
    const QScreen* screen = this->screen();
    if (!screen || isMaximized() || isFullScreen()) return;
    const QRect room = screen->availableGeometry();
    QRect frame = frameGeometry();
    if (frame.height() <= room.height()) return;
    resize(width(), std::max(minimumHeight(), room.height() - (frame.height() - height())));
    frame = frameGeometry();
    frame.moveTop(room.top());
    move(frame.topLeft());
}

QString TFGeneral::WindowSettingsPath() {
    return files::SettingsPath();
}

void TFGeneral::RestoreWindowPlace() {
    const QByteArray geometry = files::ReadSettings().windowGeometry;
    // Qt keeps a restored window on the screens there are now.
    placeRestored_ = !geometry.isEmpty() && restoreGeometry(geometry);
}

void TFGeneral::SaveWindowPlace() {
    const QByteArray geometry = saveGeometry();
    const QString error = files::ChangeSettings(
        [&](files::ProgramSettings& settings) { settings.windowGeometry = geometry; });
    if (!error.isEmpty()) ShowMessageBox(this, error, windowTitle());
}

void TFGeneral::FormClose() {
    if (FTitle) FTitle->close();
    calc_.reset();
}

void TFGeneral::BCloseClick() {
    close();
}

// ---- Choice of the kind of calculation ---------------------------------------------------

void TFGeneral::SelectMethod(int method) {
    using Action = workflow::ControlChange::Action;
    EnsurePage(method);
    Notebook1->setCurrentWidget(Calc);
    Notebook->setCurrentIndex(method + workflow::FirstMethodPage);
    const QString caption = Text(workflow::CalcKinds()[std::size_t(method)].caption);
    // Russian lowercases by Unicode's own rules; the locale's way reads ICU's case tables at
    // start-up for the same letters.
    ShowHeader(Text(workflow::HeaderPrefix) + caption.toLower());
    calc_->Reset();
    for (const workflow::ControlChange& change : workflow::MethodSelectionChanges(method)) {
        QWidget* control = Widget(change.control);
        switch (change.action) {
        case Action::Show:
            control->show();
            break;
        case Action::Hide:
            control->hide();
            break;
        case Action::Enable:
            control->setEnabled(true);
            break;
        case Action::Disable:
            control->setEnabled(false);
            break;
        case Action::ChooseRow:
            qobject_cast<RadioGroup*>(control)->setCurrentIndex(int(change.value));
            break;
        case Action::SetValue:
            qobject_cast<NumericEdit*>(control)->setValue(change.value);
            break;
        }
    }
    result_.KindChosen(method);
    RzLabel4->setText(Text(result_.Text()));
    ShowResultState();
    for (int item = 0; item < RGCalc->count(); ++item)
        RGCalc->setItemColor(item, QColor(item == method ? Colors::Accent : Colors::Text));
    FocusFirstField();
}

void TFGeneral::ShowHeader(const QString& text) {
    // A header of two lines grows up into the blank strip above it, clear of the red rule.
    StaticText->setText(text);
    const int width = Notebook1->currentWidget() == Calc
                          ? CalcPageSize.width()
                          : std::max(CalcPageSize.width(), rightPane_->width());
    const QRect header(0, HeaderTop, width, HeaderBottom - HeaderTop);
    const QMargins margins = StaticText->contentsMargins();
    const int lines =
        StaticText->fontMetrics()
            .boundingRect(QRect(0, 0, header.width() - margins.left() - margins.right(), 1000),
                          Qt::AlignHCenter | Qt::TextWordWrap, text)
            .height();
    if (lines <= header.height() - 2 * HeaderGap) {
        StaticText->setGeometry(header);
    } else {
        StaticText->setGeometry(header.left(), header.bottom() + 1 - HeaderGap - lines,
                                header.width(), lines);
    }
}

// ---- Calculate ---------------------------------------------------------------------------

NumericEdit* TFGeneral::Field(workflow::Control control) const {
    return qobject_cast<NumericEdit*>(Widget(control));
}

void TFGeneral::SettleEditedField(QWidget* commandButton) {
    commandButton->setFocus(Qt::OtherFocusReason);
}

workflow::Inputs TFGeneral::ReadInputs(Read read) const {
    workflow::Inputs in;
    for (const workflow::ChoiceSpec& choice : workflow::Choices()) {
        const QWidget* control = Widget(choice.control); // null: as the window opens
        if (const auto* group = qobject_cast<const RadioGroup*>(control))
            in.Choice(choice.control) = group->currentIndex();
        else if (const auto* list = qobject_cast<const ValueComboBox*>(control))
            in.Choice(choice.control) = list->currentIndex();
    }
    for (const workflow::NumberFieldSpec& field : workflow::NumberFields()) {
        const NumericEdit* edit = Field(field.control);
        if (!edit) continue; // its page is not built yet: the value it opens with
        in.Field(field.control) = read == Read::Typed ? edit->pendingValue() : edit->value();
    }
    if (RzComboBox1->currentIndex() >= 0)
        in.materialValue = RzComboBox1->currentValue().toStdString();
    return in;
}

void TFGeneral::RzBitBtn1Click() {
    SettleEditedField(RzBmpButton1);
    Calculate(Boxes::Show);
}

void TFGeneral::Calculate(Boxes boxes) {
    const int method = CalcMethod();
    if (method < 0) return;
    const workflow::Inputs inputs = ReadInputs();
    const auto effects = workflow::Calculate(method, inputs, *calc_, DecimalSeparator());
    for (const workflow::Effect& effect : effects) {
        std::visit(
            [this, boxes](const auto& e) {
                using T = std::decay_t<decltype(e)>;
                if constexpr (std::is_same_v<T, workflow::ShowMessage>) {
                    if (boxes == Boxes::Show) ShowMessageBox(this, Text(e.text), Text(e.caption));
                } else if constexpr (std::is_same_v<T, workflow::SetField>) {
                    Field(e.field)->setValue(e.value);
                } else if constexpr (std::is_same_v<T, workflow::SetResult>) {
                    RzLabel4->setText(Text(e.text));
                } else if constexpr (std::is_same_v<T, workflow::MoveFocus>) {
                    Field(e.field)->setFocus(Qt::OtherFocusReason);
                } // the check is shown with the result's state, below
            },
            effect);
    }
    result_.Calculated(method, inputs, effects);
    ShowResultState();
}

void TFGeneral::ShowResultState() {
    const workflow::Inputs now = ReadInputs(Read::Typed);
    const bool staleThickness = result_.HasThickness() && !result_.ThicknessIsCurrent(now);
    const bool staleNorm = result_.HasNorm() && !result_.NormIsCurrent(now);
    const QString hint = Text(workflow::StaleResultHint);

    QPalette result = RzLabel4->palette();
    result.setColor(QPalette::WindowText, staleThickness ? QColor(Colors::Stale) : Qt::red);
    RzLabel4->setPalette(result);
    RzLabel4->setToolTip(staleThickness ? hint : QString());
    if (NumericEdit* norm = Field(workflow::Control::RzNumericEdit3)) {
        QPalette colours = norm->palette();
        colours.setColor(QPalette::Text, staleNorm ? QColor(Colors::Stale) : Qt::black);
        norm->setPalette(colours);
        norm->setToolTip(staleNorm ? hint : QString());
    }

    // The strip speaks of the kind's page; the reference and the schedule have none.
    const workflow::AcceptedCheck* check =
        Notebook1->currentWidget() == Calc ? result_.CurrentCheck(now) : nullptr;
    const QString line = check ? Text(workflow::CheckLine(*check, DecimalSeparator())) : QString();
    AcceptedCheckLine->setText(line);
    AcceptedCheckLine->setToolTip(line);
    QPalette strip = AcceptedCheckLine->palette();
    strip.setColor(
        QPalette::WindowText,
        QColor(check && workflow::CheckAccented(check->state) ? Colors::Accent : Colors::Text));
    AcceptedCheckLine->setPalette(strip);

    PlaceResult();
}

void TFGeneral::PlaceResult() {
    // A long result grows to the left over the dots, so that the unit stays readable; one
    // longer than the dotted run steps its font down rather than cover the caption's words.
    // A dot of the run stays on either side of it.
    constexpr int ResultPixels = 16, SmallestPixels = 9;
    const QString caption = RzLabel6->text();
    const QFontMetrics captionMetrics = RzLabel6->fontMetrics();
    const int wordsEnd =
        RzLabel6->x() + captionMetrics.horizontalAdvance(caption.left(caption.indexOf(u'.') + 1));
    const int unitLeft =
        RzLabel6->x() + captionMetrics.horizontalAdvance(caption.left(caption.lastIndexOf(u'.')));
    for (int pixels = ResultPixels;; --pixels) {
        RzLabel4->setFont(UiFont(UiFace::MsSansSerif, pixels, true));
        RzLabel4->adjustSize();
        if (RzLabel4->width() <= unitLeft - wordsEnd || pixels == SmallestPixels) break;
    }
    // On the caption's baseline.
    RzLabel4->move(std::max(wordsEnd, std::min(ResultLeft, unitLeft - RzLabel4->width())),
                   RzLabel6->y() + captionMetrics.ascent() - RzLabel4->fontMetrics().ascent());
}

// ---- Field behaviours --------------------------------------------------------------------

void TFGeneral::RzRadioGroup1Changing(int /*oldIndex*/, int newIndex) {
    materials_.SwitchObject(newIndex, RzComboBox3->currentIndex());
    MirrorMaterialList();
    if (QLabel* caption = captions_[std::size_t(workflow::Control::RzNumericEdit3)]) {
        caption->setText(Text(workflow::NormCaption(newIndex)));
        caption->adjustSize();
    }
    const bool visible = workflow::DiameterGroupVisible(newIndex);
    for (workflow::Control control : workflow::DiameterGroup)
        Widget(control)->setVisible(visible);
}

void TFGeneral::RzComboBox3Change() {
    materials_.ChangeDiameter(RzComboBox3->currentIndex());
    MirrorMaterialList();
}

void TFGeneral::MirrorMaterialList() {
    const QSignalBlocker blocker(RzComboBox1);
    RzComboBox1->clear();
    for (const workflow::MaterialSpec* row : materials_.Rows())
        RzComboBox1->appendRow(Text(row->text), Text(row->value));
    const auto chosen = materials_.ChosenRow();
    RzComboBox1->setCurrentIndex(chosen ? int(*chosen) : -1);
}

void TFGeneral::OpenList(workflow::Control list) {
    auto* box = qobject_cast<ValueComboBox*>(Widget(list));
    if (!box) return;
    box->setFocus(Qt::OtherFocusReason);
    box->showPopup();
}

void TFGeneral::AnnounceRangeError(workflow::Control field, double value) {
    if (const auto message = workflow::RangeMessage(workflow::NumberField(field), value))
        ShowMessageBox(this, Text(message->text), Text(message->caption));
}

void TFGeneral::EmptyZeroOnEntry(workflow::Control field) {
    NumericEdit* edit = Field(field);
    edit->setText(
        Text(workflow::TextOnEntry(workflow::NumberField(field), edit->text().toStdString())));
}

// ---- Reference page and report ---------------------------------------------------------

void TFGeneral::GrHelperItems0Click() {
    const QString path = ReferenceDocumentPath(QCoreApplication::applicationDirPath());
    Notebook1->setCurrentWidget(Browser);
    ShowHeader(QString());
    ShowResultState();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        WebBrowser->ShowDocument(path);
    } catch (...) {
        // The page stays, empty if need be; the reader gets no message.
    }
    QGuiApplication::restoreOverrideCursor();
}

void TFGeneral::RzBmpButton3Click() {
    SettleEditedField(RzBmpButton3);
    // The templates are made for the first report, not at start.
    if (!reports_) reports_ = std::make_unique<reporttemplate::ReportTemplates>();
    const workflow::Inputs inputs = ReadInputs();
    reportengine::Template* report = reports::FillReport(*reports_, CalcMethod(), inputs, result_);
    if (report == nullptr) return;
    // The preview is modal: the inputs it adds are those it shows.
    std::vector<reportengine::PreviewCommand> commands{
        {QStringLiteral("&В ведомость"), QStringLiteral("Добавить этот расчёт в ведомость"),
         QKeySequence(Qt::CTRL | Qt::Key_D),
         [this](reportengine::ReportPreview& preview, QAction& action) {
             if (!AddToSchedule(&preview)) return;
             action.setText(QStringLiteral("Добавлено &в ведомость"));
             action.setEnabled(false);
         }}};
    // The thickness analysis of the printed result, on a second sheet when asked for.
    const int method = CalcMethod();
    std::optional<workflow::ThicknessAnalysis> analysis;
    if (result_.CurrentCheck(inputs)) analysis = workflow::AnalyseCalculation(method, inputs);
    if (analysis)
        commands.push_back(
            {AddAnalysisSheet, QStringLiteral("Второй лист отчёта: таблица и график толщин"),
             QKeySequence(Qt::CTRL | Qt::Key_T),
             [&analysis, method](reportengine::ReportPreview& preview, QAction& action) {
                 const bool add = preview.extraPages.empty();
                 preview.extraPages.clear();
                 if (add)
                     preview.extraPages.push_back([&analysis, method](QPainter& painter) {
                         PaintAnalysisPage(painter, *analysis, Text(workflow::KindCaption(method)));
                     });
                 action.setText(add ? QStringLiteral("Убрать &лист анализа") : AddAnalysisSheet);
                 preview.view()->updatePreview();
             }});
    reportengine::ShowReport(*report, this, commands);
}

// ---- Thickness analysis ------------------------------------------------------------------

const QString TFGeneral::AddAnalysisSheet = QStringLiteral("&Лист анализа толщины");

void TFGeneral::BuildAnalysisButton() {
    BtnAnalysis = new QPushButton(QStringLiteral("&Анализ толщины"), RzBmpButton3->parentWidget());
    BtnAnalysis->setObjectName(QStringLiteral("BtnAnalysis"));
    BtnAnalysis->setToolTip(
        QStringLiteral("Что даёт каждая толщина изделия вокруг принятой (Ctrl+T)"));
    BtnAnalysis->setGeometry(RzBmpButton3->x() - 116, RzBmpButton3->y(), 110,
                             RzBmpButton3->height());
    connect(BtnAnalysis, &QPushButton::clicked, this, &TFGeneral::AnalysisClick);
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_T), this);
    connect(shortcut, &QShortcut::activated, this, &TFGeneral::AnalysisClick);
    ApplyTabOrder(); // beside «Отчёт» in the chain too, not after the group bar
}

void TFGeneral::AnalysisClick() {
    const int method = Notebook1->currentWidget() == Calc ? CalcMethod() : -1;
    if (method < 0) return;
    SettleEditedField(BtnAnalysis);
    const workflow::Inputs now = ReadInputs();
    const QString caption = Text(workflow::AnalysisTitle);
    if (result_.CurrentCheck(now) == nullptr) {
        ShowMessageBox(this,
                       result_.HasThickness() && !result_.ThicknessIsCurrent(now)
                           ? Text(workflow::StaleResultHint)
                           : QStringLiteral("Анализ толщины строится по результату расчёта — "
                                            "нажмите «Рассчитать»"),
                       caption);
        return;
    }
    std::optional<workflow::ThicknessAnalysis> analysis = workflow::AnalyseCalculation(method, now);
    if (!analysis) return;
    AnalysisPanel panel(std::move(*analysis), Text(workflow::KindCaption(method)), this);
    connect(&panel, &AnalysisPanel::thicknessAccepted, this, [&](int32_t mm) {
        if (!AddToSchedule(&panel, mm)) return;
        StatusBar->showMessage(
            QStringLiteral("Расчёт добавлен в ведомость с толщиной %1 мм").arg(mm), 5000);
        panel.accept();
    });
    panel.exec();
}

// ---- Schedule ----------------------------------------------------------------------------

void TFGeneral::GrScheduleItems0Click() {
    Notebook1->setCurrentWidget(Schedule());
    ShowHeader(ScheduleCaption);
    ShowResultState();
    FocusFirstField();
}

bool TFGeneral::AddToSchedule(QWidget* boxParent, std::optional<int32_t> chosenMm) {
    if (boxParent == this) SettleEditedField(RzBmpButton3);
    const int method = Notebook1->currentWidget() == Calc ? CalcMethod() : -1;
    const QString now = QDateTime::currentDateTime().toString(Qt::ISODate);
    const workflow::Inputs inputs = ReadInputs();
    auto made = workflow::RowFromCalculation(method, inputs, result_, now.toStdString(),
                                             DecimalSeparator());
    if (!made.row) {
        ShowMessageBox(boxParent, Text(made.reason), ScheduleCaption);
        return false;
    }
    if (chosenMm) {
        const auto check = workflow::CheckAtThickness(method, inputs, *chosenMm);
        if (!check) return false;
        workflow::SetCheck(*made.row, *check, DecimalSeparator());
    }
    return Schedule()->Perform(workflow::AddRows({std::move(*made.row)}),
                               QStringLiteral("добавление расчёта"), boxParent);
}

void TFGeneral::ShowScheduleRow(int row) {
    const auto& rows = scheduleModel_->Rows();
    if (row < 0 || row >= int(rows.size())) return;
    const workflow::ScheduleRow& shown = rows[std::size_t(row)];
    RGCalc->click(shown.kind);
    // In the kind's order: the object and the diameter before the material list they fill.
    for (const workflow::ScheduleInput& input : shown.inputs) {
        QWidget* control = Widget(input.control); // the kind's page is built by now
        if (auto* group = qobject_cast<RadioGroup*>(control)) {
            group->setCurrentIndex(int(input.value));
        } else if (auto* list = qobject_cast<ValueComboBox*>(control)) {
            list->setCurrentIndex(int(input.value));
            if (list == RzComboBox3) RzComboBox3Change();
        } else if (auto* edit = qobject_cast<NumericEdit*>(control)) {
            edit->setValue(input.value);
        }
    }
    if (shown.materialValue) {
        const QString value = Text(*shown.materialValue);
        for (int i = 0; i < RzComboBox1->count(); ++i)
            if (RzComboBox1->value(i) == value) RzComboBox1->setCurrentIndex(i);
    }
    // A calculated row shows its thickness and its check again, computed from the inputs
    // just brought back; its boxes were seen when it was made. A refused row waits for the
    // user to mend it.
    if (shown.Calculated()) {
        Calculate(Boxes::Keep);
        const workflow::AcceptedCheck* check = result_.CurrentCheck(ReadInputs(Read::Typed));
        if (check && check->acceptedMm != shown.acceptedMm)
            StatusBar->showMessage(
                QStringLiteral("Расчёт по исходным данным строки даёт %1 мм, в ведомости — %2 мм")
                    .arg(check->acceptedMm)
                    .arg(shown.acceptedMm));
    }
    ShowResultState();
}

void TFGeneral::LoadSchedule() {
    scheduleError_ = scheduleModel_->Refresh();
    // What the file shows later (another window set it aside) is told at once.
    connect(scheduleModel_, &ScheduleModel::fileProblem, this,
            [this](const QString& text) { ShowMessageBox(this, text, ScheduleCaption); });
}

SchedulePage* TFGeneral::Schedule() {
    if (SchedulePane) return SchedulePane;
    // Between the reference and the calculation pages, where the window has always had it.
    SchedulePane = new SchedulePage(*scheduleModel_, Notebook1);
    SchedulePane->setObjectName(QStringLiteral("Schedule"));
    Notebook1->insertWidget(Notebook1->indexOf(Calc), SchedulePane);
    connect(SchedulePane, &SchedulePage::rowActivated, this, &TFGeneral::ShowScheduleRow);
    connect(SchedulePane, &SchedulePage::undone, this,
            [this](const QString& text) { StatusBar->showMessage(text, 5000); });
    // The title names the schedule's file once it is one of the user's, as an editor names
    // its document.
    const QString title = windowTitle();
    connect(SchedulePane, &SchedulePage::fileShown, this, [this, title](const QString& name) {
        setWindowTitle(name.isEmpty() ? title : title.trimmed() + QStringLiteral(" — ") + name);
    });
    ApplyTabOrder();
    return SchedulePane;
}

void TFGeneral::ShowScheduleCount() {
    const int rows = scheduleModel_->rowCount();
    GrSchedule->setItemCaption(0, rows > 0 ? ScheduleCaption + QStringLiteral(" (%1)").arg(rows)
                                           : ScheduleCaption);
}
