// torv_ae_cli: the terminal front end.
#include <unistd.h>

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_app.h"

int main(int argc, char** argv) {
    try {
        std::vector<std::string> args(argv + 1, argv + argc);
        torv::cli::CliApp app(std::cin, std::cout);
        app.useTerminalEditor(::isatty(STDIN_FILENO) == 1);
        return app.run(args);
    } catch (const std::exception& e) {
        // Even starting can fail (no current directory): say so, never abort.
        std::cout.flush();
        std::cerr << "torv_ae_cli: " << e.what() << '\n';
        return 1;
    }
}
