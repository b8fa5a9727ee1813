// The "Neue Version?" link of the entry panel.
#include "app/form1.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>

#include "base/look.h"

namespace tarvo {
namespace {

// The link lights up under the mouse and turns back over the bare entry panel; a click opens the page.
class WebLinkMouse final : public QObject {
public:
    // Owned by the link, so that it goes with it; the form is only called on a real click.
    explicit WebLinkMouse(Form1& form)
        : QObject(form.WWWLink)
        , m_form(form)
        , m_link(form.WWWLink)
        , m_panel(form.Eingabemaske)
    {
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_panel) {
            if (event->type() == QEvent::MouseMove)
                setTextColour(m_link, colours::link);
            return false;
        }
        switch (event->type()) {
        case QEvent::MouseMove:
            setTextColour(m_link, QApplication::palette().color(QPalette::HighlightedText));
            return true;
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<const QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton && m_link->rect().contains(mouse->position().toPoint()))
                m_form.WWWLink_Click();
            return true;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            // The link's presses are its own: they neither drag nor minimise the window.
            return true;
        default:
            return false;
        }
    }

private:
    Form1& m_form;
    QLabel* m_link;
    QWidget* m_panel;
};

} // namespace

void Form1::connectWebLink()
{
    WWWLink->setMouseTracking(true);
    WWWLink->setCursor(Qt::PointingHandCursor);
    auto* mouse = new WebLinkMouse(*this);
    WWWLink->installEventFilter(mouse);
    Eingabemaske->installEventFilter(mouse);
}

void Form1::WWWLink_Click()
{
    m_services.desktop->openUrl(QUrl(GV_URL));
    // The version is told only while the entry panel is up, not over a running countdown.
    if (!Eingabemaske->isHidden())
        m_services.dialogs->message(this, MessageIcon::Information, QStringLiteral("Tarvo ") + GetVersionNumber(),
                                    QStringLiteral("Ihr aktueller Tarvo hat die Versionsnummer:\r\r")
                                        + GetVersionNumber() + QLatin1Char('\r'));
}

} // namespace tarvo
