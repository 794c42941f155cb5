#include "app/Startup.h"

int main(int argc, char *argv[]) {
    return TStartup().Exec(argc, argv);
}
