// SPDX-License-Identifier: GPL-3.0-or-later
// The real program's start, unchanged: the same entry function the executable calls, so the
// first-paint probe linked beside it times exactly the code path a user starts.
#include "app/Application.h"

int main(int argc, char *argv[])
{
    return runPemira(argc, argv);
}
