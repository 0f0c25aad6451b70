// torv_ae_cli: the terminal front end.
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_app.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    torv::cli::CliApp app(std::cin, std::cout);
    return app.run(args);
}
