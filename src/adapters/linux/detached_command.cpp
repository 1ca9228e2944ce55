#include "adapters/linux/detached_command.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace planwarte {

std::optional<std::vector<std::string>> SplitCommandLine(const std::string& command_line) {
    std::vector<std::string> words;
    std::string word;
    bool in_word = false;
    char quote = 0;
    for (std::size_t at = 0; at < command_line.size(); ++at) {
        const char c = command_line[at];
        if (quote != 0) {
            if (c == quote) {
                quote = 0;
            } else if (c == '\\' && quote == '"' && at + 1 < command_line.size()) {
                word += command_line[++at];
            } else {
                word += c;
            }
        } else if (c == ' ' || c == '\t') {
            if (in_word) {
                words.push_back(word);
                word.clear();
                in_word = false;
            }
        } else if (c == '\'' || c == '"') {
            quote = c;
            in_word = true;
        } else if (c == '\\' && at + 1 < command_line.size()) {
            word += command_line[++at];
            in_word = true;
        } else {
            word += c;
            in_word = true;
        }
    }
    if (quote != 0) {
        return std::nullopt;
    }
    if (in_word) {
        words.push_back(word);
    }
    return words;
}

std::vector<std::string> WithFile(std::vector<std::string> words, const std::string& file) {
    for (std::string& word : words) {
        for (auto at = word.find("%f"); at != std::string::npos; at = word.find("%f", at)) {
            word.replace(at, 2, file);
            at += file.size();
        }
    }
    return words;
}

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
