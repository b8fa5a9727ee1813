#pragma once

#include <functional>

#include <QObject>

class QLabel;
class QWidget;

namespace tarvo {

// The link lights up under the mouse and turns back over the bare entry panel; a click opens the page.
class WebLinkMouse final : public QObject {
public:
    // Owned by the link, so that it goes with it; open runs only on a real click. Watches the link
    // and panel, the bare entry panel around it.
    WebLinkMouse(QLabel& link, QWidget& panel, std::function<void()> open);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_link;
    QWidget* m_panel;
    std::function<void()> m_open;
};

} // namespace tarvo
