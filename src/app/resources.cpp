#include "app/resources.h"

#include <QtGlobal>

static void initBuiltIn()
{
    // Resources of a static library are registered by hand.
    Q_INIT_RESOURCE(lormen);
}

void InitLormenResources()
{
    initBuiltIn();
}
