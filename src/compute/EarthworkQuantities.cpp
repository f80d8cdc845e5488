#include "compute/EarthworkQuantities.h"

#include "compute/SectionAreas.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Numbers.h"
#include "store/Roads.h"
#include "store/RowReader.h"
#include "store/Schema.h"
#include "store/Transaction.h"

#include <QSqlQuery>
#include <QVariant>
#include <cmath>
#include <optional>
#include <vector>

namespace tarmela {

namespace {

// Beyond this a chainage is a typing mistake, not a road (the kilometre table would run
// to millions of rows).
constexpr double kFarthestChainage = 1e8;

const QString& notGenerated()
{
    static const QString text =
        QStringLiteral("Datasheet not generated! Click Generate Data Sheet from Data menu");
    return text;
}

// An error of the run with its message number.
struct RunError {
    EarthworkErrorCode code;
    QString description;
    QString message() const
    {
        return description + QStringLiteral("\nError Code=") + QString::number(int(code));
    }
};

// Columns read, in this order: ID, Chainage, L1..L8, C, R1..R8, then the rest.
enum Column {
    ColId = 0,
    ColChainage = 1,
    ColLeft = 2,                            // L1..L8
    ColCentre = ColLeft + kReadingsPerSide, // C
    ColRight,                               // R1..R8
    ColFL2 = ColRight + kReadingsPerSide,
    ColFL1,
    ColFC,
    ColFR1,
    ColFR2,
    ColWidth,
    ColTopWidth,
    ColBottomWidth,
    ColCrust,
    ColLeftSlope,
    ColRightSlope,
};

QString selectSections(std::int64_t road)
{
    QStringList cols{QStringLiteral("ID"), QStringLiteral("Chainage")};
    for (int i = 1; i <= kReadingsPerSide; ++i)
        cols << QStringLiteral("L%1").arg(i);
    cols << QStringLiteral("C");
    for (int i = 1; i <= kReadingsPerSide; ++i)
        cols << QStringLiteral("R%1").arg(i);
    cols << QStringLiteral("FL2, FL1, FC, FR1, FR2, Width, TopWidth, BottomWidth, Crust, "
                           "[Left Slope], [Right Slope]");
    // ID breaks ties so that the Long method's carried centre point is the same every run.
    return QStringLiteral("SELECT ") + cols.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") +
           schema::rlTable(road) + QStringLiteral(" ORDER BY Chainage, ID");
}

std::optional<double> valueAt(const RowReader& q, int column)
{
    return q.optionalNumber(column);
}

SectionLevels readLevels(const RowReader& q)
{
    SectionLevels s;
    for (int i = 0; i < kReadingsPerSide; ++i) {
        s.left[i] = valueAt(q, ColLeft + i);
        s.right[i] = valueAt(q, ColRight + i);
    }
    s.centre = valueAt(q, ColCentre);
    s.fl2 = valueAt(q, ColFL2);
    s.fl1 = valueAt(q, ColFL1);
    s.fc = valueAt(q, ColFC);
    s.fr1 = valueAt(q, ColFR1);
    s.fr2 = valueAt(q, ColFR2);
    s.width = valueAt(q, ColWidth);
    s.topWidth = valueAt(q, ColTopWidth);
    s.bottomWidth = valueAt(q, ColBottomWidth);
    s.crust = valueAt(q, ColCrust);
    s.leftSlope = valueAt(q, ColLeftSlope);
    s.rightSlope = valueAt(q, ColRightSlope);
    return s;
}

// What the area pass writes back into one row.
struct RowUpdate {
    std::int64_t id = 0;
    std::optional<double> chainage;
    bool derived = false; // side levels computed now (written as 3-decimal text)
    bool defaulted = false;
    double fl1 = 0, fl2 = 0;                              // when derived
    std::optional<double> oldFl1, oldFl2, oldFr1, oldFr2; // otherwise, written back as they were
    SectionArea area;
    double width = 0, leftSlope = 0, rightSlope = 0, crust = 0;
};

// Computed values are already at 3 decimals (d3): binding the number stores exactly the
// value of their 3-decimal text without making SQLite parse text on every row.
QVariant sideLevel(const RowUpdate& u, double derived, const std::optional<double>& old)
{
    if (u.derived)
        return derived;
    return old ? QVariant(*old) : QVariant();
}

class AreaWriter {
public:
    AreaWriter(Database& db, std::int64_t road) : m_db(db), m_table(schema::rlTable(road)) {}

