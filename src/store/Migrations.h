#pragma once

// The project file carries its version in SQLite's user_version. A file made before versions
// were kept reads 0; each migration below takes a file from the version before it to its own,
// in one transaction, so a file is always wholly at one version. A new project is made at
// version 0 and upgraded by the same migrations, so that a new file and an upgraded one are
// alike by construction.

#include <QString>
#include <vector>

namespace tarmela
{

class Database;

namespace schema
{

struct Migration {
    int version;        // the version the file has after it
    const char* change; // what it adds, for the reader of this list
    void (*apply)(Database& db);
};

// In order of version, 1, 2, ... without gaps.
const std::vector<Migration>& migrations();

// The version this program writes and reads: the last migration's.
int currentVersion();

// The file's version (PRAGMA user_version).
int fileVersion(Database& db);

// Throws Error(Data) when the file was written by a newer program; reads only, so such a file
// is left exactly as it was.
void refuseNewerFile(Database& db, const QString& shownName);

// Runs every migration above the file's version, each in its own transaction that also sets
// the new version. Another program that upgraded the file meanwhile is noticed inside the
// transaction, so a migration never runs twice.
void upgrade(Database& db);

} // namespace schema
} // namespace tarmela
