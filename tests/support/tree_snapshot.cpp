#include "tree_snapshot.h"

#include "scratch_folder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <set>

namespace dalvero::testing {

namespace {

TreeEntry entryAt(const QString& path) {
    TreeEntry entry;
    const QFileInfo info(path);
    if (info.isSymbolicLink()) {
        entry.kind = 'l'; // its mode is not kept by every file system
        entry.data = QFile::encodeName(info.symLinkTarget());
    } else if (info.isDir()) {
        entry.kind = 'd';
        entry.mode = permissionBits(path);
    } else if (info.isFile()) {
        entry.kind = 'f';
        entry.mode = permissionBits(path);
        entry.data = fileBytes(path);
    }
    return entry;
}

std::string describe(const TreeEntry* entry) {
    if (!entry)
        return "absent";
    std::string text(1, entry->kind);
    text += " mode " + std::to_string(entry->mode) + " " + std::to_string(entry->data.size()) +
            " bytes";
    if (entry->data.size() <= 40)
        text += " \"" + entry->data.toPercentEncoding(" _-.").toStdString() + "\"";
    return text;
}

} // namespace

TreeSnapshot TreeSnapshot::of(const QString& root) {
    TreeSnapshot snapshot;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    const QDir base(root);
    while (it.hasNext()) {
        const QString path = it.next();
        snapshot.m_entries[base.relativeFilePath(path)] = entryAt(path);
    }
    return snapshot;
}

const TreeEntry* TreeSnapshot::find(const QString& relative) const {
    const auto it = m_entries.find(relative);
    return it == m_entries.end() ? nullptr : &it->second;
}

void TreeSnapshot::setFile(const QString& relative, const QByteArray& bytes, int mode) {
    m_entries[relative] = TreeEntry{'f', mode, bytes};
}

void TreeSnapshot::remove(const QString& relative) {
    m_entries.erase(relative);
}

std::string TreeSnapshot::differencesFrom(const TreeSnapshot& expected) const {
    std::set<QString> paths;
    for (const auto& [path, entry] : m_entries)
        paths.insert(path);
    for (const auto& [path, entry] : expected.m_entries)
        paths.insert(path);
    std::string text;
    for (const QString& path : paths) {
        const TreeEntry* want = expected.find(path);
        const TreeEntry* have = find(path);
        if (want && have && *want == *have)
            continue;
        text += path.toStdString() + ": expected " + describe(want) + ", found " + describe(have) +
                "\n";
    }
    return text;
}

} // namespace dalvero::testing
