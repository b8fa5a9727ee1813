#include <QCursor>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include "shell/window_shape.h"

using namespace tarvo;

namespace {

// Each row of a corner holds the pixels from its inset on, at all four corners alike.
bool hasCorners(const QRegion& region, QSize size, const std::vector<int>& insets)
{
    const int w = size.width();
    const int h = size.height();
    for (int row = 0; row < int(insets.size()); ++row) {
        const int in = insets[std::size_t(row)];
        for (const int y : { row, h - 1 - row }) {
            if (!region.contains(QPoint(in, y)) || !region.contains(QPoint(w - 1 - in, y)))
                return false;
            if (in > 0 && (region.contains(QPoint(in - 1, y)) || region.contains(QPoint(w - in, y))))
                return false;
        }
    }
    return region.boundingRect() == QRect(QPoint(0, 0), size);
}

void sendMouse(QWidget* to, QEvent::Type type, QPoint global, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, to->mapFromGlobal(global), global, Qt::LeftButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(to, &event);
}

} // namespace

class TestWindowShape : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The rows of Windows' CreateRoundRectRgn corners, from the top down.
    void corners_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<std::vector<int>>("insets");
        QTest::newRow("15, the main window") << 15 << 15 << std::vector<int> { 5, 3, 2, 1, 1, 0, 0 };
        QTest::newRow("16, even") << 16 << 16 << std::vector<int> { 5, 4, 2, 2, 1, 0, 0, 0 };
        QTest::newRow("55, the info dialog") << 55 << 55
                                             << std::vector<int> { 22, 19, 16, 14, 13, 11, 10, 9, 8, 7, 6, 5, 5, 4, 3,
                                                    3, 2, 2, 2, 1, 1, 1, 0, 0, 0, 0, 0 };
        QTest::newRow("3") << 3 << 3 << std::vector<int> { 1 };
        QTest::newRow("4 x 7, cut to a narrow window") << 4 << 7 << std::vector<int> { 2, 1, 0 };
        QTest::newRow("7 x 4, cut to a low window") << 7 << 4 << std::vector<int> { 1, 0 };
    }
    void corners()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(std::vector<int>, insets);
        QCOMPARE(cornerInsets(width, height), insets);
        if (width == height) {
            const QSize size(367, 185);
            QVERIFY(hasCorners(roundedRegion(size, width), size, insets));
        }
    }

    void degenerateSizes()
    {
        QCOMPARE(roundedRegion(QSize(40, 30), 1), QRegion(0, 0, 40, 30));
        QCOMPARE(roundedRegion(QSize(6, 6), 15), roundedRegion(QSize(6, 6), 6)); // no larger than the window
    }

    void dialogHelper()
    {
        QWidget dialog;
        dialog.resize(420, 300);
        setRoundedRegion(&dialog, 55);
        QVERIFY(hasCorners(dialog.mask(), dialog.size(), cornerInsets(55, 55)));
    }

    // The offscreen platform has no system move: the window follows the mouse itself.
    void dragFollowsTheMouseUntilRelease()
    {
        QWidget window;
        auto* handle = new QPushButton(&window);
        window.move(200, 200);
        window.show();
        QCursor::setPos(300, 300);
        dragWindow(handle, Qt::RightButton);
        sendMouse(handle, QEvent::MouseMove, QPoint(310, 310), Qt::RightButton);
        QCOMPARE(window.pos(), QPoint(200, 200));

        dragWindow(handle, Qt::LeftButton);
        sendMouse(handle, QEvent::MouseMove, QPoint(330, 320), Qt::LeftButton);
        sendMouse(handle, QEvent::MouseMove, QPoint(325, 340), Qt::LeftButton);
        QCOMPARE(window.pos(), QPoint(225, 240));
        sendMouse(handle, QEvent::MouseButtonRelease, QPoint(325, 340), Qt::NoButton);
        sendMouse(handle, QEvent::MouseMove, QPoint(400, 400), Qt::LeftButton);
        QCOMPARE(window.pos(), QPoint(225, 240));

        // A release that went elsewhere ends the drag at the next move.
        dragWindow(handle, Qt::LeftButton);
        sendMouse(handle, QEvent::MouseMove, QPoint(420, 420), Qt::NoButton);
        sendMouse(handle, QEvent::MouseMove, QPoint(440, 440), Qt::LeftButton);
        QCOMPARE(window.pos(), QPoint(225, 240));
    }
};

QTEST_MAIN(TestWindowShape)
#include "tst_window_shape.moc"
