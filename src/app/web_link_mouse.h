#pragma once

#include <QObject>

class QLabel;
class QWidget;

namespace tarvo {

class Form1;

// The link lights up under the mouse and turns back over the bare entry panel; a click opens the page.
class WebLinkMouse final : public QObject {
public:
    // Owned by the link, so that it goes with it; the form is only called on a real click.
    explicit WebLinkMouse(Form1& form);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Form1& m_form;
    QLabel* m_link;
    QWidget* m_panel;
};

} // namespace tarvo
