// The interface of the reference viewer plugin. The program loads the plugin only when the
// reference page is first opened, so that the web engine behind it costs nothing at start-up.
#pragma once

#include <QString>
#include <QtPlugin>

class QWidget;

class ReferenceViewer {
public:
    virtual ~ReferenceViewer() = default;

    // A new browser view, owned by parent.
    virtual QWidget* CreateView(QWidget* parent) = 0;
    // The address that the view shows now, in the form "file:///dir/My%20Docs/Файл.mht":
    // blanks encoded, other letters as they are; empty before a document has loaded.
    virtual QString LocationURL(const QWidget* view) const = 0;
    // Starts loading the local file at path (a plain path, not an address) and returns at once.
    virtual void Navigate(QWidget* view, const QString& path) = 0;
};

#define ReferenceViewer_iid "ru.zorbalit.izolcalc.ReferenceViewer/1.0"
Q_DECLARE_INTERFACE(ReferenceViewer, ReferenceViewer_iid)
