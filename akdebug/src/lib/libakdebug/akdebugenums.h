// Name tables of the enumerations the module shows.
#pragma once

#include "akdebugattributeenum.h"
