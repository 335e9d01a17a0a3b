// The picture at the right end of a list's backdrop; clicking it is meant to open the list.
#pragma once

#include "Picture.h"
#include "Pictures.h"

class DropDownPicture : public Picture {
    Q_OBJECT
public:
    explicit DropDownPicture(QWidget* parent = nullptr)
        : Picture(Pictures::DropDown, parent) {
        setHoverSource(Pictures::DropDownHover);
        setCursor(Qt::PointingHandCursor);
    }
};
