// The splash window: the title picture with the program's name over the main window.
// It stays four seconds, fades out and frees itself; a click closes it at once.
#pragma once

#include <QLabel>
#include <QWidget>

class QTimer;

// A label drawn in a recessed (engraved) text style: a light edge below and to the right,
// a dark one above and to the left, the text colour between them.
class TEngravedLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The title picture, drawn from its vectors at each paint: the splash keeps no bitmap of
// its own beside the window's, and the picture goes with the splash.
class TTitleImage : public QWidget {
public:
    explicit TTitleImage(QWidget* parent);
    ~TTitleImage() override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

class TFTitle : public QWidget {
    Q_OBJECT
public:
    // The main window passes itself, so that the splash goes down with it.
    explicit TFTitle(QWidget* owner = nullptr);
    ~TFTitle() override;

    // The whole-window alpha, 0 (transparent) to 255 (opaque).
    quint8 AlphaBlendValue() const { return alphaBlendValue_; }

    TTitleImage* Image1;
    TEngravedLabel* RzLabel1;
    QTimer* TimerClose;
    QTimer* TimerStep;

    void TimerCloseTimer();
    void TimerStepTimer();
    void Image1Click();
    void FormClose();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetAlphaBlendValue(quint8 value);

    quint8 alphaBlendValue_ = 0;
};

// The splash while it is shown; null before it is created and after it is freed.
extern TFTitle* FTitle;
