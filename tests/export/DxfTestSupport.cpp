#include "DxfTestSupport.h"

#include "store/Roads.h"
#include "store/Schema.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <cmath>
#include <gtest/gtest.h>

namespace tarmela::test {

bool DxfEntity::has(int code) const
{
    for (const auto& g : groups)
        if (g.first == code)
            return true;
    return false;
}

std::string DxfEntity::text(int code) const
{
    for (const auto& g : groups)
        if (g.first == code)
            return g.second;
    return {};
}

double DxfEntity::number(int code) const
{
    for (const auto& g : groups)
        if (g.first == code)
            return std::stod(g.second);
    return NAN;
}

DxfFile DxfFile::read(const QString& path)
{
    DxfFile f;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot open " << path.toStdString();
        return f;
    }
    f.bytes = file.readAll();
    const int start = f.bytes.indexOf(" 0 \r\nSECTION\r\n 2 \r\nENTITIES\r\n");
    if (start < 0) {
        ADD_FAILURE() << "no entities section in " << path.toStdString();
        return f;
    }
    f.headerTemplate = f.bytes.left(start);
    const QByteArray body = f.bytes.mid(start);
    if (!body.endsWith("\r\n")) {
        ADD_FAILURE() << "the file does not end with CR LF";
        return f;
    }
    QList<QByteArray> split = body.split('\n');
    split.removeLast(); // after the last line end
    for (const QByteArray& line : split) {
        if (!line.endsWith('\r')) {
            ADD_FAILURE() << "a line without CR: " << line.toStdString();
            return f;
        }
        f.lines.push_back(line.chopped(1).toStdString());
    }
    if (f.lines.size() % 2 != 0) {
        ADD_FAILURE() << "odd number of lines";
        return f;
    }
    DxfEntity* current = nullptr;
    bool inEntities = false;
    for (std::size_t i = 0; i < f.lines.size(); i += 2) {
        std::size_t used = 0;
        int code = -1;
        try {
            code = std::stoi(f.lines[i], &used);
        } catch (...) {
            ADD_FAILURE() << "group code is not a number: '" << f.lines[i] << "'";
            return f;
        }
        const std::string& value = f.lines[i + 1];
        if (code == 0) {
            current = nullptr;
            if (value == "SECTION" || value == "EOF")
                continue;
            if (value == "ENDSEC") {
                inEntities = false;
                continue;
            }
            f.entities.push_back(DxfEntity{value, {}});
            current = &f.entities.back();
            continue;
        }
        if (code == 2 && value == "ENTITIES") {
            inEntities = true;
            continue;
        }
        if (current)
            current->groups.emplace_back(code, value);
    }
    (void)inEntities;
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

std::vector<DxfEntity> DxfFile::onLayer(const std::string& layer) const
{
    std::vector<DxfEntity> out;
    for (const auto& e : entities)
        if (e.layer() == layer)
            out.push_back(e);
    return out;
}

const DxfEntity* DxfFile::textStarting(const std::string& prefix, int nth) const
{
    for (const auto& e : entities) {
        if (e.type == "TEXT" && e.text(1).rfind(prefix, 0) == 0) {
            if (nth == 0)
                return &e;
            --nth;
        }
    }
    return nullptr;
}

RoadBuilder::RoadBuilder(Database& db, std::int64_t length, int interval) : m_db(db)
{
    RoadChanges c;
    c.from = QStringLiteral("North");
    c.to = QStringLiteral("South");
    c.length = length;
    c.interval = interval;
    m_id = roads::create(db, c);
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

void RoadBuilder::row(double chainage, const std::map<QString, QVariant>& values)
{
    QStringList names{QStringLiteral("ID"), QStringLiteral("Chainage")};
    QStringList marks{QStringLiteral("?"), QStringLiteral("?")};
    for (const auto& v : values) {
        names << "[" + v.first + "]";
        marks << QStringLiteral("?");
    }
    QSqlQuery q = m_db.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                   .arg(schema::rlTable(m_id), names.join(','), marks.join(',')));
    q.addBindValue(qint64(m_nextRow++));
    q.addBindValue(chainage);
    for (const auto& v : values)
        q.addBindValue(v.second);
    Database::run(q);
}

void RoadBuilder::typicalRow(double chainage, double centre, double fc)
{
    std::map<QString, QVariant> v;
    for (int i = 1; i <= 4; ++i) {
        v[QStringLiteral("L%1").arg(i)] = centre - 0.1 * i;
        v[QStringLiteral("R%1").arg(i)] = centre - 0.15 * i;
    }
    v["C"] = centre;
    v["FC"] = fc;
    v["FL1"] = fc - 0.09;
    v["FL2"] = fc - 0.18;
    v["FR1"] = fc - 0.09;
    v["FR2"] = fc - 0.18;
    v["Width"] = 10.0;
    v["Left Slope"] = 2.0;
    v["Right Slope"] = 2.0;
    v["Fill Area"] = 12.5;
    v["Cut Area"] = 0.0;
    row(chainage, v);
}

QString templateFolder()
{
    const QByteArray source = qgetenv("TARMELA_SOURCE_DIR");
    if (!source.isEmpty())
        return QDir(QString::fromLocal8Bit(source)).filePath(QStringLiteral("data/Data"));
    const QByteArray bin = qgetenv("TARMELA_BIN_DIR");
    return QDir(bin.isEmpty() ? QDir::currentPath() : QString::fromLocal8Bit(bin))
        .filePath(QStringLiteral("Data"));
}

} // namespace tarmela::test
