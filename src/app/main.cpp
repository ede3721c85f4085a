#include "Application.h"

int main(int argc, char *argv[])
{
    return runPemira(argc, argv);
}
