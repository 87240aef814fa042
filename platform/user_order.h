#pragma once

#include <QStringList>

namespace dalvero {

// Names sorted the way the user reads them: by the rules of the user's
// language (Danish Æ, Ø, Å after Z), letter case aside, numbers by value.
void sortForUser(QStringList& names);

} // namespace dalvero
