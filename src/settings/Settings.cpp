#include "settings/Settings.h"

#include "compute/QuantityMethods.h"
#include "compute/Volumes.h"
#include "store/Numbers.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

namespace tarmela
{

namespace
{

// How one key is read and written.
struct Key {
    const char* name;
    std::function<QString(const Settings&)> get;
    std::function<bool(Settings&, const QString&)> set;
};

bool parseBool(const QString& text, bool& out)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
        out = true;
        return true;
    }
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
        out = false;
        return true;
    }
    return false;
}

bool parseDouble(const QString& text, double& out)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

bool parseInt(const QString& text, long long lo, long long hi, long long& out)
{
    double v = 0;
    if (!parseDouble(text, v) || v != std::floor(v) || v < double(lo) || v > double(hi))
        return false;
    out = static_cast<long long>(v);
    return true;
}

Key boolKey(const char* name, bool Settings::*m)
{
    return {name, [m](const Settings& s) { return QString::fromLatin1(s.*m ? "True" : "False"); },
            [m](Settings& s, const QString& t) { return parseBool(t, s.*m); }};
}

Key doubleKey(const char* name, double Settings::*m)
{
    return {name, [m](const Settings& s) { return plainDecimal(s.*m); },
            [m](Settings& s, const QString& t) { return parseDouble(t, s.*m); }};
}

template <typename T> Key intKey(const char* name, T Settings::*m, long long lo, long long hi)
{
    return {name, [m](const Settings& s) { return QString::number(s.*m); },
            [m, lo, hi](Settings& s, const QString& t) {
                long long v = 0;
                if (!parseInt(t, lo, hi, v))
                    return false;
                s.*m = static_cast<T>(v);
                return true;
            }};
}

// A quantity method: only the ids of compute/QuantityMethods.h.
Key methodKey(const char* name, int Settings::*m)
{
    return {
        name, [m](const Settings& s) { return QString::number(s.*m); },
        [m](Settings& s, const QString& t) {
            long long v = 0;
            if (!parseInt(t, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), v) ||
                !findQuantityMethod(int(v)))
                return false;
            s.*m = int(v);
            return true;
        }};
}

const std::vector<Key>& keyTable()
{
    constexpr long long i16lo = std::numeric_limits<std::int16_t>::min();
    constexpr long long i16hi = std::numeric_limits<std::int16_t>::max();
    constexpr long long i32lo = std::numeric_limits<std::int32_t>::min();
    constexpr long long i32hi = std::numeric_limits<std::int32_t>::max();
    static const std::vector<Key> table{
        doubleKey("MainLeft", &Settings::MainLeft),
        doubleKey("MainTop", &Settings::MainTop),
        doubleKey("MainWidth", &Settings::MainWidth),
        doubleKey("MainHeight", &Settings::MainHeight),
        boolKey("AutoSave", &Settings::AutoSave),
        boolKey("AutoRefreshDWG", &Settings::AutoRefreshDWG),
        boolKey("FixedDatum", &Settings::FixedDatum),
        intKey("FixedDatumValue", &Settings::FixedDatumValue, i16lo, i16hi),
        methodKey("QuantityCalcMethod", &Settings::QuantityCalcMethod),
        intKey("VolumeFormula", &Settings::VolumeFormula, 0, kLastVolumeFormula),
        intKey("ViewSections", &Settings::ViewSections, 0, kReadingsPerSide),
        intKey("SectionsPerPage", &Settings::SectionsPerPage, 1, i16hi),
        intKey("LeftOrder", &Settings::LeftOrder, 0, 2),
        intKey("RightOrder", &Settings::RightOrder, 0, 2),
        boolKey("LeftReverse", &Settings::LeftReverse),
        boolKey("RightReverse", &Settings::RightReverse),
        boolKey("EnterRight", &Settings::EnterRight),
        boolKey("LSectionGrid", &Settings::LSectionGrid),
        intKey("ColorLFormation", &Settings::ColorLFormation, i32lo, i32hi),
        intKey("ColorCentre", &Settings::ColorCentre, i32lo, i32hi),
        intKey("ColorLeft", &Settings::ColorLeft, i32lo, i32hi),
        intKey("ColorRight", &Settings::ColorRight, i32lo, i32hi),
        intKey("ColorXFormation", &Settings::ColorXFormation, i32lo, i32hi),
        intKey("ColorExisting", &Settings::ColorExisting, i32lo, i32hi),
        doubleKey("PageLeft", &Settings::PageLeft),
        doubleKey("PageRight", &Settings::PageRight),
        doubleKey("PageTop", &Settings::PageTop),
        doubleKey("PageBottom", &Settings::PageBottom),
        intKey("PageSize", &Settings::PageSize, 0, 1),
        intKey("LastRoadID", &Settings::LastRoadID, 0, i32hi),
    };
    return table;
}

const Key* findKey(const QString& name)
{
    for (const Key& k : keyTable())
        if (name == QLatin1String(k.name))
            return &k;
    return nullptr;
}

const QString kGroup = QStringLiteral("Settings");

} // namespace

QStringList Settings::keys()
{
    QStringList out;
    for (const Key& k : keyTable())
        out << QString::fromLatin1(k.name);
    return out;
}

QString Settings::text(const QString& key) const
{
    const Key* k = findKey(key);
    return k ? k->get(*this) : QString();
}

bool Settings::setText(const QString& key, const QString& value)
{
    const Key* k = findKey(key);
    if (!k)
        return false;
    Settings trial = *this;
    if (!k->set(trial, value))
        return false;
    *this = trial;
    return true;
}

bool Settings::ordersValid() const
{
    // The left and right blocks can't share a position in the sheets' column order.
    return LeftOrder != RightOrder;
}

namespace
{
// Settings are read from and written to a regular file only: a FIFO, a device or a folder of
// that name would block or fail every start, and the defaults serve instead.
bool usableFile(const QString& file)
{
    const QFileInfo info(file);
    return !info.exists() || info.isFile();
}
} // namespace

SettingsStore::SettingsStore()
{
    // QSettings reads its file as soon as it is made; the name alone is wanted here. Where the
    // file stands on this system and is no regular file (a FIFO would block the read), that
    // name is taken without asking QSettings, and load() then keeps the defaults.
    const QString usual = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                          QStringLiteral("/Tarmela/Tarmela.ini");
    if (!usableFile(usual)) {
        m_file = usual;
        return;
    }
    m_file = QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tarmela"),
                       QStringLiteral("Tarmela"))
                 .fileName();
}

SettingsStore::SettingsStore(const QString& iniFile) : m_file(iniFile) {}

Settings SettingsStore::load() const
{
    if (!usableFile(m_file))
        return Settings();
    QSettings store(m_file, QSettings::IniFormat);
    store.beginGroup(kGroup);
    Settings s;
    for (const Key& k : keyTable()) {
        const QVariant v = store.value(QString::fromLatin1(k.name));
        if (v.isValid())
            k.set(s, v.toString()); // a value that doesn't convert keeps its default
    }
    if (!s.ordersValid()) {
        const Settings defaults;
        s.LeftOrder = defaults.LeftOrder;
        s.RightOrder = defaults.RightOrder;
    }
    return s;
}

void SettingsStore::save(const Settings& settings) const
{
    if (!usableFile(m_file))
        return;
    QSettings store(m_file, QSettings::IniFormat);
    store.beginGroup(kGroup);
    for (const Key& k : keyTable())
        store.setValue(QString::fromLatin1(k.name), k.get(settings));
    store.endGroup();
    store.sync();
}

} // namespace tarmela
