#include "WinApp.h"

int main(int argc, char** argv)
{
    CWinApp app(argc, argv);
    return 0;
}
