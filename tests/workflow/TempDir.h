#pragma once
// Kept so that tests including it by this name go on building; the helpers live in
// support/Files.h.

#include "support/Files.h"
