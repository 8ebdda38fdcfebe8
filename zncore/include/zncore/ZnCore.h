// ZnCore: every public header of the library.
#pragma once

#include "zncore/ZnString.h"
#include "zncore/ZnStringArray.h"
