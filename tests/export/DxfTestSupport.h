#pragma once

#include "export/DxfDrawings.h"
#include "store/Database.h"
#include "support/TestProject.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cmath>
#include <string>
#include <vector>

namespace tarmela::test
{

// One entity of a written drawing, its group codes and values in file order.
struct DxfEntity {
    std::string type;
    std::vector<std::pair<int, std::string>> groups;

    const std::string* find(int code) const
    {
        for (const auto& g : groups)
            if (g.first == code)
                return &g.second;
        return nullptr;
    }
    std::string text(int code) const { return find(code) ? *find(code) : std::string(); }
    double number(int code) const { return find(code) ? std::stod(*find(code)) : NAN; }
    std::string layer() const { return text(8); }
};

// A drawing read back the way a DXF reader reads it: pairs of lines, code then value. Fails the
// calling test on a malformed pair (a code that is not a number, a missing CR LF).
struct DxfFile {
    QByteArray bytes;
    std::vector<std::string> lines;  // of the ENTITIES section on, without their CR LF
    std::vector<DxfEntity> entities; // of the ENTITIES section

    static DxfFile read(const QString& path);
    std::vector<DxfEntity> ofType(const std::string& type) const;
    int linesOn(const std::string& layer) const; // LINEs and the segments of POLYLINEs
    const DxfEntity* textStarting(const std::string& prefix, int nth = 0) const;
};

// A road with sections, written straight into its RL sheet.
class RoadBuilder
{
public:
    RoadBuilder(Database& db, std::int64_t length, int interval);
    std::int64_t id() const { return m_id; }
    void distances(const std::vector<double>& left, const std::vector<double>& right);
    // Cells as "C=100, Left Slope=2"; the cells not named stay empty.
    void row(double chainage, const QString& cells);

private:
    Database& m_db;
    std::int64_t m_id;
    std::int64_t m_nextRow = 1;
};

// The data folder of the source tree (the header templates).
QString templateFolder();

constexpr double kTol = 2e-4; // coordinates are written with seven significant digits

// A drawing of a project of its own, written to a temporary folder and read back.
struct Drawing {
    TestProject project;
    QTemporaryDir out;
    QString target = out.filePath("Drawing.dxf");
    DxfOptions options;
    QStringList warnings;
    Drawing() { options.templateFolder = templateFolder(); }
    DxfFile crossSections(std::int64_t road)
    {
        ExportCrossSectionsDxf(project.db(), road, options, target);
        return DxfFile::read(target);
    }
    DxfFile longSection(std::int64_t road)
    {
        warnings = ExportLongSectionDxf(project.db(), road, options, target);
        return DxfFile::read(target);
    }
};

} // namespace tarmela::test
