#include "Startup.h"
#include "TaloApplication.h"

int main(int argc, char *argv[])
{
    TaloApplication app(argc, argv);
    TaloApplication::applyFrenchConventions();
    Startup startup;
    if (!startup.run())
        return 0;
    return app.exec();
}
