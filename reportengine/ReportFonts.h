// The classic Windows faces of the templates, replaced where they are missing by the
// nearest installed faces at the same pixel sizes.
#pragma once

#include "Template.h"

#include <QFont>

namespace reportengine {

// The font of a box, sized in pixels of 1/96 inch and unhinted, so that the lines break at
// the same places on the screen, on paper and in a PDF file.
QFont ReportFont(const reporttemplate::FontSpec& spec);

} // namespace reportengine
