#include "calc/AppError.h"
#include "calc/FuelCalc.h"
#include "calc/LocaleNames.h"
#include "calc/Numbers.h"

#include <QTest>

// The number rule, the formatter, the calculation and the locale decision, without any window.
class TestCalc : public QObject
{
    Q_OBJECT

private slots:
    void numberRule_data();
    void numberRule();
    void storedNumber_data();
    void storedNumber();
    void formatTwoDecimals_data();
    void formatTwoDecimals();
    void calculate_data();
    void calculate();
    void errors_data();
    void errors();
    void usEnglish_data();
    void usEnglish();
};

void TestCalc::numberRule_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("normalised"); // empty: not a number
    const auto row = [](const char* name, const char* locale, const char* text, const char* normalised) {
        QTest::newRow(name) << QString(locale) << QString(text) << QString(normalised);
    };
    row("empty", "en_GB", "", "");
    row("nan is no number", "en_GB", "nan", "");
    row("inf is no number", "en_GB", "-inf", "");
    row("blanks around, trailing zero", "en_GB", " 12.50 ", "12.5");
    row("15 significant digits", "en_GB", "0.12345678901234567", "0.123456789012346");
    row("comma decimal in de_DE", "de_DE", "12,50", "12,5");
    row("no grouping written in de_DE", "de_DE", "1.500", "1500");
    row("pasted cell with LF", "en_GB", "400\n", "");
    row("pasted cell with CR LF", "en_GB", " 400\r\n", "");
    row("15 digits would round above the largest double", "en_GB", "1.7976931348623157E308", "");
    row("largest 15-digit value", "en_GB", "-1.79769313486231E308", "-1.79769313486231E+308");
}

void TestCalc::numberRule()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(QString, normalised);
    const QLocale l(locale);
    QCOMPARE(Numbers::IsValidNumber(text, l), !normalised.isEmpty());
    try {
        QCOMPARE(Numbers::DoubleCheck(text, QStringLiteral("Price Per Unit"), l), normalised);
        QVERIFY(Numbers::IsValidNumber(normalised, l));
    } catch (const AppError& error) {
        QVERIFY(normalised.isEmpty());
        QCOMPARE(error.number(), -2147221503);
        QCOMPARE(error.message(),
            QStringLiteral("Double Check Failure - Price Per Unit is not a valid number please only enter numbers."));
    }
}

void TestCalc::storedNumber_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value"); // NaN: not a number
    const double none = qQNaN();
    QTest::newRow("own separator") << "en_GB"
                                   << " 41.76" << 41.76;
    QTest::newRow("written under de_DE, read under en_GB") << "en_GB"
                                                           << " 40,05" << 40.05;
    QTest::newRow("written under en_GB, read under de_DE") << "de_DE"
                                                           << " 1234.50" << 1234.5;
    QTest::newRow("negative below one") << "en_GB"
                                        << " -,50" << -0.5;
    QTest::newRow("grouping is not written") << "en_GB"
                                             << " 1.234,50" << none;
    QTest::newRow("two separators") << "de_DE"
                                    << " 1.2.3" << none;
    QTest::newRow("letters") << "en_GB"
                             << " 4O,00" << none;
    QTest::newRow("separator alone") << "en_GB"
                                     << " ," << none;
}

void TestCalc::storedNumber()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(double, value);
    const std::optional<double> read = Numbers::parseStored(text, QLocale(locale));
    QCOMPARE(read.has_value(), !qIsNaN(value));
    if (read)
        QCOMPARE(*read, value);
}

void TestCalc::formatTwoDecimals_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    const auto row = [](const char* name, const char* locale, double value, const char* text) {
        QTest::newRow(name) << QString(locale) << value << QString(text);
    };
    row("half without leading zero", "en_GB", 0.5, ".50");
    row("negative half", "en_GB", -0.5, "-.50");
    row("rounds to zero without a sign", "en_GB", -0.001, ".00");
    row("just above zero keeps its digit", "en_GB", 0.005, ".01");
    row("a twentieth", "en_GB", 0.05, ".05");
    row("no grouping", "en_US", 1234567.891, "1234567.89");
    row("decimal comma", "de_DE", 0.125, ",13");
}

void TestCalc::formatTwoDecimals()
{
    QFETCH(QString, locale);
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(Numbers::formatTwoDecimals(value, QLocale(locale)), text);
}

