#include "uTitleForm.h"

#include "Fonts.h"
#include "SvgPainter.h"

#include <QCloseEvent>
#include <QFont>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

TFTitle* FTitle = nullptr;

// The picture sits in this library's resources, which a static library must register itself.
static void InitTitleResource() {
    Q_INIT_RESOURCE(title);
}

namespace {

constexpr int ClientWidth = 659;
constexpr int ClientHeight = 294;
constexpr quint8 StartAlpha = 208;
constexpr quint8 AlphaStep = 4;
const QString TitlePicture = QStringLiteral(":/title/title.svg");

} // namespace

TTitleImage::TTitleImage(QWidget* parent)
    : QWidget(parent) {
    InitTitleResource();
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TTitleImage::~TTitleImage() {
    if (SvgPainter* svg = SvgPainterPlugin()) svg->Forget(TitlePicture);
}

void TTitleImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (SvgPainter* svg = SvgPainterPlugin()) svg->Render(TitlePicture, painter, rect());
}

void TEngravedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    const QRect area = contentsRect();
    const int flags = int(alignment());
    const QColor textColour = palette().color(QPalette::WindowText);
    painter.setPen(QColor(255, 255, 255, 220));
    painter.drawText(area.translated(1, 1), flags, text());
    painter.setPen(textColour.darker(250));
    painter.drawText(area.translated(-1, -1), flags, text());
    painter.setPen(textColour);
    painter.drawText(area, flags, text());
}

TFTitle::TFTitle(QWidget* owner)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , Image1(new TTitleImage(this))
    , RzLabel1(new TEngravedLabel(this))
    , TimerClose(new QTimer(this))
    , TimerStep(new QTimer(this)) {
    setObjectName(QStringLiteral("FTitle"));
    // The main window keeps the keyboard while the splash is over it.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(ClientWidth, ClientHeight);

    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, ClientWidth, ClientHeight);
    Image1->installEventFilter(this);

    RzLabel1->setObjectName(QStringLiteral("RzLabel1"));
    RzLabel1->setGeometry(184, 24, 391, 72);
    RzLabel1->setText(QStringLiteral("Программа расчёта толщины \n"
                                     "теплоизоляционного слоя материалов \n"
                                     "ЗОРБАЛИТ"));
    RzLabel1->setAlignment(Qt::AlignCenter);
    RzLabel1->setFont(UiFont(UiFace::MsSansSerif, 19, true));
    QPalette palette = RzLabel1->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    RzLabel1->setPalette(palette);
    RzLabel1->setAttribute(Qt::WA_TranslucentBackground);
    RzLabel1->installEventFilter(this);

    TimerClose->setObjectName(QStringLiteral("TimerClose"));
    TimerClose->setInterval(4000);
    connect(TimerClose, &QTimer::timeout, this, &TFTitle::TimerCloseTimer);
    TimerStep->setObjectName(QStringLiteral("TimerStep"));
    TimerStep->setInterval(40);
    connect(TimerStep, &QTimer::timeout, this, &TFTitle::TimerStepTimer);

    SetAlphaBlendValue(StartAlpha);

    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen) move(screen->geometry().center() - rect().center());

    FTitle = this;
    TimerClose->start();
}

TFTitle::~TFTitle() {
    if (FTitle == this) FTitle = nullptr;
}

void TFTitle::SetAlphaBlendValue(quint8 value) {
    alphaBlendValue_ = value;
    setWindowOpacity(value / 255.0);
}

void TFTitle::TimerCloseTimer() {
    // TimerClose keeps running; its next tick would come long after the window is gone.
    TimerStep->start();
}

void TFTitle::TimerStepTimer() {
    if (alphaBlendValue_ != 0) {
        SetAlphaBlendValue(quint8(alphaBlendValue_ - AlphaStep));
    } else {
        TimerStep->stop();
        close();
    }
}

void TFTitle::Image1Click() {
    TimerClose->stop();
    TimerStep->stop();
    close();
}

void TFTitle::FormClose() {
    setAttribute(Qt::WA_DeleteOnClose);
}

void TFTitle::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

bool TFTitle::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == Image1 || watched == RzLabel1) && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const auto* widget = static_cast<QWidget*>(watched);
        if (mouse->button() == Qt::LeftButton &&
            widget->rect().contains(mouse->position().toPoint())) {
            Image1Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
