#include "app/termination.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <ibase.h>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int signalPipe[2] = {-1, -1};
bool requested = false;

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
}

// The engine reports the signals it caught itself through its shutdown callbacks.
int onEngineShutdown(const int reason, const int, void *)
{
    if (reason == fb_shutrsn_signal)
        onSignal(0);
    return 0;
}
} // namespace

void EndOnTerminationSignal()
{
    if (signalPipe[0] < 0) {
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
            return;
        auto *notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, QCoreApplication::instance());
        ISC_STATUS_ARRAY status{};
        fb_shutdown_callback(status, onEngineShutdown, fb_shut_preproviders, nullptr);
        QObject::connect(notifier, &QSocketNotifier::activated, QCoreApplication::instance(), [] {
            char byte;
            [[maybe_unused]] const ssize_t got = ::read(signalPipe[1], &byte, 1);
            requested = true;
            QCoreApplication::exit(0);
        });
    }
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        sigaction(sig, &action, nullptr);
}

bool TerminationRequested()
{
    return requested;
}
