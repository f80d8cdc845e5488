#pragma once

#include "drawing/CrossSectionPainter.h"
#include "drawing/LongSectionLayout.h"
#include "drawing/LongSectionPainter.h"
#include "store/Culverts.h"
#include "store/RlRowStore.h"
#include "store/Roads.h"

#include <QString>
#include <cstdint>

namespace tarmela
{

class Database;

// How a road's longitudinal section is divided into pages (sheets), from its RL sheet.
SectionPaging readSectionPaging(Database& db, std::int64_t road, double roadLength);

// What the longitudinal section takes from the settings.
struct LongSectionOptions {
    int viewSections = 8; // the outermost shown readings, L and R followed by this
    bool fixedDatum = true;
    double fixedDatumValue = 95;
};

// Reads the pages of a road's longitudinal section. Each page reads only its own rows (the
// chainage range through the index) and the culverts in that range, so a page of a long road
// costs what a page of a short one does. Throws Error from the database (a missing RL sheet
// is ErrorKind::TableMissing).
class LongSectionSource
{
public:
    LongSectionSource(Database& db, std::int64_t road, const LongSectionOptions& options);

    const Road& road() const { return m_road; }
    const SectionPaging& paging() const { return m_paging; }
    // Page index (0-based).
    LongSectionPage page(std::int64_t index);

private:
    Road m_road;
    LongSectionOptions m_options;
    SectionPaging m_paging;
    RlRowStore m_rows;
    RoadCulverts m_culverts;
};

// The culverts between two chainages (both included) as the profile marks them, each just
// under the mean of the formation levels either side of it (an empty one counts as datum + 1).
std::vector<CulvertMark> culvertMarks(RoadCulverts& culverts, RlRowStore& rows, double start,
                                      double end, double datum);

// Reads the pages of a road's cross sections, sectionsOnPage rows to a page in chainage order.
class CrossSectionSource
{
public:
    // viewSections: the readings a side drawn, those the areas use.
    CrossSectionSource(Database& db, std::int64_t road, int sectionsOnPage,
                       int viewSections = kReadingsPerSide);

    const Road& road() const { return m_road; }
    std::int64_t rowCount() const { return m_rows; }
    std::int64_t pageCount() const { return crossSectionPageCount(m_rows, m_perPage); }
    // Page number (1-based), its sections planned for slots like `slot`.
    CrossSectionPage page(std::int64_t number, const SectionSlot& slot, const QLocale& locale);

private:
    Road m_road;
    CrossDistances m_distances;
    int m_perPage;
    int m_viewSections;
    RlRowStore m_sheet;
    std::int64_t m_rows = 0;
    // Any page is read by counting to its first row from the road's start; the page after
    // the one read last from the row after its last row.
    std::int64_t m_nextPage = 0; // the page read on from the last (0: none)
    double m_lastChainage = 0;
    std::int64_t m_lastId = 0;
};

} // namespace tarmela
