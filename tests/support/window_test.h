#pragma once

#include "merge_input_generator.h"
#include "qt_printers.h"
#include "scratch_fixture.h"
#include "window_driver.h"

#include <QByteArray>

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

// The main window's tests: an "eksport" folder beside the scratch fixture's.
class WindowTest : public ScratchFixture {
protected:
    void SetUp() override {
        ScratchFixture::SetUp();
        exportFolder = scratch.makeFolder(QStringLiteral("eksport"));
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

    QString exportFolder;
    std::unique_ptr<WindowDriver> driver;
};

} // namespace dalvero::testing
