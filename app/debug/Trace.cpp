#include "app/debug/Trace.h"

void Trace(const char* /*format*/, ...) {}
