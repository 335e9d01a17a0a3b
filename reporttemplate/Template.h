// A report template as plain data: a page of positioned text boxes, the variables whose
// values fill their placeholders, and the options that a preview follows. Any front end
// can print it: the window paints it with Qt, a browser writes it as HTML.
// Lengths are in units of 1/96 inch, measured from the sheet's top-left corner.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace reporttemplate {

// The templates store millimetres times 3.77953, their own rounding of 96/25.4.
constexpr double MmToUnits(double mm) {
    return mm * 3.77953;
}

// A variable holds nothing, a text (itself an expression) or a number.
using Value = std::variant<std::monostate, std::string, double>;

struct Variable {
    std::string name;
    Value value;
    // A category heading groups the variables below it; it is no variable of its own.
    bool isCategory = false;
};

struct Rgb {
    unsigned char red = 0, green = 0, blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct FontSpec {
    std::string family = "Arial";
    int pixelSize = 13; // character height in 1/96 inch
    bool bold = false;
    bool underline = false;
    Rgb color{};
};

struct Rect {
    double left = 0, top = 0, width = 0, height = 0;
    double Right() const { return left + width; }
    double Bottom() const { return top + height; }
};

struct TextBox {
    std::string name;
    Rect geometry;
    bool visible = true;
    FontSpec font;
    std::optional<Rgb> background; // none: transparent
    std::string text;              // UTF-8, with [placeholders]
};

struct ReportOptions {
    double previewZoom = 1.0;
};

// One portrait sheet without margins: positions are taken from its corner.
struct Page {
    double paperWidthMm = 210; // A4
    double paperHeightMm = 297;
    // The edge of the sheet that printers leave blank: nothing printed lies there.
    double marginMm = 5;
    std::vector<TextBox> boxes;
};

class Template {
public:
    std::string name;   // internal, as the program refers to the template
    std::string title;  // for people: the printed document's and the file's name; empty: name
    std::string author; // of the document; empty: none
    ReportOptions options;
    std::vector<Variable> variables;
    Page page;

    // Position of the entry in the variable list, or -1.
    int IndexOf(std::string_view variableName) const;
    // Out-of-range positions are ignored, so a lookup that failed cannot write anywhere.
    void SetValue(int index, const std::string& text);
    void SetValue(int index, double number);
    void ClearValue(int index);
    // The box of that name on the page, or nullptr.
    TextBox* FindObject(std::string_view boxName);
    const TextBox* FindObject(std::string_view boxName) const;
};

} // namespace reporttemplate
