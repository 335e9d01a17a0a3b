// The main window: the group bar of the five kinds of calculation and the reference item,
// the input page of the chosen kind above the common panel, and the engine it owns. It
// reads its controls into the workflow's inputs and carries out the effects it gets back.
#pragma once

#include "FieldBehaviours.h"
#include "InputModel.h"
#include "ShownResult.h"

#include <QMainWindow>
#include <QPoint>
#include <QSize>
#include <array>
#include <memory>
#include <optional>
#include <vector>

class Backdrop;
class DropDownPicture;
class GroupBar;
class GroupBarGroup;
class NumericEdit;
class Picture;
class PictureButton;
class QLabel;
class QPushButton;
class QSplitter;
class QStackedWidget;
class QStatusBar;
class ScheduleModel;
class SchedulePage;
class RadioGroup;
class ReferencePage;
class SeparatorLine;
class T_calc;
class ValueComboBox;
namespace reporttemplate {
struct ReportTemplates;
}

class TFGeneral : public QMainWindow {
    Q_OBJECT
public:
    explicit TFGeneral(QWidget* parent = nullptr);
    ~TFGeneral() override;

    // The kind of calculation shown (0..4), or -1 on no method page.
    int CalcMethod() const;
    // The engine; never null while the window takes input.
    T_calc* Engine() const { return calc_.get(); }
    // Where the window keeps its size and place between runs: a file of its own in the
    // user's configuration folder (a test folder when QStandardPaths' test mode is on).
    static QString WindowSettingsPath();
    // The schedule page, made when it is first shown or used.
    SchedulePage* Schedule();
    // The widget of a control the workflow names; null while its page is not built. The
    // controls of the kinds' pages are reached only so; those of the common panel also have
    // members.
    QWidget* Widget(workflow::Control control) const;
    NumericEdit* Field(workflow::Control control) const;

    // ---- Frame ----
    QStatusBar* StatusBar{};
    // What the accepted thickness of the current result gives; empty without one.
    QLabel* AcceptedCheckLine{};
    QSplitter* Splitter{};
    QWidget* PHeader{};
    Picture* iMain{};
    QWidget* spLeftLine{};
    ::GroupBar* GroupBar{};
    GroupBarGroup* RGCalc{};
    GroupBarGroup* GrHelper{};
    GroupBarGroup* GrSchedule{};
    QLabel* Label1{};
    QLabel* StaticText{};
    SeparatorLine* RzSeparator2{};
    QStackedWidget* Notebook1{};
    QWidget* Browser{};
    ReferencePage* WebBrowser{};
    SchedulePage* SchedulePane{}; // null until first used: Schedule()
    QWidget* Calc{};
    QWidget* PanelCalc{};
    QStackedWidget* Notebook{};
    QWidget* PClose{};

    // ---- Common panel ----
    QLabel *RzLabel16{}, *RzLabel11{}, *RzLabel17{}, *RzLabel18{};
    RadioGroup *RzRadioGroup1{}, *RzRadioGroup2{}, *RzRadioGroup3{}, *RzRadioGroup4{};
    Backdrop *Shape2{}, *Shape3{};
    ValueComboBox *RzComboBox3{}, *RzComboBox1{};
    DropDownPicture *Image7{}, *Image6{};
    QLabel *RzLabel31{}, *RzLabel5{}, *RzLabel4{}, *RzLabel6{};
    PictureButton *RzBmpButton1{}, *RzBmpButton3{}, *RzBmpButton2{};
    // «Анализ толщины», beside «Отчёт» (Ctrl+T).
    QPushButton* BtnAnalysis{};
    // The report preview's command that adds the analysis as a second sheet.
    static const QString AddAnalysisSheet;

