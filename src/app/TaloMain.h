#pragma once

// The program from its arguments to its exit status: main() of `talo`, and of the tests'
// program that sets test hooks first.
namespace TaloMain
{
int run(int argc, char *argv[]);
}
