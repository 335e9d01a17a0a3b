// The main window's layout: every control with its place (pixels at 96 dpi), caption and
// rules. Lists, defaults, limits and captions come from the workflow's input model.
#include "uGneneralForms.h"

#include "Utf8Text.h"

#include "Backdrop.h"
#include "Colors.h"
#include "DropDownPicture.h"
#include "Fonts.h"
#include "GroupBar.h"
#include "GroupBarGroup.h"
#include "Marker.h"
#include "MethodSelection.h"
#include "NumberField.h"
#include "NumericEdit.h"
#include "Picture.h"
#include "PictureButton.h"
#include "Pictures.h"
#include "RadioGroup.h"
#include "ReferencePage.h"
#include "ScheduleFile.h"
#include "ScheduleModel.h"
#include "SchedulePage.h"
#include "SeparatorLine.h"
#include "ValueComboBox.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

// The common panel, under every page, is where the input model puts it.
constexpr int PClosePage = workflow::CommonPanel;
// Captions placed left of this on a page form its first column, which stands at one x.
constexpr int FirstColumnBefore = 30;
constexpr int FirstColumnX = 8;

// A control of the window by its objectName: the workflow's id of that name, if it names
// the control, and the member that the window's code keeps it in, if any.
template <typename W> struct Named {
    using Widget = W;
    const char* name = nullptr;
    std::optional<workflow::Control> control;
    W* TFGeneral::*member = nullptr;
};
// A control of the frame or the common panel, kept in its member.
#define N(name)                                                                                    \
    { #name, workflow::ControlNamed(#name), &TFGeneral::name }
// A control of a kind's page, reached by its id, if the workflow names it, through Widget().
#define P(name)                                                                                    \
    { #name, workflow::ControlNamed(#name), nullptr }

// How a numeric edit differs from a plain input field.
enum class EditLook {
    Plain,
    NormFigure, // the norm, on the underlined run of its caption; copied, never typed
    Fixed,      // a fixed value, greyed and passed by Tab
    Accented,   // framed in the accent colour
};

// A numeric edit on its backdrop, with the marker at the backdrop's left end.
struct EditPlace {
    Named<NumericEdit> edit;
    int page;
    QRect rect;
    Named<Backdrop> shape; // none for the read-only norm field
    QRect shapeRect;
    Named<Marker> marker; // none for the two fields without one
    QRect markerRect;
    EditLook look = EditLook::Plain;
};

// A drop-down list on its backdrop, with the picture that opens it at the right end.
struct ListPlace {
    Named<ValueComboBox> list;
    int page;
    QRect rect;
    Named<Backdrop> shape;
    QRect shapeRect;
    Named<DropDownPicture> picture;
    QRect pictureRect;
    QRgb frame = 0;    // none: the common frame colour
    int rowHeight = 0; // none: the list's own
};

// A label at its place; its text is the caption of the control it names, or its own.
struct LabelPlace {
    Named<QLabel> label;
    int page;
    QPoint pos;
    std::optional<workflow::Control> captionOf; // a control of the input model, or none
    std::string_view ownText;
    UiFace face;
    bool bold;
};

// clang-format off
constexpr EditPlace Edits[] = {
    {P(RzNumericEdit1),  0, {296, 17, 121, 24}, P(Shape1),  {274, 15, 146, 28}, P(Image8),  {276, 15, 20, 28}},
    {P(RzNumericEdit2),  0, {295, 60, 121, 24}, P(Shape15), {274, 58, 145, 28}, P(Image9),  {275, 58, 20, 28}},
    {P(RzNumericEdit3),  0, {195, 106, 57, 21}, {},          {},                 {},          {}, EditLook::NormFigure},
    {P(RzNumericEdit6),  1, {296, 18, 121, 24}, P(Shape4),  {275, 16, 145, 28}, P(Image12), {276, 16, 21, 21}},
    {P(RzNumericEdit7),  1, {296, 64, 121, 24}, P(Shape16), {275, 62, 145, 28}, P(Image11), {276, 62, 21, 21}},
    {P(RzNumericEdit8),  1, {296, 109, 121, 24}, P(Shape17), {275, 107, 145, 28}, P(Image13), {276, 107, 21, 26}},
    {P(RzNumericEdit11), 2, {296, 18, 121, 24}, P(Shape7),  {275, 16, 145, 28}, P(Image14), {276, 16, 21, 25}, EditLook::Accented},
    {P(RzNumericEdit12), 2, {296, 64, 121, 24}, P(Shape18), {275, 62, 145, 28}, P(Image16), {276, 62, 21, 25}, EditLook::Accented},
    {P(RzNumericEdit13), 2, {296, 109, 121, 24}, P(Shape19), {275, 107, 145, 28}, P(Image15), {276, 107, 21, 25}},
    {P(RzNumericEdit16), 3, {296, 18, 258, 24}, P(Shape5),  {272, 16, 285, 28}, P(Image17), {276, 16, 21, 28}},
    {P(RzNumericEdit17), 3, {296, 70, 257, 24}, P(Shape8),  {272, 68, 284, 28}, P(Image18), {276, 68, 21, 28}},
    {P(RzNumericEdit18), 3, {112, 116, 57, 24}, P(Shape9),  {88, 114, 84, 28},  P(Image19), {92, 114, 21, 28}},
    {P(RzNumericEdit21), 3, {296, 116, 57, 24}, P(Shape10), {272, 114, 85, 28}, P(Image20), {276, 114, 21, 28}},
    {P(RzNumericEdit22), 3, {488, 116, 57, 24}, P(Shape11), {464, 114, 84, 28}, P(Image21), {468, 114, 21, 28}},
    {P(RzNumericEdit24), 3, {275, 195, 273, 24}, P(Shape13), {273, 193, 276, 27}, {},         {}, EditLook::Fixed},
    {P(RzNumericEdit25), 4, {293, 15, 121, 24}, P(Shape6),  {271, 13, 145, 28}, P(Image1),  {273, 13, 21, 28}},
    {P(RzNumericEdit26), 4, {293, 51, 121, 24}, P(Shape20), {271, 49, 145, 28}, P(Image2),  {273, 49, 21, 28}},
    {P(RzNumericEdit27), 4, {293, 88, 121, 24}, P(Shape21), {271, 86, 145, 28}, P(Image3),  {273, 86, 21, 28}},
    {P(RzNumericEdit28), 4, {293, 123, 121, 24}, P(Shape22), {271, 121, 145, 28}, P(Image5),  {273, 121, 21, 28}},
};

constexpr ListPlace Lists[] = {
    {P(RzComboBox5), 0,          {154, 168, 258, 24}, P(Shape24), {151, 167, 285, 28}, P(Image24), {413, 167, 20, 27}, Colors::PureRed},
    {P(RzComboBox4), 3,          {276, 152, 87, 24},  P(Shape12), {273, 150, 110, 28}, P(Image22), {360, 152, 23, 19}},
    {P(RzComboBox2), 4,          {8, 207, 543, 24},   P(Shape14), {5, 205, 572, 28},   P(Image4),  {553, 206, 19, 21}},
    {N(RzComboBox3), PClosePage, {232, 84, 57, 24},   N(Shape2),  {230, 83, 82, 28},   N(Image7),  {290, 83, 20, 27}},
    {N(RzComboBox1), PClosePage, {232, 126, 321, 24}, N(Shape3),  {230, 124, 344, 28}, N(Image6),  {552, 125, 20, 23}, 0, 16},
};

constexpr LabelPlace Labels[] = {
    {P(RzLabel1),  0, {16, 21},  workflow::Control::RzNumericEdit1,  "", UiFace::MsSansSerif, false},
    {P(RzLabel2),  0, {17, 67},  workflow::Control::RzNumericEdit2,  "", UiFace::MsSansSerif, false},
    {P(RzLabel3),  0, {19, 118}, workflow::Control::RzNumericEdit3,  "", UiFace::Arial,       true},
    {P(RzLabel10), 0, {21, 177}, workflow::Control::RzComboBox5,     "", UiFace::Arial,       true},
    {P(RzLabel7),  1, {7, 22},   workflow::Control::RzNumericEdit6,  "", UiFace::MsSansSerif, false},
    {P(RzLabel8),  1, {8, 68},   workflow::Control::RzNumericEdit7,  "", UiFace::MsSansSerif, false},
    {P(RzLabel9),  1, {8, 113},  workflow::Control::RzNumericEdit8,  "", UiFace::MsSansSerif, false},
    {P(RzLabel13), 2, {7, 22},   workflow::Control::RzNumericEdit11, "", UiFace::MsSansSerif, false},
    {P(RzLabel14), 2, {8, 68},   workflow::Control::RzNumericEdit12, "", UiFace::MsSansSerif, false},
    {P(RzLabel15), 2, {8, 113},  workflow::Control::RzNumericEdit13, "", UiFace::MsSansSerif, false},
    {P(RzLabel19), 3, {7, 21},   workflow::Control::RzNumericEdit16, "", UiFace::MsSansSerif, false},
    {P(RzLabel20), 3, {8, 76},   workflow::Control::RzNumericEdit17, "", UiFace::MsSansSerif, false},
    {P(RzLabel21), 3, {8, 120},  workflow::Control::RzNumericEdit18, "", UiFace::MsSansSerif, false},
    {P(RzLabel25), 3, {200, 120}, workflow::Control::RzNumericEdit21, "", UiFace::MsSansSerif, false},
    {P(RzLabel26), 3, {376, 119}, workflow::Control::RzNumericEdit22, "", UiFace::MsSansSerif, false},
    {P(RzLabel27), 3, {8, 161},  workflow::Control::RzComboBox4,     "", UiFace::MsSansSerif, false},
    {P(RzLabel28), 3, {8, 205},  workflow::Control::RzNumericEdit24, "", UiFace::MsSansSerif, false},
    {P(RzLabel29), 4, {8, 21},   workflow::Control::RzNumericEdit25, "", UiFace::MsSansSerif, false},
    {P(RzLabel30), 4, {8, 58},   workflow::Control::RzNumericEdit26, "", UiFace::MsSansSerif, false},
    {P(RzLabel33), 4, {8, 96},   workflow::Control::RzNumericEdit27, "", UiFace::MsSansSerif, false},
    {P(RzLabel32), 4, {8, 129},  workflow::Control::RzNumericEdit28, "", UiFace::MsSansSerif, false},
    {P(RzLabel12), 4, {8, 189},  workflow::Control::RzComboBox2,     "", UiFace::MsSansSerif, false},
    {N(RzLabel16), PClosePage, {11, 3},   workflow::Control::RzRadioGroup1, "", UiFace::MsSansSerif, true},
    {N(RzLabel11), PClosePage, {119, 3},  workflow::Control::RzRadioGroup2, "", UiFace::MsSansSerif, true},
    {N(RzLabel17), PClosePage, {261, 3},  workflow::Control::RzRadioGroup3, "", UiFace::MsSansSerif, true},
    {N(RzLabel18), PClosePage, {360, 3},  workflow::Control::RzRadioGroup4, "", UiFace::MsSansSerif, true},
    {N(RzLabel31), PClosePage, {8, 96},   workflow::Control::RzComboBox3,   "", UiFace::MsSansSerif, true},
    {N(RzLabel5),  PClosePage, {8, 138},  workflow::Control::RzComboBox1,   "", UiFace::MsSansSerif, true},
    {N(RzLabel6),  PClosePage, {8, 216},  std::nullopt, "Необходимая толщина тепловой изоляции......................мм",
                                                                UiFace::MsSansSerif, true},
};

struct RadioPlace {
    Named<RadioGroup> group;
    QRect rect;
};
constexpr RadioPlace Radios[] = {
    {N(RzRadioGroup1), {2, 18, 111, 42}},
    {N(RzRadioGroup2), {112, 18, 145, 42}},
    {N(RzRadioGroup3), {256, 18, 97, 42}},
    {N(RzRadioGroup4), {352, 18, 231, 42}},
};

// A button's text is its caption as its faces draw it, with its Alt mnemonic.
struct ButtonPlace {
    Named<PictureButton> button;
    QRect rect;
    const char *up, *hover, *down;
    const char* text;
    Pictures::FaceLetter letter;
};
constexpr ButtonPlace Buttons[] = {
    {N(RzBmpButton1), {24, 159, 138, 38}, Pictures::CalculateUp, Pictures::CalculateHover, Pictures::CalculateDown, "&Рассчитать", Pictures::CalculateLetter},
    {N(RzBmpButton3), {469, 161, 91, 25}, Pictures::ReportUp,    Pictures::ReportHover,    Pictures::ReportDown,    "&Отчёт",      Pictures::ReportLetter},
    {N(RzBmpButton2), {478, 220, 81, 23}, Pictures::CloseUp,     Pictures::CloseHover,     Pictures::CloseDown,     "&Закрыть",    Pictures::CloseLetter},
};

// The Alt mnemonics of the common panel's captions, each taking the focus to its control: the
// letter's place in the caption, clear of the buttons' Р, О, З and «Анализ толщины»'s А.
struct CaptionMnemonic {
    workflow::Control control;
    int letter;
};
constexpr CaptionMnemonic CaptionMnemonics[] = {
    {workflow::Control::RzRadioGroup1, 1}, // оБъект
    {workflow::Control::RzRadioGroup2, 2}, // раСположение
    {workflow::Control::RzRadioGroup3, 0}, // Покрытие
    {workflow::Control::RzRadioGroup4, 0}, // Число часов работы в год
    {workflow::Control::RzComboBox3,   1}, // дИаметр трубы: the feet of Д would hide the line
    {workflow::Control::RzComboBox1,   0}, // Материал
};
// clang-format on

// Every control the workflow names has its one place in the tables above, which binds its id
// to its widget when compiled: a control left out, or placed twice, does not compile.
constexpr bool EachControlPlacedOnce() {
    std::array<int, workflow::ControlCount> placed{};
    const auto place = [&](const auto& named) {
        if (named.control) ++placed[std::size_t(*named.control)];
    };
    for (const EditPlace& p : Edits) {
        place(p.edit);
        place(p.shape);
        place(p.marker);
    }
    for (const ListPlace& p : Lists) {
        place(p.list);
        place(p.shape);
        place(p.picture);
    }
    for (const LabelPlace& p : Labels)
        place(p.label);
    for (const RadioPlace& p : Radios)
        place(p.group);
    return std::ranges::all_of(placed, [](int n) { return n == 1; });
}
static_assert(EachControlPlacedOnce());

template <typename W> W* Make(QWidget* parent, const char* name) {
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

// The bar between the panes is locked, so it shows no grip: a plain white strip.
class PlainSplitterHandle : public QSplitterHandle {
public:
    using QSplitterHandle::QSplitterHandle;

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Qt::white); }
};

class PlainSplitter : public QSplitter {
public:
    using QSplitter::QSplitter;

protected:
    QSplitterHandle* createHandle() override {
        return new PlainSplitterHandle(orientation(), this);
    }
};

QWidget* WhitePanel(QWidget* parent, const char* name) {
    auto* panel = Make<QWidget>(parent, name);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, Qt::white);
    panel->setPalette(palette);
    return panel;
}

