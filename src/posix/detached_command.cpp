#include "posix/detached_command.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace planwarte {

std::string StartDetached(const std::vector<std::string>& words) {
    if (words.empty()) {
        return "no command";
    }
    std::vector<char*> argv;
    for (const std::string& word : words) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);

    // The grandchild reports a failed exec through the pipe; a successful exec closes it.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        return std::strerror(errno);
    }
    const pid_t child = fork();
    if (child < 0) {
        const int error = errno;
        close(report[0]);
        close(report[1]);
        return std::strerror(error);
    }
    if (child == 0) {
        // The intermediate child leaves at once, so the program becomes nobody's child to
        // wait for.
        setsid();
        if (fork() == 0) {
            execvp(argv[0], argv.data());
            const int error = errno;
            [[maybe_unused]] const ssize_t written = write(report[1], &error, sizeof error);
        }
        _exit(0);
    }
    close(report[1]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int exec_error = 0;
    ssize_t got = 0;
    do {
        got = read(report[0], &exec_error, sizeof exec_error);
    } while (got < 0 && errno == EINTR);
    close(report[0]);
    if (got == static_cast<ssize_t>(sizeof exec_error)) {
        return words.front() + ": " + std::strerror(exec_error);
    }
    return {};
}

}  // namespace planwarte
