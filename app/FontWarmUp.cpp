#include "app/FontWarmUp.h"

#include <fontconfig/fontconfig.h>
#include <system_error>

TFontWarmUp::TFontWarmUp()
{
    // Without a thread, Qt loads the same configuration itself when it first needs it.
    try {
        m_thread = std::thread([] { FcInit(); });
    } catch (const std::system_error &) {
    }
}

TFontWarmUp::~TFontWarmUp()
{
    Wait();
}

void TFontWarmUp::Wait()
{
    if (m_thread.joinable())
        m_thread.join();
}
