// A road's export: its folder, the DXF writer and its numbers, and the two drawings: the cross
// sections, sheets of sections side by side, and the longitudinal section, sheets of a kilometre.
#include "DxfTestSupport.h"
#include "compute/EarthworkQuantities.h"
#include "export/BatchExport.h"
#include "export/CrossSectionDxf.h"
#include "export/DxfDrawings.h"
#include "export/DxfNumbers.h"
#include "export/DxfWriter.h"
#include "export/LongSectionDxf.h"
#include "sheets/SampleRoad.h"
#include "store/Error.h"
#include "support/CommaLocale.h"
#include "support/TestProject.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <random>
#include <vector>

using namespace tarmela;
using namespace tarmela::test;
using namespace std::string_view_literals;

namespace
{

constexpr double kTol = 2e-4; // coordinates are written with seven significant digits

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

const double kFirstBoxTop = double(29.7f - 27.2f / 6 + 1.0f);

bool near(double a, double b)
{
    return std::abs(a - b) < kTol;
}

// The line between the two points, in either direction, on the layer.
bool hasLine(const DxfFile& f, const std::string& layer, double x1, double y1, double x2, double y2)
{
    for (const auto& e : f.ofType("LINE")) {
        if (e.layer() != layer)
            continue;
        const double a = e.number(10), b = e.number(20), c = e.number(11), d = e.number(21);
        if ((near(a, x1) && near(b, y1) && near(c, x2) && near(d, y2)) ||
            (near(a, x2) && near(b, y2) && near(c, x1) && near(d, y1)))
            return true;
    }
    return false;
}

// Band texts are turned and sit at (x + 0.24, BandTop - (row + 1) * BandHeight + 0.04).
double bandY(int row)
{
    return double(LongSectionDrawing::BandTop - float(row + 1) * LongSectionDrawing::BandHeight +
                  0.04f);
}

std::vector<const DxfEntity*> bandTexts(const DxfFile& f, int row)
{
    std::vector<const DxfEntity*> out;
    for (const auto& e : f.entities)
        if (e.type == "TEXT" && e.text(50) == " 90 " && std::abs(e.number(20) - bandY(row)) < kTol)
            out.push_back(&e);
    return out;
}

std::vector<double> titleSheets(const DxfFile& f)
{
    std::vector<double> lefts;
    for (const DxfEntity* e : bandTexts(f, 0))
        if (e->text(1) == "CHAIN")
            lefts.push_back(e->number(10) + 0.5 - 0.24);
    return lefts;
}

void plainRoad(RoadBuilder& road, int interval, int last)
{
    for (int c = 0; c <= last; c += interval)
        road.row(c, QStringLiteral("C=%1, FC=101, L8=99.5, R8=99.4").arg(100 + c % 100 / 100.0));
}

QString checkTool()
{
    return qEnvironmentVariable("TARMELA_SOURCE_DIR") + QStringLiteral("/scripts/check-dxf");
}

std::string single(float v)
{
    return std::string(dxf::single(v).view());
}

const QByteArray kTemplate = "  0\r\nSECTION\r\n  2\r\nHEADER\r\n  0\r\nENDSEC\r\n";

// A writer on a small template in a temporary folder.
struct Scratch {
    QTemporaryDir dir;
    QString templ = dir.filePath("Header.dxf");
    QString target = dir.filePath("Out.dxf");
    Scratch() { writeFile(templ, kTemplate); }
    DxfFile write(const std::function<void(DxfWriter&)>& draw)
    {
        DxfWriter w(templ, target);
        draw(w);
        w.finish();
        return DxfFile::read(target);
    }
};

// Lines of the file from the ENTITIES section on, joined by '|'.
std::string joined(const std::vector<std::string>& lines, std::size_t from, std::size_t count)
{
    std::string out;
    for (std::size_t i = from; i < std::min(lines.size(), from + count); ++i)
        out += (i > from ? "|" : "") + lines[i];
    return out;
}

std::string name(const QString& from, const QString& to)
{
    return exportFolderName(from, to).toStdString();
}

struct Export : ::testing::Test {
    TestProject p;
    Database& db = p.db();
    QString base = p.folder() + "/Out";
    ExportSettings settings;

