#pragma once

#include <QString>

namespace dalvero::testing {

// What the user reads, written here once as the tests expect it: the tests'
// own oracle, not the program's constants, so a changed text fails them.
inline const QString kDeselectPrompt = QStringLiteral("Fravælg evt. duer og vælg unikon fil");
inline const QString kDanFilPrompt = QStringLiteral("Er det OK, klik på 'Dan fil'");
inline const QString kWritten = QStringLiteral("Fil skrevet, program lukkes");
inline const QString kDoubleClickAgain = QStringLiteral("Dobbeltklik på UNIKON filen igen");
// The backup folder beside the program, and a path in it.
inline const QString kCopiesFolder = QStringLiteral("UNI_KOP");
inline QString copyPath(const QString& name) {
    return kCopiesFolder + u'/' + name;
}

} // namespace dalvero::testing
