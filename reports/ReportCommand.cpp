#include "ReportCommand.h"

#include <QLocale>

namespace reports {

QString ReportTitle(int calcMethod, QDate date) {
    return QString::fromStdString(
        reporttemplate::ReportTitle(calcMethod, date.toString(Qt::ISODate).toStdString()));
}

QString ReportAuthor() {
    return QString::fromUtf8(reporttemplate::ReportAuthor.data(),
                             qsizetype(reporttemplate::ReportAuthor.size()));
}

reporttemplate::Template* FillReport(ReportTemplates& templates, int calcMethod,
                                     const workflow::Inputs& inputs,
                                     const workflow::ShownResult& result, QDate date) {
    return reporttemplate::FillReport(templates, calcMethod, inputs, result,
                                      {date.toString(Qt::ISODate).toStdString(),
                                       QString(QLocale().decimalPoint()).toStdString()});
}

} // namespace reports
