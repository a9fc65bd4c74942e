#pragma once

#include <QByteArray>
#include <QLatin1Char>
#include <QString>

// The benchmarks' history line: the registration, a date in the en_GB form made from i, the mileage and the MPG
// it gives on a 9.58-gallon tank.
inline QByteArray recordLine(const QByteArray& registration, int i, int mileage)
{
    return "VehicleReg:" + registration
        + QStringLiteral(";Date:%1/%2/2005 %3:%4:12;Mileage:%5;Cost:45.50;MPG: %6;"
                         "Commute Distance:15;Price Per Unit:95;Unit:Litre;\r\n")
              .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
              .arg(1 + i / 28 % 12, 2, 10, QLatin1Char('0'))
              .arg(i % 24, 2, 10, QLatin1Char('0'))
              .arg(i % 60, 2, 10, QLatin1Char('0'))
              .arg(mileage)
              .arg(mileage / 9.58, 0, 'f', 2)
              .toLatin1();
}
