#pragma once

#include "TextArray.h"

#include <QString>

namespace VehicleList {

// The distinct registrations of the history file, each once, in the order of their first appearance, exactly
// as written (case and blanks kept). Lines without a registration are passed over. Throws AppError when the
// file exists but cannot be read.
TextArray registrations(const QString& historyFilePath);

} // namespace VehicleList
