#include "akdebugtelrobjects.h"
