#include "info/system_desktop.h"

#include <QDesktopServices>

namespace tarvo {
namespace {

class SystemDesktop final : public Desktop {
public:
    bool openUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }
    bool openInTextEditor(const QString& path) override
    {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    }
};

} // namespace

std::unique_ptr<Desktop> makeDesktop()
{
    return std::make_unique<SystemDesktop>();
}

} // namespace tarvo
