#include "WebEngineReferenceViewer.h"

#include <QQuickWindow>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

// Remembers the document that the page shows. Inside a web archive, a link of its table of
// contents moves the browser's own address to the archive's internal one; reported as is,
// that would make the program reload the document and lose the reader's place. So a move to
// a place (an address with a fragment) by a link or through the history counts as a move
// within the document shown, and any other navigation as a new document.
class DocumentPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

    QUrl documentUrl;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override {
        const bool withinDocument =
            url.hasFragment() && !documentUrl.isEmpty() &&
            (type == NavigationTypeLinkClicked || type == NavigationTypeBackForward);
        if (isMainFrame && !withinDocument) documentUrl = url;
        return true;
    }
};

} // namespace

QWidget* WebEngineReferenceViewer::CreateView(QWidget* parent) {
    // The web engine draws with Qt Quick over OpenGL. Loaded as a plugin after start-up, it
    // cannot choose that itself, and elsewhere than on Linux Quick may default to another API.
    QQuickWindow::setGraphicsApi(QSGRendererInterface::OpenGLRhi);
    auto* view = new QWebEngineView(parent);
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
