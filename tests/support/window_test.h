#pragma once

#include "merge_input_generator.h"
#include "qt_printers.h"
#include "scratch_folder.h"
#include "window_driver.h"

#include <QByteArray>
#include <QDir>

#include <gtest/gtest.h>

#include <memory>

namespace dalvero::testing {

// A pigeon record: characters 1 to 3 "DK-", the year code at 5 to 6, the ring
// number at 8 to 11 and the marker at 12.
inline QByteArray record(const QByteArray& year, const QByteArray& ring, char marker = 'F') {
    return "DK-X" + year + "-" + ring + marker;
}
// The match key an earlier run wrote for that record: characters 1 to 12 of
// its UNIKON line, before the flag and the tail field.
inline QByteArray matchKey(const QByteArray& year, const QByteArray& ring) {
    return keyOf(record(year, ring));
}

// Each test runs in a fresh scratch folder that is also the process's current
// folder (where both picker chains start), with "eksport" and "unikon"
// folders in it and the backup folder made as start-up makes it.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch.isValid());
        m_previousFolder = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(scratch.path()));
        scratch.makeFolder(QStringLiteral("UNI_KOP"));
        exportFolder = scratch.makeFolder(QStringLiteral("eksport"));
        unikonFolder = scratch.makeFolder(QStringLiteral("unikon"));
    }
    void TearDown() override {
        driver.reset();
        QDir::setCurrent(m_previousFolder);
    }

    WindowDriver& start() {
        driver = std::make_unique<WindowDriver>(scratch.path());
        checkListModels(driver->window());
        return *driver;
    }
    QString writeExport(const QString& name, const QByteArray& contents) {
        return scratch.writeFile(QStringLiteral("eksport/") + name, contents);
    }
    QString writeUnikon(const QString& name, const QByteArray& contents) {
        return scratch.writeFile(QStringLiteral("unikon/") + name, contents);
    }
    QStringList backups() const {
        return folderEntries(scratch.filePath(QStringLiteral("UNI_KOP")));
    }

    ScratchFolder scratch;
    QString exportFolder;
    QString unikonFolder;
    std::unique_ptr<WindowDriver> driver;

private:
    QString m_previousFolder;
};

} // namespace dalvero::testing
