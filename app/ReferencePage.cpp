#include "ReferencePage.h"

#include "referenceviewer/ReferenceViewer.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QOpenGLContext>
#include <QVBoxLayout>

#include <utility>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

// Qt's own setter of the OpenGL context that the application's contexts share.
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);
QT_END_NAMESPACE

namespace {

// The web engine behind the viewer shares an OpenGL context with the program's windows and
// expects it when it loads. Qt makes that context at start-up when asked
// (Qt::AA_ShareOpenGLContexts), which costs every start several times its time and memory,
// viewer or not; it is made here instead, just before the viewer is first loaded.
void ShareOpenGLContextForViewer() {
#if QT_CONFIG(opengl)
    if (QOpenGLContext::globalShareContext()) return;
    auto* context = new QOpenGLContext(QCoreApplication::instance());
    if (context->create()) {
        qt_gl_set_global_share_context(context);
    } else {
        delete context;
    }
#endif
}

} // namespace

QString ReplaceAll(const QString& text, const QString& from, const QString& to) {
    if (from.isEmpty()) return text;
    QString result;
    qsizetype start = 0;
    for (qsizetype at = text.indexOf(from); at >= 0; at = text.indexOf(from, start)) {
        result += QStringView(text).mid(start, at - start);
        result += to;
        start = at + from.size();
    }
    result += QStringView(text).mid(start);
    return result;
}

QString ReferenceDocumentPath(const QString& exeFolder) {
    const QString separator = QDir::separator();
    return QDir::toNativeSeparators(exeFolder) + separator + QStringLiteral("Resources") +
           separator + QString::fromUtf8(IZOL_REFERENCE_FILE_NAME);
}

QString ReferenceDocumentAddress(const QString& documentPath) {
    QString address = ReplaceAll(documentPath, QDir::separator(), QStringLiteral("/"));
    address = ReplaceAll(address, QStringLiteral(" "), QStringLiteral("%20"));
    // A drive path "C:/..." takes the third slash from the prefix, a root path "/..." brings it.
    return (address.startsWith(u'/') ? QStringLiteral("file://") : QStringLiteral("file:///")) +
           address;
}

void AllowWebEngineAsRoot() {
#if defined(Q_OS_UNIX)
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
#endif
}

ReferencePage::ReferencePage(QWidget* parent, QStringList pluginFolders)
    : QWidget(parent)
    , pluginFolders_(std::move(pluginFolders)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

void ReferencePage::LoadViewer() {
    if (loadTried_) return;
    loadTried_ = true;
    AllowWebEngineAsRoot();
    ShareOpenGLContextForViewer();
    if (auto* viewer = qobject_cast<ReferenceViewer*>(
            LoadPlugin(pluginFolders_, QStringLiteral("izolcalc_referenceviewer")))) {
        viewer_ = viewer;
        view_ = viewer_->CreateView(this);
        layout()->addWidget(view_);
        return;
    }
    missingNote_ = new QLabel(this);
    missingNote_->setObjectName(QStringLiteral("ReferenceViewerMissing"));
    missingNote_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    missingNote_->setWordWrap(true);
    missingNote_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    missingNote_->setMargin(12);
    layout()->addWidget(missingNote_);
}

QString ReferencePage::LocationURL() {
    LoadViewer();
    return viewer_ ? viewer_->LocationURL(view_) : QString();
}

void ReferencePage::Navigate(const QString& path) {
    LoadViewer();
    if (viewer_) {
        viewer_->Navigate(view_, path);
    } else {
        missingNote_->setText(
            QStringLiteral("Программа просмотра справочных материалов не установлена. Документ: ") +
            QDir::toNativeSeparators(path));
    }
}

void ReferencePage::ShowDocument(const QString& path) {
    if (LocationURL() != ReferenceDocumentAddress(path)) Navigate(path);
}

QWidget* ReferencePage::View() const {
    return view_ ? view_ : missingNote_;
}
