#include "akfx.h"
