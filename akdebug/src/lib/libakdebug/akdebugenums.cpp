#include "akdebugenums.h"
