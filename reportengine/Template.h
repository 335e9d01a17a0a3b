// A report template: a page of positioned text boxes, the variables whose values fill
// their placeholders, and the options that the preview and the printer follow.
// Lengths are in units of 1/96 inch, measured from the sheet's top-left corner.
#pragma once

#include <QColor>
#include <QRectF>
#include <QString>

#include <variant>
#include <vector>

namespace reportengine {

// A variable holds nothing, a text (itself an expression) or a number.
using Value = std::variant<std::monostate, QString, double>;

struct Variable {
    QString name;
    Value value;
    // A category heading groups the variables below it; it is no variable of its own.
    bool isCategory = false;
};

struct FontSpec {
    QString family = QStringLiteral("Arial");
    int pixelSize = 13; // character height in 1/96 inch
    bool bold = false;
    bool underline = false;
    QColor color = Qt::black;
};

struct TextBox {
    QString name;
    QRectF geometry;
    bool visible = true;
    FontSpec font;
    QColor background = Qt::transparent;
    QString text;
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
    QString name;   // internal, as the program refers to the template
    QString title;  // for people: the printed document's and the file's name; empty: name
    QString author; // of the document; empty: none
    ReportOptions options;
    std::vector<Variable> variables;
    Page page;

    // Position of the entry in the variable list, or -1.
    int IndexOf(const QString& variableName) const;
    // Out-of-range positions are ignored, so a lookup that failed cannot write anywhere.
    void SetValue(int index, const QString& text);
    void SetValue(int index, double number);
    void ClearValue(int index);
    // The box of that name on the page, or nullptr.
    TextBox* FindObject(const QString& boxName);
    const TextBox* FindObject(const QString& boxName) const;
};

} // namespace reportengine
