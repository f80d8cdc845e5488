#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace tarmela
{

// The instrument setups of a level book, row by row. Setup 1 starts at the first row; each
// later row with a back sight starts the next setup once its fore sight has been read, so a
// change point's own level is seen from the setup before it and every reading after its back
// sight from the new one.
class SetupCount
{
public:
    struct Row {
        int foreSight = 1; // the setup the row's fore sight (a change point's level) is read from
        int after = 1;     // the setup its centre and side readings are read from
    };
    // bs is the row's back sight, NaN when empty; only a sight above zero moves the instrument.
    Row next(double bs);

private:
    int m_setup = 1;
    bool m_first = true;
};

// A level book's arithmetic check and, when it closes on a second bench mark, its closing
// error. The closing row is the book's last: its fore sight is read onto the closing bench
// mark.
struct LevelBookCheck {
    double sumBS = 0;  // the back sights above zero
    double sumFS = 0;  // the fore sights above zero
    double lastHI = 0; // the height of instrument after the last row
    double benchMark = 0;
    double firstChainage = 0;
    double lastChainage = 0;
    std::int64_t rows = 0;
    // Set by close(): the closing bench mark and what the book gives for it.
    std::optional<double> closingBenchMark;
    double closingLevel = 0; // the last row's fore sight level
    double error = 0;        // closingLevel - closingBenchMark, m
    int setups = 0;          // N, the setup the closing fore sight is read from
    bool distributed = false;

    // ΣBS − ΣFS, which equals lastHI − benchMark when the book's arithmetic is right.
    double rise() const { return sumBS - sumFS; }
    // The level book's length, km, from its first to its last chainage.
    double lengthKm() const;
    // 12 √K mm, in metres.
    double allowance() const;
    bool within() const;
    // The correction of a level read from setup k: −e × k / N.
    double correction(int setup) const;
};

// Works a level book row by row into its check; the level book reduction and the Level Book
// report both go through here.
class LevelBookChecker
{
public:
    explicit LevelBookChecker(double benchMark);
    void add(double chainage, double bs, double fs, double c);
    // Throws Error(Data) when the book is empty or its last row has no fore sight.
    void close(double closingBenchMark, bool distribute);
    const LevelBookCheck& check() const { return m_check; }

private:
    LevelBookCheck m_check;
    SetupCount m_setups;
    double m_hiBeforeLast = 0; // the height the last row's fore sight was read from
    double m_lastFS = 0;       // the last row's fore sight, NaN when it has none
    int m_lastSetup = 0;       // the setup it was read from
};

// "Closing error +0.012 m on bench mark 99.500; allowance 12 √K = 0.011 m over 0.840 km:
// outside the allowance"
QString closingErrorLine(const LevelBookCheck& check);
// "Correction: −e × k / N over 4 setups, -0.012 m at the closing bench mark", or "No
// correction applied".
QString correctionLine(const LevelBookCheck& check);

} // namespace tarmela
