// Visibility of the module's interface: the library is built with hidden symbols, and only the
// entry function and the classes of the public headers (include/akdebug) are exported.
#pragma once

#define AKDEBUG_API __attribute__((visibility("default")))

// Source names reported by the module's debug assertions.
#define AKDEBUG_SOURCE_STREAM "akdebug/src/lib/libakdebug/akdebug"
#define AKDEBUG_SOURCE_ATTRIBUTE "akdebug/src/lib/libakdebug/akdebugattribute"
#define AKDEBUG_SOURCE_TYPEDEF "akdebug/src/lib/libakdebug/akdebugtypedef"
#define AKDEBUG_SOURCE_MODULE "akdebug/src/lib/libakdebug/akdebugmodule"
