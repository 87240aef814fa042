#include "tree_snapshot.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <set>
#include <sys/stat.h>

namespace dalvero::testing {

namespace {

TreeEntry entryAt(const QString& path) {
    TreeEntry entry;
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return entry;
    entry.mode = info.st_mode & 07777;
    if (S_ISLNK(info.st_mode)) {
        entry.kind = 'l';
        entry.mode = 0; // not kept by every file system
        char target[4096];
        const ssize_t n = ::readlink(QFile::encodeName(path).constData(), target, sizeof target);
        if (n >= 0)
            entry.data = QByteArray(target, n);
    } else if (S_ISDIR(info.st_mode)) {
        entry.kind = 'd';
    } else if (S_ISREG(info.st_mode)) {
        entry.kind = 'f';
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            entry.data = file.readAll();
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

void TreeSnapshot::setFile(const QString& relative, const QByteArray& bytes, mode_t mode) {
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
