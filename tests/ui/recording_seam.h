#pragma once

#include "platform_seam.h"

#include <QStringList>

#include <functional>
#include <optional>

namespace dalvero::testing {

// A seam that records instead of showing boxes or ending the process.
class RecordingSeam : public PlatformSeam {
public:
    void showMessage(QWidget* parent, const QString& text) override;
    void showFailure(QWidget* parent, const Failure& failure) override;
    void endProgram(int status) override;
    QString todayText() override { return today; }

    QString today = QStringLiteral("07-12-26");
    QStringList messages;
    QList<Failure> failures;
    std::optional<int> endStatus;
    // Runs while a message is "shown", to look at the window at that moment.
    std::function<void(const QString&)> whileMessageShown;
};

} // namespace dalvero::testing
