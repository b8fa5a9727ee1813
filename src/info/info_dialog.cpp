#include "info/info_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

#include "base/accessible_texts.h"
#include "base/controls.h"
#include "base/look.h"
#include "base/services.h"
#include "base/twips.h"
#include "info/help_text.h"
#include "info/whole_file.h"
#include "shell/window_shape.h"

namespace tarvo {
namespace {

const QColor kTeal{0, 128, 128};
constexpr int kCornerDiameter = 55;

template <typename W>
W* makeAt(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* widget = make<W>(parent, name);
    place(widget, left, top, width, height);
    return widget;
}

QColor highlightText()
{
    return QApplication::palette().color(QPalette::HighlightedText);
}

} // namespace

InfoDialog::InfoDialog(QWidget* owner, QString version, QString webAddress, Dialogs& dialogs, Desktop& desktop)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint)
    , m_owner(owner)
    , m_version(std::move(version))
    , m_webAddress(std::move(webAddress))
    , m_dialogs(dialogs)
    , m_desktop(desktop)
{
    setObjectName(QStringLiteral("InfoDialog"));
    setWindowTitle(QStringLiteral("Info Dialog - Tarvo"));
    setWindowIcon(QIcon(assetPixmap(QStringLiteral("tarvo"), QSize(32, 32))));
    setFixedSize(twipsToPixels(6285), twipsToPixels(6630));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kTeal);
    setPalette(palette);
    setAutoFillBackground(true);
    setMouseTracking(true);
    buildControls();
    setMask(roundedRegion(size(), kCornerDiameter));
}

void InfoDialog::buildControls()
{
    Label1 = makeLabel(this, "Label1", QStringLiteral("Tarvo"), {600, 120, 3615, 495}, uiFont(18, true),
                       highlightText());
    VersionLAbel = makeLabel(this, "VersionLAbel", m_version, {4320, 240, 1575, 375},
                             uiFont(9.75, true), highlightText());
    WWWLink = makeLabel(this, "WWWLink", m_webAddress, {2640, 600, 3195, 255}, uiFont(9, true, true), kInfoLinkBlue);
    WWWLink->setToolTip(QStringLiteral("zur Tarvo - Homepage"));

    // A one-pixel rule across the whole dialog in the colour of window borders.
    Line1 = makeAt<QFrame>(this, "Line1", 0, 960, 6720, 15);
    Line1->setAutoFillBackground(true);
    QPalette linePalette = Line1->palette();
    linePalette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    Line1->setPalette(linePalette);

    Text1 = makeAt<QPlainTextEdit>(this, "Text1", 240, 1080, 5895, 4935);
    Text1->setFont(uiFont(9.75, false));
    Text1->setFrameShape(QFrame::NoFrame);
    // The lines are laid out with blanks; wrapping them would undo that.
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    QPalette textPalette = Text1->palette();
    textPalette.setColor(QPalette::Base, kTeal);
    textPalette.setColor(QPalette::Text, QApplication::palette().color(QPalette::Base));
    Text1->setPalette(textPalette);
    Text1->setPlainText(helpText());
    Text1->setToolTip(QStringLiteral("Tip: Doppelklick auf das Textfeld öffnet den Text im Notepad.."));

    Close = makeAt<QPushButton>(this, "Close", 4320, 6120, 1455, 375);
    Close->setText(QStringLiteral("Schliessen"));
    Close->setFont(uiFont(9.75, true));
    Close->setToolTip(QStringLiteral("Schliesst den Info-Dialog"));
    connect(Close, &QPushButton::clicked, this, &InfoDialog::Close_Click);

    CreateShortcuts = makeLabel(this, "CreateShortcuts", QStringLiteral("Verknüpfungen erstellen"),
                                {495, 6165, 2115, 345}, uiFont(9, true, true), kInfoLinkBlue);
    CreateShortcuts->setToolTip(QStringLiteral("Erstellt die Programmverknüpfungen für den Classic-Modus"));

    static constexpr AccessibleText texts[] = {
        {"Text1", "Hilfe", "Die Hilfe zu Tarvo; Doppelklick öffnet sie im Texteditor"},
        {"WWWLink", "Tarvo-Homepage", "Öffnet die Web-Seite von Tarvo"},
        {"CreateShortcuts", nullptr, "Erstellt die Programmverknüpfungen für den Classic-Modus"},
        {"Close", nullptr, "Schliesst den Info-Dialog"},
        {"VersionLAbel", "Version", "Die Version von Tarvo"},
    };
    applyAccessibleTexts(*this, texts);
    Text1->verticalScrollBar()->setAccessibleName(QStringLiteral("Hilfe senkrecht blättern"));
    Text1->horizontalScrollBar()->setAccessibleName(QStringLiteral("Hilfe waagerecht blättern"));
    for (QScrollBar* bar : {Text1->verticalScrollBar(), Text1->horizontalScrollBar()})
        bar->setAccessibleDescription(QStringLiteral("Verschiebt den sichtbaren Teil der Hilfe"));
    for (QLabel* link : {WWWLink, CreateShortcuts}) {
        link->setMouseTracking(true);
        link->setCursor(Qt::PointingHandCursor);
    }
    for (QObject* watched : {static_cast<QObject*>(Label1), static_cast<QObject*>(VersionLAbel),
                             static_cast<QObject*>(WWWLink), static_cast<QObject*>(CreateShortcuts),
                             static_cast<QObject*>(Text1->viewport())})
        watched->installEventFilter(this);
}

