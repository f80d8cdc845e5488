#pragma once
// "Select printer" answered with its "PDF file" entry, as a user prints to a file.
#include "support/UiProgram.h"
#include "support/Widgets.h"
#include "ui/common/frmSelectPrinter.h"

#include <QComboBox>

namespace tarmela::test
{

// Chooses the "PDF file" entry and the file through its Browse button, the paper (0 A4, 1 A3),
// every page or the one shown and, when given, the orientation ("optLandscape").
inline void answerPrinter(const QString& file, bool all, int paper,
                          const char* orientation = nullptr)
{
    onModal(QStringLiteral("frmSelectPrinter"), [=](QWidget* d) {
        auto* printer = child<QComboBox>(d, "cboPrinter");
        printer->setCurrentIndex(printer->count() - 1);
        EXPECT_EQ(printer->currentText(), frmSelectPrinter::pdfEntry());
        prompts().pickSaveFile = [file](auto*, auto&, auto&, auto&) { return file; };
        click(d, "cmdBrowsePdf");
        child<QComboBox>(d, "cmbPaperSize")->setCurrentIndex(paper);
        if (orientation)
            click(d, orientation);
        click(d, all ? "optAllPages" : "optCurrentPage");
        click(d, "cmdSelect");
    });
}

} // namespace tarmela::test
