#pragma once
// Loads fontconfig's configuration and font lists on a thread of its own while the application
// connects to the display. Connecting is mostly waiting on the display server; the first text the
// window measures would otherwise read and parse that configuration on the user-interface thread.

#include <thread>

class TFontWarmUp
{
public:
    TFontWarmUp();
    ~TFontWarmUp();
    TFontWarmUp(const TFontWarmUp &) = delete;
    TFontWarmUp &operator=(const TFontWarmUp &) = delete;

    // Before the first font is looked up: Qt would otherwise start a second load of its own.
    void Wait();

private:
    std::thread m_thread;
};
