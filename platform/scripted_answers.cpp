#include "scripted_answers.h"

namespace dalvero::platform {

ScriptedAnswers& scriptedAnswers() {
    static ScriptedAnswers answers;
    return answers;
}

unsigned long scriptedFailure(const char* step, const QString& path) {
    const auto& hook = scriptedAnswers().step;
    return hook ? hook(step, path) : 0;
}

} // namespace dalvero::platform
