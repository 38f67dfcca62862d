#include "CLumenoApp.h"

int main(int argc, char** argv)
{
    CLumenoApp app(argc, argv);
    return app.InitInstance();
}
