#include "Startup.h"
#include "TaloApplication.h"

#include "platform/core/FileNames.h"

int main(int argc, char *argv[])
{
    TaloApplication app(argc, argv);
    TaloApplication::applyFrenchConventions();
    Startup startup(FileNames::programDirectory());
    if (!startup.run())
        return 0;
    return app.exec();
}