    std::int64_t road(const QString& from, const QString& to) { return makeRoad(db, from, to); }
};

const QStringList kReports{"level-book", "earthwork-report"};

} // namespace

// (Every magnitude's rounding is RoundsLikeTheLibraryAtEveryMagnitude's, the shortest form the
// LINE and TEXT layouts'.)
TEST(DxfNumbers, PlainDecimalAndTheFixedForms)
{
    EXPECT_EQ(single(-0.0f), "0");
    EXPECT_EQ(single(9999999.6f), "10000000");
    const std::pair<double, const char*> twoDecimals[] = {
        {2.5, "2.50"}, {-0.001, "0.00"}, {double(1000.0f - 0.3f), "999.70"}, {-1.256, "-1.26"}};
    for (const auto& [v, text] : twoDecimals)
        EXPECT_EQ(dxf::twoDecimals(v).view(), text) << v;
    EXPECT_EQ(dxf::stored(100.5).view(), "100.5");
    EXPECT_EQ(dxf::stored(20.0).view(), "20");
    EXPECT_EQ(dxf::stored(99.93).view(), "99.93");
    EXPECT_EQ(dxf::stored(NAN).view(), "");
}

TEST(DxfNumbers, RoundsLikeTheLibraryAtEveryMagnitude)
{
    // Every float written must read back as the float's value correctly rounded to seven
    // significant digits.
    std::mt19937 gen(7);
    std::uniform_real_distribution<float> mantissa(1.0f, 10.0f);
    std::uniform_int_distribution<int> exponent(-9, 9);
    for (int i = 0; i < 200000; ++i) {
        const float v = mantissa(gen) * std::pow(10.0f, float(exponent(gen))) * (i % 2 ? -1 : 1);
        char expected[32];
        std::snprintf(expected, sizeof expected, "%.6e", double(v));
        const std::string got = single(v);
        ASSERT_EQ(got.find_first_of("eE,"), std::string::npos) << got;
        ASSERT_EQ(std::stod(got), std::stod(expected))
            << "value " << expected << " written " << got;
    }
}

TEST(DxfWriter, LinesAndTextsKeepTheirLayoutsWithBlanksAroundNumbers)
{
    const DxfFile f = Scratch().write([](DxfWriter& w) {
        w.setLayer("EXISTING"sv);
        w.setTextHeight(0.12f);
        w.DxfLine(1, 2, 3, 4.5f);
        w.DxfText(0, 0, QStringLiteral("FILL AREA = 12.5 SQM"), true, 2, 18.5f, 28.5471f);
        w.DxfText(0, 0, "two\r\nlines"sv);
    });
    EXPECT_EQ(joined(f.lines, 4, 16),
              " 0 |LINE| 8 |EXISTING| 10 | 1 | 20 | 2 | 30 | 0 | 11 | 3 | 21 | 4.5 | 31 | 0 ");
    EXPECT_EQ(joined(f.lines, 20, 26), " 0 |TEXT| 8 |EXISTING| 10 | 0 | 20 | 0 | 30 | 0 | 40 | "
                                       "0.12 | 1 |FILL AREA = 12.5 SQM| 50 | 90 | 72 | 2 | 11 | "
                                       "18.5 | 21 | 28.5471 | 31 | 0 | 0 |TEXT");
    // A line break inside a text would end the value early.
    EXPECT_EQ(f.ofType("TEXT").back().text(1), "two  lines");
}

// (The template and an empty ENTITIES section make CrossSectionDxf's drawing of a road without
// rows; the target is replaced as OutputFile replaces any.)
TEST(DxfWriter, ATemplateWithoutALastLineEndStillGetsTheEntitiesOnALineOfTheirOwn)
{
    Scratch s;
    writeFile(s.templ, kTemplate.chopped(2));
    s.write([](DxfWriter&) {});
    EXPECT_EQ(readFile(s.target),
              kTemplate + " 0 \r\nSECTION\r\n 2 \r\nENTITIES\r\n 0 \r\nENDSEC\r\n 0 \r\nEOF\r\n");
}

