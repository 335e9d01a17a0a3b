#include "ReportPreview.h"

#include "MessageBoxes.h"
#include "PagePainter.h"
#include "ProgramSettings.h"
#include "ScreenRoom.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QScreen>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace reportengine {

namespace {

constexpr double ZoomStep = 1.25;
// A4 at 100 % and a scroll bar.
constexpr int RestoredWidth = 840;

// The desktop's own icon where it has one, else the one that Qt's print preview carries
// (qtImage, may be null), else the style's.
QIcon ToolIcon(const QWidget* widget, const char* themeIcon, const char* qtImage,
               QStyle::StandardPixmap styleIcon) {
    const QString theme = QLatin1String(themeIcon);
    if (QIcon::hasThemeIcon(theme)) return QIcon::fromTheme(theme);
    if (qtImage != nullptr) {
        const QString base =
            QStringLiteral(":/qt-project.org/dialogs/qprintpreviewdialog/images/") +
            QLatin1String(qtImage);
        if (QFile::exists(base + QStringLiteral("-24.png"))) {
            QIcon icon(base + QStringLiteral("-24.png"));
            icon.addFile(base + QStringLiteral("-32.png"));
            return icon;
        }
    }
    return widget->style()->standardIcon(styleIcon);
}

QAction* AddAction(QToolBar* bar, const QString& text, const QString& toolTip, const QIcon& icon,
                   const QKeySequence& shortcut = {}) {
    QAction* action = bar->addAction(icon, text);
    // The toolbar's button shows the icon text, which Qt makes from the text without its
    // mnemonic: kept the text itself, Alt and the underlined letter press the button.
    action->setIconText(text);
    QObject::connect(action, &QAction::changed, action, [action] {
        if (action->iconText() != action->text()) action->setIconText(action->text());
    });
    action->setToolTip(toolTip);
    action->setShortcut(shortcut);
    return action;
}

} // namespace

