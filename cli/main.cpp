#include "cli.h"

#include <iostream>

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

int main(int argc, char **argv)
{
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
#if defined(__unix__) || defined(__APPLE__)
    const bool terminal = isatty(STDOUT_FILENO) == 1;
#else
    const bool terminal = false;
#endif
    return vkt::cli::Run(args, std::cout, std::cerr, terminal);
}
