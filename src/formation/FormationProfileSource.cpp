#include "formation/FormationProfileSource.h"

#include "formation/FormationRules.h"
#include "store/Numbers.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QStringList>
#include <cmath>

namespace tarmela
{

FormationProfileSource::FormationProfileSource(Database& db, std::int64_t road, int viewSections,
                                               QString culvertFolder)
    : m_data(db, road, viewSections), m_culvertFolder(std::move(culvertFolder))
{
}

const FormationProfileSource::Picture& FormationProfileSource::picture(const QString& path,
                                                                       const QDateTime& modified)
{
    auto it = m_pictures.find(path);
    if (it == m_pictures.end() || it->modified != modified) {
        QImageReader reader(path);
        it = m_pictures.insert(path, {modified, reader.read()});
    }
    return *it;
}

FormationProfileSource::Redraw FormationProfileSource::load(const FormationProfileFrame& frame,
                                                            std::int64_t startChainage,
                                                            std::optional<std::int64_t> fixedDatum,
                                                            bool withCulverts)
{
    Redraw r;
    FormationProfileDrawing& d = r.drawing;
    d.frame = frame;
    d.startChainage = startChainage;
    const double from = double(startChainage);
    const double to = from + double(frame.visibleSpan());
    // Rows closer than a pixel are not told apart on the screen.
    d.rows = m_data.rowsIn(from, to, kProfileTwipsPerPixel / frame.chainageScale());
    d.datum = fixedDatum ? fixedDatum : formation::automaticDatum(d.rows);
    // Grid rows of several metres are labelled at multiples of their height.
    const auto rowStep = std::int64_t(frame.rowMetres());
    if (!fixedDatum && d.datum && rowStep > 1)
        d.datum = std::int64_t(std::floor(double(*d.datum) / double(rowStep))) * rowStep;
    if (!d.datum) {
        r.message = QStringLiteral("There is no existing level between chainage %1 and %2 to set "
                                   "the datum from")
                        .arg(plainDecimal(from), plainDecimal(to));
        return r;
    }
    if (!withCulverts)
        return r;

    QStringList unreadable;
    for (const formation::FormationData::Culvert& c : m_data.culvertsIn(from, to)) {
        if (c.picture.isEmpty())
            continue;
        const QFileInfo file(QDir(m_culvertFolder).filePath(c.picture));
        if (!file.isFile())
            continue;
        const Picture& p = picture(file.absoluteFilePath(), file.lastModified());
        if (p.image.isNull()) {
            if (!unreadable.contains(c.picture))
                unreadable << c.picture;
            continue;
        }
        d.culverts.push_back(
            {c.chainage, formation::culvertTop(c.fcBefore, c.fcAfter, *d.datum), p.image});
    }
    if (!unreadable.isEmpty())
        r.message =
            QStringLiteral("The culvert picture %1 can't be read").arg(unreadable.join(", "));
    return r;
}

} // namespace tarmela
