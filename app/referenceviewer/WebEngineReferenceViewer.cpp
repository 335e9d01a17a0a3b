#include "WebEngineReferenceViewer.h"

#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMenu>
#include <QPointer>
#include <QQuickWindow>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

namespace {

// A text as a JavaScript string literal.
QString ScriptString(const QString& text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

// Shows one document. The archive's parts carry an internal base address that no server
// answers, so a link within the document is taken to its place here instead of being
// loaded from there, and a link to anything else opens in the system's browser, never in
// the page. The page keeps the document's own address for the program.
class DocumentPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

    QUrl documentUrl;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override {
        if (!isMainFrame) return true;
        if (type != NavigationTypeLinkClicked) {
            documentUrl = url.adjusted(QUrl::RemoveFragment);
            return true;
        }
        if (url.hasFragment())
            GoToPlaceOrOpen(url);
        else
            QDesktopServices::openUrl(url);
        return false;
    }

private:
    // The archive's scripts are off, but the program's own world may ask it where a link
    // leads. A place in the document is reached by its own address with the fragment, which
    // keeps the place in the history for "back".
    void GoToPlaceOrOpen(const QUrl& url) {
        const QString script =
            QStringLiteral("[document.URL, document.baseURI]"
                           ".map((a) => a.split('#')[0]).includes(%1)")
                .arg(ScriptString(url.adjusted(QUrl::RemoveFragment).toString()));
        runJavaScript(script, QWebEngineScript::ApplicationWorld,
                      [self = QPointer<DocumentPage>(this), url](const QVariant& here) {
                          if (!self || !here.isValid())
                              return; // the page went before the answer came
                          if (!here.toBool()) {
                              QDesktopServices::openUrl(url);
                              return;
                          }
                          QUrl place = self->documentUrl;
                          place.setFragment(url.fragment());
                          self->load(place);
                      });
    }
};

// Only what serves a document: back and forward within it, copy and select all.
class DocumentView : public QWebEngineView {
public:
    using QWebEngineView::QWebEngineView;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override {
        QMenu menu(this);
        menu.addAction(pageAction(QWebEnginePage::Back));
        menu.addAction(pageAction(QWebEnginePage::Forward));
        menu.addSeparator();
        menu.addAction(pageAction(QWebEnginePage::Copy));
        menu.addAction(pageAction(QWebEnginePage::SelectAll));
        menu.exec(event->globalPos());
    }
};

} // namespace

QWidget* WebEngineReferenceViewer::CreateView(QWidget* parent) {
    // The web engine draws with Qt Quick over OpenGL. Loaded as a plugin after start-up, it
    // cannot choose that itself, and elsewhere than on Linux Quick may default to another API.
    QQuickWindow::setGraphicsApi(QSGRendererInterface::OpenGLRhi);
    auto* view = new DocumentView(parent);
    view->setObjectName(QStringLiteral("ReferenceView"));
    view->setPage(new DocumentPage(view));
    return view;
}

QString WebEngineReferenceViewer::LocationURL(const QWidget* view) const {
    const auto* web = qobject_cast<const QWebEngineView*>(view);
    if (!web || web->url().isEmpty()) return {};
    const auto* page = static_cast<const DocumentPage*>(web->page());
    // The readable form with blanks kept encoded, as the program builds its own address.
    return page->documentUrl.toString(QUrl::EncodeSpaces);
}

void WebEngineReferenceViewer::Navigate(QWidget* view, const QString& path) {
    if (auto* web = qobject_cast<QWebEngineView*>(view)) web->load(QUrl::fromLocalFile(path));
}
