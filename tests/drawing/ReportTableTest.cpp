#include "drawing/ReportTable.h"
#include "ReportPageText.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;

namespace
{

CharacterWidths widths()
{
    return CharacterWidths::load(qEnvironmentVariable("TARMELA_SOURCE_DIR") +
                                 "/data/Fonts/ARFONT8.fl");
}

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

TEST(ReportTable, WrappedCellGrowsItsRowAndPushesTheNextRowOver)
{
    const PageModel model;
    // Header: a title row and a heading row, each one row high.
    const int perPage = int((model.lastY() - model.top - 2 * model.rowHeight) / model.rowHeight);
    auto plain = std::make_unique<Numbered>(perPage);
    auto withNote = std::make_unique<Numbered>(perPage);
    withNote->notes[perPage - 3] = "A long note on a culvert that needs more than one line in "
                                   "its cell, however wide the eighty percent column may be on "
                                   "an upright A4 page";

    ReportDocument fits(model, widths());
    fits.addTable(std::move(plain));
    EXPECT_EQ(fits.pageCount(), 1);

    ReportDocument pushed(model, widths());
    pushed.addTable(std::move(withNote));
    ASSERT_EQ(pushed.pageCount(), 2);
    const auto first = pageRows(pushed.page(0));
    const auto second = pageRows(pushed.page(1));
    // Every page opens with its number and the header block; the note's row holds its
    // lines, and the last rows no longer fit below it.
    const QStringList header[] = {{"Title"}, {"No", "Note"}};
    for (const auto* rows : {&first, &second}) {
        ASSERT_GE(rows->size(), 4u);
        EXPECT_EQ((*rows)[0],
                  QStringList{QStringLiteral("Page %1 of 2").arg(rows == &first ? 1 : 2)});
        EXPECT_EQ((*rows)[1], header[0]);
        EXPECT_EQ((*rows)[2], header[1]);
    }
    // The note's row holds all its lines; the rows after it that no longer fit open the
    // next page, none lost, none twice.
    const auto noteRow = std::find_if(first.begin(), first.end(), [&](const QStringList& r) {
        return r[0] == QString::number(perPage - 2);
    });
    ASSERT_NE(noteRow, first.end());
    ASSERT_EQ(noteRow->size(), 2);
    EXPECT_GE((*noteRow)[1].count('/'), 1) << (*noteRow)[1].toStdString();
    EXPECT_EQ(second[3][0].toInt(), first.back()[0].toInt() + 1);
    EXPECT_EQ(second.back()[0].toInt(), perPage);
}

TEST(ReportTable, TextsShrinkToStayInsideTheirCells)
{
    const CharacterWidths w = widths();
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
            for (const QString& line : t.lines) {
                if (t.fontSize > kSmallestPrintedSize) {
                    EXPECT_LE(w.textWidth(line, t.fontSize, t.bold), t.box.width() + 1e-9)
                        << line.toStdString();
                }
            }
        }
        // "Fill Area" breaks at its blank before it shrinks; a short value keeps its size.
        EXPECT_EQ(page.texts[2].lines, (QStringList{"Fill", "Area"}));
        EXPECT_EQ(page.texts[4].fontSize, 8);
        EXPECT_LT(page.texts[3].fontSize, 8);
    }
}
