#include "CLumenoApp.h"
#include "SharedHeap.h"

int main(int argc, char** argv)
{
    ShareWorkerHeaps();
    CLumenoApp app(argc, argv);
    return app.InitInstance();
}
