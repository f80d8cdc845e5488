#include "settings/Settings.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace tarmela;

namespace
{
struct TempStore {
    QTemporaryDir dir;
    QString file = dir.filePath("Tarmela.ini");
    SettingsStore store{file};
    void put(const QString& key, const QString& value)
    {
        QSettings s(file, QSettings::IniFormat);
        s.setValue("Settings/" + key, value);
    }
    QString stored(const QString& key)
    {
        QSettings s(file, QSettings::IniFormat);
        return s.value("Settings/" + key).toString();
    }
};
} // namespace

TEST(Settings, ValuesRoundTripAsTextAndOnesThatDoNotConvertKeepTheirDefaults)
{
    TempStore t;
    Settings s;
    s.AutoSave = false;
    s.LSectionGrid = true;
    s.PageLeft = 1.5;
    s.ColorExisting = 0x0000ff;
    s.ViewSections = 5;
    s.LeftOrder = 2;
    s.RightOrder = 0;
    t.store.save(s);
    EXPECT_EQ(t.stored("AutoSave"), "False");
    EXPECT_EQ(t.stored("LSectionGrid"), "True");
    EXPECT_EQ(t.stored("PageLeft"), "1.5");
    EXPECT_EQ(t.stored("ColorExisting"), "255");

    const Settings back = t.store.load();
    for (const QString& key : Settings::keys())
        EXPECT_EQ(back.text(key), s.text(key)) << key.toStdString();

    // A stored value that does not convert keeps its default.
    QFile::remove(t.file);
    t.put("AutoSave", "maybe");
    t.put("ViewSections", "12");     // more readings than a table holds
    t.put("SectionsPerPage", "4.5"); // not whole
    t.put("QuantityCalcMethod", "2");
    t.put("PageTop", "abc");
    t.put("FixedDatumValue", "40000"); // past 16 bits
    const Settings loaded = t.store.load();
    Settings expected;
    expected.QuantityCalcMethod = 2;
    for (const QString& key : Settings::keys())
        EXPECT_EQ(loaded.text(key), expected.text(key)) << key.toStdString();

    // Left and right blocks at the same position can't be used: both fall back.
    t.put("LeftOrder", "1");
    t.put("RightOrder", "1");
    EXPECT_EQ(t.store.load().LeftOrder, 0);
    EXPECT_EQ(t.store.load().RightOrder, 2);

    // A settings "file" that is a FIFO would block the read until a writer came: not read.
    const QString fifo = t.dir.filePath("fifo.ini");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(SettingsStore(fifo).load().ViewSections, Settings().ViewSections);
    SettingsStore(fifo).save(Settings());
    // The user's own store too: finding its name reads nothing.
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(t.dir.path()));
    ASSERT_TRUE(QDir(t.dir.path()).mkdir("Tarmela"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(t.dir.filePath("Tarmela/Tarmela.ini")).constData(), 0600),
              0);
    EXPECT_EQ(SettingsStore().load().ViewSections, Settings().ViewSections);
    qputenv("XDG_CONFIG_HOME", config);
}
