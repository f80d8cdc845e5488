#pragma once

#include <QString>

namespace tarmela
{

class Database;

// Copies the open project to `target` as one consistent picture of it (SQLite's online
// backup, which also takes what is still in the write-ahead log), for "Save Project As". The
// copy is written beside the target under a temporary name and takes the target's place only
// once complete; an earlier file there is replaced, and stays as it was when the copy fails.
// Throws Error(Io) naming the target, or Error(Usage) when the target is the project itself.
void copyProject(Database& db, const QString& target);

} // namespace tarmela
