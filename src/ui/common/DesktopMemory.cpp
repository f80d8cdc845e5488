#include "ui/common/DesktopMemory.h"

#include "settings/Settings.h"
#include "ui/common/AppState.h"

#include <QFileInfo>
#include <QSettings>

namespace tarmela
{

namespace
{
const QString kGroup = QStringLiteral("Desktop/");

// Two spellings of one file count as one entry of the recent list.
QString sameFile(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}
} // namespace

DesktopMemory::DesktopMemory(const SettingsStore& store) : m_file(store.fileName()) {}

QString DesktopMemory::value(const QString& key) const
{
    return QSettings(m_file, QSettings::IniFormat).value(kGroup + key).toString();
}

void DesktopMemory::setValue(const QString& key, const QVariant& value)
{
    QSettings(m_file, QSettings::IniFormat).setValue(kGroup + key, value);
}

QString DesktopMemory::lastProject() const
{
    return value(QStringLiteral("LastProject"));
}

void DesktopMemory::setLastProject(const QString& path)
{
    setValue(QStringLiteral("LastProject"), sameFile(path));
}

QStringList DesktopMemory::recentProjects() const
{
    return QSettings(m_file, QSettings::IniFormat)
        .value(kGroup + QStringLiteral("RecentProjects"))
        .toStringList();
}

void DesktopMemory::addRecentProject(const QString& path)
{
    QStringList list = recentProjects();
    const QString file = sameFile(path);
    list.removeAll(file);
    list.prepend(file);
    while (list.size() > kRecentProjects)
        list.removeLast();
    setValue(QStringLiteral("RecentProjects"), list);
}

void DesktopMemory::removeRecentProject(const QString& path)
{
    QStringList list = recentProjects();
    list.removeAll(sameFile(path));
    setValue(QStringLiteral("RecentProjects"), list);
}

bool DesktopMemory::mainMaximized() const
{
    // The first start has nothing remembered: a frame that holds every other window opens
    // with the whole screen, not at the few hundred pixels its menu bar asks for.
    return value(QStringLiteral("MainMaximized")) != QLatin1String("false");
}

void DesktopMemory::setMainMaximized(bool maximized)
{
    setValue(QStringLiteral("MainMaximized"), maximized);
}

QString DesktopMemory::path(const QString& purpose) const
{
    return value(purpose);
}

void DesktopMemory::setPath(const QString& purpose, const QString& value)
{
    setValue(purpose, value);
}

DesktopMemory desktopMemory()
{
    return DesktopMemory(appState().settingsStore);
}

} // namespace tarmela
