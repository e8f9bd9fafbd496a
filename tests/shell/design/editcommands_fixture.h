#pragma once
// The design canvas with its ribbon and command router (CommandTest).
#include "canvas_fixture.h"
