// A second program that changes a schedule file, for the tests that run several at once:
//   schedule_writer add FILE N PREFIX   adds N rows tagged PREFIX-0…, one change each
//   schedule_writer churn FILE          retags the first row for ever, says "ready" after
//                                       the first change (the test kills it meanwhile)
#include "ScheduleRows.h"
#include "ScheduleStore.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) return 2;
    schedule::ScheduleStore store(args[2]);
    const std::vector<workflow::ScheduleRow> kinds = workflow::RowsOfEveryKind();

    if (args[1] == QLatin1String("add") && args.size() == 5) {
        const int count = args[3].toInt();
        for (int i = 0; i < count; ++i) {
            workflow::ScheduleRow row = kinds[std::size_t(i) % kinds.size()];
            row.tag = args[4].toStdString() + "-" + std::to_string(i);
            const auto outcome = store.Apply(workflow::AddRows({row}));
            if (!outcome.applied || !outcome.error.isEmpty()) {
                std::fprintf(stderr, "%s\n", qPrintable(outcome.error));
                return 1;
            }
            // As a window would, not at once again: the other gets its turn.
            QThread::msleep(10);
        }
        return 0;
    }
    if (args[1] == QLatin1String("churn")) {
        store.Refresh(schedule::LockWait);
        if (store.Current().Size() == 0) return 1;
        for (long n = 0;; ++n) {
            const workflow::RowId first = store.Current().Rows().front().id;
            if (!store.Apply(workflow::TagRow(first, "churn-" + std::to_string(n))).applied)
                return 1;
            if (n == 0) {
                std::printf("ready\n");
                std::fflush(stdout);
            }
        }
    }
    return 2;
}
