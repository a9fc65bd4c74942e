#include "calc/AppError.h"
#include "calc/Numbers.h"

#include <QTest>

class TestNumbers : public QObject
{
    Q_OBJECT

private slots:
    void isValidNumber_data();
    void isValidNumber();
    void doubleCheck_data();
    void doubleCheck();
    void doubleCheckNamesTheField();
    void formatTwoDecimals_data();
    void formatTwoDecimals();
};

void TestNumbers::isValidNumber_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");

    QTest::newRow("empty") << "en_GB" << "" << false;
    QTest::newRow("blanks only") << "en_GB" << "   " << false;
    QTest::newRow("trailing letters") << "en_GB" << "12abc" << false;
    QTest::newRow("lone minus") << "en_GB" << "-" << false;
    QTest::newRow("blanks around") << "en_GB" << " 42 " << true;
    QTest::newRow("negative") << "en_GB" << "-3.5" << true;
    QTest::newRow("exponent") << "en_GB" << "1.5E3" << true;
    QTest::newRow("too large for a double") << "en_GB" << "1E400" << false;
    QTest::newRow("nan is no number") << "en_GB" << "nan" << false;
    QTest::newRow("inf is no number") << "en_GB" << "inf" << false;
    QTest::newRow("negative inf is no number") << "en_GB" << "-inf" << false;
    QTest::newRow("infinity is no number") << "en_GB" << "infinity" << false;
    QTest::newRow("grouped thousands") << "en_US" << "1,500" << true;
    QTest::newRow("comma decimal in en_US") << "en_US" << "12,5" << false;
    QTest::newRow("point decimal in en_US") << "en_US" << "12.5" << true;
    QTest::newRow("comma decimal in de_DE") << "de_DE" << "12,5" << true;
    QTest::newRow("point decimal in de_DE") << "de_DE" << "12.5" << false;
    QTest::newRow("nan in de_DE") << "de_DE" << "nan" << false;
}

void TestNumbers::isValidNumber()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(Numbers::IsValidNumber(text, QLocale(locale)), valid);
    // The same rule decides the conversion callers make afterwards.
    QCOMPARE(Numbers::parse(text, QLocale(locale)).has_value(), valid);
}

void TestNumbers::doubleCheck_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("normalised");

    QTest::newRow("blanks and trailing zero dropped") << "en_GB" << " 12.50 " << "12.5";
    QTest::newRow("integer") << "en_GB" << " 42 " << "42";
    QTest::newRow("no digit grouping") << "en_US" << "1,500" << "1500";
    QTest::newRow("exponent expanded") << "en_GB" << "1.5E3" << "1500";
    QTest::newRow("15 significant digits") << "en_GB" << "0.12345678901234567" << "0.123456789012346";
    QTest::newRow("negative kept") << "en_GB" << "-7" << "-7";
    QTest::newRow("decimal comma kept") << "de_DE" << "12,50" << "12,5";
    QTest::newRow("no grouping in de_DE") << "de_DE" << "1.500" << "1500";
}

void TestNumbers::doubleCheck()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(QString, normalised);
    const QString result = Numbers::DoubleCheck(text, QStringLiteral("Mileage"), QLocale(locale));
    QCOMPARE(result, normalised);
    QVERIFY(Numbers::IsValidNumber(result, QLocale(locale)));
}

void TestNumbers::doubleCheckNamesTheField()
{
    for (const char* text : { "", "12abc", "nan", "1E400" }) {
        try {
            Numbers::DoubleCheck(QLatin1String(text), QStringLiteral("Price Per Unit"), QLocale(QStringLiteral("en_GB")));
            QFAIL("no error raised");
        } catch (const AppError& error) {
            QCOMPARE(error.number(), -2147221503);
            QCOMPARE(error.message(),
                     QStringLiteral("Double Check Failure - Price Per Unit is not a valid number please only enter numbers."));
        }
    }
}

void TestNumbers::formatTwoDecimals_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("half without leading zero") << "en_GB" << 0.5 << ".50";
    QTest::newRow("zero") << "en_GB" << 0.0 << ".00";
    QTest::newRow("negative half") << "en_GB" << -0.5 << "-.50";
    QTest::newRow("tiny negative shows no sign") << "en_GB" << -0.001 << ".00";
    QTest::newRow("rounded up") << "en_GB" << 48.2673 << "48.27";
    QTest::newRow("two decimals added") << "en_GB" << 40.0 << "40.00";
    QTest::newRow("no grouping") << "en_US" << 1234567.891 << "1234567.89";
    QTest::newRow("decimal comma") << "de_DE" << 0.125 << ",13";
    QTest::newRow("no grouping in de_DE") << "de_DE" << 12345.5 << "12345,50";
}

void TestNumbers::formatTwoDecimals()
{
    QFETCH(QString, locale);
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(Numbers::formatTwoDecimals(value, QLocale(locale)), text);
}

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
