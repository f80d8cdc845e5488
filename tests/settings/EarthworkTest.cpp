#include "settings/Earthwork.h"

#include <gtest/gtest.h>

using namespace tarmela;

// The status lines group thousands in the user's locale, whatever it does by default; a
// numbered message carries its number on a line of its own.
TEST(EarthworkTexts, QuantityLinesAndMessages)
{
    VolumeSummary v;
    v.totalFill = 3650;
    v.totalCut = 1500.004;
    QLocale plain = QLocale::c();
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    const struct {
        QLocale locale;
        const char* filling;
        const char* total;
    } cases[] = {
        {plain, "Filling = 3,650.00 Cum", "Total = 5,150.00 Cum"},
        {QLocale(QLocale::German, QLocale::Germany), "Filling = 3.650,00 Cum",
         "Total = 5.150,00 Cum"},
    };
    for (const auto& c : cases) {
        const QuantityTexts t = quantityTexts(v, c.locale);
        EXPECT_EQ(t.filling, c.filling);
        EXPECT_EQ(t.total, c.total);
    }
    EXPECT_EQ(quantityTexts(v, plain).cutting, "Cutting = 1,500.00 Cum");

    EarthworkResult r;
    r.error = "FC is empty";
    EXPECT_EQ(earthworkMessage(r), "FC is empty");
    r.errorCode = EarthworkErrorCode::EmptyValue;
    EXPECT_EQ(earthworkMessage(r), "FC is empty\nError Code=101");

    Settings s;
    s.QuantityCalcMethod = 2;
    s.ViewSections = 5;
    const EarthworkInputs in = earthworkInputsFor(s, 7, 0.03, 0.025);
    EXPECT_EQ(in.road, 7);
    EXPECT_EQ(in.method, 2);
    EXPECT_EQ(in.viewSections, 5);
    EXPECT_DOUBLE_EQ(in.formationCamber, 0.03);
    EXPECT_DOUBLE_EQ(in.carriageCamber, 0.025);
}
