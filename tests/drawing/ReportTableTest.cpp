#include "drawing/ReportTable.h"
#include "ReportPageText.h"

#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;

namespace
{

// Rows "1", "2", ...; a row given a note carries it in a measured cell.
struct Numbered : ReportTable {
    std::int64_t count;
    std::map<std::int64_t, QString> notes;
    explicit Numbered(std::int64_t n) : count(n)
    {
        columns = {20, 80};
        header = {{{100}, {{"Title", cellstyle::Left, 11, true, 0}}},
                  {columns, {{"No", 17, 10, true}, {"Note", 17, 10, true}}}};
    }
    std::int64_t rowCount() const override { return count; }
    bool mayWrap(std::int64_t r) const override { return notes.count(r) > 0; }
    TableRow row(std::int64_t r) const override
    {
        const auto note = notes.find(r);
        return {{QString::number(r + 1), 34, 8},
                {note == notes.end() ? QString() : note->second, cellstyle::Measured, 8}};
    }
};

} // namespace

// A wrapped note near the page's end grows its row, and the rows after it that no longer fit
// open the next page, none lost, none twice. (The header block on every page:
// PrintedReports.PdfRepeatsTheHeaderBlockOnEveryPage.)
TEST(ReportTable, WrappedCellGrowsItsRowAndPushesTheNextRowOver)
{
    const PageModel model;
    // Header: a title row and a heading row, each one row high.
    const int perPage = int((model.lastY() - model.top - 2 * model.rowHeight) / model.rowHeight);
    for (const bool note : {false, true}) {
        auto table = std::make_unique<Numbered>(perPage);
        if (note)
            table->notes[perPage - 3] = "A long note on a culvert that needs more than one line "
                                        "in its cell, however wide the eighty percent column "
                                        "may be on an upright A4 page";
        ReportDocument doc(model, shippedWidths());
        doc.addTable(std::move(table));
        ASSERT_EQ(doc.pageCount(), note ? 2 : 1);
        if (!note)
            continue;
        const auto first = pageRows(doc.page(0));
        const auto second = pageRows(doc.page(1));
        ASSERT_GT(first.size(), std::size_t(perPage));
        ASSERT_GE(second.size(), 4u);
        const QStringList& noted = first[perPage]; // below the page number and the header
        EXPECT_EQ(noted[0].toInt(), perPage - 2);
        EXPECT_GE(noted[1].count('/'), 1) << noted[1].toStdString();
        EXPECT_EQ(second[3][0].toInt(), first.back()[0].toInt() + 1);
        EXPECT_EQ(second.back()[0].toInt(), perPage);
    }
}

TEST(ReportTable, TextsShrinkToStayInsideTheirCells)
{
    const CharacterWidths w = shippedWidths();
    struct Narrow : ReportTable {
        Narrow()
        {
            columns.assign(24, 100.0 / 24);
            header = {{columns, {{"Chainage", 17, 10, true}, {"Fill Area", 17, 10, true}}}};
        }
        std::int64_t rowCount() const override { return 1; }
        TableRow row(std::int64_t) const override
        {
            return {{"123,456.789", 34, 8}, {"9.5", 34, 8}, {"Very-long-word here", 999, 8}};
        }
    };
    // Texts shrink to fit their cells, but not below 6 pt: a text that would need less stays
    // at 6 pt (a report lays itself out on wider paper before it comes to that). (The cells'
    // equal widths: PrintedReports.EarthworkShowsEveryColumnInEqualWidthsAndLeavesNullsEmpty.)
    for (const PageModel& model : {PageModel(), PageModel::on(Paper::A3, true)}) {
        ReportDocument doc(model, w);
        doc.addTable(std::make_unique<Narrow>());
        const ReportPage page = doc.page(0);
        ASSERT_EQ(page.texts.size(), 1u + 5);
        for (std::size_t i = 1; i < page.texts.size(); ++i) {
            const PlacedText& t = page.texts[i];
            EXPECT_GE(t.fontSize, kSmallestPrintedSize);
            if (t.fontSize <= kSmallestPrintedSize)
                continue;
            for (const QString& line : t.lines)
                EXPECT_LE(w.textWidth(line, t.fontSize, t.bold), t.box.width() + 1e-9)
                    << line.toStdString();
        }
        // "Fill Area" breaks at its blank before it shrinks; a short value keeps its size.
        EXPECT_EQ(page.texts[2].lines, (QStringList{"Fill", "Area"}));
        EXPECT_EQ(page.texts[4].fontSize, 8);
        EXPECT_LT(page.texts[3].fontSize, 8);
    }
}
