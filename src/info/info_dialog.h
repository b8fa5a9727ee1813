#pragma once

#include <QColor>
#include <QDialog>
#include <QString>

#include "shell/drag_start.h"

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tarvo {

class Desktop;
class Dialogs;

// The colour of the dialog's two links while the mouse is elsewhere.
inline const QColor kInfoLinkBlue{192, 208, 255};

// The help and version window: the option list, the web page link and the link that creates
// Tarvo's launchers. Built afresh for each opening; the main window runs it modally.
class InfoDialog : public QDialog {
    Q_OBJECT

public:
    // owner: the main window, which the dialog stands over and whose questions it borrows while it
    // is not shown itself; version: the version text; webAddress: the product's web page.
    InfoDialog(QWidget* owner, QString version, QString webAddress, Dialogs& dialogs, Desktop& desktop);

    // Asks where launchers should go and writes them. Start-up's SETUP calls it on a dialog that is
    // never shown.
    void CreateShortcuts_Click();
    void Close_Click();
    void WWWLink_Click();
    // Writes the help text to "TarvoInfo.txt" in the working directory and opens it in the editor.
    void Text1_DblClick();

    QLabel* Label1 = nullptr;
    QLabel* VersionLAbel = nullptr;
    QLabel* WWWLink = nullptr;
    QFrame* Line1 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QPushButton* Close = nullptr;
    QLabel* CreateShortcuts = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void setLinksColour();
    // Remembers a left press as the possible start of a drag; a right one without modifier keys
    // closes the dialog when closeOnRight. True when the press was used up.
    bool pressForDrag(QWidget* widget, const QMouseEvent& mouse, bool closeOnRight);
    QWidget* questionParent();

    QWidget* m_owner;
    QString m_version;
    QString m_webAddress;
    Dialogs& m_dialogs;
    Desktop& m_desktop;
    DragStart m_drag{*this};
};

} // namespace tarvo
