#pragma once

#include <QDialog>

namespace tarvo {

// The help and version window.
class InfoDialog : public QDialog {
    Q_OBJECT

public:
    explicit InfoDialog(QWidget* parent = nullptr);

    void CreateShortcuts_Click();
    void Close_Click();
};

} // namespace tarvo
