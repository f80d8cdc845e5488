// The Formation Plotting Tool itself on a road of 100,000 sections (2,000 km), driven
// offscreen through its main window as the engineer drives it, beside the engine's own figures
// for the same work in the same run:
//   WindowOpen       the menu command until the tool is painted (its whole-road recomputation
//                    included); EngineRecompute is that recomputation alone.
//   WindowUpdate     a click on the profile, an FC typed and Update pressed, until the grid,
//                    the status bars and the profile are painted again; EngineUpdate is the
//                    engine's FC write with its recomputation.
//   WindowAlignment  a PVI's level typed into the PVI table, the alignment rewriting 2,000
//                    rows, until all is painted again; EngineAlignment the same rewrite alone.
//
//   tarmela_bench_formation_window [--benchmark_filter=...]
#include "support/BenchMain.h"
#include "support/BenchRoad.h"

#include "app/frmMain.h"
#include "formation/FormationDesign.h"
#include "settings/Earthwork.h"
#include "ui/common/AppState.h"
#include "ui/common/Prompts.h"
#include "ui/formation/frmPlotFormation.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <memory>

using namespace tarmela;
using namespace tarmela::bench;

namespace
{

constexpr std::int64_t kSections = 100000;
// The alignment over 2,000 rows (40 km) in the middle of the road.
constexpr double kAlignFrom = 20.0 * 40000;
constexpr double kAlignTo = kAlignFrom + 20.0 * 2000;

struct Program {
    QTemporaryDir dir;
    std::unique_ptr<PromptsOverride> quiet;
    std::unique_ptr<frmMain> main;
    std::int64_t road = 0;
    int told = 0;

