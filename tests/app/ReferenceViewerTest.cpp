// The reference page with the real viewer plugin and web engine (run under xvfb-run): the
// shipped document opens from a folder with blanks and Cyrillic letters, the browser reports
// exactly the address the program builds, a link of its contents moves within it, a link
// to elsewhere goes to the system's browser, and a second visit does not reload it.
#include "ReferencePage.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <QtTest>

class ReferenceViewerTest : public QObject {
    Q_OBJECT

    static constexpr int LoadTimeoutMs = 60000;

    QList<QUrl> openedOutside;

    // Clicks, as the reader does, the link that a script of the program's own world finds.
    static void Click(QWebEngineView* web, const QString& selectorOrUrl, bool create = false) {
        const QString script =
            create ? QStringLiteral(
                         "{ const a = document.createElement('a'); a.href = '%1';"
                         "  a.textContent = 'x'; document.body.appendChild(a); a.click(); }")
                   : QStringLiteral("document.querySelector('%1').click()");
        web->page()->runJavaScript(script.arg(selectorOrUrl), QWebEngineScript::ApplicationWorld);
    }

public slots:
    // The system's browser, as the program would reach it.
    void openOutside(const QUrl& url) { openedOutside << url; }

private slots:
    void initTestCase() {
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "openOutside");
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "openOutside");
    }

    void opensTheShippedDocumentOnceAndKeepsIt() {
        QTemporaryDir scratch;
        const QString folder = scratch.path() + QStringLiteral("/Программа с пробелами");
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/Resources")));
        const QString path = ReferenceDocumentPath(QDir::toNativeSeparators(folder));
        QVERIFY(QFile::copy(QStringLiteral(IZOL_REFERENCE_DOCUMENT), path));

        ReferencePage page;
        page.resize(586, 499);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));

        page.ShowDocument(path);
        QVERIFY2(page.HasViewer(), "the reference viewer plugin did not load");
        QWidget* view = page.View();
        QSignalSpy loads(view, SIGNAL(loadStarted()));
        QSignalSpy finished(view, SIGNAL(loadFinished(bool)));
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, LoadTimeoutMs);
        QVERIFY(finished.front().front().toBool());
        // What the engine itself reports for the file, and what the page hands on.
        QCOMPARE(view->property("url").toUrl().toString(QUrl::EncodeSpaces),
                 ReferenceDocumentAddress(path));
        QCOMPARE(page.LocationURL(), ReferenceDocumentAddress(path));
        QTRY_VERIFY_WITH_TIMEOUT(
            view->property("title").toString().startsWith(QStringLiteral("Справочные материалы")),
            LoadTimeoutMs);

        // A second visit finds the document shown and leaves it (and the reader's place) alone.
        ShowAgainWithoutReload(page, path, loads);

        // A link of the contents moves to its place in the document: the same document at
        // its own address with the fragment, never the archive's internal address.
        auto* web = qobject_cast<QWebEngineView*>(view);
        QVERIFY(web);
        const QString title = web->title();
        Click(web, QStringLiteral("a[href=\"#materials\"]"));
        QTRY_COMPARE_WITH_TIMEOUT(web->url().fragment(), QStringLiteral("materials"),
                                  LoadTimeoutMs);
        QTest::qWait(300);
        QCOMPARE(web->url().adjusted(QUrl::RemoveFragment).toString(QUrl::EncodeSpaces),
                 ReferenceDocumentAddress(path));
        QCOMPARE(web->title(), title);
        QVERIFY(openedOutside.isEmpty());
        // The next link by the keyboard.
        QWidget* input = web->focusProxy() ? web->focusProxy() : web;
        QTest::keyClick(input, Qt::Key_Tab);
        QTest::keyClick(input, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(web->url().fragment() != QStringLiteral("materials"),
                                 LoadTimeoutMs);
        const QString place = web->url().fragment();
        QVERIFY(!place.isEmpty());
        QCOMPARE(web->title(), title);
        // A visit now keeps the reader's place.
        ShowAgainWithoutReload(page, path, loads);
        QCOMPARE(web->url().fragment(), place);

        // A link to elsewhere goes to the system's browser and leaves the document shown.
        Click(web, QStringLiteral("https://example.org/norms#table"), true);
        QTRY_COMPARE_WITH_TIMEOUT(
            openedOutside, QList<QUrl>{QUrl("https://example.org/norms#table")}, LoadTimeoutMs);
        QTest::qWait(300);
        QCOMPARE(web->title(), title);
        QCOMPARE(page.LocationURL(), ReferenceDocumentAddress(path));

        // Its menu offers what serves a document, and no page source.
        QStringList items;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                for (QAction* action : menu->actions())
                    if (!action->isSeparator()) items << action->text();
                menu->close();
            }
        });
        poll.start(50);
        QTest::mouseClick(input, Qt::RightButton, {}, QPoint(40, 40));
        QTRY_VERIFY_WITH_TIMEOUT(!items.isEmpty(), 5000);
        QCOMPARE(items.size(), 4);
        QVERIFY(!items.join(' ').contains("source", Qt::CaseInsensitive));
    }

private:
    static void ShowAgainWithoutReload(ReferencePage& page, const QString& path,
                                       QSignalSpy& loads) {
        const int loadsSoFar = int(loads.size());
        page.ShowDocument(path);
        QTest::qWait(300);
        QCOMPARE(int(loads.size()), loadsSoFar);
        QCOMPARE(page.LocationURL(), ReferenceDocumentAddress(path));
    }
};

QTEST_MAIN(ReferenceViewerTest)
#include "ReferenceViewerTest.moc"
