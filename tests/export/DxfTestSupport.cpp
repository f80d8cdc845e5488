#include "DxfTestSupport.h"

#include "store/Roads.h"
#include "store/Schema.h"
#include "support/TestProject.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

namespace tarmela::test
{

DxfFile DxfFile::read(const QString& path)
{
    DxfFile f;
    f.bytes = readFile(path);
    const auto start = f.bytes.indexOf(" 0 \r\nSECTION\r\n 2 \r\nENTITIES\r\n");
    QList<QByteArray> split = f.bytes.mid(start).split('\n');
    // An even count of lines leaves an odd count of pieces: the last one after the last line end.
    if (start < 0 || !f.bytes.endsWith("\r\n") || split.size() % 2 == 0) {
        ADD_FAILURE()
            << path.toStdString()
            << ": missing, or no entities section, no final CR LF or an odd number of lines";
        return f;
    }
    DxfEntity* current = nullptr;
    for (int i = 0; i + 1 < split.size(); i += 2) {
        bool isNumber = false;
        const int code = split[i].trimmed().toInt(&isNumber);
        if (!isNumber || !split[i].endsWith('\r') || !split[i + 1].endsWith('\r')) {
            ADD_FAILURE() << "a bad pair: '" << split[i].toStdString() << "'";
            return f;
        }
        const std::string value = split[i + 1].chopped(1).toStdString();
        f.lines.push_back(split[i].chopped(1).toStdString());
        f.lines.push_back(value);
        if (code != 0) {
            if (current)
                current->groups.emplace_back(code, value);
        } else if (value == "SECTION" || value == "ENDSEC" || value == "EOF") {
            current = nullptr;
        } else {
            current = &f.entities.emplace_back(DxfEntity{value, {}});
        }
    }
    return f;
}

std::vector<DxfEntity> DxfFile::ofType(const std::string& type) const
{
    std::vector<DxfEntity> out;
    for (const auto& e : entities)
        if (e.type == type)
            out.push_back(e);
    return out;
}

int DxfFile::linesOn(const std::string& layer) const
{
    // A polyline of n vertices counts as its n - 1 lines.
    int n = 0;
    for (const auto& e : entities)
        if (e.layer() == layer)
            n += (e.type == "LINE" || e.type == "VERTEX") - (e.type == "POLYLINE");
    return n;
}

const DxfEntity* DxfFile::textStarting(const std::string& prefix, int nth) const
{
    for (const auto& e : entities)
        if (e.type == "TEXT" && e.text(1).rfind(prefix, 0) == 0 && nth-- == 0)
            return &e;
    return nullptr;
}

RoadBuilder::RoadBuilder(Database& db, std::int64_t length, int interval) : m_db(db)
{
    m_id = makeRoad(db, QStringLiteral("North"), QStringLiteral("South"), length, interval);
}

void RoadBuilder::distances(const std::vector<double>& left, const std::vector<double>& right)
{
    CrossDistances d;
    for (std::size_t i = 0; i < 8; ++i) {
        d.left[i] = i < left.size() ? left[i] : 0;
        d.right[i] = i < right.size() ? right[i] : 0;
    }
    roads::setCrossDistances(m_db, m_id, d);
}

void RoadBuilder::row(double chainage, const QString& cells)
{
    QStringList names{QStringLiteral("ID"), QStringLiteral("Chainage")};
    QList<double> values{double(m_nextRow++), chainage};
    for (const QString& cell : cells.split(',', Qt::SkipEmptyParts)) {
        names << "[" + cell.section('=', 0, 0).trimmed() + "]";
        values << cell.section('=', 1).toDouble();
    }
    QSqlQuery q = m_db.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (?%3)")
                                   .arg(schema::rlTable(m_id), names.join(','),
                                        QStringLiteral(",?").repeated(names.size() - 1)));
    for (double v : values)
        q.addBindValue(v);
    Database::run(q);
}

QString templateFolder()
{
    return qEnvironmentVariable("TARMELA_SOURCE_DIR") + QStringLiteral("/data/Data");
}

} // namespace tarmela::test