// Holds `content` at its place at the top left, with a scroll bar where the window is smaller
// than it; `fill` stretches it to the room there is, down to its least size. Tab passes by.
QScrollArea* ScrollingPanel(QWidget* parent, const char* name, QWidget* content, bool fill) {
    auto* area = Make<QScrollArea>(parent, name);
    area->setFrameShape(QFrame::NoFrame);
    area->setFocusPolicy(Qt::NoFocus);
    area->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    area->setBackgroundRole(QPalette::Window);
    QPalette palette = area->palette();
    palette.setColor(QPalette::Window, Qt::white);
    area->setPalette(palette);
    if (fill) area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setWidgetResizable(fill);
    area->setWidget(content);
    return area;
}

// The caption that the input model gives a control; that of the norm follows the object.
QString CaptionOf(workflow::Control control, int objectPosition) {
    if (control == workflow::Control::RzNumericEdit3)
        return Text(workflow::NormCaption(objectPosition));
    if (control == workflow::MaterialListControl) return Text(workflow::MaterialCaption);
    if (workflow::IsChoice(control)) return Text(workflow::Choice(control).caption);
    return Text(workflow::NumberField(control).caption);
}

} // namespace

template <typename Place> auto TFGeneral::Create(const Place& control, QWidget* parent) {
    auto* w = new typename Place::Widget(parent);
    w->setObjectName(QString::fromLatin1(control.name));
    if (control.member) this->*control.member = w;
    if (control.control) controls_[std::size_t(*control.control)] = w;
    return w;
}

