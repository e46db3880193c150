#include "shell/shell.h"

int gameMain(int argc, char **argv)
{
    return 0;
}
