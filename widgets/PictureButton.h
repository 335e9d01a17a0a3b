// A push button drawn entirely by pictures: one face when up, one under the mouse and one
// while pressed. A mouse click leaves the focus where it is (the Tab key still reaches the
// button), so a handler that needs the edited field settled moves the focus itself.
#pragma once

#include "PictureFile.h"
#include "Pictures.h"

#include <QAbstractButton>

#include <optional>

class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit PictureButton(QWidget* parent = nullptr);

    void setFaces(const QString& up, const QString& hover, const QString& down);
    // The faces draw the caption; the button's text ("&Отчёт") names its Alt mnemonic, whose
    // letter, the caption's first, the button underlines where the style shows mnemonics.
    void setFaceLetter(const Pictures::FaceLetter& letter) { m_letter = letter; }

    enum class Face { Up, Hover, Down };
    Face currentFace() const; // the face that is drawn now

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    PictureFile m_up;
    PictureFile m_hover;
    PictureFile m_down;
    std::optional<Pictures::FaceLetter> m_letter;
    bool m_keyboardFocus = false;
};