void TFGeneral::BuildFrame() {
    setObjectName(QStringLiteral("FGeneral"));
    setWindowTitle(QStringLiteral("Программа расчёта толщины теплоизоляционного слоя материалов "));
    // The window grows and is maximised; the calculation pages need their first width. On a
    // screen too short for them the window is shorter, and they and the group bar scroll.
    setMinimumSize(FirstSize.width(), LeastHeight);
    resize(FirstSize);
    setFont(UiFont(UiFace::MsSansSerif, 11));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);

    StatusBar = Make<QStatusBar>(this, "StatusBar");
    StatusBar->setFixedHeight(19);
    StatusBar->setAutoFillBackground(true);
    setStatusBar(StatusBar);
    AcceptedCheckLine = Make<QLabel>(StatusBar, "AcceptedCheckLine");
    AcceptedCheckLine->setContentsMargins(6, 0, 6, 0);
    StatusBar->addWidget(AcceptedCheckLine, 1);

    Splitter = Make<PlainSplitter>(this, "Splitter");
    Splitter->setHandleWidth(7);
    Splitter->setChildrenCollapsible(false);
    setCentralWidget(Splitter);

    // Left pane: header picture, grey rule, group bar, which takes the height there is.
    QWidget* left = WhitePanel(Splitter, "LeftPane");
    left->setFixedWidth(241);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->setSpacing(0);
    PHeader = WhitePanel(left, "PHeader");
    PHeader->setFixedSize(241, 40);
    leftLayout->addWidget(PHeader);
    iMain = Make<Picture>(PHeader, "iMain");
    iMain->setSource(QString::fromLatin1(Pictures::Header));
    iMain->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    iMain->setGeometry(0, 0, 241, 40);
    auto* rule = Make<Backdrop>(left, "spLeftLine");
    rule->setColor(QColor(0xc0, 0xc0, 0xc0));
    rule->setRadius(0);
    rule->setFixedSize(241, 5);
    leftLayout->addWidget(rule);
    spLeftLine = rule;
    GroupBar = Make<::GroupBar>(left, "GroupBar");
    GroupBar->setGroupBorder(4);
    leftLayout->addWidget(ScrollingPanel(left, "GroupBarScroll", GroupBar, true), 1);

    RGCalc = GroupBar->addGroup(QStringLiteral("Расчёт толщины изоляции"));
    RGCalc->setObjectName(QStringLiteral("RGCalc"));
    RGCalc->setOpenHeight(351);
    RGCalc->setItemHeight(50);
    RGCalc->setBoldItems(true);
    for (const workflow::CalcKind& method : workflow::CalcKinds())
        RGCalc->addItem(Text(method.caption));
    GrHelper = GroupBar->addGroup(QStringLiteral("Справочные материалы"));
    GrHelper->setObjectName(QStringLiteral("GrHelper"));
    GrHelper->setOpenHeight(47);
    GrHelper->addItem(QStringLiteral("Справочные материалы"));
    GrSchedule = GroupBar->addGroup(QStringLiteral("Ведомость"));
    GrSchedule->setObjectName(QStringLiteral("GrSchedule"));
    GrSchedule->setOpenHeight(47);
    GrSchedule->addItem(QStringLiteral("Ведомость расчётов"));

    // Right pane: blank strip, header line, red rule, page container; it takes the room the
    // window gives (PlaceRightPane).
    QWidget* right = WhitePanel(Splitter, "RightPane");
    right->setMinimumWidth(CalcPageSize.width());
    right->installEventFilter(this);
    rightPane_ = right;
    Label1 = Make<QLabel>(right, "Label1");
    StaticText = Make<QLabel>(right, "StaticText");
    StaticText->setContentsMargins(10, 0, 10, 0); // a long header keeps off the window's edge
    StaticText->setFont(UiFont(UiFace::MsSansSerif, 12, true));
    StaticText->setAlignment(Qt::AlignCenter);
    StaticText->setWordWrap(true);
    RzSeparator2 = Make<SeparatorLine>(right, "RzSeparator2");
    Notebook1 = Make<QStackedWidget>(right, "Notebook1");

    Splitter->setStretchFactor(0, 0);
    Splitter->setStretchFactor(1, 1);
    Splitter->setSizes({241, CalcPageSize.width()});
    Splitter->handle(1)->setEnabled(false); // the bar is locked

    Browser = WhitePanel(Notebook1, "Browser");
    WebBrowser = new ReferencePage(Browser);
    WebBrowser->setObjectName(QStringLiteral("WebBrowser"));
    auto* browserLayout = new QVBoxLayout(Browser);
    browserLayout->setContentsMargins(0, 0, 0, 0);
    browserLayout->addWidget(WebBrowser);
    Notebook1->addWidget(Browser);

    scheduleModel_ = new ScheduleModel(schedule::DefaultSchedulePath(), this);

    // The calculation pages keep their place at the top left however the window grows.
    PanelCalc = WhitePanel(Notebook1, "PanelCalc");
    PanelCalc->resize(CalcPageSize);
    Calc = ScrollingPanel(Notebook1, "Calc", PanelCalc, false);
    Notebook1->addWidget(Calc);
    Notebook = Make<QStackedWidget>(PanelCalc, "Notebook");
    Notebook->setGeometry(0, 0, 586, 257);
    PClose = WhitePanel(PanelCalc, "PClose");
    PClose->setGeometry(0, 255, 586, 244);
    Notebook1->setCurrentWidget(Calc);
}

