#include "recording_seam.h"

namespace dalvero::testing {

void RecordingSeam::showMessage(QWidget*, const QString& text) {
    messages << text;
    if (whileMessageShown)
        whileMessageShown(text);
}

void RecordingSeam::showFailure(QWidget*, const Failure& failure) {
    failures << failure;
}

void RecordingSeam::endProgram(int status) {
    if (!endStatus)
        endStatus = status;
}

} // namespace dalvero::testing
