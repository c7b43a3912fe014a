#pragma once
// The event pump of the windows: lets the toolkit handle pending window events (paint,
// clicks, a Stop click on the button that started the loop) from inside a long loop.
#include "numerics/event_pump.h"
#include "numerics/library_namespaces.h"

EventPump QtEventPump();
