// Writes orbisk-cli's completion for bash or fish to a file, at build time.
//   orbisk-completion bash|fish FILE

#include "cli_completion.h"

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv)
{
    std::string shell = argc == 3 ? argv[1] : "";
    if (shell != "bash" && shell != "fish") {
        std::fprintf(stderr, "usage: orbisk-completion bash|fish FILE\n");
        return 2;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << (shell == "bash" ? BashCompletion() : FishCompletion());
    out.close();
    if (!out) {
        std::perror(argv[2]);
        return 1;
    }
    return 0;
}
