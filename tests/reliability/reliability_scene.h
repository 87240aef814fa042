#pragma once

#include "support/scratch_folder.h"
#include "support/tree_snapshot.h"
#include "support/window_child.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace dalvero::testing {

// A member's folders for one run of the window, all under one scratch
// folder: the base folder (also the current folder at start) with the backup
// folder, the export folder and the UNIKON folder in it. Paths are kept
// relative to the scratch folder so that a snapshot of it reads plainly.
struct ReliabilityScene {
    ScratchFolder scratch;
    QString baseName = QStringLiteral("due");
    QString exportFolder = QStringLiteral("due/eksport");
    QString exportName = QStringLiteral("eksport.txt");
    QString unikonFolder = QStringLiteral("due/unikon");
    QString unikonName = QStringLiteral("z12345");
    QByteArray exportBytes;
    QByteArray unikonBytes;
    QString today = QStringLiteral("07-12-26");
    // The file whose bytes the rewrite changes: the UNIKON file, or the file
    // it links to.
    QString target;

    QString absolute(const QString& relative) const { return scratch.filePath(relative); }
    QString exportFile() const { return exportFolder + QLatin1Char('/') + exportName; }
    QString unikonFile() const { return unikonFolder + QLatin1Char('/') + unikonName; }
    QString backupFile(const QString& dateText, const QString& suffix = {}) const;
    QString writtenFile() const { return target.isEmpty() ? unikonFile() : target; }

    // Writes the export file and the UNIKON file and makes the backup folder,
    // as start-up leaves it.
    void build() const;
    // Opens every folder of the scene to the unprivileged user, and the
    // backup folder, the UNIKON folder and file for writing, so that a test
    // closes exactly the one thing it means to.
    void openToUnprivileged() const;
    Workflow workflow() const;
    // Files another program is to hold open: held from holdFiles() until
    // releaseFiles(), so that snapshots around them can still read them.
    std::vector<std::pair<QString, HeldFile::Sharing>> filesToHold;
    bool holdFiles();
    void releaseFiles() { m_held.clear(); }

private:
    std::vector<std::unique_ptr<HeldFile>> m_held;
};

// The scene's export file and UNIKON file, as a report names them.
inline QString exportPath(const ReliabilityScene& s) {
    return s.absolute(s.exportFile());
}
inline QString unikonPath(const ReliabilityScene& s) {
    return s.absolute(s.unikonFile());
}

// The tree after "Dan fil": `before`, plus a backup of `writtenFile` as it
// was, and `writtenFile` holding `newBytes` when the list was written.
TreeSnapshot afterDanFil(const TreeSnapshot& before, const QString& writtenFile,
                         const QString& backupFile, const std::optional<QByteArray>& newBytes);

} // namespace dalvero::testing
