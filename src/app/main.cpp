#include "shell/main_program.h"

int main(int argc, char** argv) { return vna::MainProgram(argc, argv); }
