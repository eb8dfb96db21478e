// Render state schemas.
#include "schemasupport.h"
