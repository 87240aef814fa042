#include "export_file.h"

#include "text_file.h"

namespace dalvero {

ExportFile parseExport(const Lines& lines) {
    ExportFile result;
    if (!lines.isEmpty())
        result.header = lines.size() == 1 ? lines[0] : lines[0] + ' ' + lines[1];
    for (qsizetype i = 2; i < lines.size(); ++i) {
        // An empty line has no first character to drop and holds no pigeon.
        if (!lines[i].isEmpty())
            result.records.append(lines[i].mid(1));
    }
    return result;
}

Result<ExportFile> loadExportFile(const QString& path, qsizetype alreadyListed) {
    Result<Lines> lines = readLines(path, QStringLiteral("Kunne ikke læse eksportfilen"));
    if (!lines)
        return lines.failure();
    ExportFile parsed = parseExport(lines.value());
    if (Status full = checkListRoom(alreadyListed, parsed.records.size(),
                                    QStringLiteral("Eksportfilen har for mange duer"), path))
        return *full;
    return parsed;
}

QByteArray yearCode(const QByteArray& record) {
    return textPart(record, 5, 6);
}

} // namespace dalvero
