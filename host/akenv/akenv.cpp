#include "akenv.h"
