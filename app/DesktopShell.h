#pragma once
// Hands addresses to the desktop (browser, mail program). The opener is replaceable so that
// tests can see what would be opened; the result is not looked at, as a missing program is
// not worth a message.

#include <QString>
#include <QUrl>
#include <functional>

namespace DesktopShell {

// A target without a scheme ("www.example.org") is taken as a web address.
void Open(const QString &target);

// Replaces the opener (an empty function restores the desktop's own).
void SetOpener(std::function<void(const QUrl &)> opener);

} // namespace DesktopShell
