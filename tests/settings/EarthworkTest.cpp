#include "settings/Earthwork.h"
#include "compute/QuantityMethods.h"
#include "store/Roads.h"
#include "store/Schema.h"
#include "support/TestProject.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <tuple>

using namespace tarmela;
using QuantityMethodChoice = test::ProjectTest;

// The status lines group thousands in the user's locale, whatever it does by default; a
// numbered message carries its number on a line of its own.
TEST_F(QuantityMethodChoice, QuantityLinesMessagesAndOnlyRegisteredMethodsWhichEachRun)
{
    VolumeSummary v;
    v.totalFill = 3650;
    v.totalCut = 1500.004;
    QLocale plain = QLocale::c();
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    const QuantityTexts t = quantityTexts(v, plain);
    const QuantityTexts de = quantityTexts(v, QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(t.filling + " | " + t.cutting + " | " + t.total,
              "Filling = 3,650.00 Cum | Cutting = 1,500.00 Cum | Total = 5,150.00 Cum");
    EXPECT_EQ(de.filling + " | " + de.total, "Filling = 3.650,00 Cum | Total = 5.150,00 Cum");

    EarthworkResult r;
    r.error = "FC is empty";
    EXPECT_EQ(earthworkMessage(r), "FC is empty");
    r.errorCode = EarthworkErrorCode::EmptyValue;
    EXPECT_EQ(earthworkMessage(r), "FC is empty\nError Code=101");

    Settings s;
    s.QuantityCalcMethod = 2;
    s.ViewSections = 5;
    const EarthworkInputs in = earthworkInputsFor(s, 7, 0.03, 0.025);
    EXPECT_EQ(
        std::make_tuple(in.road, in.method, in.viewSections, in.formationCamber, in.carriageCamber),
        std::make_tuple(std::int64_t(7), 2, 5, 0.03, 0.025));

    // The methods' registry decides what the settings take (and so the Options dialog and the
    // batch tool's --set) and what the recomputation runs; every registered method runs.
    const auto road = p.roadWithRows({0, 20});
    db.exec("UPDATE " + schema::rlTable(road) +
            " SET FC = 101, C = 100, L1 = 100, R1 = 100, TopWidth = 7, BottomWidth = 8");
    CrossDistances d;
    d.left.fill(5);
    d.right.fill(5);
    roads::setCrossDistances(db, road, d);
    int last = 0;
    for (const QuantityMethod& m : quantityMethods())
        last = std::max(last, m.id);
    for (int id = -1; id <= last + 1; ++id) {
        const bool known = findQuantityMethod(id) != nullptr;
        Settings chosen;
        EXPECT_EQ(chosen.setText("QuantityCalcMethod", QString::number(id)), known) << id;
        EarthworkInputs run = earthworkInputsFor(chosen, road, 0.035, 0.035);
        run.method = id;
        const EarthworkResult done = UpdateEarthworkQuantities(db, run);
        EXPECT_EQ(done.errorCode == EarthworkErrorCode::BadSettings, !known) << id;
        EXPECT_EQ(done.volumesDone && done.volumes.totalFill > 0, known)
            << id << done.error.toStdString();
    }
}
