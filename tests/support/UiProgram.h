#pragma once

#include "ui/common/AppState.h"
#include "ui/common/Prompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <memory>
#include <vector>

namespace tarmela::test
{

// The desktop program's state over a temporary program folder and settings file, with the
// program's messages, questions and choosers captured instead of shown: what was told is kept
// in `told`, questions are answered with `answer`, and every chooser answers `picked` (a colour's
// name, a folder or a file; empty: cancelled) after noting what it was opened at in `offered`.
struct UiProgram {
    struct Message {
        QMessageBox::Icon icon;
        QString text;
    };
    QTemporaryDir dir;
    std::vector<Message> told;
    std::vector<QString> asked;
    QMessageBox::StandardButtons askedWith; // the buttons of the last question
    QMessageBox::StandardButton answer = QMessageBox::Yes;
    QString picked;
    QString shownFolder; // the folder a message about written files offered to open
    std::vector<QString> offered;
    PromptsOverride prompts;

    UiProgram() : prompts(capture())
    {
        appState() = AppState{};
        appState().settingsStore = SettingsStore(dir.filePath("Tarmela.ini"));
        OpenProjectDatabase(dir.path());
    }
    ~UiProgram()
    {
        CloseProjectDatabase();
        appState() = AppState{};
    }
    Database& db() { return *appState().ProjectConnection; }
    QString lastTold() const { return told.empty() ? QString() : told.back().text; }

private:
    Prompts capture()
    {
        Prompts p = defaultPrompts();
        p.tell = [this](QWidget*, const QString& text, QMessageBox::Icon icon) {
            told.push_back({icon, text});
        };
        p.tellWritten = [this](QWidget*, const QString& text, const QString& folder) {
            told.push_back({QMessageBox::Information, text});
            shownFolder = folder;
        };
        p.ask = [this](QWidget*, const QString&, const QString& text,
                       QMessageBox::StandardButtons buttons) {
            asked.push_back(text);
            askedWith = buttons;
            return answer;
        };
        p.pickColor = [this](QWidget*, const QColor& initial) {
            offered.push_back(initial.name());
            return QColor(picked);
        };
        p.pickFolder = [this](QWidget*, const QString&, const QString& current) {
            offered.push_back(current);
            return picked;
        };
        p.pickSaveFile = [this](QWidget*, const QString&, const QString& current, const QString&) {
            offered.push_back(current);
            return picked;
        };
        p.pickOpenFile = p.pickSaveFile;
        return p;
    }
};

// Runs `step` on the dialog of that object name once it is the active modal window (found by
// polling), for commands that open a dialog with exec().
inline void onModal(const QString& name, std::function<void(QWidget*)> step)
{
    // The step runs once, when the modal widget is up. On a loaded machine the first tick can
    // come while the dialog is being shown, before its own event loop runs; a step that closes
    // it then would leave that loop waiting for ever. So the timer stays until it sees how it
    // went: back at the step's loop level (or the dialog gone) all is well; a hidden dialog
    // seen from a deeper loop is that stranded loop, and is ended.
    auto* timer = new QTimer;
    timer->setInterval(10);
    auto target = std::make_shared<QPointer<QWidget>>();
    auto stepLevel = std::make_shared<int>(-1);
    QObject::connect(timer, &QTimer::timeout, [timer, name, step, target, stepLevel] {
        const int level = int(QThread::currentThread()->loopLevel());
        if (*stepLevel >= 0) {
            QWidget* w = target->data();
            if (w && !w->isVisible() && level > *stepLevel) {
                // done() on a dialog that is already hidden leaves its loop running: shown
                // again for a moment, it ends the loop as it closes.
                if (auto* dialog = qobject_cast<QDialog*>(w)) {
                    const int result = dialog->result();
                    dialog->show();
                    dialog->done(result);
                }
            } else if (!w || (!w->isVisible() && level <= *stepLevel)) {
                timer->stop();
                timer->deleteLater();
            }
            return;
        }
        QWidget* modal = QApplication::activeModalWidget();
        // Clicks reach a window only once it is exposed.
        if (modal && modal->objectName() == name && modal->windowHandle() &&
            modal->windowHandle()->isExposed()) {
            *stepLevel = level;
            *target = modal;
            step(modal);
        }
    });
    timer->start();
}

// Clicks that button of the dialog of that object name once it is up (see onModal).
inline void clickOnModal(const QString& name, const char* button)
{
    onModal(name, [button](QWidget* dialog) {
        QTest::mouseClick(dialog->findChild<QAbstractButton*>(QString::fromLatin1(button)),
                          Qt::LeftButton);
    });
}

} // namespace tarmela::test
