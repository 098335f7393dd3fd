#include "shell_resources.h"

#include <QtGlobal>

static void InitTarvoResource() {
    Q_INIT_RESOURCE(tarvo);
}

void InitShellResources() {
    static bool done = false;
    if (!done) {
        InitTarvoResource();
        done = true;
    }
}