void TFGeneral::PlaceRightPane() {
    const QSize size = rightPane_->size();
    Label1->setGeometry(0, 0, size.width(), HeaderTop);
    RzSeparator2->setGeometry(0, HeaderBottom, size.width(), RuleHeight);
    Notebook1->setGeometry(0, PagesTop, size.width(), size.height() - PagesTop);
    ShowHeader(StaticText->text());
}

void TFGeneral::BuildPages() {
    for (const char* name : {"Helper", "About"})
        Notebook->addWidget(WhitePanel(Notebook, name));
    for (std::string_view page : workflow::KindPages)
        Notebook->addWidget(WhitePanel(Notebook, std::string(page).c_str()));
    BuildPage(PClosePage);
}

QWidget* TFGeneral::PageWidget(int page) const {
    return page == PClosePage ? PClose : Notebook->widget(page + workflow::FirstMethodPage);
}

void TFGeneral::BuildPage(int page) {
    QWidget* parent = PageWidget(page);
    // Backdrops first, so that the inputs and pictures stand on them.
    for (const EditPlace& place : Edits) {
        if (place.page != page) continue;
        if (place.shape.name) Create(place.shape, parent)->setGeometry(place.shapeRect);
        // The marker's arrow is centred on its backdrop, and so on the field, on every page.
        if (place.marker.name)
            Create(place.marker, parent)
                ->setGeometry(place.markerRect.left(), place.shapeRect.top(),
                              place.markerRect.width(), place.shapeRect.height());
        Create(place.edit, parent)->setGeometry(place.rect);
    }
    for (const ListPlace& place : Lists) {
        if (place.page != page) continue;
        Create(place.shape, parent)->setGeometry(place.shapeRect);
        ValueComboBox* list = Create(place.list, parent);
        list->setGeometry(place.rect);
        if (place.frame) list->setFrameColor(QColor(place.frame));
        if (place.rowHeight) list->setRowHeight(place.rowHeight);
        Create(place.picture, parent)->setGeometry(place.pictureRect);
    }
    const int object = RzRadioGroup1 ? RzRadioGroup1->currentIndex() : 0;
    for (const LabelPlace& place : Labels) {
        if (place.page != page) continue;
        QLabel* label = Create(place.label, parent);
        if (place.captionOf) captions_[std::size_t(*place.captionOf)] = label;
        label->setText(place.captionOf ? CaptionOf(*place.captionOf, object) : Text(place.ownText));
        // The captions of the first column stand at one x on every page.
        QPoint pos = place.pos;
        if (place.page != PClosePage && pos.x() < FirstColumnBefore) pos.setX(FirstColumnX);
        label->move(pos);
        label->setFont(UiFont(place.face, 11, place.bold));
        label->adjustSize();
    }
    for (const EditPlace& place : Edits) {
        if (place.page != page) continue;
        NumericEdit* edit = Field(*place.edit.control);
        switch (place.look) {
        case EditLook::Plain:
            break;
        case EditLook::NormFigure: {
            // The norm stands on the underlined run of its caption: the run moved with the
            // caption, and the figure's baseline is the caption's.
            const auto caption =
                std::find_if(std::begin(Labels), std::end(Labels), [&](const LabelPlace& l) {
                    return l.captionOf == place.edit.control;
                });
            const QLabel* label = captions_[std::size_t(*place.edit.control)];
            const QFontMetrics captionMetrics = label->fontMetrics();
            const QFontMetrics figure = edit->fontMetrics();
            const int textTop = (place.rect.height() - figure.height() + 1) / 2;
            edit->move(place.rect.x() + label->x() - caption->pos.x(),
                       label->y() + captionMetrics.ascent() - figure.ascent() - textTop);
            edit->setReadOnly(true);
            edit->setFrameVisible(false);
            edit->setFocusPolicy(Qt::ClickFocus); // its figure can be copied, Tab passes it by
            break;
        }
        case EditLook::Fixed:
            edit->setEnabled(false);
            edit->setFocusPolicy(Qt::NoFocus);
            break;
        case EditLook::Accented:
            edit->setFrameColor(QColor(Colors::Accent));
            break;
        }
    }
}

