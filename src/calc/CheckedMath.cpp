#include "CheckedMath.h"

#include "AppError.h"

#include <cmath>

namespace CheckedMath {

namespace {

[[noreturn]] void overflow()
{
    throw AppError(QStringLiteral("TripLedger"), QStringLiteral("Overflow"));
}

double checked(double result)
{
    if (!std::isfinite(result))
        overflow();
    return result;
}

} // namespace

double divide(double dividend, double divisor)
{
    if (divisor == 0.0) {
        if (dividend == 0.0)
            overflow();
        throw AppError(QStringLiteral("TripLedger"), QStringLiteral("Division by zero"));
    }
    return checked(dividend / divisor);
}

double multiply(double left, double right)
{
    return checked(left * right);
}

double add(double left, double right)
{
    return checked(left + right);
}

} // namespace CheckedMath
