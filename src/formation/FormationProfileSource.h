#pragma once

// What one redraw of the formation profile shows, read fresh from the database each time
// (edits made elsewhere appear at the next redraw): the rows in view, the datum, and the
// culvert pictures with their levels. Pictures are read once and kept while their file is
// unchanged, so that scrolling stays quick.

#include "drawing/FormationProfile.h"
#include "formation/FormationData.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <cstdint>
#include <optional>

namespace tarmela
{

class Database;

class FormationProfileSource
{
public:
    // culvertFolder: where the culvert types' picture files are.
    FormationProfileSource(Database& db, std::int64_t road, int viewSections,
                           QString culvertFolder);

    formation::FormationData& data() { return m_data; }

    struct Redraw {
        FormationProfileDrawing drawing;
        // One message for the whole redraw (no level in view to set the datum from, pictures
        // that can't be read); empty when all went well.
        QString message;
    };
    // The view from startChainage over the frame's span. fixedDatum: the datum to use; none
    // for the whole metre at or below the lowest existing level in view. Culverts only when
    // withCulverts; a missing picture file is skipped without a word.
    Redraw load(const FormationProfileFrame& frame, std::int64_t startChainage,
                std::optional<std::int64_t> fixedDatum, bool withCulverts);

private:
    struct Picture {
        QDateTime modified;
        QImage image; // null: the file can't be read
    };
    const Picture& picture(const QString& path, const QDateTime& modified);

    formation::FormationData m_data;
    QString m_culvertFolder;
    QHash<QString, Picture> m_pictures;
};

} // namespace tarmela
