#pragma once
// The owner of a memory DC and its bitmap lives in UniqueMemoryDc.h; this
// name stays for the files that include it.
#include "ui/windows/UniqueMemoryDc.h"
