#pragma once

// Arithmetic that fails the way the platform's checked arithmetic does: a division by zero throws
// AppError "Division by zero", an invalid operation (0 / 0) or a result beyond the range of a double throws
// AppError "Overflow", both with the source "TripLedger". Underflow and inexact results are no errors.
namespace CheckedMath {

double divide(double dividend, double divisor);
double multiply(double left, double right);
double add(double left, double right);

} // namespace CheckedMath
