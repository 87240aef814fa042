#pragma once

#include <QtGlobal>

namespace dalvero {

// What the user should notice about a line before the file is rewritten.
enum class LineMark : quint8 {
    None,
    New,     // a new line whose pigeon had no old line: its tail field starts at zeros
    Doubled, // a new line of a pigeon that stands several times in the old file
    Leaving, // an old line that no line of the new list carries over
    // Putting a backup copy back: a line of the copy that the file lacks now,
    // and a line of the file now that the copy lacks.
    ComingBack,
    Going,
};

} // namespace dalvero