    void write(const RowUpdate& u)
    {
        QSqlQuery& q = u.defaulted ? withDefaults() : plain();
        q.bindValue(0, sideLevel(u, u.fl1, u.oldFl1));
        q.bindValue(1, sideLevel(u, u.fl2, u.oldFl2));
        q.bindValue(2, sideLevel(u, u.fl1, u.oldFr1));
        q.bindValue(3, sideLevel(u, u.fl2, u.oldFr2));
        q.bindValue(4, u.area.fill);
        q.bindValue(5, u.area.cut);
        int next = 6;
        if (u.defaulted) {
            q.bindValue(next++, u.width);
            q.bindValue(next++, u.leftSlope);
            q.bindValue(next++, u.rightSlope);
            q.bindValue(next++, u.crust);
        }
        q.bindValue(next, qlonglong(u.id));
        Database::run(q);
    }

    // The row that stopped the run keeps the defaults it was given before the failure.
    void writeDefaultsOnly(const RowUpdate& u)
    {
        QSqlQuery q = m_db.prepare(QStringLiteral("UPDATE ") + m_table +
                                   QStringLiteral(" SET Width = ?, [Left Slope] = ?, "
                                                  "[Right Slope] = ?, Crust = ? WHERE ID = ?"));
        q.bindValue(0, u.width);
        q.bindValue(1, u.leftSlope);
        q.bindValue(2, u.rightSlope);
        q.bindValue(3, u.crust);
        q.bindValue(4, qlonglong(u.id));
        Database::run(q);
    }

private:
    static QString computedColumns()
    {
        return QStringLiteral(" SET FL1 = ?, FL2 = ?, FR1 = ?, FR2 = ?, [Fill Area] = ?, "
                              "[Cut Area] = ?");
    }
    QSqlQuery& plain()
    {
        if (!m_plain)
            m_plain = m_db.prepare(QStringLiteral("UPDATE ") + m_table + computedColumns() +
                                   QStringLiteral(" WHERE ID = ?"));
        return *m_plain;
    }
    QSqlQuery& withDefaults()
    {
        if (!m_defaults)
            m_defaults = m_db.prepare(
                QStringLiteral("UPDATE ") + m_table + computedColumns() +
                QStringLiteral(", Width = ?, [Left Slope] = ?, [Right Slope] = ?, Crust = ? "
                               "WHERE ID = ?"));
        return *m_defaults;
    }

