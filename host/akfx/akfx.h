// The effects library (stand-in).
#pragma once

#include <akapp.h>
#include <akenv.h>
