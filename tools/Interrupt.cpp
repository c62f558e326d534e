#include "tools/Commands.h"

#include <csignal>

namespace {
volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int)
{
    interrupted = 1;
}
} // namespace

bool interruptRequested()
{
    return interrupted != 0;
}

void installInterruptHandler()
{
    struct sigaction action
    {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}
