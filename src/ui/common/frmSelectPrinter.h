#pragma once

#include "drawing/PagePdf.h"
#include "drawing/PageUnits.h"
#include "ui/common/TitledDialog.h"

#include <QString>
#include <cstdint>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace tarmela
{

// What the user chose in "Select printer".
struct PrintChoice {
    QString printer; // an installed printer's name; empty for the "PDF file" entry
    QString pdfFile; // the file that the "PDF file" entry writes
    Paper paper = Paper::A4;
    bool landscape = false;
    bool allPages = false;
    int quality = 2; // 0 draft, 1 low, 2 medium, 3 high resolution
    bool manualFeed = false;

    bool toPdf() const { return printer.isEmpty(); }
};

// "Select printer": the printer (every installed printer, and always a "PDF file" entry of our
// own that writes the pages to a file, so that printing works on a machine without printers),
// the quality, the paper size and source, the orientation and whether all pages or only the
// current one are printed. "&Print" is refused with "Printer not found" when the chosen printer
// has gone meanwhile. The dialog starts at the printer last printed to; for the "PDF file"
// entry at the file last written for the same document (`document`, e.g. the cross sections
// of one road), else at a file named after the document in the folder last written to.
class frmSelectPrinter : public TitledDialog
{
    Q_OBJECT
public:
    // `document` names what is printed ("View X Section — Ranipur To Kalaghat"); the
    // current road is part of what the PDF file is remembered by.
    frmSelectPrinter(QWidget* parent, bool landscape, Paper paper, const QString& document = {});
    PrintChoice choice() const;

    // Shows the dialog modally; nothing when it is cancelled.
    static std::optional<PrintChoice> ask(QWidget* parent, bool landscape, Paper paper,
                                          const QString& document = {});

    // The name the "PDF file" entry has in the printer list.
    static QString pdfEntry();

private:
    void printerChanged();
    void orientationChanged();
    void browse();
    void select();
    void remember(const PrintChoice& c) const;

    QString m_memoryKey; // where the PDF file of this document is remembered
    QComboBox* m_printer;
    QComboBox* m_quality;
    QComboBox* m_paperSize;
    QComboBox* m_paperSource;
    QRadioButton* m_portrait;
    QRadioButton* m_landscape;
    QLabel* m_portraitPicture;
    QLabel* m_landscapePicture;
    QRadioButton* m_allPages;
    QRadioButton* m_currentPage;
    QWidget* m_fileRow;
    QLineEdit* m_file;
    QPushButton* m_select;
    QPushButton* m_cancel;
};

// Prints pages through the choice: all pageCount pages or only `current` (0-based), each
// painted by paint() on a painter that maps twips onto the paper from its top left corner.
// The "PDF file" entry writes the file (temporary file, then replace); a printer gets the
// paper, orientation, colour mode, quality and source. Throws Error when the printer or the
// file cannot be written.
void printPages(const PrintChoice& choice, const QString& title, std::int64_t pageCount,
                std::int64_t current, bool colour, const PagePaint& paint);

} // namespace tarmela
