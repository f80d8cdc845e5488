// The cross sections in world units, for reuse in CAD: one unit is a metre, offsets along x and
// reduced levels along y as they are, undistorted. Each section stands at its own insertion
// point: its centre line at x = k * pitch for the k-th section in chainage order (the pitch
// being the widest section plus a gap), its levels at their true heights. The geometry is the
// cross-section pages' (sectionFigure); the labels are the chainage and the two areas under it.
#include "drawing/CrossSectionFigure.h"
#include "export/CrossSectionDxf.h"
#include "export/DxfDrawings.h"
#include "export/DxfWriter.h"
#include "store/Database.h"
#include "store/Numbers.h"

#include <QDir>
#include <algorithm>
#include <cmath>
#include <string_view>

namespace tarmela
{

using namespace std::string_view_literals;

namespace
{

constexpr float kTextHeight = 0.5f; // metres: 2.5 mm at 1:200
constexpr double kGap = 10;         // metres between the widest reaches of two sections

QString stored(double v)
{
    return std::isnan(v) ? QString() : plainDecimal(v);
}

} // namespace

void ExportCrossSectionsWorldDxf(Database& db, std::int64_t road, const DxfOptions& o,
                                 const QString& target)
{
    const CrossSectionRoad read = readCrossSectionRoad(db, road);
    const std::vector<RlRow>& rows = read.rows;
    std::vector<SectionFigure> figures;
    double reach = 0, low = INFINITY, high = -INFINITY;
    for (const RlRow& row : rows) {
        figures.push_back(sectionFigure(row, read.distances, o.viewSections));
        const SectionFigure& f = figures.back();
        reach = std::max({reach, f.leftExtent, f.rightExtent});
        if (f.drawsLevels()) {
            low = std::min(low, f.low);
            high = std::max(high, f.high);
        }
    }
    const double pitch = 2 * reach + kGap;
    const double side = std::max(reach, 5.0); // the labels' half width
    // The labels stand under each section's lowest level, three rows of text.
    const double textRow = 1.5 * double(kTextHeight);
    std::optional<DxfExtents> extents;
    if (!rows.empty() && low <= high)
        extents = DxfExtents{float(-side), float(low - 1 - 4 * textRow),
                             float(double(rows.size() - 1) * pitch + side), float(high + 1)};

    DxfWriter out(QDir(o.templateFolder).filePath(QStringLiteral("HeaderX.dxf")), target, extents);
    out.setTextHeight(kTextHeight);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const SectionFigure& f = figures[k];
        if (!f.drawsLevels())
            continue;
        const double x0 = double(k) * pitch;
        auto outline = [&](std::string_view layer, std::vector<FigureSegment> list,
                           const std::vector<FigureSegment>* more = nullptr) {
            if (more)
                list.insert(list.end(), more->begin(), more->end());
            out.setLayer(layer);
            DxfPath path(out);
            for (const FigureSegment& s : list)
                path.segment(float(x0 + s.a.offset), float(s.a.level), float(x0 + s.b.offset),
                             float(s.b.level));
            path.end();
        };
        outline("GROUND"sv, f.ground);
        outline("FORMATION"sv, f.formation, &f.slopes);
        outline("CARRIED"sv, f.slopesCarried, &f.groundCarried);
        out.setLayer("CENTRE"sv);
        out.DxfLine(float(x0), float(f.low - 1), float(x0), float(f.high + 1));
        out.setLayer("TEXT"sv);
        const RlRow& r = rows[k];
        const QString texts[3] = {"CHAINAGE = " + stored(r.chainage),
                                  "FILL AREA = " + stored(r.fillArea) + " SQM",
                                  "CUT AREA = " + stored(r.cutArea) + " SQM"};
        for (int i = 0; i < 3; ++i) {
            const float y = float(f.low - 1 - (i + 1) * textRow);
            out.DxfText(0, 0, texts[i], false, 1, float(x0), y);
        }
    }
    out.finish();
}

} // namespace tarmela