void TestCalc::calculate_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("inputs"); // mileage, cost, commute, price
    QTest::addColumn<bool>("gallons");
    QTest::addColumn<bool>("usEnglish");
    QTest::addColumn<QString>("lines"); // MPG, Per Gallon, Monthly Cost, Daily Cost

    const auto row = [](const char* name, QStringList inputs, bool gallons, bool us, const char* lines) {
        QTest::newRow(name) << "en_GB" << inputs << gallons << us << QString(lines);
    };
    row("litres, 5 to the gallon", { "400", "45", "10", "90" }, false, false, "40.00 4.50 48.27 2.25");
    row("litres, US English 4", { "400", "45", "10", "90" }, false, true, "32.00 3.60 48.27 2.25");
    row("gallons ignore US English", { "400", "45", "10", "4.5" }, true, true, "40.00 4.50 48.27 2.25");
    row("daily cost below one", { "300", "40", "0.5", "100" }, false, false, "37.50 5.00 2.86 .13");
    row("gallon price not divided by 100", { "400", "45", "10", "409" }, true, false, "3635.56 409.00 48.27 2.25");
    row("negative numbers accepted", { "-400", "45", "10", "90" }, false, false, "-40.00 4.50 -48.27 -2.25");
    QTest::newRow("decimal comma") << "de_DE" << QStringList { "400", "45", "0,5", "4,5" } << true << false
                                   << "40,00 4,50 2,41 ,11";
}

void TestCalc::calculate()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, inputs);
    QFETCH(bool, gallons);
    QFETCH(bool, usEnglish);
    QFETCH(QString, lines);

    const QLocale l(locale);
    const FuelCalc::Results results
        = FuelCalc::calculate({ inputs[0], inputs[1], inputs[2], inputs[3], gallons, usEnglish }, l);
    const QStringList values = lines.split(u' ');
    const QStringList captions { "MPG", "Per Gallon", "Monthly Cost", "Daily Cost" };
    const QStringList keys { "MI", "CO", "PM", "PW" };
    const QList<FuelCalc::ResultLine> shown = FuelCalc::resultLines(results, l);
    QCOMPARE(shown.size(), 4);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(shown[i].text, captions[i] + QStringLiteral(": ") + values[i]);
        QCOMPARE(shown[i].imageKey, keys[i]);
    }
}

void TestCalc::errors_data()
{
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QString>("message");
    const QString bad = QStringLiteral("Double Check Failure - %1 is not a valid number please only enter numbers.");
    QTest::newRow("letters in cost") << QStringList { "400", "abc", "10", "90" } << bad.arg("Fuel Costs");
    QTest::newRow("mileage named before price") << QStringList { "x", "45", "10", "y" } << bad.arg("Mileage");
    QTest::newRow("empty commute") << QStringList { "400", "45", "", "90" } << bad.arg("Commute Distance");
    QTest::newRow("zero price") << QStringList { "400", "45", "10", "0" } << "TripLedger - Division by zero";
    QTest::newRow("zero mileage") << QStringList { "0", "45", "10", "90" } << "TripLedger - Division by zero";
    QTest::newRow("zero over zero") << QStringList { "0", "0", "10", "90" } << "TripLedger - Overflow";
    QTest::newRow("quotient beyond a double")
        << QStringList { "1E300", "1E-300", "10", "90" } << "TripLedger - Overflow";
    // Only the monthly cost's last product leaves the range; the daily cost stays finite.
    QTest::newRow("product beyond a double") << QStringList { "1", "5E298", "1E9", "1E300" } << "TripLedger - Overflow";
}

void TestCalc::errors()
{
    QFETCH(QStringList, inputs);
    QFETCH(QString, message);
    try {
        FuelCalc::calculate({ inputs[0], inputs[1], inputs[2], inputs[3] }, QLocale(QStringLiteral("en_GB")));
        QFAIL("no error raised");
    } catch (const AppError& error) {
        QCOMPARE(error.message(), message);
    }
}

void TestCalc::usEnglish_data()
{
    QTest::addColumn<QString>("locale"); // empty: the name alone is given
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("usEnglish");
    const auto row = [](const char* name, const char* locale, const QString& languageName, bool usEnglish) {
        QTest::newRow(name) << QString(locale) << languageName << usEnglish;
    };
    row("US English", "en_US", "English (United States)", true);
    row("UK English", "en_GB", "English (United Kingdom)", false);
    row("up to a NUL", "", QStringLiteral("English (United States)") + QChar(u'\0'), true);
    row("other case", "", "english (united states)", false);
    row("blanks around", "", " English (United States) ", false);
    row("in another language", "", "Englisch (Vereinigte Staaten)", false);
    row("empty", "", "", false);
}

void TestCalc::usEnglish()
{
    QFETCH(QString, locale);
    QFETCH(QString, name);
    QFETCH(bool, usEnglish);
    if (!locale.isEmpty())
        QCOMPARE(LocaleNames::languageName(QLocale(locale)), name);
    QCOMPARE(LocaleNames::isUsEnglish(name), usEnglish);
}

QTEST_GUILESS_MAIN(TestCalc)
#include "tst_calc.moc"
