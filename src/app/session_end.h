#pragma once

#include <functional>

class QObject;

namespace tarvo {

// The desktop logging out or shutting down is a close request of the main window. closeRequest runs
// it: its argument tells whether a question may be shown; it returns true when the close is
// cancelled, which cancels the log-out. questionOpen tells that the window's question is already
// open: the request is then left to it. Nothing happens where Qt has no session manager.
void watchSessionEnd(QObject& window, std::function<bool()> questionOpen,
                     std::function<bool(const std::function<bool()>& mayAsk)> closeRequest);

} // namespace tarvo
