#pragma once

#include "export/DxfDrawings.h"
#include "store/Database.h"

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <map>
#include <string>
#include <vector>

namespace tarmela::test {

// One entity of a written drawing, its group codes and values in file order.
struct DxfEntity {
    std::string type;
    std::vector<std::pair<int, std::string>> groups;

    bool has(int code) const;
    std::string text(int code) const; // the first value of the code; empty when absent
    double number(int code) const;    // the same as a number; NaN when absent
    std::string layer() const { return text(8); }
};

// A drawing read back the way a DXF reader reads it: pairs of lines, code then value. Fails the
// calling test on a malformed pair (a code that is not a number, a missing CR LF).
struct DxfFile {
    QByteArray bytes;
    std::vector<std::string> lines; // without their CR LF
    std::vector<DxfEntity> entities; // of the ENTITIES section
    QByteArray headerTemplate;       // everything before the entities section

    static DxfFile read(const QString& path);
    std::vector<DxfEntity> ofType(const std::string& type) const;
    std::vector<DxfEntity> onLayer(const std::string& layer) const;
    const DxfEntity* textStarting(const std::string& prefix, int nth = 0) const;
};

// A road with sections, written straight into its RL sheet.
class RoadBuilder {
public:
    RoadBuilder(Database& db, std::int64_t length, int interval);
    std::int64_t id() const { return m_id; }
    void distances(const std::vector<double>& left, const std::vector<double>& right);
    // Column name -> value (a null QVariant leaves the cell empty).
    void row(double chainage, const std::map<QString, QVariant>& values);
    // A plausible section: ground falling away to both sides, formation above it.
    void typicalRow(double chainage, double centre, double fc);

private:
    Database& m_db;
    std::int64_t m_id;
    std::int64_t m_nextRow = 1;
};

// The data folder of the source tree (the header templates).
QString templateFolder();

} // namespace tarmela::test
