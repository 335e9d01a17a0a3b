#include "ReportPreview.h"

#include "MessageBoxes.h"

#include "QStringPrinter.h"
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPrintPreviewWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace reportengine;

namespace {

Template OneBox(const char* text) {
    Template t;
    t.name = "sample";
    TextBox box;
    box.name = "Memo1";
    box.geometry = {26, 49, 300, 19};
    box.text = text;
    t.page.boxes.push_back(box);
    return t;
}

} // namespace

TEST(ReportPreview, ShowsOnePageAtActualSizeWithRussianTools) {
    ReportPreview preview(PreparePage(OneBox("Объект")));
    preview.resize(1200, 1000);
    preview.show();
    QApplication::processEvents();

    EXPECT_EQ(preview.view()->pageCount(), 1);
    EXPECT_EQ(preview.view()->zoomMode(), QPrintPreviewWidget::CustomZoom);
    EXPECT_DOUBLE_EQ(preview.view()->zoomFactor(), 1.0);
    EXPECT_TRUE(preview.printer().fullPage());
    EXPECT_EQ(preview.printer().pageLayout().pageSize().id(), QPageSize::A4);
    // Without a title of its own, the document goes by the template's name.
    EXPECT_EQ(preview.printer().docName(), QStringLiteral("sample"));

    EXPECT_EQ(preview.windowTitle(), QStringLiteral("Предварительный просмотр"));
    EXPECT_EQ(preview.printAction()->text(), QStringLiteral("&Печать..."));
    EXPECT_EQ(preview.savePdfAction()->text(), QStringLiteral("&Сохранить в PDF..."));
    EXPECT_EQ(preview.pageSetupAction()->text(), QStringLiteral("П&араметры страницы..."));

    preview.zoomInAction()->trigger();
    EXPECT_GT(preview.view()->zoomFactor(), 1.0);
    preview.wholePageAction()->trigger();
    EXPECT_EQ(preview.view()->zoomMode(), QPrintPreviewWidget::FitInView);
    preview.actualSizeAction()->trigger();
    EXPECT_DOUBLE_EQ(preview.view()->zoomFactor(), 1.0);
}

TEST(ReportPreview, SavesThePageAsPdfOrSaysWhyNot) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ReportPreview preview(PreparePage(OneBox("Объект")));
    QStringList errors;
    SetMessageBoxHook([&](const QString& text, const QString&) { errors << text; });

    const QString path = dir.filePath(QStringLiteral("report.pdf"));
    preview.askPdfPath = [&] { return path; };
    preview.savePdfAction()->trigger();
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().startsWith("%PDF"));
    EXPECT_TRUE(errors.isEmpty());

    preview.askPdfPath = [] { return QString(); }; // cancelled: nothing happens
    preview.savePdfAction()->trigger();
    EXPECT_TRUE(errors.isEmpty());

    preview.askPdfPath = [] { return QStringLiteral("/no/such/folder/report.pdf"); };
    preview.savePdfAction()->trigger();
    SetMessageBoxHook({});
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("Не удалось сохранить файл")));
}

TEST(ReportPreview, PrintsAndSavesUnderTheTitle) {
    Template t = OneBox("Объект");
    t.title = "Толщина изоляции — по заданной температуре поверхности — 2026-12-10";
    const QString title = QString::fromStdString(t.title);
    ReportPreview preview(PreparePage(t));
    EXPECT_EQ(preview.printer().docName(), title);
    EXPECT_EQ(SuggestedFileName(title), title + QStringLiteral(".pdf"));

    // Characters that some file system refuses become blanks.
    // clang-format off
    const std::pair<const char*, const char*> names[] = {
        {"Отчёт 10/12/2026: итог",   "Отчёт 10 12 2026  итог.pdf"},
        {"a\\b*c?d\"e<f>g|h\ti\x7fj", "a b c d e f g h i j.pdf"},
        {" //: ",                    "Отчёт.pdf"},
        {"",                         "Отчёт.pdf"},
    };
    // clang-format on
    for (const auto& [title, file] : names)
        EXPECT_EQ(SuggestedFileName(QString::fromUtf8(title)), QString::fromUtf8(file)) << title;
}

TEST(ShowReport, OpensAModalMaximizedPreviewAndReturnsWhenClosed) {
    bool seen = false;
    bool modal = false;
    bool maximized = false;
    double zoom = 0;
    // Closes the preview once it is up; a preview that never appears fails, not hangs.
    QTimer probe;
    probe.setInterval(20);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        QWidget* w = QApplication::activeModalWidget();
        if (auto* preview = dynamic_cast<ReportPreview*>(w)) {
            seen = true;
            modal = preview->isModal();
            maximized = preview->windowState().testFlag(Qt::WindowMaximized);
            zoom = preview->view()->zoomFactor();
            preview->close();
        }
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        if (QWidget* w = QApplication::activeModalWidget()) w->close();
    });
    probe.start();
    watchdog.start(5000);

    const Template report = OneBox("[Date]");
    ShowReport(report, nullptr);

    EXPECT_TRUE(seen);
    EXPECT_TRUE(modal);
    EXPECT_TRUE(maximized);
    EXPECT_DOUBLE_EQ(zoom, 1.0);
    EXPECT_EQ(report.page.boxes[0].text, "[Date]");
}
