#include "akdebugtels.h"