TEST(DxfWriter, RepeatedAndScatteredNumbersAreWrittenAlike)
{
    // The writer remembers recent numbers; whatever it remembers, each value must come out as
    // the formatter writes it, with a point in a program that runs in a comma locale.
    Scratch s;
    CommaLocale comma;
    std::mt19937 gen(11);
    std::uniform_real_distribution<float> coord(-50.0f, 40000.0f);
    std::vector<float> values;
    for (int i = 0; i < 20000; ++i)
        values.push_back(i % 3 == 0 && i > 0 ? values[std::size_t(i) / 2] : coord(gen));
    values.push_back(1e12f);
    values.push_back(-1e-9f);
    values.push_back(NAN);
    const DxfFile f = s.write([&](DxfWriter& w) {
        for (std::size_t i = 0; i + 3 < values.size(); i += 4)
            w.DxfLine(values[i], values[i + 1], values[i + 2], values[i + 3]);
        w.DxfLine(values[values.size() - 3], values[values.size() - 2], values.back(), 0);
        w.DxfText(0, 0, dxf::twoDecimals(2.5).view(), false, 4, 10.5f, 3.25f);
    });
    EXPECT_FALSE(f.bytes.mid(kTemplate.size()).contains(','));
    std::vector<std::string> written;
    for (const auto& e : f.ofType("LINE"))
        for (int code : {10, 20, 11, 21})
            written.push_back(e.text(code));
    ASSERT_EQ(written.size(), values.size() + 1);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string expected = single(values[i]);
        ASSERT_EQ(written[i], (expected[0] == '-' ? "" : " ") + expected + " ") << i;
    }
    EXPECT_EQ(written[values.size() - 3], " 1000000000000 ");
    EXPECT_EQ(written[values.size() - 1], " 0 "); // not a number
}

