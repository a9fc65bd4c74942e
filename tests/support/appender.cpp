// Usage: appender FILE TAG COUNT [LIMIT]. Saves COUNT lines "TAG TAG TAG TAG TAG TAG TAG TAG N" (N from 0) into
// the history file FILE as fast as it can: one of two copies of the program saving into the same file at once.
// With LIMIT the process may not make any file larger than that many bytes, so that a write stops part-way
// through a line (SIGXFSZ ignored, as the program does). Exits 1, printing the error, when a
// save fails.
#include "calc/AppError.h"
#include "history/HistoryFile.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

int main(int argc, char* argv[])
{
    std::signal(SIGXFSZ, SIG_IGN);
    if (argc == 5) {
        const rlim_t bytes = std::strtoull(argv[4], nullptr, 10);
        const rlimit limit { bytes, bytes };
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    try {
        for (int i = 0; argc >= 4 && i < std::atoi(argv[3]); ++i)
            HistoryFile::appendLine(QString::fromLocal8Bit(argv[1]),
                QString::fromLocal8Bit(argv[2]).append(u' ').repeated(8) + QString::number(i));
    } catch (const AppError& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 1;
    }
    return 0;
}
