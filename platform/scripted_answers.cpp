#include "scripted_answers.h"

namespace dalvero::platform {

ScriptedAnswers& scriptedAnswers() {
    static ScriptedAnswers answers;
    return answers;
}

} // namespace dalvero::platform
