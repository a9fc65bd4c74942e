#include "calc/AppError.h"
#include "calc/FuelCalc.h"
#include "calc/LocaleNames.h"
#include "calc/Numbers.h"

#include <QTest>

#include <limits>

// The number rule, the formatter, the calculation and the locale decision, without any window.
class TestCalc : public QObject
{
    Q_OBJECT

private slots:

    void numbers_data()
    {
        QTest::addColumn<QString>("rule"); // DoubleCheck, parseStored, formatTwoDecimals or isUsEnglish
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result"); // empty: not a number
        const auto row
            = [](const char* name, const char* rule, const char* locale, const char* text, const char* result) {
                  QTest::newRow(name) << QString(rule) << QString(locale) << QString(text) << QString(result);
              };
        row("empty", "DoubleCheck", "en_GB", "", "");
        row("nan is no number", "DoubleCheck", "en_GB", "nan", "");
        row("inf is no number", "DoubleCheck", "en_GB", "-inf", "");
        row("blanks around, trailing zero", "DoubleCheck", "en_GB", " 12.50 ", "12.5");
        row("15 significant digits", "DoubleCheck", "en_GB", "0.12345678901234567", "0.123456789012346");
        row("comma decimal in de_DE", "DoubleCheck", "de_DE", "12,50", "12,5");
        row("no grouping written in de_DE", "DoubleCheck", "de_DE", "1.500", "1500");
        row("pasted cell with LF", "DoubleCheck", "en_GB", "400\n", "");
        row("pasted cell with CR LF", "DoubleCheck", "en_GB", " 400\r\n", "");
        row("15 digits would round above the largest double", "DoubleCheck", "en_GB", "1.7976931348623157E308", "");
        row("largest 15-digit value", "DoubleCheck", "en_GB", "-1.79769313486231E308", "-1.79769313486231E+308");

        row("stored with the own separator", "parseStored", "en_GB", " 41.76", "41.76");
        row("written under de_DE, read under en_GB", "parseStored", "en_GB", " 40,05", "40.05");
        row("written under en_GB, read under de_DE", "parseStored", "de_DE", " 1234.50", "1234.5");
        row("stored negative below one", "parseStored", "en_GB", " -,50", "-0.5");
        row("written under ar_EG, read under en_GB", "parseStored", "en_GB", " ٤١٫٧٦", "41.76");
        row("negative written under he_IL, read there", "parseStored", "he_IL", " ‎-41.76", "-41.76");
        QTest::newRow("largest double written, read back")
            << "parseStored"
            << "en_GB" << QString::number(std::numeric_limits<double>::max(), 'f', 2) << "1.79769e+308";
        row("grouping is not written", "parseStored", "en_GB", " 1.234,50", "");
        row("two separators", "parseStored", "de_DE", " 1.2.3", "");
        row("letters", "parseStored", "en_GB", " 4O,00", "");
        row("separator alone", "parseStored", "en_GB", " ,", "");

        row("negative half without leading zero", "formatTwoDecimals", "en_GB", "-0.5", "-.50");
        row("rounds to zero without a sign", "formatTwoDecimals", "en_GB", "-0.001", ".00");
        row("just above zero keeps its digit", "formatTwoDecimals", "en_GB", "0.005", ".01");
        row("a twentieth", "formatTwoDecimals", "en_GB", "0.05", ".05");
        row("no grouping", "formatTwoDecimals", "en_US", "1234567.891", "1234567.89");
        row("decimal comma", "formatTwoDecimals", "de_DE", "0.125", ",13");

        row("US English, as its locale names it", "isUsEnglish", "en_US", "", "yes");
        row("UK English, as its locale names it", "isUsEnglish", "en_GB", "", "");
        row("other case", "isUsEnglish", "", "english (united states)", "");
        row("blanks around", "isUsEnglish", "", " English (United States) ", "");
        QTest::newRow("up to a NUL") << "isUsEnglish" << QString()
                                     << QStringLiteral("English (United States)") + QChar(u'\0') << "yes";
    }

