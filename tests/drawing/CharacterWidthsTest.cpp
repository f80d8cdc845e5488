#include "drawing/CharacterWidths.h"
#include "ReportPageText.h"
#include "support/TestProject.h"

#include <QFontMetricsF>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarmela;
using namespace tarmela::test;

namespace
{

// Text measures in page units: 96 to the inch.
QFontMetricsF pageMetrics(bool bold = false)
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3780);
        return image;
    }();
    return QFontMetricsF(reportFont(8, bold), &device);
}

} // namespace

// The wrapping is measured with the file and drawn with the font: they must agree.
TEST(CharacterWidths, ShippedFileAgreesWithTheReportFontWithinOneUnit)
{
    const CharacterWidths w = shippedWidths();
    const QFontMetricsF font = pageMetrics();
    for (int c = CharacterWidths::kFirst; c <= CharacterWidths::kLast; ++c)
        EXPECT_NEAR(w.width(QChar(c), 8), font.horizontalAdvance(QChar(c)), 1.0)
            << "character " << c;
    EXPECT_NEAR(w.lineHeight(8), font.lineSpacing(), 1.0);

    // Beyond the file's range the font measures; a size scales the file's widths.
    EXPECT_NEAR(w.textWidth(QString::fromUtf8("\xc3\xa9\xe2\x82\xac"), 8),
                font.horizontalAdvance(QString::fromUtf8("\xc3\xa9\xe2\x82\xac")), 0.01);
    EXPECT_DOUBLE_EQ(w.textWidth("Wm", 16), 2 * (w.width('W', 8) + w.width('m', 8)));
    EXPECT_NEAR(w.textWidth("Bold", 8, true), pageMetrics(true).horizontalAdvance("Bold"), 0.01);
}

TEST(CharacterWidths, WrapsWhereTheNextWordWouldPassTheWidth)
{
    const CharacterWidths w = shippedWidths();
    const double upToSecond = w.textWidth("Pipe at", 8);
    const struct {
        QString text;
        double width;
        QStringList lines;
    } cases[] = {
        {"Pipe at km 2", upToSecond, {"Pipe at", "km 2"}},
        {"Pipe at km 2", upToSecond - 0.01, {"Pipe", "at km", "2"}},
        {"Pipe   at\nkm 2", 1000, {"Pipe at", "km 2"}},
        {"Unbreakable", 5, {"Unbreakable"}},
        {"", 100, {""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(w.wrap(c.text, c.width, 8), c.lines) << c.text.toStdString();
}

TEST(CharacterWidths, MissingOrDamagedFileIsRefusedByName)
{
    QTemporaryDir dir;
    const struct {
        QByteArray content; // (a missing file: CliExport.EveryOutputWhenNoneIsNamed...)
        const char* says;
    } cases[] = {
        {"12.27 3 3 4", "not 4 numbers"},
        {"12.27" + QByteArray(" 6").repeated(94) + " x", "\"x\" is not a width"},
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath("ARFONT8.fl");
        writeFile(path, c.content);
        const auto e = thrown([&] { CharacterWidths::load(path); });
        ASSERT_TRUE(e) << c.says;
        EXPECT_EQ(e->kind(), ErrorKind::Data);
        EXPECT_TRUE(e->message().contains(c.says) && e->message().contains("ARFONT8.fl"))
            << e->message().toStdString();
    }
}
