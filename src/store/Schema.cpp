// The project database on SQLite.
//
// Tables are STRICT, so that a number column refuses text that is not a number, as the
// data sheets expect. Counter columns are INTEGER PRIMARY KEY AUTOINCREMENT, so that an
// id is never handed out twice: a road's table names come from its id.
//
// Defaults of a new road, chosen so that a new road is usable at once:
//   From "Start", To "End", Length 1 (m), Interval 20 (m),
//   Formation Camber 3.5 and Carriage Camber 3.5 (percent; the program works with fractions,
//   3.5 % = 0.035, the same cambers it assumes before a road is chosen),
//   Field1..Field4 empty text.
// Cross distances of a new road are empty until the engineer types them.
//
// RLTemplate and LBTemplate have no rows; a road's RL_n and LB_n tables are copies of them
// with the same column types and an index on Chainage, which every reader orders by.
#include "store/Schema.h"

#include "store/Database.h"
#include "store/Transaction.h"

namespace tarmela::schema
{

namespace
{

QStringList levelColumns(bool leftReversed)
{
    QStringList cols;
    for (int i = 1; i <= kReadingsPerSide; ++i)
        cols << QStringLiteral("L%1").arg(leftReversed ? kReadingsPerSide + 1 - i : i);
    cols << QStringLiteral("C");
    for (int i = 1; i <= kReadingsPerSide; ++i)
        cols << QStringLiteral("R%1").arg(i);
    return cols;
}

QString realColumns(const QStringList& names)
{
    QStringList parts;
    for (const QString& n : names)
        parts << quoteName(n) + QStringLiteral(" REAL");
    return parts.join(QStringLiteral(", "));
}

} // namespace

QStringList roadsColumns()
{
    return {
        "ID",     "From",   "To",     "Length", "Interval", "Formation Camber", "Carriage Camber",
        "Field1", "Field2", "Field3", "Field4"};
}

QStringList chDistanceColumns()
{
    QStringList cols{"ID", "RoadRef"};
    for (int i = 1; i <= kReadingsPerSide; ++i)
        cols << QStringLiteral("L%1").arg(i);
    for (int i = 1; i <= kReadingsPerSide; ++i)
        cols << QStringLiteral("R%1").arg(i);
    return cols;
}

QStringList culvertTypesColumns()
{
    return {"ID", "CulvertName", "Type", "ImageFileExisting", "ImageFileProposed"};
}

QStringList culvertsColumns()
{
    return {"ID", "RoadRef", "CTypeRef", "Chainage", "EPType"};
}

QStringList rlColumns()
{
    QStringList cols{"ID", "Chainage"};
    cols << levelColumns(true);
    cols << QStringList{"FL2",         "FL1",       "FC",          "FR1",   "FR2",
                        "Width",       "TopWidth",  "BottomWidth", "Crust", "Left Slope",
                        "Right Slope", "Fill Area", "Cut Area"};
    return cols;
}

QStringList lbColumns()
{
    QStringList cols{"ID", "Chainage"};
    cols << levelColumns(false);
    cols << QStringList{"BS", "FS", "HI", "TopWidth", "BottomWidth", "Remarks"};
    return cols;
}

QStringList projectTables()
{
    return {"Roads", "ChDistance", "CulvertTypes", "Culverts", "RLTemplate", "LBTemplate"};
}

namespace
{

const QLatin1String kRlPrefix("RL_"), kLbPrefix("LB_");

// "RL_12" for the prefix "RL_", or the template the sheets are copied from.
bool isSheetTable(const QString& table, QLatin1String prefix, QLatin1String templ)
{
    if (table.compare(templ, Qt::CaseInsensitive) == 0)
        return true;
    if (!table.startsWith(prefix, Qt::CaseInsensitive) || table.size() == prefix.size())
        return false;
    for (QChar c : QStringView(table).mid(prefix.size()))
        if (!c.isDigit())
            return false;
    return true;
}

} // namespace

QString rlTable(std::int64_t roadId)
{
    return kRlPrefix + QString::number(roadId);
}
QString lbTable(std::int64_t roadId)
{
    return kLbPrefix + QString::number(roadId);
}

bool isRlTable(const QString& table)
{
    return isSheetTable(table, kRlPrefix, QLatin1String("RLTemplate"));
}

bool isLbTable(const QString& table)
{
    return isSheetTable(table, kLbPrefix, QLatin1String("LBTemplate"));
}

void ensureSchema(Database& db)
{
    if (db.tableExists(QStringLiteral("Roads")))
        return;

    const QStringList rlReal = rlColumns().mid(2);
    const QStringList cd = chDistanceColumns().mid(2);
    QStringList lbReal = lbColumns().mid(2);
    lbReal.removeLast(); // Remarks is text

    const QStringList ddl{
        "CREATE TABLE Roads (ID INTEGER PRIMARY KEY AUTOINCREMENT, [From] TEXT DEFAULT 'Start', "
        "[To] TEXT DEFAULT 'End', Length INTEGER DEFAULT 1, Interval INTEGER DEFAULT 20, "
        "[Formation Camber] REAL DEFAULT 3.5, [Carriage Camber] REAL DEFAULT 3.5, "
        "Field1 TEXT DEFAULT '', Field2 TEXT DEFAULT '', Field3 TEXT DEFAULT '', "
        "Field4 TEXT DEFAULT '') STRICT",
        "CREATE TABLE ChDistance (ID INTEGER PRIMARY KEY AUTOINCREMENT, RoadRef INTEGER, " +
            realColumns(cd) + ") STRICT",
        "CREATE TABLE CulvertTypes (ID INTEGER PRIMARY KEY AUTOINCREMENT, CulvertName TEXT, "
        "Type TEXT, ImageFileExisting TEXT, ImageFileProposed TEXT) STRICT",
        "CREATE TABLE Culverts (ID INTEGER PRIMARY KEY AUTOINCREMENT, RoadRef INTEGER, "
        "CTypeRef INTEGER, Chainage REAL, EPType TEXT) STRICT",
        "CREATE TABLE RLTemplate (ID INTEGER PRIMARY KEY, Chainage REAL, " + realColumns(rlReal) +
            ") STRICT",
        "CREATE INDEX RLTemplate_Chainage ON RLTemplate (Chainage)",
        "CREATE TABLE LBTemplate (ID INTEGER PRIMARY KEY, Chainage REAL, " + realColumns(lbReal) +
            ", Remarks TEXT) STRICT",
        "CREATE INDEX LBTemplate_Chainage ON LBTemplate (Chainage)",
        "CREATE INDEX ChDistance_RoadRef ON ChDistance (RoadRef)",
        "CREATE INDEX Culverts_RoadRef ON Culverts (RoadRef)",
    };

    Transaction tx(db);
    for (const QString& statement : ddl)
        db.exec(statement);
    tx.commit();
}

} // namespace tarmela::schema
