#pragma once
// Slow calls to outside services (the print server) never run on the user-interface thread: there
// they go to a thread of their own while the caller's windows keep painting.

#include <functional>

// Runs body and returns when it has ended, raising its error again in the caller. On the
// user-interface thread body runs on a new thread while the caller waits in a local event loop
// under a busy cursor: windows paint, but only a modal window (a progress or wait window) takes
// input meanwhile, so that the user cannot start anything else. Anywhere else body runs at once.
// Body must end on its own (its calls carry their own timeouts): it is always waited for.
void RLRunOffUserThread(const std::function<void()> &body);

// Whether the caller is the user-interface thread.
bool RLOnUserThread();
