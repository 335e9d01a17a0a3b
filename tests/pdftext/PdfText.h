// A written PDF read back as a reader would: the text that pdftotext (poppler-utils) gives.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// `options` as pdftotext takes them ("-bbox", "-layout"); empty when the file cannot be read.
inline QString PdfText(const QString& pdf, QStringList options = {}) {
    QProcess pdftotext;
    options << pdf << QStringLiteral("-");
    pdftotext.start(QStringLiteral(PDFTOTEXT), options);
    if (!pdftotext.waitForFinished(30000) || pdftotext.exitStatus() != QProcess::NormalExit ||
        pdftotext.exitCode() != 0)
        return {};
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}
