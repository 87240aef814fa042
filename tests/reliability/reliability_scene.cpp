#include "reliability_scene.h"

#include <QDirIterator>

namespace dalvero::testing {

QString ReliabilityScene::backupFile(const QString& dateText, const QString& suffix) const {
    return baseName + '/' + copyPath(unikonName + '_' + dateText + suffix);
}

void ReliabilityScene::build() const {
    scratch.makeFolder(baseName + '/' + kCopiesFolder);
    scratch.makeFolder(unikonFolder);
    scratch.writeFile(exportFile(), exportBytes);
    scratch.writeFile(unikonFile(), unikonBytes);
}

void ReliabilityScene::openToUnprivileged() const {
    scratch.openToEveryone();
    QDirIterator it(scratch.path(), QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        setPermissionBits(it.next(), 0755);
    setPermissionBits(absolute(baseName + '/' + kCopiesFolder), 0777);
    setPermissionBits(absolute(unikonFolder), 0777);
    setPermissionBits(absolute(unikonFile()), 0666);
}

Workflow ReliabilityScene::workflow() const {
    Workflow flow;
    flow.baseFolder = absolute(baseName);
    flow.exportFolder = absolute(exportFolder);
    flow.exportNames = {exportName};
    flow.unikonFolder = absolute(unikonFolder);
    flow.unikonName = unikonName;
    flow.today = today;
    return flow;
}

bool ReliabilityScene::holdFiles() {
    bool allHeld = true;
    for (const auto& [relative, sharing] : filesToHold) {
        m_held.push_back(std::make_unique<HeldFile>(absolute(relative), sharing));
        allHeld = allHeld && m_held.back()->isHeld();
    }
    return allHeld;
}

TreeSnapshot afterDanFil(const TreeSnapshot& before, const QString& writtenFile,
                         const QString& backupFile, const std::optional<QByteArray>& newBytes) {
    TreeSnapshot expected = before;
    const TreeEntry* old = before.find(writtenFile);
    if (!old)
        return expected;
    expected.setFile(backupFile, old->data, old->mode);
    if (newBytes)
        expected.setFile(writtenFile, *newBytes, old->mode);
    return expected;
}

} // namespace dalvero::testing
