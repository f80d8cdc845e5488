#include "store/Migrations.h"

#include "store/Database.h"
#include "store/Error.h"
#include "store/Transaction.h"
#include "store/VerticalAlignments.h"

namespace tarmela::schema
{

namespace
{

// Version 1: a road remembers the bench mark its level book was last reduced from, so that
// the Level Book report reduces from the same level as the RL sheet. Empty for a road never
// reduced (the report then assumes 100).
void addRoadBenchmark(Database& db)
{
    db.exec(QStringLiteral("ALTER TABLE Roads ADD COLUMN Benchmark REAL"));
}

// Version 2: a road may have a vertical alignment (its PVIs), from which the formation tool
// and the batch tool's grade command write FC.
void addVerticalAlignment(Database& db)
{
    alignments::createTable(db);
}

// Version 3: a road's cut factor, the m3 of compacted fill one m3 of cut gives (the mass
// haul's ordinates); 1 for the roads already there.
void addRoadCutFactor(Database& db)
{
    db.exec(QStringLiteral("ALTER TABLE Roads ADD COLUMN [Cut Factor] REAL DEFAULT 1"));
}

// Version 4: a road remembers the bench mark its level book was closed on and whether the
// closing error was distributed, for the Level Book report's arithmetic check.
void addRoadClosingBenchmark(Database& db)
{
    db.exec(QStringLiteral("ALTER TABLE Roads ADD COLUMN [Closing Benchmark] REAL"));
    db.exec(QStringLiteral("ALTER TABLE Roads ADD COLUMN [Closing Distributed] INTEGER DEFAULT 0"));
}

void setVersion(Database& db, int version)
{
    // A pragma takes no bound value; the version is a number of this program's own.
    db.exec(QStringLiteral("PRAGMA user_version = %1").arg(version));
}

} // namespace

const std::vector<Migration>& migrations()
{
    static const std::vector<Migration> list{
        {1, "Roads.Benchmark", addRoadBenchmark},
        {2, "VerticalAlignment", addVerticalAlignment},
        {3, "Roads.CutFactor", addRoadCutFactor},
        {4, "Roads.ClosingBenchmark", addRoadClosingBenchmark},
    };
    return list;
}

int currentVersion()
{
    return migrations().back().version;
}

int fileVersion(Database& db)
{
    return db.scalar(QStringLiteral("PRAGMA user_version")).toInt();
}

void refuseNewerFile(Database& db, const QString& shownName)
{
    const int version = fileVersion(db);
    if (version > currentVersion())
        throw Error(ErrorKind::Data,
                    QStringLiteral("The project %1 was written by a newer version of Tarmela "
                                   "(project version %2; this program reads up to version %3)")
                        .arg(shownName)
                        .arg(version)
                        .arg(currentVersion()));
}

void upgrade(Database& db)
{
    if (fileVersion(db) >= currentVersion())
        return;
    for (const Migration& m : migrations()) {
        Transaction tx(db);
        if (fileVersion(db) >= m.version)
            continue;
        m.apply(db);
        setVersion(db, m.version);
        tx.commit();
    }
}

} // namespace tarmela::schema
