#include "app/loop.h"

int main() {
    return runProgram();
}
