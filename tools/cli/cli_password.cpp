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

// Overwrites every byte the string holds, its spare room included, in a
// way the compiler may not drop as a dead store.
void Wipe(std::string& text)
{
    text.resize(text.capacity());
    explicit_bzero(text.data(), text.size());
    text.clear();
}

// One line from the descriptor, without its line ending. Fails at end of
// input before any newline when nothing was read, with no system error.
Result<SecretText> ReadLine(int fd)
{
    SecretText line;
    char c = 0;
    while (true) {
        ssize_t n = read(fd, &c, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Status::FromErrno(errno, "Could not read the password from standard input");
        if (n == 0 && line.Empty())
            return Status::Refused(std::errc::no_message, "No password on standard input");
        if (n == 0 || c == '\n')
            break;
        line.Append(c);
    }
    c = 0;
    if (!line.Empty() && line.Text().back() == '\r')
        line.PopBack();
    return line;
}

Result<SecretText> ReadFromTerminal()
{
    if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &g_savedTerminal) != 0)
        return Status::Refused(std::errc::inappropriate_io_control_operation,
            "Standard input is not a terminal: give the password as one line of standard input "
            "with --password-stdin");
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
    Result<SecretText> line = ReadLine(STDIN_FILENO);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_savedTerminal);
    g_echoOff = 0;
    for (int i = 0; i < 4; ++i)
        sigaction(signals[i], &previous[i], nullptr);
    if (!line.Ok()) {
        unused = write(STDERR_FILENO, "\n", 1);
        return Status(line.Failure().Code(), "No password was entered");
    }
    (void)unused;
    return line;
}

} // namespace

SecretText::SecretText(std::string&& text) : m_text(std::move(text))
{
    Wipe(text);
}

SecretText::SecretText(SecretText&& other) noexcept : m_text(std::move(other.m_text))
{
    Wipe(other.m_text);
}

SecretText& SecretText::operator=(SecretText&& other) noexcept
{
    if (this != &other) {
        Wipe(m_text);
        m_text = std::move(other.m_text);
        Wipe(other.m_text);
    }
    return *this;
}

SecretText::~SecretText()
{
    Wipe(m_text);
}

void SecretText::Append(char c)
{
    // Growing in place would leave the old buffer behind, unwiped.
    if (m_text.size() == m_text.capacity()) {
        std::string larger;
        larger.reserve(2 * m_text.capacity());
        larger.append(m_text);
        Wipe(m_text);
        m_text.swap(larger);
    }
    m_text += c;
}

Result<SecretText> ReadPassword(bool fromStdin)
{
    Result<SecretText> password = fromStdin ? ReadLine(STDIN_FILENO) : ReadFromTerminal();
    if (password.Ok() && password->Empty())
        return Status::Refused(std::errc::invalid_argument, "The password must not be empty");
    return password;
}
