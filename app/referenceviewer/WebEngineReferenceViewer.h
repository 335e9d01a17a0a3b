// The reference viewer built on Qt WebEngine; it shows single-file web archives (MHTML).
#pragma once

#include "ReferenceViewer.h"

#include <QObject>

class WebEngineReferenceViewer : public QObject, public ReferenceViewer {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ReferenceViewer_iid)
    Q_INTERFACES(ReferenceViewer)

public:
    QWidget* CreateView(QWidget* parent) override;
    QString LocationURL(const QWidget* view) const override;
    void Navigate(QWidget* view, const QString& path) override;
};