void TFGeneral::EnsurePage(int method) {
    if (method < 0 || method >= workflow::CalcMethodCount || pageBuilt_[std::size_t(method)])
        return;
    pageBuilt_[std::size_t(method)] = true;
    BuildPage(method);
    ConfigureInputs(method);
    ConnectInputs(method);
    ApplyTabOrder();
}

void TFGeneral::BuildCommonPanel() {
    for (const RadioPlace& place : Radios) {
        RadioGroup* group = Create(place.group, PClose);
        group->setGeometry(place.rect);
    }
    for (const ButtonPlace& place : Buttons) {
        PictureButton* button = Create(place.button, PClose);
        button->setGeometry(place.rect);
        button->setFaces(QString::fromLatin1(place.up), QString::fromLatin1(place.hover),
                         QString::fromLatin1(place.down));
        button->setText(QString::fromUtf8(place.text));
        button->setFaceLetter(place.letter);
    }
    for (const CaptionMnemonic& mnemonic : CaptionMnemonics) {
        QLabel* caption = captions_[std::size_t(mnemonic.control)];
        caption->setText(caption->text().insert(mnemonic.letter, u'&'));
        caption->setBuddy(Widget(mnemonic.control));
    }
    // The result stands on the dotted run of its caption.
    RzLabel4 = Make<QLabel>(PClose, "RzLabel4");
    RzLabel4->setText(QStringLiteral("0"));
    RzLabel4->setFont(UiFont(UiFace::MsSansSerif, 16, true));
    RzLabel4->move(ResultLeft, RzLabel6->y() + RzLabel6->fontMetrics().ascent() -
                                   RzLabel4->fontMetrics().ascent());
    QPalette resultColours = RzLabel4->palette();
    resultColours.setColor(QPalette::WindowText, Qt::red);
    RzLabel4->setPalette(resultColours);
    RzLabel4->setAutoFillBackground(true);
    RzLabel4->adjustSize();

    // The result stands on the dotted run of its caption, and the unit must stay readable
    // after it: the caption is widened to where the classic, wider face ended it.
    constexpr int CaptionEnd = 372;
    const int natural = RzLabel6->fontMetrics().horizontalAdvance(RzLabel6->text());
    if (natural > 0 && RzLabel6->x() + natural < CaptionEnd) {
        QFont wider = RzLabel6->font();
        wider.setStretch(100 * (CaptionEnd - RzLabel6->x()) / natural);
        RzLabel6->setFont(wider);
        RzLabel6->adjustSize();
    }
}

