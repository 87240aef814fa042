#pragma once

#include "platform/failure.h"
#include "text_rules.h"

#include <optional>

namespace dalvero {

// What an export file contributes to the window.
struct ExportFile {
    // Line 1, or line 1 & " " & line 2. Absent for an empty file, where the
    // export header keeps whatever it showed before.
    std::optional<QByteArray> header;
    // One pigeon record for every line after line 2: the line less its first
    // character. An empty line there adds no pigeon.
    Lines records;
};

ExportFile parseExport(const Lines& lines);

// Reads and parses the export file at `path`. Fails when the file cannot be
// read, or when its pigeons together with the `alreadyListed` ones would pass
// the list limit (nothing is then added).
Result<ExportFile> loadExportFile(const QString& path, qsizetype alreadyListed);

// Characters 5 to 6 of a pigeon record.
QByteArray yearCode(const QByteArray& record);

} // namespace dalvero
