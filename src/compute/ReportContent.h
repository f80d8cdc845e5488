#pragma once

#include "compute/LevelBookClosure.h"
#include "compute/Volumes.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace tarmela
{

class Database;

// The content of the Level Book and the Earthwork Report, shared by the HTML files and the
// printed pages: which rows and columns there are and the numbers in them. Each report reads
// its sheet once into a compact table (numbers as doubles, NaN for an empty cell), so a long
// road's report can be laid out and drawn a page at a time without reading the database again,
// and stays as it was read while the data change.

constexpr double kEmptyValue = std::numeric_limits<double>::quiet_NaN();
inline bool isEmptyValue(double v)
{
    return std::isnan(v);
}

// One line of the Level Book as a surveyor writes it; an empty value is NaN.
struct LevelBookLine {
    QString label; // the chainage in its plain form, "C", "L1", ..., "R8"
    double bs = kEmptyValue, is = kEmptyValue, fs = kEmptyValue, hi = kEmptyValue, rl = kEmptyValue,
           topWidth = kEmptyValue, bottomWidth = kEmptyValue;
    QString remarks; // on the chainage line only
};

// The road's level book, per section a chainage line (BS, FS and the height of instrument
// they give), the centre line "C" and one line per reading shown, left then right, with
// reduced levels worked from the bench mark the road's level book was last reduced from (an
// assumed 100 for a road never reduced). A row that holds no sight and no reading shows no
// level: nothing was surveyed there.
class LevelBookContent
{
public:
    // viewSections: readings per side shown, 0..8. Throws Error: a missing road or level book,
    // a row without a chainage, text in a number column, a failed read.
    LevelBookContent(Database& db, std::int64_t road, int viewSections);

    int viewSections() const { return m_viewSections; }
    double benchMark() const { return m_benchMark; }
    bool benchMarkAssumed() const { return m_benchMarkAssumed; }
    // The book's arithmetic check, with the closing error when the road's level book was last
    // closed on a bench mark (and its last row still reads onto one).
    const LevelBookCheck& check() const { return m_check; }
    std::int64_t sectionCount() const { return std::int64_t(m_chainages.size()); }
    int linesPerSection() const { return 2 + 2 * m_viewSections; }
    std::int64_t lineCount() const { return sectionCount() * linesPerSection(); }
    // Line `line` (0 = the chainage line) of section `section`.
    LevelBookLine line(std::int64_t section, int line) const;
    bool hasRemarks(std::int64_t section) const { return !m_remarks[section].isEmpty(); }
    // False for a reading line (C, L1, ...) that shows no reading and no level: the reports
    // leave such lines out. The chainage line always holds the section.
    bool lineHolds(std::int64_t section, int line) const;

private:
    enum Value { BS, FS, C, TopWidth, BottomWidth, HiBefore, FirstReading };
    double value(std::int64_t section, int v) const { return m_values[section * m_stride + v]; }

    int m_viewSections = 0;
    int m_stride = 0;
    double m_benchMark = 100;
    bool m_benchMarkAssumed = true;
    LevelBookCheck m_check;
    std::vector<double> m_values;
    std::vector<bool> m_surveyed;
    std::vector<QString> m_chainages;
    std::vector<QString> m_remarks;
};

// "Bench mark 102.105", or "Bench mark 100.000 (assumed)" for a road never reduced.
QString benchMarkLine(const LevelBookContent& book, const QLocale& locale);

// The lines that end the Level Book: ΣBS and ΣFS, ΣBS − ΣFS beside the last height of
// instrument minus the bench mark, and the closing error and correction when it was closed.
QStringList arithmeticCheckLines(const LevelBookContent& book, const QLocale& locale);

// The road's RL sheet as the Earthwork Report shows it: Chainage, the readings shown from the
// outermost left to the outermost right, the formation levels, Fill Area and Cut Area.
class EarthworkContent
{
public:
    // allFormationLevels: FL2, FL1, FC, FR1, FR2 (the printed report); otherwise FC only.
    // Throws Error as LevelBookContent.
    EarthworkContent(Database& db, std::int64_t road, int viewSections, bool allFormationLevels);

    // The columns' names as the sheet has them ("Chainage", "L8", ..., "Fill Area").
    const QStringList& columns() const { return m_columns; }
    std::int64_t rowCount() const { return std::int64_t(m_chainages.size()); }
    double value(std::int64_t row, int column) const
    {
        return m_values[row * m_columns.size() + column];
    }
    const QString& chainageText(std::int64_t row) const { return m_chainages[row]; }
    // The stored areas in chainage order (an empty area counts as 0).
    std::vector<SectionAreas> sections() const;

private:
    QStringList m_columns;
    std::vector<double> m_values;
    std::vector<QString> m_chainages;
};

// The kilometre summary of the reports: the recomputation's rule (roadVolumes) with the volume
// formula over the stored areas. Throws Error(Overflow) when the chainages reach so far that the
// list of kilometres could not be a road's.
VolumeSummary reportVolumes(const EarthworkContent& content, VolumeFormula formula);

// "Volumes by average end areas": the reports' sentence naming the formula.
QString volumeFormulaLine(VolumeFormula formula);

// The summary's rows as texts: one per kilometre (number, filling, cutting, total) and the
// last "ALL" with the road's totals, which always groups thousands.
std::vector<std::array<QString, 4>> summaryRows(const VolumeSummary& volumes,
                                                const QLocale& locale);

// "Gap of 300 m between 2100 and 2400 counted as 50 m": what every output that shows volumes
// says of each long gap (VolumeSummary::gaps).
QString gapLine(const LongGap& gap);

// The chainages kilometre `number` covers, as the summary names them: "1000 to 2000".
QString kilometreRange(std::int64_t number);

// The reports' number forms: exactly 3 or 2 decimals, grouped as locale groups by default;
// fmt2Grouped always groups thousands. A small negative value that rounds to nothing shows as
// zero.
QString fmt3(double value, const QLocale& locale);
QString fmt2(double value, const QLocale& locale);
QString fmt2Grouped(double value, const QLocale& locale);

} // namespace tarmela
