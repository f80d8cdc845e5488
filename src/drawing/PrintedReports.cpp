#include "drawing/PrintedReports.h"

#include "compute/ReportContent.h"
#include "store/Numbers.h"
#include "store/Roads.h"

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

class LevelBookTable : public ReportTable
{
public:
    LevelBookTable(std::shared_ptr<const LevelBookContent> book, QLocale locale)
        : m_book(std::move(book)), m_locale(std::move(locale))
    {
    }
    std::int64_t rowCount() const override { return m_book->lineCount(); }
    bool mayWrap(std::int64_t row) const override
    {
        return row % m_book->linesPerSection() == 0 &&
               m_book->hasRemarks(row / m_book->linesPerSection());
    }
    TableRow row(std::int64_t index) const override
    {
        const LevelBookLine l =
            m_book->line(index / m_book->linesPerSection(), int(index % m_book->linesPerSection()));
        TableRow row{value(l.label)};
        for (const double v : {l.bs, l.is, l.fs, l.hi, l.rl, l.topWidth, l.bottomWidth})
            row.push_back(value(number3(v, m_locale)));
        // Remarks are free text: they wrap rather than run out of their column.
        row.push_back({l.remarks, Measured, kValueSize, false, BorderAll});
        return row;
    }

private:
    std::shared_ptr<const LevelBookContent> m_book;
    QLocale m_locale;
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

// The kilometre rows, ALL, and under them a line for each long gap, across the table.
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
        TableRow row{{texts[0], kSummary, size, all, BorderAll}};
        for (int k = 1; k < 4; ++k)
            row.push_back({texts[k], kValue, size, all, BorderAll});
        return row;
    }

private:
    std::vector<std::array<QString, 4>> m_rows;
    QStringList m_notes;
    std::vector<double> m_noteColumns{70};
};

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
                                          const QLocale& locale, const CharacterWidths& widths)
{
    auto sheet = std::make_shared<const EarthworkContent>(db, road.id, viewSections, true);
    const VolumeSummary volumes = reportVolumes(*sheet);

    auto table = std::make_unique<EarthworkTable>(sheet, locale);
    const int count = int(sheet->columns().size());
    table->columns.assign(count, 100.0 / count);
    // Levels and areas of up to three whole digits keep one size down a column; chainages of
    // six digits keep theirs.
    table->widest.assign(count, fmt3(-999.999, locale));
    table->widest[0] = QStringLiteral("999999");
    TableRow headings;
    for (const QString& name : sheet->columns())
        headings.push_back(heading(name));
    table->header = {
        {{80, 20},
         {title(roadLine(road), kRoadSize),
          title(QStringLiteral("Length=%1M.").arg(road.length), kHeadingSize, Right)}},
        {table->columns, headings},
    };

    QStringList gaps;
    for (const LongGap& gap : volumes.gaps)
        gaps << gapLine(gap);
    auto summary = std::make_unique<SummaryTable>(summaryRows(volumes, locale), gaps);
    summary->rowHeight = kSummaryRowHeight;
    summary->columns = {7, 21, 21, 21};
    summary->header = {
        {{28}, {{QStringLiteral("Summary"), kSummary, kHeadingSize, true, BorderAll}}},
        {summary->columns,
         {{QStringLiteral("KM"), kSummary, kHeadingSize, true, BorderAll},
          {QStringLiteral("Filling"), kSummary, kHeadingSize, true, BorderAll},
          {QStringLiteral("Cutting"), kSummary, kHeadingSize, true, BorderAll},
          {QStringLiteral("Total"), kSummary, kHeadingSize, true, BorderAll}}},
    };

    auto document = std::make_unique<ReportDocument>(PageModel(), widths);
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
                                            const CharacterWidths& widths)
{
    const Road details = roads::get(db, road);
    return kind == ReportKind::LevelBook ? levelBook(db, details, viewSections, locale, widths)
                                         : earthwork(db, details, viewSections, locale, widths);
}

} // namespace tarmela
