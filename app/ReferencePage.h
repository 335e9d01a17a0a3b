// The reference page: where the reference document lives, the address by which the browser
// reports it, and the browser widget of page 'Browser'. The browser comes from the reference
// viewer plugin, loaded on first use; without the plugin the page says so in one line.
#pragma once

#include "Plugins.h"

#include <QString>
#include <QStringList>
#include <QWidget>

class QLabel;
class ReferenceViewer;

// text with every occurrence of from replaced by to, left to right.
QString ReplaceAll(const QString& text, const QString& from, const QString& to);

// "<exeFolder>/Resources/ЗорбаЛИТ.mht" with the system's separators throughout; exeFolder
// (as QCoreApplication::applicationDirPath() gives it) comes without a trailing separator.
QString ReferenceDocumentPath(const QString& exeFolder);

// The address by which the browser reports the document at path: "file:///" and the path
// with "/" for separators and "%20" for blanks; other letters stay as they are.
QString ReferenceDocumentAddress(const QString& documentPath);

// The web engine refuses to start as root unless its sandbox is switched off.
void AllowWebEngineAsRoot();

class ReferencePage : public QWidget {
    Q_OBJECT
public:
    explicit ReferencePage(QWidget* parent = nullptr, QStringList pluginFolders = PluginFolders());

    // The address the browser shows now; empty before a document has loaded or without
    // a viewer. The first call loads the viewer.
    QString LocationURL();
    // Starts loading the local file at path and returns at once.
    void Navigate(const QString& path);
    // Loads the document unless the browser already shows it, so that a repeated visit
    // keeps the reader's place.
    void ShowDocument(const QString& path);

    bool HasViewer() const { return view_ != nullptr; }
    // The browser view, or the note that replaces it; null before first use.
    QWidget* View() const;

private:
    void LoadViewer();

    QStringList pluginFolders_;
    bool loadTried_ = false;
    ReferenceViewer* viewer_ = nullptr;
    QWidget* view_ = nullptr;
    QLabel* missingNote_ = nullptr;
};
