// The environment library (stand-in).
#pragma once

#include <akapp.h>
