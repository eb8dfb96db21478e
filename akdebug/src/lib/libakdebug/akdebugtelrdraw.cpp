#include "akdebugtelrdraw.h"
