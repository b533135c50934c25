// Velmar's executable: starts the program.
#include "frame/Main.h"

int main(int argc, char *argv[])
{
    return runVelmar(argc, argv);
}