QWidget* TFGeneral::Widget(workflow::Control control) const {
    return controls_[std::size_t(control)];
}

bool TFGeneral::IsOn(workflow::Control control, int page) const {
    const QWidget* widget = Widget(control);
    return widget && widget->parentWidget() == PageWidget(page);
}

void TFGeneral::ConfigureInputs(int page) {
    // Number fields: kind, default, limits and display pattern from the input model.
    for (const workflow::NumberFieldSpec& spec : workflow::NumberFields()) {
        if (!IsOn(spec.control, page)) continue;
        NumericEdit* edit = Field(spec.control);
        edit->setMode(spec.kind == workflow::FieldKind::Integer ? NumericEdit::Mode::Integer
                                                                : NumericEdit::Mode::Decimal);
        edit->setDisplayFormat(Text(spec.displayPattern));
        if (spec.use == workflow::FieldUse::Input && spec.limits)
            edit->setRange(spec.limits->min, spec.limits->max);
        edit->setValue(spec.defaultValue);
    }
    // Choices: rows and defaults from the input model.
    for (const workflow::ChoiceSpec& spec : workflow::Choices()) {
        if (!IsOn(spec.control, page)) continue;
        QWidget* control = Widget(spec.control);
        QStringList rows;
        for (std::string_view row : spec.rows)
            rows << Text(row);
        if (auto* group = qobject_cast<RadioGroup*>(control)) {
            group->setItems(rows);
            group->setCurrentIndex(spec.defaultRow);
        } else if (auto* list = qobject_cast<ValueComboBox*>(control)) {
            for (const QString& row : rows)
                list->appendRow(row);
            list->setCurrentIndex(spec.defaultRow);
        }
    }
    if (IsOn(workflow::MaterialListControl, page)) MirrorMaterialList();
}