ReportPreview::ReportPreview(PreparedPage page, QWidget* parent,
                             std::span<const PreviewCommand> commands)
    : QDialog(parent)
    , page_(std::move(page))
    , printer_(QPrinter::HighResolution) {
    setWindowTitle(QStringLiteral("Предварительный просмотр"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setModal(true);

    // Positions are taken from the sheet's corner, so the printer must not add margins.
    printer_.setFullPage(true);
    printer_.setPageSize(QPageSize(page_.paperMm, QPageSize::Millimeter));
    printer_.setPageOrientation(QPageLayout::Portrait);
    printer_.setPageMargins(QMarginsF(0, 0, 0, 0));
    printer_.setDocName(page_.title);
    printer_.setCreator(QGuiApplication::applicationDisplayName()); // as WritePdf names it

    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    print_ = AddAction(
        bar, QStringLiteral("&Печать..."), QStringLiteral("Напечатать отчёт на выбранном принтере"),
        ToolIcon(bar, "document-print", "printer", QStyle::SP_FileIcon), QKeySequence::Print);
    pageSetup_ = AddAction(
        bar, QStringLiteral("П&араметры страницы..."),
        QStringLiteral("Размер бумаги, ориентация и поля"),
        ToolIcon(bar, "document-page-setup", "page-setup", QStyle::SP_FileDialogDetailedView));
    savePdf_ = AddAction(bar, QStringLiteral("&Сохранить в PDF..."),
                         QStringLiteral("Сохранить отчёт в файл PDF"),
                         ToolIcon(bar, "document-save-as", nullptr, QStyle::SP_DialogSaveButton),
                         QKeySequence::Save);
    bar->addSeparator();
    zoomIn_ =
        AddAction(bar, QStringLiteral("&Увеличить"), QStringLiteral("Увеличить масштаб"),
                  ToolIcon(bar, "zoom-in", "zoom-in", QStyle::SP_ArrowUp), QKeySequence::ZoomIn);
    zoomOut_ = AddAction(bar, QStringLiteral("У&меньшить"), QStringLiteral("Уменьшить масштаб"),
                         ToolIcon(bar, "zoom-out", "zoom-out", QStyle::SP_ArrowDown),
                         QKeySequence::ZoomOut);
    actualSize_ = AddAction(
        bar, QStringLiteral("&100 %"), QStringLiteral("Показать страницу в натуральную величину"),
        ToolIcon(bar, "zoom-original", "view-pages-single", QStyle::SP_TitleBarNormalButton));
    wholePage_ = AddAction(
        bar, QStringLiteral("Страница &целиком"), QStringLiteral("Показать страницу целиком"),
        ToolIcon(bar, "zoom-fit-best", "zoom-fit-page", QStyle::SP_TitleBarMaxButton));
    bar->addSeparator();
    for (const PreviewCommand& command : commands) {
        QAction* action = AddAction(bar, command.text, command.toolTip, QIcon(), command.shortcut);
        connect(action, &QAction::triggered, this,
                [this, action, run = command.run] { run(*this, *action); });
    }
    if (!commands.empty()) bar->addSeparator();
    QAction* close = AddAction(bar, QStringLiteral("&Закрыть"),
                               QStringLiteral("Закрыть предварительный просмотр"),
                               ToolIcon(bar, "window-close", nullptr, QStyle::SP_DialogCloseButton),
                               QKeySequence(Qt::Key_Escape));

    view_ = new QPrintPreviewWidget(&printer_, this);
    view_->setViewMode(QPrintPreviewWidget::SinglePageView);
    view_->setZoomFactor(1.0);
    connect(view_, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* printer) {
        QPainter painter(printer);
        PaintPages(painter, *printer, page_, extraPages);
    });

    connect(print_, &QAction::triggered, this, &ReportPreview::Print);
    connect(pageSetup_, &QAction::triggered, this, &ReportPreview::PageSetup);
    connect(savePdf_, &QAction::triggered, this, &ReportPreview::SavePdf);
    connect(zoomIn_, &QAction::triggered, this, [this] { view_->zoomIn(ZoomStep); });
    connect(zoomOut_, &QAction::triggered, this, [this] { view_->zoomOut(ZoomStep); });
    connect(actualSize_, &QAction::triggered, this, [this] { view_->setZoomFactor(1.0); });
    connect(wholePage_, &QAction::triggered, this, [this] { view_->fitInView(); });
    connect(close, &QAction::triggered, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(view_);
    // Restored from maximised it is a window of the screen's height, never so narrow that a
    // command hides behind the toolbar's extension, where the screen has the room.
    const QSize room = ScreenRoom(this);
    setMinimumWidth(std::min(bar->sizeHint().width(), room.width()));
    if (const QScreen* shownOn = screen())
        setGeometry(QStyle::alignedRect(
            Qt::LeftToRight, Qt::AlignCenter,
            QSize(std::max(bar->sizeHint().width(), RestoredWidth), room.height()).boundedTo(room),
            shownOn->availableGeometry()));

    askPdfPath = [this] { return AskPdfPathByDialog(); };
}

void ReportPreview::Print() {
    QPrintDialog dialog(&printer_, this);
    dialog.setWindowTitle(QStringLiteral("Печать отчёта"));
    if (dialog.exec() != QDialog::Accepted) return;
    QPainter painter;
    if (!painter.begin(&printer_)) {
        ShowError(QStringLiteral("Не удалось начать печать на принтере «%1».")
                      .arg(printer_.printerName()));
        return;
    }
    PaintPages(painter, printer_, page_, extraPages);
    painter.end();
}

void ReportPreview::ShowError(const QString& text) {
    ShowMessageBox(this, text, QStringLiteral("Ошибка"));
}

void ReportPreview::PageSetup() {
    QPageSetupDialog dialog(&printer_, this);
    dialog.setWindowTitle(QStringLiteral("Параметры страницы"));
    if (dialog.exec() == QDialog::Accepted) view_->updatePreview();
}

QString ReportPreview::AskPdfPathByDialog() {
    // The dialog starts where the last one of the program was answered.
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Сохранить отчёт в PDF"),
                                                files::DialogStart(SuggestedFileName(page_.title)),
                                                QStringLiteral("Документ PDF (*.pdf)"));
    if (path.isEmpty()) return path;
    files::RememberDialogFolder(path);
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) path += QStringLiteral(".pdf");
    return path;
}

void ReportPreview::SavePdf() {
    const QString path = askPdfPath();
    if (path.isEmpty()) return;
    if (const QString reason = WritePdf(page_, path, extraPages); !reason.isEmpty())
        ShowError(QStringLiteral("Не удалось сохранить файл «%1». %2.")
                      .arg(QDir::toNativeSeparators(path), reason));
}

QString SuggestedFileName(const QString& title) {
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    QString name = title;
    for (QChar& c : name)
        if (c.category() == QChar::Other_Control || forbidden.contains(c)) c = u' ';
    name = name.trimmed();
    if (name.isEmpty()) name = QStringLiteral("Отчёт");
    return name + QStringLiteral(".pdf");
}

void ShowReport(const Template& report, QWidget* parent, std::span<const PreviewCommand> commands) {
    ReportPreview preview(PreparePage(report), parent, commands);
    const double zoom = report.options.previewZoom;
    preview.view()->setZoomFactor(zoom > 0 && zoom < 100 ? zoom : 1.0);
    preview.setWindowState(preview.windowState() | Qt::WindowMaximized);
    preview.exec();
}

} // namespace reportengine
