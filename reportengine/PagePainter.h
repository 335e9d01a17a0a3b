// Painting a prepared page on any paint device: the preview, a printer, a PDF file.
// The text stays text, so that a PDF can be searched and copied from.
#pragma once

#include "PreparedPage.h"

#include <functional>
#include <span>

class QByteArray;
class QPagedPaintDevice;
class QIODevice;
class QPainter;

namespace reportengine {

// The painter's origin must be the sheet's top-left corner (a printer in full-page mode,
// a PDF writer without margins); lengths are scaled from 1/96 inch to the device. A device
// smaller than the page's paper either way gets the whole page, shrunk evenly to fit.
void PaintPage(QPainter& painter, const PreparedPage& page);

// A sheet after the report's own, painted by its owner: the painter's origin at the sheet's
// top-left corner, lengths in 1/96 inch.
using ExtraPage = std::function<void(QPainter&)>;
// The report's page, then each extra page on a sheet of its own.
void PaintPages(QPainter& painter, QPagedPaintDevice& device, const PreparedPage& page,
                std::span<const ExtraPage> extra);

// An A4 (or the page's own size) PDF of one page, named by the page's title and, where it
// has one, its author. False when the device cannot be written.
bool WritePdf(const PreparedPage& page, QIODevice& device, std::span<const ExtraPage> extra = {});
// The same as a file, put in place only when whole: an empty string, or why not in the
// user's words.
QString WritePdf(const PreparedPage& page, const QString& path,
                 std::span<const ExtraPage> extra = {});

// The XMP metadata that names a document's title and author: a PDF writer has no field of
// its own for the author.
QByteArray XmpMetadata(const QString& title, const QString& author);

} // namespace reportengine