    Program()
    {
        appState() = AppState{};
        appState().settingsStore = SettingsStore(dir.filePath("Tarmela.ini"));
        Prompts p = defaultPrompts();
        p.tell = [this](QWidget*, const QString& text, QMessageBox::Icon) {
            if (told++ < 3)
                std::fprintf(stderr, "told: %s\n", qPrintable(text));
        };
        quiet = std::make_unique<PromptsOverride>(p);
        OpenProjectDatabase(dir.path());
        road = addBenchRoad(*appState().ProjectConnection, kSections);
        main = std::make_unique<frmMain>();
        main->resize(1280, 860);
        main->show();
        main->ChooseRoad(road);
    }
    ~Program()
    {
        main.reset();
        CloseProjectDatabase();
        appState() = AppState{};
    }
    frmPlotFormation* tool() const
    {
        QMdiSubWindow* sub = main->mdiArea()->activeSubWindow();
        return sub ? qobject_cast<frmPlotFormation*>(sub->widget()) : nullptr;
    }
    frmPlotFormation* open()
    {
        if (frmPlotFormation* t = tool())
            return t;
        main->command(QStringLiteral("mnuFormationPlot"))->trigger();
        main->repaint();
        return tool();
    }
    EarthworkInputs inputs() const
    {
        const AppState& s = appState();
        EarthworkInputs in =
            earthworkInputsFor(s.settings, road, s.FormationCamber, s.CarriageCamber);
        in.skipUnready = true;
        return in;
    }
};

Program& program()
{
    static std::unique_ptr<Program> p;
    [[maybe_unused]] static const bool released = atBenchEnd([] { p.reset(); });
    if (!p)
        p = std::make_unique<Program>();
    return *p;
}

template <typename T> T* child(QWidget* w, const char* name)
{
    return w->findChild<T*>(QString::fromLatin1(name));
}

// What the window wrote last is in the project, and it said nothing on the way.
void checkWritten(benchmark::State& state, double chainage, double fc)
{
    const double stored = appState()
                              .ProjectConnection
                              ->scalar(QStringLiteral("SELECT FC FROM RL_%1 WHERE Chainage = %2")
                                           .arg(program().road)
                                           .arg(chainage))
                              .toDouble();
    if (std::abs(stored - fc) > 0.006 || program().told > 0)
        state.SkipWithError("the window did not write what was typed, or told something");
}

void BM_EngineRecompute(benchmark::State& state)
{
    const EarthworkInputs in = program().inputs(); // the project first
    FormationDesign design(*appState().ProjectConnection);
    for (auto _ : state)
        benchmark::DoNotOptimize(design.recompute(in).volumes.totalFill);
}

void BM_WindowOpen(benchmark::State& state)
{
    Program& p = program();
    for (auto _ : state) {
        frmPlotFormation* tool = p.open();
        if (!tool) {
            state.SkipWithError("the tool did not open");
            return;
        }
        state.PauseTiming();
        p.main->mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}

// The engine alone: step(design, inputs, i) for i = 1, 2, ... after a whole-road recomputation.
template <typename Step> void engineSteps(benchmark::State& state, Step step)
{
    const EarthworkInputs in = program().inputs(); // the project first
    FormationDesign design(*appState().ProjectConnection);
    design.recompute(in);
    int i = 0;
    for (auto _ : state)
        step(design, in, ++i);
}

void BM_EngineUpdate(benchmark::State& state)
{
    engineSteps(state, [](FormationDesign& design, const EarthworkInputs& in, int i) {
        design.setLevel(in, 100, 103 + (i % 7) / 10.0);
    });
}

// Clicks the profile at the section at 100 m (as the tool opens: 12 twips, 0.8 pixel, to the
// metre from the axis at 40 pixels), types an FC and presses Update.
void BM_WindowUpdate(benchmark::State& state, bool wholeRoad)
{
    Program& p = program();
    frmPlotFormation* tool = p.open();
    if (wholeRoad) {
        tool->fitRoad();
    } else {
        tool->setExaggeration(25); // as the tool opens
        tool->zoomTo(50, 0.0);
    }
    QWidget* plot = child<QWidget>(tool, "pbGraph");
    auto* fc = child<QLineEdit>(tool, "txtFC");
    auto* update = child<QPushButton>(tool, "cmdUpdate");
    int i = 0;
    const auto once = [&] {
        QTest::mouseClick(plot, Qt::LeftButton, {},
                          QPoint(wholeRoad ? 40 : 40 + 80, plot->height() / 2));
        fc->setText(QString::number(103 + (++i % 7) / 10.0));
        QTest::mouseClick(update, Qt::LeftButton);
        p.main->repaint();
    };
    once(); // the engine's figures in memory are those of the other benchmarks' writes
    for (auto _ : state)
        once();
    checkWritten(state, wholeRoad ? 0 : 100, 103 + (i % 7) / 10.0);
}

std::vector<Pvi> alignment(int i)
{
    return {{kAlignFrom, 100, 0},
            {(kAlignFrom + kAlignTo) / 2, 103 + (i % 5) / 10.0, 2000},
            {kAlignTo, 100, 0}};
}

void BM_EngineAlignment(benchmark::State& state)
{
    engineSteps(state, [](FormationDesign& design, const EarthworkInputs& in, int i) {
        design.applyAlignment(in, alignment(i));
    });
}

// The middle PVI's level typed into the tool's PVI table.
void BM_WindowAlignment(benchmark::State& state)
{
    Program& p = program();
    frmPlotFormation* tool = p.open();
    FormationDesign(*appState().ProjectConnection).applyAlignment(p.inputs(), alignment(0));
    // As the tool opens, the middle PVI in view.
    tool->setExaggeration(25);
    tool->zoomTo(50, (kAlignFrom + kAlignTo) / 2);
    tool->refresh();
    child<QCheckBox>(tool, "chkAlignment")->setChecked(true);
    auto* table = child<QTableWidget>(tool, "tblPvi");
    if (table->rowCount() != 3) {
        state.SkipWithError("the PVI table does not show the alignment");
        return;
    }
    int i = 0;
    const auto once = [&] {
        table->item(1, 1)->setText(QString::number(103 + (++i % 5) / 10.0, 'f', 3));
        p.main->repaint();
    };
    once();
    for (auto _ : state)
        once();
    // Under the PVI the curve lies A L / 8 below it: (level - 100) / 40 here.
    const double level = 103 + (i % 5) / 10.0;
    checkWritten(state, (kAlignFrom + kAlignTo) / 2, level - (level - 100) / 40);
}

const bool kRegistered = registered([] {
    addTimed("EngineRecompute", BM_EngineRecompute, {}, {}, 2.0);
    addTimed("WindowOpen", BM_WindowOpen, {}, {}, 2.0);
    addTimed("EngineUpdate", BM_EngineUpdate, {}, {});
    addTimed("WindowUpdate", [](benchmark::State& s) { BM_WindowUpdate(s, false); }, {}, {});
    // The same with the whole road in the window (Fit Road).
    addTimed("WindowUpdateWholeRoad", [](benchmark::State& s) { BM_WindowUpdate(s, true); }, {},
             {});
    addTimed("EngineAlignment", BM_EngineAlignment, {}, {});
    addTimed("WindowAlignment", BM_WindowAlignment, {}, {});
});

} // namespace
