/// @file
/// ZnCore: every public header of the library.
#pragma once

#include "zncore/ZnFile.h"
#include "zncore/ZnString.h"
#include "zncore/ZnStringArray.h"
#include "zncore/ZnSystem.h"
#include "zncore/ZnTime.h"
#include "zncore/ZnWinQuarn.h"
