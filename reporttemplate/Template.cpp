#include "Template.h"

namespace reporttemplate {

int Template::IndexOf(std::string_view variableName) const {
    for (size_t i = 0; i < variables.size(); ++i)
        if (variables[i].name == variableName) return static_cast<int>(i);
    return -1;
}

void Template::SetValue(int index, const std::string& text) {
    if (index >= 0 && index < static_cast<int>(variables.size())) variables[index].value = text;
}

void Template::SetValue(int index, double number) {
    if (index >= 0 && index < static_cast<int>(variables.size())) variables[index].value = number;
}

void Template::ClearValue(int index) {
    if (index >= 0 && index < static_cast<int>(variables.size()))
        variables[index].value = std::monostate{};
}

TextBox* Template::FindObject(std::string_view boxName) {
    for (TextBox& box : page.boxes)
        if (box.name == boxName) return &box;
    return nullptr;
}

const TextBox* Template::FindObject(std::string_view boxName) const {
    return const_cast<Template*>(this)->FindObject(boxName);
}

} // namespace reporttemplate
