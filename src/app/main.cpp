#include "TaloMain.h"

int main(int argc, char *argv[])
{
    return TaloMain::run(argc, argv);
}
