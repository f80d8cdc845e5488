#pragma once

#include "app/AppState.h"
#include "sheets/ui/SheetPrompts.h"

#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

namespace tarmela::test
{

// The desktop program's state over a temporary program folder and settings file, with the
// program's messages and questions captured instead of shown: what was told is kept in
// `told`, questions are answered with `answer`.
struct UiProgram {
    struct Message {
        QMessageBox::Icon icon;
        QString text;
    };
    QTemporaryDir dir;
    std::vector<Message> told;
    std::vector<QString> asked;
    QMessageBox::StandardButton answer = QMessageBox::Yes;
    SheetPromptsOverride prompts;

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
    SheetPrompts capture()
    {
        SheetPrompts p = defaultSheetPrompts();
        p.tell = [this](QWidget*, const QString& text, QMessageBox::Icon icon) {
            told.push_back({icon, text});
        };
        p.ask = [this](QWidget*, const QString&, const QString& text,
                       QMessageBox::StandardButtons) {
            asked.push_back(text);
            return answer;
        };
        return p;
    }
};

// Runs `step` on the dialog of that object name once it is the active modal window (found by
// polling), for commands that open a dialog with exec().
inline void onModal(const QString& name, std::function<void(QWidget*)> step)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, name, step] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->objectName() == name) {
            timer->stop();
            timer->deleteLater();
            step(modal);
        }
    });
    timer->start();
}

} // namespace tarmela::test
