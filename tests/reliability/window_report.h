#pragma once

#include "failure.h"
#include "text_rules.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace dalvero::testing {

// What the user was told and what the window showed when a run in a child
// process ended, carried back to the test in the parent.
struct WindowReport {
    QList<Failure> failures;
    QStringList messages;
    int endStatus = -1; // -1: the program did not end
    QByteArray label4;  // the export header, as the bytes it was shown from
    QString label5;
    QString oldCount; // Label1(5)
    QString newCount; // Label1(1)
    bool danFilEnabled = false;
    Lines list1;
    Lines list2;
    Lines list3;
    QString driverError; // a step the test could not take (an entry not offered)

    QByteArray serialize() const;
    static WindowReport parse(const QByteArray& bytes);
};

} // namespace dalvero::testing
