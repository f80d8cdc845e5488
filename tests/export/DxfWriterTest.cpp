// The DXF writer and the forms of its numbers, and the drawings it writes as two independent DXF
// readers see them.
#include "export/DxfWriter.h"
#include "DxfTestSupport.h"
#include "compute/EarthworkQuantities.h"
#include "export/DxfNumbers.h"
#include "sheets/SampleRoad.h"
#include "support/CommaLocale.h"
#include "support/TestProject.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <vector>

using namespace tarmela;
using namespace tarmela::test;
using namespace std::string_view_literals;

namespace
{

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
    CommaLocale comma;
    std::mt19937 gen(11);
    std::uniform_real_distribution<float> coord(-50.0f, 40000.0f);
    std::vector<float> values;
    for (int i = 0; i < 20000; ++i)
        values.push_back(i % 3 == 0 && i > 0 ? values[std::size_t(i) / 2] : coord(gen));
    values.insert(values.end(), {1e12f, -1e-9f, NAN});
    const DxfFile f = Scratch().write([&](DxfWriter& w) {
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

// Both drawings of a plausible road go through two independent DXF readers: ezdxf's strict
// reader and auditor, and LibreCAD rendering it (texts included) to a picture, by the
// project's scripts/check-dxf. Set TARMELA_KEEP_DXF to a folder to keep the drawings and their
// pictures for a look.
TEST(DxfReaders, BothDrawingsPassTheStrictReaderAndRender)
{
    Drawing d;
    Database& db = d.project.db();
    // Half a kilometre of the sample survey, recomputed: formation in fill and in cut, some
    // outer readings missing, culverts.
    EarthworkInputs in{createSampleRoad(db, {26})};
    UpdateEarthworkQuantities(db, in);
    const QByteArray keep = qgetenv("TARMELA_KEEP_DXF");
    const QString folder = keep.isEmpty() ? d.out.path() : QString::fromLocal8Bit(keep);
    QDir().mkpath(folder);

    d.options.lsectionGrid = true;
    d.options.fixedDatum = false;
    const QString longSection = QDir(folder).filePath("LSection.dxf");
    const QString crossSections = QDir(folder).filePath("XSection.dxf");
    EXPECT_TRUE(ExportLongSectionDxf(db, in.road, d.options, longSection).isEmpty());
    ExportCrossSectionsDxf(db, in.road, d.options, crossSections);

    for (const QString& file : {longSection, crossSections}) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(qEnvironmentVariable("TARMELA_SOURCE_DIR") + "/scripts/check-dxf", {file, folder});
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
