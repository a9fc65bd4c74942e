#include "views/Contrast.h"

#include <QTest>

// The captions' colour rule, without any window: the designed colour where it can be read, else the least change.
class TestContrast : public QObject
{
    Q_OBJECT

private slots:
    void caption_data()
    {
        QTest::addColumn<QColor>("designed");
        QTest::addColumn<QColor>("text"); // the palette's
        QTest::addColumn<QColor>("background");
        QTest::addColumn<QColor>("expected");
        const QColor blue(0, 0, 192), green(0, 128, 0), lightGrey(0xefefef), darkGrey(0x222020);
        QTest::newRow("blue on light grey: as designed") << blue << QColor(Qt::black) << lightGrey << blue;
        QTest::newRow("green on light grey, 4.47:1: the least darker")
            << green << QColor(Qt::black) << lightGrey << QColor(0, 127, 0);
        QTest::newRow("blue on dark grey: lighter, the least step")
            << blue << QColor(Qt::white) << darkGrey << QColor(0x77, 0x77, 0xff);
        QTest::newRow("green on dark grey: lighter") << green << QColor(Qt::white) << darkGrey << QColor(0, 158, 0);
        QTest::newRow("white on black: the palette's text")
            << blue << QColor(Qt::white) << QColor(Qt::black) << QColor(Qt::white);
        QTest::newRow("black on white: the palette's text")
            << green << QColor(Qt::black) << QColor(Qt::white) << QColor(Qt::black);
    }

    void caption()
    {
        QFETCH(QColor, designed);
        QFETCH(QColor, text);
        QFETCH(QColor, background);
        QFETCH(QColor, expected);
        const QColor colour = Contrast::caption(designed, text, background);
        QCOMPARE(colour.name(), expected.name());
        QVERIFY(Contrast::ratio(colour, background) >= 4.5);
    }
};

QTEST_GUILESS_MAIN(TestContrast)
#include "tst_contrast.moc"
