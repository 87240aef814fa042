#pragma once

#include "scratch_folder.h"

#include <QDir>

#include <gtest/gtest.h>

namespace dalvero::testing {

// Each window test runs in a fresh scratch folder that is also the process's
// current folder (where the pickers start and the programs keep their
// backups), with the backup folder made as start-up makes it and a "unikon"
// folder. The folder before is current again only in the destructor: the
// derived fixture's window is gone by then.
class ScratchFixture : public ::testing::Test {
public:
    ~ScratchFixture() override { QDir::setCurrent(m_previousFolder); }
    void SetUp() override {
        ASSERT_TRUE(scratch.isValid());
        ASSERT_TRUE(QDir::setCurrent(scratch.path()));
        scratch.makeFolder(kCopiesFolder);
        unikonFolder = scratch.makeFolder(QStringLiteral("unikon"));
    }
    QStringList backups() const { return folderEntries(scratch.filePath(kCopiesFolder)); }

    ScratchFolder scratch;
    QString unikonFolder;

private:
    QString m_previousFolder = QDir::currentPath();
};

} // namespace dalvero::testing
