// skyrel-ephem: the tracker's engine from the command line. See HelpText() for the interface.
#include <iostream>
#include <string>
#include <vector>

#include "tools/skyrel-ephem/run.h"

int main(int argc, char** argv) {
    return ephem::Run(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
