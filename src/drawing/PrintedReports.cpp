#include "drawing/PrintedReports.h"

#include "compute/ReportContent.h"
#include "store/Numbers.h"
#include "store/Roads.h"

#include <algorithm>

namespace tarmela
{

namespace
{

using namespace cellstyle;

constexpr double kTitleSize = 11;
constexpr double kRoadSize = 16;
constexpr double kHeadingSize = 10;
constexpr double kValueSize = 8;
constexpr int kHeading = Centre | WordBreak;
constexpr int kValue = Right | SingleLine;
constexpr int kSummary = Centre | SingleLine;
constexpr double kSummaryRowHeight = 25;

TableCell title(const QString& text, double size, int style = Left)
{
    return {text, style, size, true, 0};
}

TableCell heading(const QString& text)
{
    return {text, kHeading, kHeadingSize, true, BorderAll};
}

TableCell value(const QString& text)
{
    return {text, kValue, kValueSize, false, BorderAll};
}

QString number3(double v, const QLocale& locale)
{
    return isEmptyValue(v) ? QString() : fmt3(v, locale);
}

QString roadLine(const Road& road)
{
    return road.from + QStringLiteral(" To ") + road.to;
}

// The Level Book's lines as printed: per section the lines that hold something; then the
// arithmetic check, a line across the table each.
class LevelBookTable : public ReportTable
{
public:
    LevelBookTable(std::shared_ptr<const LevelBookContent> book, QLocale locale)
        : m_book(std::move(book)), m_locale(std::move(locale)),
          m_check(arithmeticCheckLines(*m_book, m_locale))
    {
        m_firstRow.reserve(std::size_t(m_book->sectionCount()) + 1);
        std::int64_t rows = 0;
        for (std::int64_t s = 0; s < m_book->sectionCount(); ++s) {
            m_firstRow.push_back(rows);
            for (int i = 0; i < m_book->linesPerSection(); ++i)
                rows += m_book->lineHolds(s, i) ? 1 : 0;
        }
        m_firstRow.push_back(rows);
    }
    std::int64_t rowCount() const override { return m_firstRow.back() + m_check.size(); }
    bool mayWrap(std::int64_t row) const override
    {
        if (row >= m_firstRow.back())
            return false;
        const auto [section, line] = find(row);
        return line == 0 && m_book->hasRemarks(section);
    }
    const std::vector<double>& columnsOf(std::int64_t index) const override
    {
        return index < m_firstRow.back() ? columns : m_checkColumns;
    }
    TableRow row(std::int64_t index) const override
    {
        if (index >= m_firstRow.back())
            return {{m_check[index - m_firstRow.back()], Left | SingleLine,
                     PageModel().baseFontSize, false, 0}};
        const auto [section, line] = find(index);
        const LevelBookLine l = m_book->line(section, line);
        TableRow row{value(l.label)};
        for (const double v : {l.bs, l.is, l.fs, l.hi, l.rl, l.topWidth, l.bottomWidth})
            row.push_back(value(number3(v, m_locale)));
        // Remarks are free text: they wrap rather than run out of their column.
        row.push_back({l.remarks, Measured, kValueSize, false, BorderAll});
        return row;
    }

private:
    // The section and the line within it of a printed row.
    std::pair<std::int64_t, int> find(std::int64_t row) const
    {
        const auto after = std::upper_bound(m_firstRow.begin(), m_firstRow.end() - 1, row);
        const std::int64_t section = std::int64_t(after - m_firstRow.begin()) - 1;
        std::int64_t skip = row - m_firstRow[section];
        int line = 0;
        for (; line < m_book->linesPerSection(); ++line)
            if (m_book->lineHolds(section, line) && skip-- == 0)
                break;
        return {section, line};
    }

