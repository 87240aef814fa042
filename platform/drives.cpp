#include "drives.h"

#include "scripted_answers.h"

namespace dalvero::drives {

Status checkReady(const QString& root) {
    return readyCheck(root)();
}

std::function<Status()> readyCheck(const QString& root) {
    return [root, told = platform::scriptedAnswers().driveAsked] {
        if (told)
            told(root);
        return checkRoot(root);
    };
}

} // namespace dalvero::drives
