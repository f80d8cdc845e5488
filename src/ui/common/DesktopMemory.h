#pragma once

#include <QString>
#include <QStringList>

namespace tarmela
{

class SettingsStore;

// What the desktop program remembers of the user's work between starts, beside the settings:
// the open project and the recent ones, whether the main window was maximized, and the last
// files and folders chosen for PDF and CSV files. Kept in the settings' file (group
// "Desktop"), so that a test pointing the settings elsewhere points this there too; the batch
// tool reads none of it.
class DesktopMemory
{
public:
    explicit DesktopMemory(const SettingsStore& store);

    // The project open when the program last closed (empty: the program folder's).
    QString lastProject() const;
    void setLastProject(const QString& path);
    // Most recent first, at most kRecentProjects, each file once.
    QStringList recentProjects() const;
    void addRecentProject(const QString& path);
    void removeRecentProject(const QString& path);
    static constexpr int kRecentProjects = 6;

    bool mainMaximized() const;
    void setMainMaximized(bool maximized);

    // A remembered file or folder by its purpose ("PdfFile", "ExportFolder", "CsvFolder").
    QString path(const QString& purpose) const;
    void setPath(const QString& purpose, const QString& value);

private:
    QString value(const QString& key) const;
    void setValue(const QString& key, const QVariant& value);

    QString m_file;
};

// The memory of the open project's settings store.
DesktopMemory desktopMemory();

} // namespace tarmela
