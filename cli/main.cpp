#include "cli.h"

#include <iostream>

int main(int argc, char **argv)
{
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return vkt::cli::Run(args, std::cout, std::cerr);
}
