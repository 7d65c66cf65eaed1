// Work posted to the user-interface thread, as the runtime calls its handlers: later,
// from that thread's message loop, never inside the call that caused it.
#pragma once

#include <functional>

namespace ui_queue {
// Must be called on the thread that is to run the work (the one that created the
// environment).
void Post(std::function<void()> work);
}
