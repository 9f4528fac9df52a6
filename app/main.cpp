// The program's entry point on Linux; the program itself is runProgram.
#include "app/program.h"

int main(int /*argc*/, char** /*argv*/) {
    return cw::runProgram();
}
