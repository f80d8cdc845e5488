#pragma once

#include "export/ExportOutputs.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace tarmela
{

class Database;

struct ExportOutcome {
    const ExportOutput* output; // an entry of exportOutputs()
    QString path;
    bool ok = false;
    QString message;
};

struct ExportResult {
    QString folder;                      // base folder + the road's folder
    std::vector<ExportOutcome> outcomes; // one per output attempted, in list order
    QStringList warnings;                // e.g. "There are no records to display ..."
    QString note;  // set when "From to To" held another road's outputs and a new folder was used
    QString error; // an error that ended the batch; empty when none
};

// The name of a road's export folder, "From to To", made safe to stand as one folder name
// inside the base folder: separators and characters no file name may hold become "_", and
// a name of dots or blanks alone cannot climb out of the base folder; a name longer than a
// file system takes is cut to 200 bytes.
QString exportFolderName(const QString& from, const QString& to);

// Writes the selected outputs (ids of exportOutputs()) of the road into
// baseFolder/exportFolderName(From, To), in the order of exportOutputs() whatever the order of
// selected, creating both folders. That folder is
// marked as the road's; where it already holds another road's outputs (roads "a/b" and "a_b"
// both give "a_b to c"), the road's ID is added to the name: "a_b to c (road 7)". A drawing that
// fails is recorded and the rest still run; a failed report ends the batch there (its outcome
// is recorded and error set; endsBatchOnFailure). A folder that cannot be created sets error.
// An export that fails into folders it created removes them again (its outcomes then say so).
// A link in place of the road's folder or of an output is refused, never followed, and a
// folder that holds other files but no owner file counts as another's. Every output is read
// from one state of the project (ReadTransaction). Throws Error only when the road does not
// exist, no base folder is given or an id is unknown.
ExportResult exportRoad(Database& db, std::int64_t road, const QString& baseFolder,
                        const QStringList& selected, const ExportSettings& s);

} // namespace tarmela
