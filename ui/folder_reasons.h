#pragma once

// The two reasons are in listing.h now; this stays only until folder_list.cpp
// includes listing.h alone.
#include "platform/listing.h"