void TFGeneral::ConnectInputs(int page) {
    for (const workflow::ChoiceSpec& choice : workflow::Choices()) {
        if (!IsOn(choice.control, page)) continue;
        QWidget* control = Widget(choice.control);
        if (auto* group = qobject_cast<RadioGroup*>(control))
            connect(group, &RadioGroup::changed, this, &TFGeneral::ShowResultState);
        else if (auto* list = qobject_cast<ValueComboBox*>(control))
            connect(list, &QComboBox::currentIndexChanged, this, &TFGeneral::ShowResultState);
    }
    if (IsOn(workflow::MaterialListControl, page))
        connect(RzComboBox1, &QComboBox::currentIndexChanged, this, &TFGeneral::ShowResultState);
    for (const workflow::NumberFieldSpec& field : workflow::NumberFields()) {
        if (field.use != workflow::FieldUse::Input || !IsOn(field.control, page)) continue;
        NumericEdit* edit = Field(field.control);
        const workflow::Control id = field.control;
        connect(edit, &NumericEdit::entered, this, [this, id] { EmptyZeroOnEntry(id); });
        if (field.announcesRangeError)
            connect(edit, &NumericEdit::rangeError, this,
                    [this, id](double value) { AnnounceRangeError(id, value); });
        // Enter in a field leaves it, with its rules and messages, and calculates.
        connect(edit, &QLineEdit::returnPressed, this, &TFGeneral::RzBitBtn1Click);
        connect(edit, &NumericEdit::valueChanged, this, &TFGeneral::ShowResultState);
        connect(edit, &QLineEdit::textEdited, this, &TFGeneral::ShowResultState);
    }
    for (const workflow::PictureOpensList& opens : workflow::PictureLists) {
        if (!IsOn(opens.picture, page)) continue;
        connect(qobject_cast<Picture*>(Widget(opens.picture)), &Picture::clicked, this,
                [this, picture = opens.picture] {
                    if (const auto list = workflow::ListOpenedBy(picture)) OpenList(*list);
                });
    }
}

