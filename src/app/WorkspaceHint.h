#pragma once

#include <QFrame>

class QLabel;
class QMdiArea;
class QPushButton;

namespace tarmela
{

// What the empty workspace shows a user who has no window open: where to start. It sits in
// the middle of the frame's background and goes away while any window is open.
class WorkspaceHint : public QFrame
{
    Q_OBJECT
public:
    explicit WorkspaceHint(QMdiArea* area);

    // `road` names the current road ("" when none), whose levels the second button opens.
    void setRoad(const QString& road);

    QPushButton* roadsButton() const { return m_roads; }
    QPushButton* levelsButton() const { return m_levels; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh(); // shown only while no window is open
    void centre();

    QMdiArea* m_area;
    QLabel* m_text;
    QPushButton* m_roads;
    QPushButton* m_levels;
    QString m_road;
};

} // namespace tarmela