TEST(CrossSectionDxf, SheetsSideBySideEveryEntityInsideItsSheetAndItsTextsInItsSlot)
{
    // Seven sections make two sheets; a gentle road and a hill road 80 m wide.
    const struct {
        const char* what;
        std::vector<double> distances;
        const char* row;
    } cases[] = {
        {"gentle",
         {2, 3, 2.5},
         "C=100, L1=100.5, L3=99.5, R1=99.8, R2=99.6, FC=101, FL1=100.9, FL2=100.8, FR1=100.9, "
         "FR2=100.8, Width=8, Left Slope=2, Right Slope=0, Fill Area=12.5, Cut Area=0"},
        {"hill",
         {2, 3, 5, 5, 5, 5, 7.5, 7.5},
         "C=110, L1=111, L2=112, L4=115, L5=117, L6=119, L7=121, L8=124, R1=109, R2=108, "
         "R3=106, R4=104, R5=101, R6=99, R7=96, R8=92, FC=130, FL1=129.9, FL2=129.8, "
         "FR1=129.9, FR2=129.8, Width=7.5, Left Slope=2, Right Slope=2, Fill Area=900"},
        // Narrow on the right; on the left a fill slope carried 30 m past the last reading.
        {"one side far",
         {2, 2},
         "C=100, L1=100, L2=100, R1=100, R2=100, FC=116, FL1=116, FL2=116, FR1=116, FR2=116, "
         "Width=8, Left Slope=2, Fill Area=300"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Drawing d;
        RoadBuilder road(d.project.db(), 140, 20);
        road.distances(c.distances, c.distances);
        for (int i = 0; i < 7; ++i)
            road.row(20.0 * i, c.row);
        const DxfFile f = d.crossSections(road.id());

        // Frames 1 inside the 21 x 29.7 sheets at x 0 and 23, and the extents cover both.
        EXPECT_TRUE(hasLine(f, "FRAME", 1, 28.7, 20, 28.7));
        EXPECT_TRUE(hasLine(f, "FRAME", 24, 1, 43, 1));
        EXPECT_FALSE(hasLine(f, "FRAME", 47, 28.7, 66, 28.7));
        EXPECT_TRUE(f.bytes.left(f.bytes.indexOf("ENTITIES")).contains("$EXTMAX\r\n 10\r\n44"));

        const double slot = double(27.2f / 6);
        int section = -1, sheet = 0, inSlot = 0;
        for (const auto& e : f.entities) {
            EXPECT_NE(e.layer(), "0");
            if (!e.find(10)) // a polyline's head and end: its vertices carry the points
                continue;
            const bool aligned = e.find(11) != nullptr;
            const double x = e.number(aligned ? 11 : 10), y = e.number(aligned ? 21 : 20);
            const double left = x < 21.5 ? 0 : 23;
            EXPECT_GE(x, left + 1 - kTol);
            EXPECT_LE(x, left + 20 + kTol);
            EXPECT_GE(y, 1 - kTol);
            EXPECT_LE(y, 28.7 + kTol);
            if (e.type == "VERTEX") { // the outlines inside the figure box
                EXPECT_TRUE(x >= left + 2.5 - kTol && x <= left + 18.5 + kTol) << e.layer() << x;
            }
            if (e.type != "TEXT")
                continue;
            if (e.text(1) == "EX. LEVEL") {
                ++section;
                sheet = section / 6;
            }
            if (section < 0)
                continue;
            // Each text within its section's slot: its box top less 2 and the slot above.
            const double top = kFirstBoxTop - (section % 6) * slot;
            inSlot += y > top - 2 && y < top - 2 + slot && left == 23 * sheet;
            if (e.layer() == "BANDS" && e.find(50)) {
                EXPECT_EQ(e.text(1).find('.'), e.text(1).size() - 3) << e.text(1); // 2 decimals
            }
            EXPECT_GE(e.number(40), 0.175 - kTol); // at least 1.75 mm on paper
        }
        EXPECT_EQ(section, 6);
        EXPECT_EQ(inSlot, int(f.ofType("TEXT").size()) - 2); // all but the two scale notes
        EXPECT_GT(f.linesOn("GROUND"), 0);
        EXPECT_GT(f.linesOn("FORMATION"), 0);
    }
}

TEST(CrossSectionDxf, EmptyCellsLeaveOutOnlyWhatNeedsThem)
{
    Drawing d;
    RoadBuilder road(d.project.db(), 40, 20);
    road.distances({2, 2}, {2, 2});
    // A road without rows: the template and an empty ENTITIES section.
    EXPECT_EQ(d.crossSections(road.id()).bytes,
              readFile(templateFolder() + "/HeaderX.dxf") +
                  " 0 \r\nSECTION\r\n 2 \r\nENTITIES\r\n 0 \r\nENDSEC\r\n 0 \r\nEOF\r\n");
    // No centre level, no width, no slopes: the ground readings still draw, unjoined to the
    // centre, and the formation has only its centre level.
    road.row(0, "L1=100.5, L2=100.2, R1=100.1, FC=101, FL1=100.9, Left Slope=2");
    const DxfFile f = d.crossSections(road.id());
    EXPECT_NE(f.textStarting("FILL AREA =  SQM"), nullptr);
    EXPECT_EQ(f.linesOn("GROUND"), 1); // only L2-L1 joins
    EXPECT_EQ(f.linesOn("FORMATION"), 0);
    EXPECT_NE(f.textStarting("101.00"), nullptr);
}

TEST(CrossSectionDxf, BadRequestsChangeNothing)
{
    Drawing d;
    RoadBuilder road(d.project.db(), 100, 20);
    road.row(0, "");
    writeFile(d.target, "old");
    auto kindOf = [&](std::int64_t id, const DxfOptions& o) -> std::optional<ErrorKind> {
        try {
            ExportCrossSectionsDxf(d.project.db(), id, o, d.target);
        } catch (const Error& e) {
            return e.kind();
        }
        return std::nullopt;
    };
    // (A missing template: CliExport.EveryOutputWhenNoneIsNamedAndFailuresGoToStandardError.)
    DxfOptions zeroPerPage = d.options;
    zeroPerPage.sectionsPerPage = 0;
    EXPECT_EQ(kindOf(road.id(), zeroPerPage), ErrorKind::Usage);
    EXPECT_EQ(kindOf(road.id() + 1, d.options), ErrorKind::Data);
    d.project.db().exec("DROP TABLE " + QStringLiteral("RL_%1").arg(road.id()));
    EXPECT_EQ(kindOf(road.id(), d.options), ErrorKind::TableMissing);

    EXPECT_EQ(readFile(d.target), "old");
}

TEST(CrossSectionDxf, WorldUnitsTrueGeometryEachSectionAtItsOwnPoint)
{
    Drawing d;
    RoadBuilder road(d.project.db(), 20, 20);
    road.distances({2, 3, 2.5}, {2, 3, 2.5});
    road.row(0, "C=100, L1=100.5, L3=99.5, R1=99.8, R2=99.6");
    road.row(20, "C=101, L1=101.5, L3=100.5, R1=100.8, R2=100.6");
    ExportCrossSectionsWorldDxf(d.project.db(), road.id(), d.options, d.target);
    const DxfFile f = DxfFile::read(d.target);
    // The centre lines stand at the sections' insertion points; the ground at its true offsets
    // and levels from them.
    const std::vector<DxfEntity> centres = f.ofType("LINE");
    ASSERT_EQ(centres.size(), 2u);
    const double x0 = centres[0].number(10), x1 = centres[1].number(10);
    EXPECT_GT(x1 - x0, 2 * 5);
    std::vector<std::pair<double, double>> ground;
    for (const auto& e : f.ofType("VERTEX"))
        if (e.layer() == "GROUND")
            ground.emplace_back(e.number(10), e.number(20));
    // One polyline a section, from the right to the left; L2 is empty, so L3 lies its own
    // interval beyond L1. The second section is the first one a metre higher.
    const std::pair<double, double> offsets[] = {
        {5, 99.6}, {2, 99.8}, {0, 100}, {-2, 100.5}, {-4.5, 99.5}};
    std::vector<std::pair<double, double>> expected;
    for (const double x : {x0, x1})
        for (const auto& [offset, level] : offsets)
            expected.emplace_back(x + offset, level + (x == x1));
    EXPECT_EQ(ground, expected);
}

TEST(LongSectionDxf, SheetsOfAKilometreAndTheirGrids)
{
    Drawing d;
    RoadBuilder road(d.project.db(), 2500, 20);
    plainRoad(road, 20, 2500);
    const DxfFile f = d.longSection(road.id());
    const std::vector<double> lefts = titleSheets(f);
    ASSERT_EQ(lefts.size(), 3u);
    EXPECT_NEAR(lefts[0], 1.0, kTol);
    EXPECT_NEAR(lefts[1], 32.7, kTol);
    EXPECT_NEAR(lefts[2], 64.4, kTol);
    EXPECT_TRUE(d.warnings.isEmpty());
    // 51 + 51 + 26 rows; the row at 1000 ends one sheet and starts the next.
    EXPECT_EQ(bandTexts(f, 0).size(), 3u + 51 + 51 + 26);
    // The band grid: a vertical every 20 m (0.56) and seven band lines per sheet; the level
    // grid only when asked, with a line every metre of level over the frame's 18 rows.
    EXPECT_EQ(f.linesOn("GRID"), 3 * (51 + 8));
    d.options.lsectionGrid = true;
    EXPECT_EQ(d.longSection(road.id()).linesOn("GRID"), 3 * (51 + 8 + 51 + 19));
}

TEST(LongSectionDxf, DatumLevelLabelsAndBandFigures)
{
    Drawing d;
    RoadBuilder road(d.project.db(), 60, 20);
    road.row(0, "C=100.3, FC=100, L8=101.7, R2=99.9");
    road.row(20, "C=100.4, FC=100.5, L3=100.1");
    road.row(40, "FC=100.1, L1=0");
    road.row(60, "C=100.6, FC=100.2, R1=100.2");
    culverts::add(d.project.db(), road.id(),
                  culverts::addType(d.project.db(), "Pipe", "P", "pipe.png", "pipe.png"), 30, "E");

    auto labels = [](const DxfFile& f) {
        std::vector<std::string> out;
        for (const auto& e : f.ofType("TEXT"))
            if (e.layer() == "TEXT" && !e.find(50) && e.text(1).rfind("H 1:", 0) != 0)
                out.push_back(e.text(1));
        return out;
    };
    // Fixed datum 95: labels from 95 whatever the levels, to the highest whole level plus one.
    DxfFile f = d.longSection(road.id());
    EXPECT_EQ(labels(f),
              (std::vector<std::string>{"95", "96", "97", "98", "99", "100", "101", "102"}));
    EXPECT_NEAR(f.ofType("TEXT")[0].number(20), 0.7 + LongSectionDrawing::BandTop - 0.1, kTol);
    for (const auto& e : f.ofType("TEXT")) // 2 mm on paper at the least
        EXPECT_GE(e.number(40), 0.2 - 1e-6) << e.text(1);

    // Floating datum: one below the lowest whole level of C, the shown outer readings and FC
    // (with 8 shown, L8 counts and R2 does not).
    d.options.fixedDatum = false;
    f = d.longSection(road.id());
    EXPECT_EQ(labels(f), (std::vector<std::string>{"99", "100", "101", "102"}));
    d.options.viewSections = 2; // L8 no longer counts, R2 (99.9) now does
    f = d.longSection(road.id());
    EXPECT_EQ(labels(f), (std::vector<std::string>{"98", "99", "100", "101"}));

    // Figures: chainage as stored, levels with two decimals, one signed gradient per grade at
    // its middle.
    auto values = [&f](int row) {
        std::vector<std::string> out;
        for (const DxfEntity* e : bandTexts(f, row))
            out.push_back(e->text(1));
        return out;
    };
    EXPECT_EQ(values(0), (std::vector<std::string>{"CHAIN", "0", "20", "40", "60"}));
    EXPECT_EQ(values(1), (std::vector<std::string>{"FC", "100.00", "100.50", "100.10", "100.20"}));
    EXPECT_EQ(values(2), (std::vector<std::string>{"GRAD", "+2.50%", "-2.00%", "+0.50%"}));
    // An empty C stays empty and breaks the centre profile, as on the printed page.
    EXPECT_EQ(values(3), (std::vector<std::string>{"CEN", "100.30", "100.40", "100.60"}));
    // The outermost shown readings, L2 and R2, whatever lies further out or in.
    EXPECT_EQ(values(4), (std::vector<std::string>{"LEFT"}));
    EXPECT_EQ(values(5), (std::vector<std::string>{"RIGHT", "99.90"}));
    EXPECT_EQ(values(6), (std::vector<std::string>{"FC-C", "-0.30", "+0.10", "-0.40"}));
    // The culvert's mark under the formation at 30 m, labelled above it on its own layer.
    const DxfEntity* culvert = f.textStarting("CULVERT");
    ASSERT_NE(culvert, nullptr);
    EXPECT_EQ(culvert->text(1) + culvert->layer(), "CULVERT 30CULVERTS");
    EXPECT_NEAR(culvert->number(10), 1 + 30 * 0.028 + 0.1, kTol);
    EXPECT_GT(culvert->number(20), (100.3 - 0.1 - 98) * 0.7 + 0.7 + LongSectionDrawing::BandTop);
    EXPECT_EQ(f.linesOn("CENTRE"), 1); // 0-20 only
    EXPECT_EQ(f.linesOn("FC"), 3);
    EXPECT_EQ(f.linesOn("RIGHT"), 0); // never two rows in a row
}

TEST(LongSectionDxf, EmptySheetsWarnAndTheExportGoesOn)
{
    Drawing d;
    RoadBuilder road(d.project.db(), 5000, 20);
    plainRoad(road, 20, 1000);
    for (int c = 3100; c <= 3900; c += 20)
        road.row(c, "C=100, FC=100");
    const DxfFile f = d.longSection(road.id());
    EXPECT_EQ(d.warnings,
              QStringList{QStringLiteral("There are no records to display for the current road!")});
    // Sheet 1 holds only the row at 1000; sheets 2 (2000-3000 m) and 4 (4000-5000 m, past the
    // last row) are empty and left blank.
    const std::vector<double> lefts = titleSheets(f);
    ASSERT_EQ(lefts.size(), 3u);
    EXPECT_NEAR(lefts[1], 32.7, kTol);
    EXPECT_NEAR(lefts[2], 96.1, kTol);
    // Titles, and one gradient for each sheet's one straight grade (none for a single row).
    EXPECT_EQ(bandTexts(f, 2).size(), 3u + 1 + 0 + 1);
    // (A road without any rows: Export.TheDrawingsWarningsComeBackWithTheOutcomes.)
}

TEST(LongSectionDxf, RowsBeyondTheRoadLengthAreStillDrawn)
{
    Drawing d;
    RoadBuilder road(d.project.db(), 1, 20); // a new road's length
    plainRoad(road, 20, 1500);
    EXPECT_EQ(titleSheets(d.longSection(road.id())).size(), 2u);
    d.options.viewSections = 9;
    EXPECT_THROW(d.longSection(road.id()), Error);
}

// Both drawings of a plausible road go through two independent DXF readers: ezdxf's strict
// reader and auditor, and LibreCAD rendering it (texts included) to a picture, by the
// project's scripts/check-dxf. Set TARMELA_KEEP_DXF to a folder to keep the drawings and their
// pictures for a look.
TEST(DxfReaders, BothDrawingsPassTheStrictReaderAndRender)
{
    TestProject project;
    // Half a kilometre of the sample survey, recomputed: formation in fill and in cut, some
    // outer readings missing, culverts.
    EarthworkInputs in;
    in.road = createSampleRoad(project.db(), {26});
    UpdateEarthworkQuantities(project.db(), in);
    QTemporaryDir temp;
    const QByteArray keep = qgetenv("TARMELA_KEEP_DXF");
    const QString folder = keep.isEmpty() ? temp.path() : QString::fromLocal8Bit(keep);
    QDir().mkpath(folder);

    DxfOptions o;
    o.templateFolder = templateFolder();
    o.lsectionGrid = true;
    o.fixedDatum = false;
    const QString longSection = QDir(folder).filePath("LSection.dxf");
    const QString crossSections = QDir(folder).filePath("XSection.dxf");
    EXPECT_TRUE(ExportLongSectionDxf(project.db(), in.road, o, longSection).isEmpty());
    ExportCrossSectionsDxf(project.db(), in.road, o, crossSections);

    for (const QString& file : {longSection, crossSections}) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(checkTool(), {file, folder});
        ASSERT_TRUE(p.waitForFinished(600000)) << "check-dxf did not finish";
        const QString output = QString::fromLocal8Bit(p.readAll());
        // Without the readers a developer's run says so; CI installs them and must run it.
        if (p.exitCode() == 2 && qEnvironmentVariable("CI") != QLatin1String("true"))
            GTEST_SKIP() << output.toStdString();
        EXPECT_EQ(p.exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.contains("audit errors 0")) << output.toStdString();
        EXPECT_FALSE(output.contains("not defined in the LAYER table")) << output.toStdString();
        EXPECT_TRUE(output.contains("librecad: rendered")) << output.toStdString();
        // The strict reader saw every entity the file holds, texts included.
        const DxfFile f = DxfFile::read(file);
        // (A polyline is one entity to the reader, its vertices and end part of it.)
        const std::size_t polylines = f.ofType("POLYLINE").size();
        const QString counted =
            QStringLiteral("entities %1 {'LINE': %2, 'TEXT': %3, 'POLYLINE': %4}")
                .arg(f.entities.size() - f.ofType("VERTEX").size() - polylines)
                .arg(f.ofType("LINE").size())
                .arg(f.ofType("TEXT").size())
                .arg(polylines);
        EXPECT_TRUE(output.contains(counted)) << counted.toStdString() << "\n"
                                              << output.toStdString();
    }
}

