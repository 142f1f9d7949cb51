#include "cli_password.h"

#include <signal.h>
#include <string.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

namespace {

termios g_savedTerminal;
volatile sig_atomic_t g_echoOff = 0;

// A signal while echo is off must not leave the operator's terminal silent.
void RestoreAndReraise(int sig)
{
    if (g_echoOff)
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_savedTerminal);
    signal(sig, SIG_DFL);
    raise(sig);
}

// One line from the descriptor, without its line ending. False at end of
// input before any newline when nothing was read.
bool ReadLine(int fd, std::string& line, int& failure)
{
    line.clear();
    char c;
    while (true) {
        ssize_t n = read(fd, &c, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            failure = errno;
            return false;
        }
        if (n == 0)
            return !line.empty();
        if (c == '\n')
            break;
        line += c;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

} // namespace

void WipeText(std::string& text)
{
    explicit_bzero(text.data(), text.size());
    text.clear();
}

bool ReadPassword(bool fromStdin, std::string& password, std::string& error)
{
    int failure = 0;
    if (fromStdin) {
        if (!ReadLine(STDIN_FILENO, password, failure)) {
            error = failure ? std::string("Could not read the password from standard input: ") + strerror(failure)
                            : "No password on standard input";
            return false;
        }
    } else {
        if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &g_savedTerminal) != 0) {
            error = "Standard input is not a terminal: give the password as one line of standard input "
                    "with --password-stdin";
            return false;
        }
        const int signals[] = { SIGINT, SIGTERM, SIGHUP, SIGQUIT };
        struct sigaction restore {}, previous[4];
        restore.sa_handler = RestoreAndReraise;
        for (int i = 0; i < 4; ++i)
            sigaction(signals[i], &restore, &previous[i]);
        termios quiet = g_savedTerminal;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;
        // Echo goes off before the prompt shows, so nothing typed after it is echoed or flushed.
        g_echoOff = 1;
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
        static const char prompt[] = "Password: ";
        ssize_t unused = write(STDERR_FILENO, prompt, sizeof prompt - 1);
        bool read = ReadLine(STDIN_FILENO, password, failure);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_savedTerminal);
        g_echoOff = 0;
        for (int i = 0; i < 4; ++i)
            sigaction(signals[i], &previous[i], nullptr);
        if (!read) {
            unused = write(STDERR_FILENO, "\n", 1);
            error = "No password was entered";
            return false;
        }
        (void)unused;
    }
    if (password.empty()) {
        error = "The password must not be empty";
        return false;
    }
    return true;
}
