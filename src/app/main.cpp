#include "CLumenoApp.h"

int main(int argc, char** argv)
{
    CLumenoApp app(argc, argv);
    app.InitInstance();
    return 0;
}
