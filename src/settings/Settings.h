#pragma once

#include "store/Schema.h"

#include <QString>
#include <QStringList>
#include <cstdint>

namespace tarmela
{

// The user's preferences, one member per stored key, with the program's defaults.
struct Settings {
    double MainLeft = 1000; // main window geometry, twips
    double MainTop = 1000;
    double MainWidth = 6500;
    double MainHeight = 6500;
    bool AutoSave = true;
    bool AutoRefreshDWG = true;
    bool FixedDatum = true;
    int FixedDatumValue = 95;
    int QuantityCalcMethod = 1;          // a method's id (compute/QuantityMethods.h)
    int VolumeFormula = 0;               // compute/Volumes.h: 0 average end areas, 1 prismoidal
    int ViewSections = kReadingsPerSide; // readings per side shown and used, 0..8
    int SectionsPerPage = 6;
    int LeftOrder = 0;  // position 0..2 of the left block in the sheets' column order
    int RightOrder = 2; // position of the right block; C takes the remaining one
    bool LeftReverse = true;
    bool RightReverse = false;
    bool EnterRight = false;
    bool LSectionGrid = false;
    std::int32_t ColorLFormation = 0; // RGB, red in the lowest byte
    std::int32_t ColorCentre = 0;
    std::int32_t ColorLeft = 0;
    std::int32_t ColorRight = 0;
    std::int32_t ColorXFormation = 0;
    std::int32_t ColorExisting = 0;
    double PageLeft = 2; // page margins, cm
    double PageRight = 2;
    double PageTop = 2;
    double PageBottom = 2;
    int PageSize = 0; // 0 A4, 1 A3
    // The road current when the program last closed, made current again at start (0: none).
    std::int64_t LastRoadID = 0;

    // The keys in their stored order.
    static QStringList keys();

    // The value of a key as it is stored ("True", "2.5", "95"); empty for an unknown key.
    QString text(const QString& key) const;
    // Sets a key from its stored text. Returns false (and changes nothing) when the key is
    // unknown or the text does not give a valid value for it.
    bool setText(const QString& key, const QString& value);
    // Whether LeftOrder and RightOrder name different positions.
    bool ordersValid() const;
};

// Where the settings live: an INI file in the user's configuration folder, application and
// organisation "Tarmela", group "Settings". Tests point it at a file of their own.
class SettingsStore
{
public:
    SettingsStore();                                // the user's own store
    explicit SettingsStore(const QString& iniFile); // a store in a given file

    const QString& fileName() const { return m_file; }
    // Every key that is missing or does not convert keeps its default.
    Settings load() const;
    void save(const Settings& settings) const;

private:
    QString m_file;
};

} // namespace tarmela
