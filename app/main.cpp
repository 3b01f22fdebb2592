#include "app/arguments.h"
#include "app/loop.h"

#include <iostream>

int main(int argc, char **argv) {
    const int status = answerArguments(argc, argv, RAVURIRADOZ_VERSION, std::cout, std::cerr);
    if (status != openWindow) {
        return status;
    }
    return runProgram();
}
