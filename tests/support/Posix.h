#pragma once
// Named pipes, devices and permission bits are POSIX things: the tests that need them skip on
// Windows with the reason, and the rest of their suite runs there.

#ifdef _WIN32
#include <io.h>
#define MK_SKIP_ON_WINDOWS(reason) GTEST_SKIP() << "not on Windows: " << (reason)
#ifndef W_OK
#define W_OK 2
#endif
// Never reached there (the tests skip first); declared so that their code still compiles.
inline int mkfifo(const char*, int) { return -1; }
#else
#include <sys/stat.h>
#include <unistd.h>
#define MK_SKIP_ON_WINDOWS(reason) static_cast<void>(0)
#endif
