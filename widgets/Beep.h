#pragma once
// The system beep with which controls refuse input. Tests replace the sound with a counter,
// since a refused key has no other visible effect.

#include <functional>

namespace Beep {

void Sound();

// Replaces what Sound() does (an empty function restores the system beep).
void SetHandler(std::function<void()> handler);

} // namespace Beep
