// The small mark at the left end of a number field's backdrop.
#pragma once

#include "Picture.h"
#include "Pictures.h"

class Marker : public Picture {
    Q_OBJECT
public:
    explicit Marker(QWidget* parent = nullptr)
        : Picture(Pictures::Marker, parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
};
