#include "calc/AppError.h"
#include "calc/CheckedMath.h"
#include "calc/FuelCalc.h"
#include "calc/LocaleNames.h"

#include <QTest>

class TestFuelCalc : public QObject
{
    Q_OBJECT

private slots:
    void workedExamples_data();
    void workedExamples();
    void imageKeysInOrder();
    void errors_data();
    void errors();
    void checkedArithmetic();
    void languageName_data();
    void languageName();
    void usEnglishDecision_data();
    void usEnglishDecision();
};

namespace {

QStringList lines(const FuelCalc::Inputs& inputs, const QLocale& locale)
{
    QStringList texts;
    for (const FuelCalc::ResultLine& line : FuelCalc::resultLines(FuelCalc::calculate(inputs, locale), locale))
        texts.append(line.text);
    return texts;
}

QString localised(QString text, const QLocale& locale)
{
    return text.replace(u'.', locale.decimalPoint());
}

} // namespace

void TestFuelCalc::workedExamples_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("mileage");
    QTest::addColumn<QString>("cost");
    QTest::addColumn<QString>("commute");
    QTest::addColumn<QString>("price");
    QTest::addColumn<bool>("gallons");
    QTest::addColumn<bool>("usEnglish");
    QTest::addColumn<QStringList>("expected");

    const QStringList fiveLitres { "MPG: 40.00", "Per Gallon: 4.50", "Monthly Cost: 48.27", "Daily Cost: 2.25" };
    const QStringList fourLitres { "MPG: 32.00", "Per Gallon: 3.60", "Monthly Cost: 48.27", "Daily Cost: 2.25" };
    for (const char* locale : { "en_GB", "en_US", "de_DE" }) {
        const QLocale l { QString::fromLatin1(locale) };
        const auto row = [&](const char* name) -> QTestData& { return QTest::addRow("%s %s", name, locale); };
        row("litres, 5 to the gallon") << locale << "400" << "45" << "10" << "90" << false << false << fiveLitres;
        row("litres, US English 4 to the gallon") << locale << "400" << "45" << "10" << "90" << false << true << fourLitres;
        row("gallons, price as entered") << locale << "400" << "45" << "10" << localised("4.5", l) << true << false
                                          << fiveLitres;
        row("gallons ignore US English") << locale << "400" << "45" << "10" << localised("4.5", l) << true << true
                                          << fiveLitres;
        row("daily cost below one") << locale << "300" << "40" << localised("0.5", l) << "100" << false << false
                                     << QStringList { "MPG: 37.50", "Per Gallon: 5.00", "Monthly Cost: 2.86",
                                                      "Daily Cost: .13" };
        row("gallon price not divided by 100") << locale << "400" << "45" << "10" << "409" << true << false
                                                << QStringList { "MPG: 3635.56", "Per Gallon: 409.00",
                                                                 "Monthly Cost: 48.27", "Daily Cost: 2.25" };
        row("negative numbers accepted") << locale << "-400" << "45" << "10" << "90" << false << false
                                          << QStringList { "MPG: -40.00", "Per Gallon: 4.50",
                                                           "Monthly Cost: -48.27", "Daily Cost: -2.25" };
    }
}

void TestFuelCalc::workedExamples()
{
    QFETCH(QString, locale);
    QFETCH(QString, mileage);
    QFETCH(QString, cost);
    QFETCH(QString, commute);
    QFETCH(QString, price);
    QFETCH(bool, gallons);
    QFETCH(bool, usEnglish);
    QFETCH(QStringList, expected);

    const QLocale l(locale);
    for (QString& line : expected)
        line = localised(line, l);
    QCOMPARE(lines({ mileage, cost, commute, price, gallons, usEnglish }, l), expected);
}

void TestFuelCalc::imageKeysInOrder()
{
    const QLocale locale(QStringLiteral("en_GB"));
    QStringList keys;
    for (const auto& line : FuelCalc::resultLines(FuelCalc::calculate({ "400", "45", "10", "90" }, locale), locale))
        keys.append(line.imageKey);
    QCOMPARE(keys, (QStringList { "MI", "CO", "PM", "PW" }));
}

void TestFuelCalc::errors_data()
{
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QString>("message");

    const QString notANumber = QStringLiteral("Double Check Failure - %1 is not a valid number please only enter numbers.");
    QTest::newRow("letters in cost") << QStringList { "400", "abc", "10", "90" } << notANumber.arg("Fuel Costs");
    QTest::newRow("mileage reported before price") << QStringList { "x", "45", "10", "y" } << notANumber.arg("Mileage");
    QTest::newRow("empty commute") << QStringList { "400", "45", "", "90" } << notANumber.arg("Commute Distance");
    QTest::newRow("price nan") << QStringList { "400", "45", "10", "nan" } << notANumber.arg("Price Per Unit");
    QTest::newRow("zero cost") << QStringList { "400", "0", "10", "90" } << "TripLedger - Division by zero";
    QTest::newRow("zero price") << QStringList { "400", "45", "10", "0" } << "TripLedger - Division by zero";
    QTest::newRow("zero mileage") << QStringList { "0", "45", "10", "90" } << "TripLedger - Division by zero";
    QTest::newRow("zero commute") << QStringList { "400", "45", "0", "90" } << "TripLedger - Division by zero";
    QTest::newRow("zero over zero") << QStringList { "0", "0", "10", "90" } << "TripLedger - Overflow";
    QTest::newRow("overflow") << QStringList { "1E300", "1E-300", "10", "90" } << "TripLedger - Overflow";
}

void TestFuelCalc::errors()
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

void TestFuelCalc::checkedArithmetic()
{
    QCOMPARE(CheckedMath::divide(1.0, 4.0), 0.25);
    QCOMPARE(CheckedMath::multiply(1e-200, 1e-200), 0.0); // underflow is no error
    QVERIFY_THROWS_EXCEPTION(AppError, CheckedMath::add(1e308, 1e308));
    QVERIFY_THROWS_EXCEPTION(AppError, CheckedMath::divide(-1.0, 0.0));
}

void TestFuelCalc::languageName_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("name");
    QTest::newRow("US English") << "en_US" << "English (United States)";
    QTest::newRow("UK English") << "en_GB" << "English (United Kingdom)";
    QTest::newRow("German") << "de_DE" << "German (Germany)";
}

void TestFuelCalc::languageName()
{
    QFETCH(QString, locale);
    QFETCH(QString, name);
    QCOMPARE(LocaleNames::languageName(QLocale(locale)), name);
}

void TestFuelCalc::usEnglishDecision_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("usEnglish");
    QTest::newRow("exact") << "English (United States)" << true;
    QTest::newRow("up to a terminating NUL") << QStringLiteral("English (United States)") + QChar(u'\0') << true;
    QTest::newRow("other case") << "english (united states)" << false;
    QTest::newRow("blanks around") << " English (United States) " << false;
    QTest::newRow("UK English") << "English (United Kingdom)" << false;
    QTest::newRow("in another language") << "Englisch (Vereinigte Staaten)" << false;
    QTest::newRow("empty") << "" << false;
}

void TestFuelCalc::usEnglishDecision()
{
    QFETCH(QString, name);
    QFETCH(bool, usEnglish);
    QCOMPARE(LocaleNames::isUsEnglish(name), usEnglish);
}

QTEST_GUILESS_MAIN(TestFuelCalc)
#include "tst_fuelcalc.moc"
