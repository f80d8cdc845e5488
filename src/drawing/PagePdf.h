#pragma once

#include "drawing/CrossSectionLayout.h"
#include "drawing/PageUnits.h"
#include "drawing/SectionSources.h"

#include <QString>
#include <cstdint>
#include <functional>

class QPainter;

namespace tarmela
{

class Database;

// Paints page `index` (0-based) in twips; the painter is already mapped to the page.
using PagePaint = std::function<void(QPainter& painter, std::int64_t index)>;

// The resolution of the section PDFs, in dots per inch.
constexpr int kPdfResolution = 600;

// Writes pageCount pages of one paper size and orientation as a PDF file: to a temporary file
// beside the target, which replaces the target only when the whole file is written. Throws
// Error(Io) naming the file when it cannot be written.
void writePagesPdf(const QString& target, Paper paper, bool landscape, std::int64_t pageCount,
                   const QString& title, const PagePaint& paint, int resolution = kPdfResolution);

// One device pixel of the PDF pages, in twips: the width of a thin line.
double pdfThinWidth();

// The whole longitudinal section as printed on A3 or A4 lying on its side.
void writeLongSectionPdf(Database& db, std::int64_t road, const LongSectionOptions& options,
                         const LongSectionStyle& style, Paper paper, const QString& target);
// Every cross section, on the paper and with the margins of the page setup.
void writeCrossSectionPdf(Database& db, std::int64_t road, int sectionsOnPage, Paper paper,
                          const PageMargins& margins, const CrossSectionStyle& style,
                          const QString& target);

} // namespace tarmela