std::vector<QWidget*> TFGeneral::PageTabOrder(int page) const {
    // Row by row from the top, each row from the left.
    std::vector<std::pair<QRect, QWidget*>> placed;
    for (const EditPlace& place : Edits)
        if (place.page == page) placed.emplace_back(place.rect, Widget(*place.edit.control));
    for (const ListPlace& place : Lists)
        if (place.page == page) placed.emplace_back(place.rect, Widget(*place.list.control));
    for (const RadioPlace& place : Radios)
        if (page == PClosePage) placed.emplace_back(place.rect, Widget(*place.group.control));
    std::ranges::stable_sort(placed, {},
                             [](const auto& p) { return std::pair(p.first.y(), p.first.x()); });
    std::vector<QWidget*> order;
    for (const auto& [rect, widget] : placed)
        if (widget && widget->focusPolicy() & Qt::TabFocus) order.push_back(widget);
    return order;
}

void TFGeneral::ApplyTabOrder() {
    // Each built page, then the common panel and its buttons, then the schedule page, then
    // the group bar, from which Tab comes round to the page shown.
    std::vector<QWidget*> order;
    for (int page = 0; page < workflow::CalcMethodCount; ++page)
        std::ranges::copy(PageTabOrder(page), std::back_inserter(order));
    std::ranges::copy(PageTabOrder(PClosePage), std::back_inserter(order));
    order.insert(order.end(), {RzBmpButton1, BtnAnalysis, RzBmpButton3, RzBmpButton2});
    if (SchedulePane) std::ranges::copy(SchedulePane->TabStops(), std::back_inserter(order));
    order.push_back(GroupBar);
    QWidget* previous = nullptr;
    for (QWidget* widget : order) {
        if (!widget) continue;
        if (previous) setTabOrder(previous, widget);
        previous = widget;
    }
}

void TFGeneral::FocusFirstField() {
    // A kind chosen from the keyboard in the group bar leaves the focus there, for the next.
    if (GroupBar->hasFocus()) return;
    if (Notebook1->currentWidget() == SchedulePane && SchedulePane) {
        SchedulePane->table()->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (Notebook1->currentWidget() != Calc) return;
    for (QWidget* field : PageTabOrder(CalcMethod()))
        if (field->isVisibleTo(this) && field->isEnabled()) {
            field->setFocus(Qt::OtherFocusReason);
            return;
        }
}

void TFGeneral::ConnectHandlers() {
    connect(RGCalc, &GroupBarGroup::itemClicked, this, [this](int item) {
        if (item >= 0 && item < workflow::CalcMethodCount) SelectMethod(item);
    });
    connect(GrHelper, &GroupBarGroup::itemClicked, this, [this](int item) {
        if (item == 0) GrHelperItems0Click();
    });
    connect(GrSchedule, &GroupBarGroup::itemClicked, this, [this](int item) {
        if (item == 0) GrScheduleItems0Click();
    });
    for (auto signal : {&ScheduleModel::rowsInserted, &ScheduleModel::rowsRemoved})
        connect(scheduleModel_, signal, this, &TFGeneral::ShowScheduleCount);
    connect(scheduleModel_, &ScheduleModel::modelReset, this, &TFGeneral::ShowScheduleCount);
    auto* addToSchedule = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_D), this);
    connect(addToSchedule, &QShortcut::activated, this, [this] { AddToSchedule(this); });

    connect(RzBmpButton1, &PictureButton::clicked, this, &TFGeneral::RzBitBtn1Click);
    connect(RzBmpButton3, &PictureButton::clicked, this, &TFGeneral::RzBmpButton3Click);
    connect(RzBmpButton2, &PictureButton::clicked, this, &TFGeneral::BCloseClick);
    connect(RzRadioGroup1, &RadioGroup::changing, this, &TFGeneral::RzRadioGroup1Changing);
    connect(RzComboBox3, &QComboBox::activated, this, &TFGeneral::RzComboBox3Change);
    connect(RzComboBox1, &QComboBox::currentIndexChanged, this,
            [this](int row) { materials_.Choose(row); });
    ConnectInputs(PClosePage);
    ApplyTabOrder();
}
