// The preview of a prepared report: one page at 100 %, from which the user prints it,
// changes the page setup or saves it as a PDF file.
#pragma once

#include "PagePainter.h"
#include "PreparedPage.h"

#include <QDialog>
#include <QKeySequence>
#include <QPrinter>

#include <functional>
#include <span>
#include <vector>

class QAction;
class QPrintPreviewWidget;

namespace reportengine {

class ReportPreview;

// A command of the program's own beside the preview's: shown on its toolbar and run with
// the preview as the parent of whatever it shows.
struct PreviewCommand {
    QString text;
    QString toolTip;
    QKeySequence shortcut;
    std::function<void(ReportPreview&, QAction&)> run;
};

class ReportPreview : public QDialog {
public:
    explicit ReportPreview(PreparedPage page, QWidget* parent = nullptr,
                           std::span<const PreviewCommand> commands = {});

    // Seam for tests: where "save as PDF" writes (empty: cancelled). By default a file
    // dialog. Messages go through the program's one message box.
    std::function<QString()> askPdfPath;
    // Sheets after the report's page, shown, printed and saved with it; after a change,
    // view()->updatePreview().
    std::vector<ExtraPage> extraPages;

    QPrintPreviewWidget* view() const { return view_; }
    QPrinter& printer() { return printer_; }
    QAction* printAction() const { return print_; }
    QAction* pageSetupAction() const { return pageSetup_; }
    QAction* savePdfAction() const { return savePdf_; }
    QAction* zoomInAction() const { return zoomIn_; }
    QAction* zoomOutAction() const { return zoomOut_; }
    QAction* actualSizeAction() const { return actualSize_; }
    QAction* wholePageAction() const { return wholePage_; }

    void Print();
    void ShowError(const QString& text);
    void PageSetup();
    void SavePdf();

private:
    QString AskPdfPathByDialog();

    PreparedPage page_;
    QPrinter printer_;
    QPrintPreviewWidget* view_ = nullptr;
    QAction* print_ = nullptr;
    QAction* pageSetup_ = nullptr;
    QAction* savePdf_ = nullptr;
    QAction* zoomIn_ = nullptr;
    QAction* zoomOut_ = nullptr;
    QAction* actualSize_ = nullptr;
    QAction* wholePage_ = nullptr;
};

// The file name that "save as PDF" offers for a document of that title: the title with the
// characters that some file system refuses made blanks, or "Отчёт" where nothing is left.
QString SuggestedFileName(const QString& title);

// Prepares the report anew from the template's current values and shows it in a modal,
// maximized preview; returns when the user closes it. The template stays unchanged.
void ShowReport(const Template& report, QWidget* parent,
                std::span<const PreviewCommand> commands = {});

} // namespace reportengine
