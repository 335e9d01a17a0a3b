#include "FieldBehaviours.h"

#include <algorithm>

namespace workflow {

MaterialList::MaterialList()
    : diameter_(Choice(Control::RzComboBox3).defaultRow)
    , rows_(MaterialRowsFor(true, diameter_)) {
    ChooseValue(DefaultMaterialValue);
}

std::optional<std::string> MaterialList::ChosenValue() const {
    if (!chosen_) return std::nullopt;
    return std::string(rows_[*chosen_]->value);
}

int32_t MaterialList::MaterialIndex() const {
    return MaterialIndexFromValue(ChosenValue());
}

void MaterialList::Choose(int position) {
    if (position >= 0 && std::size_t(position) < rows_.size())
        chosen_ = std::size_t(position);
    else
        chosen_.reset();
}

void MaterialList::ChooseValue(std::string_view value) {
    const auto row = std::find_if(rows_.begin(), rows_.end(),
                                  [&](const MaterialSpec* m) { return m->value == value; });
    if (row == rows_.end())
        chosen_.reset();
    else
        chosen_ = std::size_t(row - rows_.begin());
}

void MaterialList::SwitchObject(int objectPosition, int diameterPosition) {
    const bool pipe = objectPosition != 1;
    diameter_ = diameterPosition;
    if (pipe == pipe_) return;
    pipe_ = pipe;
    rows_ = MaterialRowsFor(pipe_, diameter_);
    if (pipe_)
        ChooseValue(DefaultMaterialValue);
    else
        chosen_ = 0;
}

void MaterialList::ChangeDiameter(int diameterPosition) {
    diameter_ = diameterPosition;
    if (!pipe_) return; // the list is hidden on a plane and keeps the plane's rows
    const std::optional<std::string> chosen = ChosenValue();
    rows_ = MaterialRowsFor(true, diameter_);
    ChooseValue(chosen.value_or(""));
    if (chosen && !chosen_) ChooseValue(DefaultMaterialValue);
}

bool DiameterGroupVisible(int objectPosition) {
    return objectPosition != 1;
}

std::string TextOnEntry(const NumberFieldSpec& field, std::string_view shownText) {
    if (field.emptiesZeroOnEntry && shownText == "0") return {};
    return std::string(shownText);
}

std::optional<Control> ListOpenedBy(Control picture) {
    for (const PictureOpensList& p : PictureLists)
        if (p.picture == picture) return p.list;
    return std::nullopt;
}

} // namespace workflow
