#pragma once

#include "settings/Earthwork.h"
#include "ui/common/AppState.h"

#include <QFlags>
#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>

namespace tarmela
{

// One open project: its connection and shared record sets, the current road and the settings
// in force (held in an AppState, the names the windows read), and the news about them. Every
// window that shows project data subscribes to the document it was opened on and follows its
// signals; whatever writes rows, adds or removes a road, chooses the road or edits the settings
// tells the document, which tells the windows. Opening another project replaces the document:
// the windows of the old one are closed first, and the main window attaches to the new one.
class ProjectDocument : public QObject
{
    Q_OBJECT
public:
    // What rows were written: a road's sheets, or the project-wide lists.
    enum class Rows { Roads, ReducedLevels, LevelBook, Culverts, CulvertTypes, CrossDistances };
    struct RowsWrite {
        std::int64_t road = 0; // 0: rows of every road (the road list, the culvert types)
        Rows rows = Rows::ReducedLevels;
        QObject* writer = nullptr; // the window that wrote them (it shows them already)
        bool typed = false;        // values typed into a sheet, rather than work done on rows
    };
    // The groups of settings a change can touch.
    enum class SettingsPart : unsigned {
        Method = 1u << 0,   // the quantity method
        Readings = 1u << 1, // the readings per side shown and used
        Colours = 1u << 2,  // the drawings' colours
        Drawing = 1u << 3,  // what else the drawings and reports are laid out by
        Editing = 1u << 4,  // how the sheets take input and save
    };
    Q_DECLARE_FLAGS(SettingsParts, SettingsPart)

    explicit ProjectDocument(QObject* parent = nullptr);
    ~ProjectDocument() override;

    // Opens the project file and the shared record sets. Throws Error with the engine's text
    // when the file can't be opened.
    void open(const QString& path);
    // Closes the record sets and the connection; the settings stay.
    void close();

    AppState& state() { return m_state; }
    const AppState& state() const { return m_state; }
    std::int64_t currentRoad() const { return m_state.CurrentRoadID; }

    // Makes the road current (choosing the current road again counts as a change: its windows
    // open afresh). Throws Error, changing nothing, when the road can't be read. Returns a
    // warning when the road is current but its culverts or cross distances could not be read.
    QString chooseRoad(std::int64_t road);

    // Whether a window that draws rows follows this write: always for work done on rows, for
    // typed values only with Auto Save and Auto Refresh Drawings.
    bool drawingsFollow(const RowsWrite& write) const;

    // The news, told by whoever made the change.
    void noteRowsWritten(const RowsWrite& write);
    void noteRoadAdded(std::int64_t road);
    // The road is gone; when it was the current road, no road is current any more. Returns
    // why the road list could not be read again (empty when it was).
    QString noteRoadRemoved(std::int64_t road);
    // The settings were edited (a dialog closed); `before` is what they were.
    void noteSettingsEdited(const Settings& before);
    void noteQuantities(std::int64_t road, const QuantityTexts& texts);

    // Before the road is deleted: the windows that show it (but `except`, the one asking)
    // close, each asking about unsaved edits. False when one stayed open. The main window
    // provides the way; without one there are no other windows and it is true.
    bool closeRoadWindows(std::int64_t road, const QWidget* except);
    void setCloseRoadWindows(std::function<bool(std::int64_t, const QWidget*)> closer)
    {
        m_closeRoadWindows = std::move(closer);
    }

signals:
    void rowsChanged(const tarmela::ProjectDocument::RowsWrite& write);
    void roadAdded(std::int64_t road);
    void roadRemoved(std::int64_t road);
    // 0: no road is current.
    void currentRoadChanged(std::int64_t road);
    void settingsChanged(tarmela::ProjectDocument::SettingsParts parts);
    // The road's quantities were recomputed.
    void quantitiesChanged(std::int64_t road, const tarmela::QuantityTexts& texts);

private:
    void rereadCurrentRoad();

    AppState m_state;
    std::function<bool(std::int64_t, const QWidget*)> m_closeRoadWindows;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(ProjectDocument::SettingsParts)

// The open project's document (there is always one; before a project is opened it has no
// connection). appState() is its state.
ProjectDocument& currentDocument();
// Makes `document` the open project's; the old document is deleted. The caller has closed
// the old document's windows.
void replaceDocument(std::unique_ptr<ProjectDocument> document);

// Makes the road current in the document; when it can't be read the user is told (over
// messageParent) and false returned. A warning about its culverts or cross distances is told
// too, the road being current then.
bool chooseRoadOrTell(ProjectDocument& document, std::int64_t road, QWidget* messageParent);

// Closes the window that hosts `child` in the frame (its sub-window), or the widget itself.
void closeHostWindow(QWidget* child);

} // namespace tarmela
