#include "app/ReceiverApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    CReceiverApp application;
    return application.Run();
}
