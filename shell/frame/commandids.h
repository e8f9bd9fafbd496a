#pragma once
// The command ids are named in platform/commandids.h, below every layer
// that sends or handles them; shell code may include either header.
#include "platform/commandids.h"