void InfoDialog::Close_Click()
{
    close();
}

void InfoDialog::WWWLink_Click()
{
    setTextColour(WWWLink, highlightText());
    m_desktop.openUrl(QUrl(m_webAddress));
}

void InfoDialog::Text1_DblClick()
{
    // Written as the editor shows it: CR LF line ends, and one more line end after the text.
    const QString path = QDir::current().absoluteFilePath(QStringLiteral("TarvoInfo.txt"));
    QString text = Text1->toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    text += QLatin1String("\r\n");
    if (!writeWholeFile(path, text.toUtf8()))
        return;
    m_desktop.openInTextEditor(path);
}

void InfoDialog::setLinksColour()
{
    setTextColour(WWWLink, kInfoLinkBlue);
    setTextColour(CreateShortcuts, kInfoLinkBlue);
}

QWidget* InfoDialog::questionParent()
{
    // Run from start-up the dialog stays hidden; the questions then belong to the main window.
    return isVisible() ? static_cast<QWidget*>(this) : m_owner;
}

void InfoDialog::showEvent(QShowEvent* event)
{
    const QScreen* screen = m_owner != nullptr && m_owner->screen() != nullptr ? m_owner->screen() : this->screen();
    if (screen != nullptr)
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    QDialog::showEvent(event);
}

bool InfoDialog::pressForDrag(QWidget* widget, const QMouseEvent& mouse, bool closeOnRight)
{
    m_drag.press(widget, mouse.button(), mouse.globalPosition().toPoint());
    if (closeOnRight && mouse.button() == Qt::RightButton && mouse.modifiers() == Qt::NoModifier) {
        Close_Click();
        return true;
    }
    return false;
}

void InfoDialog::mousePressEvent(QMouseEvent* event)
{
    pressForDrag(this, *event, true);
    event->accept();
}

void InfoDialog::mouseMoveEvent(QMouseEvent* event)
{
    setLinksColour();
    m_drag.move(this, *event);
}

void InfoDialog::mouseReleaseEvent(QMouseEvent*)
{
    m_drag.disarm();
}

void InfoDialog::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Close_Click();
}

bool InfoDialog::eventFilter(QObject* watched, QEvent* event)
{
    QWidget* widget = qobject_cast<QWidget*>(watched);
    const bool isText = widget == Text1->viewport();
    const bool isLink = widget == WWWLink || widget == CreateShortcuts;
    const auto* mouse = dynamic_cast<const QMouseEvent*>(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (isLink)
            return true;
        // The text field keeps its own press (the cursor goes there); the titles only drag.
        return pressForDrag(isText ? static_cast<QWidget*>(Text1) : widget, *mouse, isText) || !isText;
    case QEvent::MouseMove:
        if (isLink) {
            setTextColour(widget, highlightText());
            return true;
        }
        return m_drag.move(isText ? static_cast<QWidget*>(Text1) : widget, *mouse);
    case QEvent::MouseButtonRelease:
        m_drag.disarm();
        if (isLink) {
            if (mouse->button() == Qt::LeftButton && widget->rect().contains(mouse->position().toPoint())) {
                if (widget == WWWLink)
                    WWWLink_Click();
                else
                    CreateShortcuts_Click();
            }
            return true;
        }
        return !isText;
    case QEvent::MouseButtonDblClick:
        if (isText && mouse->button() == Qt::LeftButton)
            Text1_DblClick();
        // Double clicks on the titles and links are theirs, not the dialog's.
        return !isText;
    case QEvent::ContextMenu:
        // A right click on the text closes the dialog; with a modifier key it offers the usual menu.
        return isText && static_cast<const QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Mouse
               && static_cast<const QContextMenuEvent*>(event)->modifiers() == Qt::NoModifier;
    default:
        return QDialog::eventFilter(watched, event);
    }
}

} // namespace tarvo
