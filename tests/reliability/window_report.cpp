#include "window_report.h"

#include <QDataStream>
#include <QIODevice>

namespace dalvero::testing {

QByteArray WindowReport::serialize() const {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << qint32(failures.size());
    for (const Failure& failure : failures)
        out << failure.what << failure.path << failure.reason;
    out << messages << qint32(endStatus) << label4 << label5 << oldCount << newCount
        << danFilEnabled << list1 << list2 << list3 << driverError;
    return bytes;
}

WindowReport WindowReport::parse(const QByteArray& bytes) {
    WindowReport report;
    QDataStream in(bytes);
    qint32 count = 0;
    in >> count;
    for (qint32 i = 0; i < count; ++i) {
        Failure failure;
        in >> failure.what >> failure.path >> failure.reason;
        report.failures << failure;
    }
    qint32 endStatus = -1;
    in >> report.messages >> endStatus >> report.label4 >> report.label5 >> report.oldCount >>
        report.newCount >> report.danFilEnabled >> report.list1 >> report.list2 >> report.list3 >>
        report.driverError;
    report.endStatus = endStatus;
    if (in.status() != QDataStream::Ok)
        report.driverError = QStringLiteral("the child's report could not be read");
    return report;
}

} // namespace dalvero::testing
