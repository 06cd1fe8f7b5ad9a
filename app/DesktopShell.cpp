#include "app/DesktopShell.h"

#include <QDesktopServices>

namespace DesktopShell {
namespace {
std::function<void(const QUrl &)> &opener()
{
    static std::function<void(const QUrl &)> o;
    return o;
}
} // namespace

void Open(const QString &target)
{
    QUrl url(target, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty())
        url = QUrl::fromUserInput(target);
    if (opener())
        opener()(url);
    else
        QDesktopServices::openUrl(url);
}

void SetOpener(std::function<void(const QUrl &)> o) { opener() = std::move(o); }

} // namespace DesktopShell
