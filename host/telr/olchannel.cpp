// The render channel and the window's pixel buffers.
#include "olchannel.h"

EM_CLASS_TYPE_DEFINE(olChannel, "olChannel", emBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(olWindow::PixelBuffer, "olWindow::PixelBuffer", nullptr)
