#include "evaluator.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char **argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return RunEvaluator(arguments, stdin, std::cout, std::cerr);
}
