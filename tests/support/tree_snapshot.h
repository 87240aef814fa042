#pragma once

#include <QByteArray>
#include <QString>

#include <map>
#include <string>

namespace dalvero::testing {

// One thing in a folder tree, as far as a user could lose or notice it: its
// kind, bytes and permissions (on Windows, the read-only attribute; see
// permissionBits).
struct TreeEntry {
    char kind = '?'; // 'f' file, 'd' folder, 'l' symbolic link
    int mode = 0;
    QByteArray data; // a file's bytes, a link's target

    bool operator==(const TreeEntry&) const = default;
};

// Everything under a folder, by path relative to it. Links are recorded,
// not followed.
class TreeSnapshot {
public:
    static TreeSnapshot of(const QString& root);

    const TreeEntry* find(const QString& relative) const;
    void setFile(const QString& relative, const QByteArray& bytes, int mode);
    void remove(const QString& relative);

    // Empty when equal, else one line for each path that differs.
    std::string differencesFrom(const TreeSnapshot& expected) const;

private:
    std::map<QString, TreeEntry> m_entries;
};

} // namespace dalvero::testing
