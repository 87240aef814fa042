#pragma once

#include <QByteArray>

namespace dalvero::bench {

// An export file of 32,767 pigeons over twenty year codes, and a UNIKON file
// of 32,767 lines that holds one line for each of them, in another order.
QByteArray fullExportFile();
QByteArray fullUnikonFile();

} // namespace dalvero::bench
