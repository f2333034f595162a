#include "net/sigpipe.h"

#include <csignal>

void IgnoreBrokenPipeSignal() {
    struct sigaction action {};
    action.sa_handler = SIG_IGN;
    sigemptyset(&action.sa_mask);
    sigaction(SIGPIPE, &action, nullptr);
}
