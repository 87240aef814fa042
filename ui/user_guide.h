#pragma once

#include <QString>

class QWidget;

namespace dalvero {

class WindowServices;

// The user guide's page for the program in `programFolder`: beside it (the
// Windows install tree), else in share/dalvero in the nearest folder above
// it (/usr/bin gives /usr/share/dalvero; in the build tree the programs and
// the tests lie one or two folders below it). Empty when there is none.
QString findUserGuide(const QString& programFolder);

// What F1 and "Hjælp" do: the page in the system's browser, or a message
// naming where it was looked for.
void showUserGuide(QWidget* parent, WindowServices& seam);

} // namespace dalvero
