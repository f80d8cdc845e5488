#pragma once

#include <QColor>
#include <QMessageBox>
#include <functional>

namespace tarmela
{

// Every window's questions, messages and choosers go through here, so that tests can answer
// them: replace the functions and restore them (PromptsOverride) afterwards.
struct Prompts {
    // Yes/No(/Cancel) question with the question icon; caption empty gives the program's title.
    std::function<QMessageBox::StandardButton(QWidget* parent, const QString& caption,
                                              const QString& text, QMessageBox::StandardButtons)>
        ask;
    // A message with the given icon.
    std::function<void(QWidget* parent, const QString& text, QMessageBox::Icon)> tell;
    // What was written where: a message with a button that opens the folder.
    std::function<void(QWidget* parent, const QString& text, const QString& folder)> tellWritten;
    // The colour chooser opened at `initial`; an invalid colour when cancelled.
    std::function<QColor(QWidget* parent, const QColor& initial)> pickColor;
    // The chooser of an existing folder opened at `current`; empty when cancelled.
    std::function<QString(QWidget* parent, const QString& caption, const QString& current)>
        pickFolder;
    // The chooser of a file to write, opened at `current` and offering the files of `filter`
    // ("PDF files (*.pdf)"); empty when cancelled.
    std::function<QString(QWidget* parent, const QString& caption, const QString& current,
                          const QString& filter)>
        pickSaveFile;
    // The chooser of an existing file to read, as pickSaveFile.
    std::function<QString(QWidget* parent, const QString& caption, const QString& current,
                          const QString& filter)>
        pickOpenFile;
};

// Added to the buttons of ask() for a question about a step that can't be undone: No is then
// the button Enter presses.
constexpr QMessageBox::StandardButton kNoByDefault = QMessageBox::Default;

Prompts& prompts();
Prompts defaultPrompts();

// Puts prompts in place for a scope and restores the previous ones.
class PromptsOverride
{
public:
    explicit PromptsOverride(Prompts replacement) : m_saved(prompts())
    {
        prompts() = std::move(replacement);
    }
    ~PromptsOverride() { prompts() = m_saved; }
    PromptsOverride(const PromptsOverride&) = delete;
    PromptsOverride& operator=(const PromptsOverride&) = delete;

private:
    Prompts m_saved;
};

} // namespace tarmela