    Database& m_db;
    QString m_table;
    std::optional<QSqlQuery> m_plain, m_defaults;
};

QString chainageText(const std::optional<double>& chainage, std::int64_t id)
{
    return chainage ? QStringLiteral("chainage ") + plainDecimal(*chainage)
                    : QStringLiteral("the row with ID %1").arg(id);
}

// From + " To " + To; empty when the road has no row.
QString roadName(Database& db, std::int64_t road)
{
    RowReader q(db, QStringLiteral("SELECT [From], [To] FROM Roads WHERE ID = ?"));
    q.bind(0, qlonglong(road));
    if (!q.next())
        return {};
    return q.text(0) + QStringLiteral(" To ") + q.text(1);
}

// The volume pass over the areas just written. Throws RunError for a chainage it can't use.
VolumeSummary volumesOf(const std::vector<RowUpdate>& rows)
{
    std::vector<SectionAreas> sections;
    sections.reserve(rows.size());
    for (const RowUpdate& u : rows) {
        if (!u.chainage)
            throw RunError{EarthworkErrorCode::ChainageOutOfRange,
                           QStringLiteral("The section with ID %1 has no chainage").arg(u.id)};
        if (!std::isfinite(*u.chainage) || std::fabs(*u.chainage) > kFarthestChainage)
            throw RunError{EarthworkErrorCode::ChainageOutOfRange,
                           QStringLiteral("The chainage %1 of the section with ID %2 lies beyond "
                                          "100,000 km")
                               .arg(plainDecimal(*u.chainage))
                               .arg(u.id)};
        sections.push_back({*u.chainage, u.area.fill, u.area.cut});
    }
    return kilometreVolumes(sections, nearestEven(sections.back().chainage));
}

} // namespace

void describeVolumes(EarthworkResult& r, const QLocale& locale)
{
    QLocale grouped = locale;
    grouped.setNumberOptions(grouped.numberOptions() & ~QLocale::OmitGroupSeparator);
    const auto cum = [&](double v) { return grouped.toString(v, 'f', 2) + QStringLiteral(" Cum"); };
    r.filling = QStringLiteral("Filling = ") + cum(r.volumes.totalFill);
    r.cutting = QStringLiteral("Cutting = ") + cum(r.volumes.totalCut);
    r.total = QStringLiteral("Total = ") + cum(r.volumes.total());
    r.volumesDone = true;
}

EarthworkResult UpdateEarthworkQuantities(Database& db, const EarthworkInputs& in)
{
    EarthworkResult r;
    if (in.road < 1)
        return r;
    r.ran = true;
    try {
        if (in.method < 0 || in.method > 2 || in.viewSections < 0 ||
            in.viewSections > kReadingsPerSide)
            throw RunError{EarthworkErrorCode::BadSettings,
                           QStringLiteral("The quantity method must be 0, 1 or 2 and the "
                                          "readings per side 0 to 8")};
        const auto method = AreaMethod(in.method);
        // The sheet is read and written under the write lock: no other program can change it
        // between the read and the writes computed from it.
        Transaction tx(db);
        if (!db.tableExists(schema::rlTable(in.road))) {
            r.error = notGenerated();
            return r;
        }
        const CrossDistances distances = method == AreaMethod::InterpolatedLong
                                             ? roads::crossDistances(db, in.road)
                                             : CrossDistances{};

        // Everything is read and computed first, then written.
        std::vector<RowUpdate> rows;
        std::optional<RowUpdate> failed;
        std::optional<RunError> failure;
        {
            RowReader q(db, selectSections(in.road));
            CentrePoint centre;
            while (q.next()) {
                SectionLevels s = readLevels(q);
                RowUpdate u;
                u.id = q.integer(ColId);
                u.chainage = valueAt(q, ColChainage);
                u.oldFl1 = s.fl1;
                u.oldFl2 = s.fl2;
                u.oldFr1 = s.fr1;
                u.oldFr2 = s.fr2;
                u.defaulted = applySectionDefaults(s);
                u.width = *s.width;
                u.leftSlope = *s.leftSlope;
                u.rightSlope = *s.rightSlope;
                u.crust = *s.crust;
                u.derived = deriveSideLevels(s, in.formationCamber, in.carriageCamber);
                if (u.derived) {
                    u.fl1 = *s.fl1;
                    u.fl2 = *s.fl2;
                }
                try {
                    u.area = method == AreaMethod::InterpolatedLong
                                 ? longMethodArea(s, distances, in.viewSections, centre)
                                 : meanLevelArea(s, method, in.viewSections);
                } catch (const MissingValue& e) {
                    failure = RunError{EarthworkErrorCode::EmptyValue,
                                       QStringLiteral("%1 is empty in the section at %2; the %3 "
                                                      "needs it")
                                           .arg(e.column(), chainageText(u.chainage, u.id),
                                                areaMethodCaption(method))};
                    failed = u;
                    break;
                }
                rows.push_back(u);
            }
        }
        r.roadName = roadName(db, in.road);

        if (!rows.empty() || failed) {
            AreaWriter writer(db, in.road);
            for (const RowUpdate& u : rows)
                writer.write(u);
            if (failed && failed->defaulted)
                writer.writeDefaultsOnly(*failed);
        }
        tx.commit();
        if (failure)
            throw *failure;
        if (rows.empty())
            return r; // an empty sheet: nothing to show

        r.volumes = volumesOf(rows);
        describeVolumes(r, in.locale);
    } catch (const RunError& e) {
        r.error = e.message();
    } catch (const Error& e) {
        r.error = RunError{EarthworkErrorCode::Database, e.message()}.message();
    }
    return r;
}

} // namespace tarmela
