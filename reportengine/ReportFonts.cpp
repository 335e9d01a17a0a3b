#include "ReportFonts.h"

#include "Fonts.h"

namespace reportengine {

QFont ReportFont(const reporttemplate::FontSpec& spec) {
    QFont font(InstalledFamily(QString::fromStdString(spec.family)));
    font.setPixelSize(spec.pixelSize);
    font.setBold(spec.bold);
    font.setUnderline(spec.underline);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

} // namespace reportengine
