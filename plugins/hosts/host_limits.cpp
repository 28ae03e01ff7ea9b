#include "plugins/hosts/host_limits.h"

#include "platform/foundation/address_space_limit.h"

#include <csignal>
#include <cstring>

#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr rlim_t maximumMemory = rlim_t(3) << 30;   // address space, bytes
constexpr rlim_t maximumProcessorSeconds = 30;
constexpr unsigned maximumSeconds = 60;

char timeoutMessage[1024];

void endOnTimeout(int)
{
    // Only async-signal-safe calls here.
    ssize_t ignored = write(STDERR_FILENO, timeoutMessage, strlen(timeoutMessage));
    (void)ignored;
    _exit(3);
}

} // namespace

void limitHostResources(const QString &fileForMessages)
{
    const QByteArray message = QStringLiteral("%1: reading the file took too long; it is left out.\n")
                                   .arg(fileForMessages)
                                   .toLocal8Bit()
                                   .left(sizeof timeoutMessage - 1);
    std::memcpy(timeoutMessage, message.constData(), size_t(message.size()));
    timeoutMessage[message.size()] = '\0';

    limitAddressSpace(maximumMemory);
    const rlimit processor{maximumProcessorSeconds, maximumProcessorSeconds + 5};
    setrlimit(RLIMIT_CPU, &processor);
    std::signal(SIGXCPU, endOnTimeout);
    std::signal(SIGALRM, endOnTimeout);
    alarm(maximumSeconds);
}