    void numbers()
    {
        QFETCH(QString, rule);
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(QString, result);
        const QLocale l(locale);
        if (rule == QLatin1String("isUsEnglish")) { // the name given, or else the locale's
            QCOMPARE(
                LocaleNames::isUsEnglish(locale.isEmpty() ? text : LocaleNames::languageName(l)) ? "yes" : "", result);
            return;
        }
        if (rule != QLatin1String("DoubleCheck")) {
            const std::optional<double> stored = Numbers::parseStored(text, l);
            QCOMPARE(rule == QLatin1String("parseStored") ? (stored ? QString::number(*stored) : QString())
                                                          : Numbers::formatTwoDecimals(text.toDouble(), l),
                result);
            return;
        }
        QCOMPARE(Numbers::IsValidNumber(text, l), !result.isEmpty());
        try {
            QCOMPARE(Numbers::DoubleCheck(text, QStringLiteral("Price Per Unit"), l), result);
            QVERIFY(Numbers::IsValidNumber(result, l));
        } catch (const AppError& error) {
            QVERIFY(result.isEmpty());
            QCOMPARE(error.number(), AppError::CheckFailed);
            QCOMPARE(error.message(),
                QStringLiteral(
                    "Double Check Failure - Price Per Unit is not a valid number please only enter numbers."));
        }
    }

    void calculate_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("inputs"); // mileage, cost, commute, price, and "gallons" or "US" when so
        QTest::addColumn<QString>("shown"); // MPG, Per Gallon, Monthly Cost, Daily Cost; or the error's message
        const auto row = [](const char* name, const QStringList& inputs, const char* shown) {
            QTest::newRow(name) << "en_GB" << inputs << QString(shown);
        };
        row("litres, 5 to the gallon", { "400", "45", "10", "90" }, "40.00 4.50 48.27 2.25");
        row("litres, US English 4", { "400", "45", "10", "90", "US" }, "32.00 3.60 48.27 2.25");
        row("gallons ignore US English", { "400", "45", "10", "4.5", "gallons", "US" }, "40.00 4.50 48.27 2.25");
        row("daily cost below one", { "300", "40", "0.5", "100" }, "37.50 5.00 2.86 .13");
        row("gallon price not divided by 100", { "400", "45", "10", "409", "gallons" }, "3635.56 409.00 48.27 2.25");
        row("negative numbers accepted", { "-400", "45", "10", "90" }, "-40.00 4.50 -48.27 -2.25");
        const char* bad = "Double Check Failure - %1 is not a valid number please only enter numbers.";
        row("letters in cost", { "400", "abc", "10", "90" }, qPrintable(QString(bad).arg("Fuel Costs")));
        row("mileage named before price", { "x", "45", "10", "y" }, qPrintable(QString(bad).arg("Mileage")));
        row("empty commute", { "400", "45", "", "90" }, qPrintable(QString(bad).arg("Commute Distance")));
        row("zero price", { "400", "45", "10", "0" }, "TripLedger - Division by zero");
        row("zero mileage", { "0", "45", "10", "90" }, "TripLedger - Division by zero");
        row("zero over zero", { "0", "0", "10", "90" }, "TripLedger - Overflow");
        row("quotient beyond a double", { "1E300", "1E-300", "10", "90" }, "TripLedger - Overflow");
        // Only the monthly cost's last product leaves the range; the daily cost stays finite.
        row("product beyond a double", { "1", "5E298", "1E9", "1E300" }, "TripLedger - Overflow");
    }

    void calculate()
    {
        QFETCH(QString, locale);
        QFETCH(QStringList, inputs);
        QFETCH(QString, shown);
        const QLocale l(locale);
        QStringList lines;
        try {
            const FuelCalc::Results results = FuelCalc::calculate(
                { inputs[0], inputs[1], inputs[2], inputs[3], inputs.contains("gallons"), inputs.contains("US") }, l);
            for (const FuelCalc::ResultLine& line : FuelCalc::resultLines(results, l))
                lines.append(line.imageKey + u' ' + line.text);
        } catch (const AppError& error) {
            lines.append(error.message());
        }
        const QStringList values = shown.split(u' ');
        const QStringList expected = shown.contains(QStringLiteral(" - "))
            ? QStringList { shown }
            : QStringList { "MI MPG: " + values.value(0), "CO Per Gallon: " + values.value(1),
                  "PM Monthly Cost: " + values.value(2), "PW Daily Cost: " + values.value(3) };
        QCOMPARE(lines, expected);
    }
};

QTEST_GUILESS_MAIN(TestCalc)
#include "tst_calc.moc"