    std::shared_ptr<const LevelBookContent> m_book;
    QLocale m_locale;
    std::vector<std::int64_t> m_firstRow; // per section, then the row count
    QStringList m_check;
    std::vector<double> m_checkColumns{100};
};

class EarthworkTable : public ReportTable
{
public:
    EarthworkTable(std::shared_ptr<const EarthworkContent> sheet, QLocale locale)
        : m_sheet(std::move(sheet)), m_locale(std::move(locale))
    {
    }
    std::int64_t rowCount() const override { return m_sheet->rowCount(); }
    bool mayWrap(std::int64_t) const override { return false; }
    TableRow row(std::int64_t index) const override
    {
        TableRow row;
        const double chainage = m_sheet->value(index, 0);
        row.push_back(value(QString::number(nearestEven(chainage))));
        for (int c = 1; c < m_sheet->columns().size(); ++c)
            row.push_back(value(number3(m_sheet->value(index, c), m_locale)));
        return row;
    }

private:
    std::shared_ptr<const EarthworkContent> m_sheet;
    QLocale m_locale;
};

// The kilometre summary: KM, the chainages it covers, Filling, Cutting, Total; ALL; and under
// them a line for each long gap, across the table.
class SummaryTable : public ReportTable
{
public:
    SummaryTable(std::vector<std::array<QString, 4>> rows, QStringList notes)
        : m_rows(std::move(rows)), m_notes(std::move(notes))
    {
    }
    std::int64_t rowCount() const override { return std::int64_t(m_rows.size()) + m_notes.size(); }
    bool mayWrap(std::int64_t) const override { return false; }
    const std::vector<double>& columnsOf(std::int64_t index) const override
    {
        return index < std::int64_t(m_rows.size()) ? columns : m_noteColumns;
    }
    TableRow row(std::int64_t index) const override
    {
        const double size = PageModel().baseFontSize;
        if (index >= std::int64_t(m_rows.size()))
            return {
                {m_notes[index - std::int64_t(m_rows.size())], Left | SingleLine, size, false, 0}};
        const auto& texts = m_rows[index];
        const bool all = index + 1 == std::int64_t(m_rows.size());
        bool isNumber = false;
        const std::int64_t km = texts[0].toLongLong(&isNumber);
        TableRow row{{texts[0], kSummary, size, all, BorderAll},
                     {isNumber ? kilometreRange(km) : QString(), kSummary, size, all, BorderAll}};
        for (int k = 1; k < 4; ++k)
            row.push_back({texts[k], kValue, size, all, BorderAll});
        return row;
    }

private:
    std::vector<std::array<QString, 4>> m_rows;
    QStringList m_notes;
    std::vector<double> m_noteColumns{91}; // across the summary
};

// The narrowest paper on which every column's widest text and heading word is drawn at
// kSmallestPrintedSize or larger: A4 upright, A4 on its side, then A3 on its side.
PageModel paperFor(const std::vector<QString>& widest, const QStringList& headings,
                   double columnPercent, const CharacterWidths& widths)
{
    double valueWidth = 0, wordWidth = 0;
    for (const QString& text : widest)
        valueWidth = std::max(valueWidth, widths.textWidth(text, kValueSize));
    for (const QString& heading : headings)
        for (const QString& word : heading.split(QLatin1Char(' ')))
            wordWidth = std::max(wordWidth, widths.textWidth(word, kHeadingSize, true));
    const std::array<PageModel, 3> papers{PageModel(), PageModel::on(Paper::A4, true),
                                          PageModel::on(Paper::A3, true)};
    for (const PageModel& page : papers) {
        const double room = page.printableWidth() * columnPercent / 100 - 8;
        if (kValueSize * room / valueWidth >= kSmallestPrintedSize &&
            kHeadingSize * room / wordWidth >= kSmallestPrintedSize)
            return page;
    }
    return papers.back();
}

std::unique_ptr<ReportDocument> levelBook(Database& db, const Road& road, int viewSections,
                                          const QLocale& locale, const CharacterWidths& widths)
{
    auto book = std::make_shared<const LevelBookContent>(db, road.id, viewSections);
    auto table = std::make_unique<LevelBookTable>(book, locale);
    table->columns = {14, 8, 8, 8, 8, 8, 8, 8, 30};
    table->header = {
        {{100}, {title(reportTitle(ReportKind::LevelBook), kTitleSize)}},
        {{100}, {title(roadLine(road), kTitleSize)}},
        {{100}, {title(benchMarkLine(*book, locale), kTitleSize)}},
        {table->columns,
         {heading(QStringLiteral("Chainage")), heading(QStringLiteral("BS")),
          heading(QStringLiteral("IS")), heading(QStringLiteral("FS")),
          heading(QStringLiteral("HI")), heading(QStringLiteral("RL")),
          heading(QStringLiteral("Top Width")), heading(QStringLiteral("Bottom Width")),
          heading(QStringLiteral("Remarks"))}},
    };
    auto document = std::make_unique<ReportDocument>(PageModel(), widths);
    document->addTable(std::move(table));
    return document;
}

std::unique_ptr<ReportDocument> earthwork(Database& db, const Road& road, int viewSections,
                                          const QLocale& locale, const CharacterWidths& widths,
                                          const QString& method, VolumeFormula formula)
{
    auto sheet = std::make_shared<const EarthworkContent>(db, road.id, viewSections, true);
    const VolumeSummary volumes = reportVolumes(*sheet, formula);

    auto table = std::make_unique<EarthworkTable>(sheet, locale);
    const int count = int(sheet->columns().size());
    table->columns.assign(count, 100.0 / count);
    // Levels and areas of up to three whole digits keep one size down a column; chainages of
    // six digits keep theirs; a column holding wider figures is sized by its widest.
    table->widest.assign(count, fmt3(-999.999, locale));
    table->widest[0] = QStringLiteral("999999");
    for (int c = 0; c < count; ++c) {
        double low = 0, high = 0;
        for (std::int64_t r = 0; r < sheet->rowCount(); ++r) {
            const double v = sheet->value(r, c);
            if (!isEmptyValue(v)) {
                low = std::min(low, v);
                high = std::max(high, v);
            }
        }
        for (const double v : {low, high}) {
            const QString text = c == 0 ? QString::number(nearestEven(v)) : fmt3(v, locale);
            if (widths.textWidth(text, kValueSize) > widths.textWidth(table->widest[c], kValueSize))
                table->widest[c] = text;
        }
    }
    const PageModel page = paperFor(table->widest, sheet->columns(), 100.0 / count, widths);

    TableRow headings;
    for (const QString& name : sheet->columns())
        headings.push_back(heading(name));
    QString about =
        QStringLiteral("Levels and chainages in m, areas in m\u00b2, volumes in m\u00b3");
    about = volumeFormulaLine(formula) + QStringLiteral(". ") + about;
    if (!method.isEmpty())
        about = QStringLiteral("Quantity method: ") + method + QStringLiteral(". ") + about;
    table->header = {
        {{100}, {title(reportTitle(ReportKind::EarthworkReport), kTitleSize)}},
        {{80, 20},
         {title(roadLine(road), kRoadSize),
          title(QStringLiteral("Length=%1M.").arg(road.length), kHeadingSize, Right)}},
        {{100}, {title(about, kHeadingSize)}},
        {table->columns, headings},
    };

    QStringList gaps;
    for (const LongGap& gap : volumes.gaps)
        gaps << gapLine(gap);
    auto summary = std::make_unique<SummaryTable>(summaryRows(volumes, locale), gaps);
    summary->rowHeight = kSummaryRowHeight;
    summary->columns = {7, 21, 21, 21, 21};
    summary->header = {
        {{91},
         {{QStringLiteral("Summary (volumes in m\u00b3)"), kSummary, kHeadingSize, true,
           BorderAll}}},
        {summary->columns,
         {{QStringLiteral("KM"), kSummary, kHeadingSize, true, BorderAll},
          {QStringLiteral("Chainage (m)"), kSummary, kHeadingSize, true, BorderAll},
          {QStringLiteral("Filling"), kSummary, kHeadingSize, true, BorderAll},
          {QStringLiteral("Cutting"), kSummary, kHeadingSize, true, BorderAll},
          {QStringLiteral("Total"), kSummary, kHeadingSize, true, BorderAll}}},
    };

    auto document = std::make_unique<ReportDocument>(page, widths);
    document->addTable(std::move(table));
    document->addTable(std::move(summary));
    return document;
}

} // namespace

QString reportTitle(ReportKind kind)
{
    return kind == ReportKind::LevelBook ? QStringLiteral("Level Book")
                                         : QStringLiteral("Earthwork Report");
}

std::unique_ptr<ReportDocument> buildReport(ReportKind kind, Database& db, std::int64_t road,
                                            int viewSections, const QLocale& locale,
                                            const CharacterWidths& widths, const QString& method,
                                            VolumeFormula formula)
{
    const Road details = roads::get(db, road);
    return kind == ReportKind::LevelBook
               ? levelBook(db, details, viewSections, locale, widths)
               : earthwork(db, details, viewSections, locale, widths, method, formula);
}

} // namespace tarmela
