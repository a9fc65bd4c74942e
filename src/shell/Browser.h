#pragma once

#include <QString>

// Starts program with the address as its one argument, without a shell and without waiting for it: the
// address is never split or interpreted. True when the program was started.
bool LaunchBrowser(const QString& program, const QString& address);
