#include "tests/support/process.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>

namespace testsupport {

namespace {

void closeIfOpen(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

}  // namespace

std::string programPath() {
    return std::string(GLIMMER_BINARY_DIR) + "/glimmerboard";
}

ProcessResult runProcess(const std::string& executable, const ProcessOptions& options) {
    ProcessResult result;
    int out[2], err[2], in[2];
    if (pipe(out) != 0 || pipe(err) != 0 || pipe(in) != 0) return result;

    pid_t pid = fork();
    if (pid == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        dup2(err[1], 2);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
        const std::string& dir = options.workingDirectory.empty() ? std::string(GLIMMER_SOURCE_DIR)
                                                                  : options.workingDirectory;
        if (chdir(dir.c_str()) != 0) _exit(126);
        for (const std::string& entry : options.environment) putenv(strdup(entry.c_str()));
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(executable.c_str()));
        for (const std::string& a : options.arguments) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(executable.c_str(), argv.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    if (!options.input.empty()) {
        ssize_t ignored = write(in[1], options.input.data(), options.input.size());
        (void)ignored;
    }
    close(in[1]);

    int outFd = out[0], errFd = err[0];
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(int(options.timeoutSeconds * 1000));
    bool stopped = false;
    while (outFd >= 0 || errFd >= 0) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            if (!stopped) kill(pid, SIGTERM);
            stopped = true;
            break;
        }
        pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
        if (poll(fds, 2, int(left.count())) < 0) break;
        for (int i = 0; i < 2; ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            char buffer[4096];
            ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n <= 0) {
                closeIfOpen(i == 0 ? outFd : errFd);
                continue;
            }
            (i == 0 ? result.output : result.errorText).append(buffer, size_t(n));
        }
        if (!stopped && options.stopWhen && options.stopWhen(result.output)) {
            kill(pid, SIGTERM);
            stopped = true;
        }
    }
    int status = 0;
    waitpid(pid, &status, 0);
    // Whatever the child wrote before it ended is still in the pipes.
    for (int* fd : {&outFd, &errFd}) {
        if (*fd < 0) continue;
        char buffer[4096];
        ssize_t n;
        while ((n = read(*fd, buffer, sizeof buffer)) > 0)
            (fd == &outFd ? result.output : result.errorText).append(buffer, size_t(n));
        closeIfOpen(*fd);
    }
    if (WIFEXITED(status)) {
        result.exitStatus = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }
    return result;
}

}  // namespace testsupport
