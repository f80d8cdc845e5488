#pragma once

#include <QMessageBox>
#include <functional>

namespace tarmela
{

// The questions and messages of the data sheets go through here, so that tests can answer
// them: replace the functions and restore them (SheetPromptsOverride) afterwards.
struct SheetPrompts {
    // Yes/No(/Cancel) question with the question icon; caption empty gives the program's title.
    std::function<QMessageBox::StandardButton(QWidget* parent, const QString& caption,
                                              const QString& text, QMessageBox::StandardButtons)>
        ask;
    // A message with the given icon.
    std::function<void(QWidget* parent, const QString& text, QMessageBox::Icon)> tell;
    // Runs the transform dialog; it leaves its choice in appState().TransformType/TransformValue.
    std::function<void(QWidget* parent)> chooseTransform;
};

SheetPrompts& sheetPrompts();
SheetPrompts defaultSheetPrompts();

// Puts prompts in place for a scope and restores the previous ones.
class SheetPromptsOverride
{
public:
    explicit SheetPromptsOverride(SheetPrompts replacement) : m_saved(sheetPrompts())
    {
        sheetPrompts() = std::move(replacement);
    }
    ~SheetPromptsOverride() { sheetPrompts() = m_saved; }
    SheetPromptsOverride(const SheetPromptsOverride&) = delete;
    SheetPromptsOverride& operator=(const SheetPromptsOverride&) = delete;

private:
    SheetPrompts m_saved;
};

} // namespace tarmela