TEST(ExportFolderName, IsOneSafeFolderNameInsideTheBase)
{
    EXPECT_EQ(name("North", "South"), "North to South");
    EXPECT_EQ(name("A/B", "C\\D"), "A_B to C_D");
    EXPECT_EQ(name("Km 3: Pass?", "<Ridge> \"Top\" | *"), "Km 3_ Pass_ to _Ridge_ _Top_ _ _");
    EXPECT_EQ(name("Line\nbreak", "Tab\there"), "Line_break to Tab_here");
    EXPECT_EQ(name("..", ".."), ".. to");
    EXPECT_EQ(name(" ", " "), "to");
    EXPECT_EQ(name(QString::fromUtf8("K\xc3\xb6ln"), "Bonn"),
              QString::fromUtf8("K\xc3\xb6ln to Bonn").toStdString());
    // Too long for a file system: cut to 200 bytes, never inside a character.
    EXPECT_EQ(name("a" + QString(150, QChar(0xf6)), "B"),
              ("a" + QString(99, QChar(0xf6))).toStdString());
}

// (The list order and the written files: CliExport; a trailing separator: ExportDialog.)
TEST_F(Export, TheDrawingsWarningsComeBackWithTheOutcomes)
{
    const auto id = road("North", "South");
    settings.drawing.templateFolder = templateFolder();
    const ExportResult r = exportRoad(db, id, p.folder() + "//Out//", {"lsection"}, settings);
    EXPECT_EQ(r.folder.toStdString(), (base + "/North to South").toStdString());
    ASSERT_EQ(r.outcomes.size(), 1u);
    EXPECT_TRUE(r.outcomes[0].ok) << r.outcomes[0].message.toStdString();
    // The road has no rows: the drawing has none, and its notice comes back as a warning.
    EXPECT_TRUE(DxfFile::read(r.outcomes[0].path).entities.empty());
    ASSERT_EQ(r.warnings.size(), 1);
    EXPECT_TRUE(r.warnings[0].startsWith("There are no records to display"));
}