    // ---- Handlers ----
    void FormCreate();
    void FormShow();
    void FormClose();
    void BCloseClick();
    void RzBitBtn1Click();
    void RzBmpButton3Click();
    // Opens the thickness analysis of the current result; a box says why not.
    void AnalysisClick();
    void GrHelperItems0Click();
    void GrScheduleItems0Click();
    void RzRadioGroup1Changing(int oldIndex, int newIndex);
    void RzComboBox3Change();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Where the result text stands when it fits before the unit; its baseline is that of
    // the caption below, whose dotted run it stands on.
    static constexpr int ResultLeft = 308;
    // The window as it first opens, and the calculation pages, which keep that layout at
    // the top left when the window grows.
    static constexpr QSize FirstSize{834, 561};
    static constexpr QSize CalcPageSize{586, 499};
    // The least height: a 1920×1080 screen at 200 % has 540 pixels, less its taskbar and
    // the window's title bar.
    static constexpr int LeastHeight = 400;
    // The right pane from the top: a blank strip, the header line, the red rule, the pages;
    // a wrapped header keeps HeaderGap from the rule.
    static constexpr int HeaderTop = 12;
    static constexpr int HeaderBottom = 40;
    static constexpr int RuleHeight = 3;
    static constexpr int PagesTop = HeaderBottom + RuleHeight;
    static constexpr int HeaderGap = 3;

    // Layout (uGneneralFormsLayout.cpp): every control with its place, caption and rules.
    // A kind's page is built when it is first shown; until then its controls are null and
    // its inputs read as the window opens them.
    // Makes a control of the layout's tables, names it and keeps it in its member and by its id.
    template <typename Place> auto Create(const Place& control, QWidget* parent);
    void BuildFrame();
    void BuildPages();
    void BuildCommonPanel();
    void BuildPage(int page);
    QWidget* PageWidget(int page) const;
    bool IsOn(workflow::Control control, int page) const;
    void EnsurePage(int method);
    void ConfigureInputs(int page);
    void ConnectInputs(int page);
    // The stops of a page in Tab's order: its rows from the top, each from the left.
    std::vector<QWidget*> PageTabOrder(int page) const;
    void ApplyTabOrder();
    // The focus to the first field of the page shown, as the page comes up.
    void FocusFirstField();
    void ConnectHandlers();

    void SelectMethod(int method);
    // Over a calculation page the header is centred on the page, elsewhere on the pane.
    void ShowHeader(const QString& text);
    void PlaceRightPane();
    // The result on the dotted run of its caption, clear of its words and its unit.
    void PlaceResult();
    // A window taller than its screen's room, once the window manager has framed it, is
    // made as tall as the room and moved into it.
    void FitScreenHeight();
    // The window's size and place, kept between runs.
    void RestoreWindowPlace();
    void SaveWindowPlace();
    // Every command that reads the inputs first leaves the field being edited, as a click
    // on its button does, so that the field's rules and messages come first.
    void SettleEditedField(QWidget* commandButton);
    // The one snapshot of the inputs. `Typed` reads a field being edited as its text
    // stands, to tell at once whether the shown result still belongs to the inputs.
    enum class Read { Settled, Typed };
    workflow::Inputs ReadInputs(Read read = Read::Settled) const;
    // Runs the calculate command on the inputs as they stand and shows what it gives;
    // `Keep` leaves out its boxes (a schedule row's were seen when it was made).
    enum class Boxes { Show, Keep };
    void Calculate(Boxes boxes);
    // Shows the result text at its place and marks it, and the norm, when stale.
    void ShowResultState();
    void MirrorMaterialList();
    void OpenList(workflow::Control list);
    void EmptyZeroOnEntry(workflow::Control field);
    void AnnounceRangeError(workflow::Control field, double value);

    // The schedule: adds the calculation shown (a box on `boxParent` says why not), shows
    // a row's calculation again in its kind's page, and counts the rows in the group bar.
    // `chosenMm`: a thickness the user took from the thickness analysis, checked anew.
    bool AddToSchedule(QWidget* boxParent, std::optional<int32_t> chosenMm = std::nullopt);
    void ShowScheduleRow(int row);
    void ShowScheduleCount();
    // The schedule's own file: read at start; its later problems told.
    void LoadSchedule();
    void BuildAnalysisButton();

    QWidget* rightPane_ = nullptr;
    bool placeRestored_ = false;
    std::unique_ptr<T_calc> calc_;
    std::unique_ptr<reporttemplate::ReportTemplates> reports_; // one per kind
    std::array<bool, workflow::CalcMethodCount> pageBuilt_{};
    std::array<QWidget*, workflow::ControlCount> controls_{};
    std::array<QLabel*, workflow::ControlCount> captions_{}; // the label captioning a control
    workflow::MaterialList materials_;
    workflow::ShownResult result_;
    ScheduleModel* scheduleModel_ = nullptr;
    QString scheduleError_; // a problem with the schedule's file at start, told when shown
    bool shown_ = false;
};

extern TFGeneral* FGeneral;
