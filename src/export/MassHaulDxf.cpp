#include "export/MassHaulDxf.h"

#include "drawing/MassHaulDiagram.h"
#include "export/DxfWriter.h"

#include <QDir>
#include <string_view>

namespace tarmela
{

QStringList ExportMassHaulDxf(Database& db, std::int64_t road, const QString& templateFolder,
                              const QString& target)
{
    using namespace std::string_view_literals;
    const MassHaulRoad r = readMassHaulRoad(db, road);
    const std::int64_t sheets = r.diagramPages();
    const DiagramPage first = massHaulDiagramPage(r, 0, 1, sheets, QLocale::c());
    // Sheets stand 2 units apart; y runs up from the sheets' lower edge.
    const double width = first.width * kMassHaulDxfUnit + 2;
    const double height = first.height * kMassHaulDxfUnit;
    DxfWriter out(QDir(templateFolder).filePath(QStringLiteral("HeaderL.dxf")), target,
                  DxfExtents{0, 0, float(double(sheets) * width - 2), float(height)});
    static constexpr std::string_view layers[4] = {"FRAME"sv, "GRID"sv, "MASSHAUL"sv, "TEXT"sv};
    for (std::int64_t k = 0; k < sheets; ++k) {
        const DiagramPage page =
            k == 0 ? first : massHaulDiagramPage(r, k, k + 1, sheets, QLocale::c());
        const double left = double(k) * width;
        auto X = [&](double x) { return float(left + x * kMassHaulDxfUnit); };
        auto Y = [&](double y) { return float(height - y * kMassHaulDxfUnit); };
        for (const DiagramLine& l : page.lines) {
            out.setLayer(layers[int(l.layer)]);
            out.DxfLine(X(l.x1), Y(l.y1), X(l.x2), Y(l.y2));
        }
        out.setLayer(layers[3]);
        for (const DiagramText& t : page.texts) {
            // A text's height in a drawing is that of its capitals, some 0.7 of the type size.
            out.setTextHeight(float(0.7 * t.points * 20 * kMassHaulDxfUnit));
            if (t.turned)
                out.DxfText(X(t.x + t.ascent), Y(t.y), t.text, true);
            else
                out.DxfText(X(t.x), Y(t.y + t.ascent), t.text);
        }
    }
    out.finish();
    if (r.sections.empty())
        return {QStringLiteral("There are no records to display for the current road!")};
    return {};
}

} // namespace tarmela