TEST_F(Export, NamesThatLookLikePathsStayInsideTheBaseFolderAndAFailedReportEndsTheBatch)
{
    // "A/B" and "A_B", "." and " . ", "" and " " give one name each: the second road of a
    // pair gets a folder of its own, named with its ID, and keeps it.
    const QStringList pairs{"A/B|C", "A_B|C", "..|..", "../../etc|x", "|",
                            " | ",   ".|.",   "/|/",   " .|. "};
    std::map<std::int64_t, QString> folders;
    std::vector<std::int64_t> ids;
    for (const QString& pair : pairs)
        ids.push_back(road(pair.section('|', 0, 0), pair.section('|', 1)));
    for (int round = 0; round < 2; ++round) {
        for (const std::int64_t id : ids) {
            const ExportResult r = exportRoad(db, id, base, kReports, settings);
            ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
            EXPECT_EQ(QFileInfo(r.folder).absolutePath(), QFileInfo(base).absoluteFilePath())
                << r.folder.toStdString();
            for (const ExportOutcome& o : r.outcomes)
                EXPECT_TRUE(o.ok && QFileInfo::exists(o.path)) << o.path.toStdString();
            if (round == 0)
                folders[id] = r.folder;
            EXPECT_EQ(r.folder, folders[id]);
            EXPECT_EQ(r.note.isEmpty(), !r.folder.endsWith(QString(" (road %1)").arg(id)));
        }
    }
    EXPECT_EQ(folders[ids[1]].toStdString(),
              (base + QString("/A_B to C (road %1)").arg(ids[1])).toStdString());
    // One folder per road; nothing else appeared anywhere in the base folder.
    EXPECT_EQ(QDir(base).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot).size(),
              pairs.size());

    // A failed report ends the batch there.
    const auto id = road("North", "South");
    db.exec(QStringLiteral("DROP TABLE LB_%1").arg(id));
    const ExportResult r =
        exportRoad(db, id, base, {"level-book", "earthwork-report", "xsection"}, settings);
    ASSERT_EQ(r.outcomes.size(), 1u);
    EXPECT_FALSE(r.outcomes[0].ok);
    EXPECT_TRUE(r.outcomes[0].message.contains(QStringLiteral("LB_%1").arg(id)));
    EXPECT_EQ(r.error, r.outcomes[0].message);
    EXPECT_FALSE(QFileInfo::exists(r.folder + "/Level Book.htm"));
    EXPECT_THROW(exportRoad(db, id, "  ", kReports, settings), Error); // no folder chosen
}
