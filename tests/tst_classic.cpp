#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/twips.h"
#include "fakes.h"

using namespace tarvo;
using namespace tarvo::test;

namespace {

// True when the button's picture has any coloured pixel; the grey pictures have none.
bool inColour(const QPushButton* button)
{
    const QImage image = button->icon().pixmap(QSize(31, 31)).toImage();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() > 0 && (c.red() != c.green() || c.green() != c.blue()))
                return true;
        }
    }
    return false;
}

// The looks of the five buttons, left to right: 'C' colour or 'g' grey, upper case with a bold caption.
QString looks(const Form1& f)
{
    const std::pair<QPushButton*, QLabel*> pairs[] = {{f.LogOffBtn, f.Label6}, {f.RuhezustandBtn, f.Label1},
                                                      {f.StandbyBtn, f.Label2}, {f.NeustartBtn, f.Label3},
                                                      {f.AusschaltenBtn, f.Label4}};
    QString result;
    for (const auto& [button, caption] : pairs) {
        const QChar c = inColour(button) ? QLatin1Char('c') : QLatin1Char('g');
        result += caption->font().bold() ? c.toUpper() : c;
    }
    return result;
}

void moveTo(QWidget* widget)
{
    QTest::mouseMove(widget, QPoint(2, 2));
    QTest::mouseMove(widget, QPoint(5, 5));
}

} // namespace

class TestClassic : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void hover()
    {
        Harness h(QStringLiteral("C"));
        h.load();
        Form1& f = *h.form;
        moveTo(f.LogOffBtn);
        QTRY_COMPARE(looks(f), QStringLiteral("Ccccc"));
        moveTo(f.RuhezustandBtn);
        QTRY_COMPARE(looks(f), QStringLiteral("cCccc"));
        moveTo(f.StandbyBtn);
        QTRY_COMPARE(looks(f), QStringLiteral("ccCcc"));
        moveTo(f.AusschaltenBtn);
        QTRY_COMPARE(looks(f), QStringLiteral("ccccC"));
        QTest::mouseMove(f.Picture1, QPoint(20, 20));
        QTRY_COMPARE(looks(f), QStringLiteral("ccccc"));
        QVERIFY(h.power->requests.empty());

        // The standard view: the pointer changes nothing.
        Harness plain;
        plain.load();
        QTest::mouseClick(plain.form->NeustartBtn, Qt::LeftButton);
        QCOMPARE(looks(*plain.form), QStringLiteral("gggCg"));
        moveTo(plain.form->LogOffBtn);
        moveTo(plain.form->StandbyBtn);
        QTest::mouseMove(plain.form->Picture1, QPoint(20, 20));
        QCOMPARE(looks(*plain.form), QStringLiteral("gggCg"));
    }

    void leave_data()
    {
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("after");
        QTest::newRow("0") << "0" << "60";
        QTest::newRow("empty") << "" << "60";
        QTest::newRow("25") << "25" << "25";
        QTest::newRow("no number") << "x" << "60";
        QTest::newRow("beyond 16 bits") << "40000" << "60";
    }
    void leave()
    {
        QFETCH(QString, minutes);
        QFETCH(QString, after);
        Harness h(QStringLiteral("C"));
        h.load();
        Form1& f = *h.form;
        QCOMPARE(looks(f), QStringLiteral("ccccc"));
        f.ZeitEingabe->setText(minutes);
        const std::int32_t seconds = f.RemainingSeconds;
        QTest::mouseClick(f.ClassicModeShowTimer, Qt::LeftButton);
        QVERIFY(!f.ClassicMode);
        QCOMPARE(f.ZeitEingabe->text(), after);
        QCOMPARE(f.RemainingSeconds, seconds);
        QVERIFY(!f.JetztBtn->isHidden());
        QVERIFY(f.ClassicModeShowTimer->isHidden());
        QVERIFY(f.Abdeckung->isHidden());
        QCOMPARE(f.JetztBtn->text(), QStringLiteral("Sofort ausschalten"));
        QCOMPARE(f.Abbruch->text(), QStringLiteral("&Abbrechen"));
        QCOMPARE(f.height(), twipsToPixels(kFullHeightTwips));
        QCOMPARE(looks(f), QStringLiteral("ggggg"));
        // Now a click only selects.
        moveTo(f.LogOffBtn);
        QTest::mouseClick(f.LogOffBtn, Qt::LeftButton);
        QTRY_COMPARE(looks(f), QStringLiteral("Cgggg"));
        QVERIFY(h.power->requests.empty());
    }
};

QTEST_MAIN(TestClassic)
#include "tst_classic.moc"
