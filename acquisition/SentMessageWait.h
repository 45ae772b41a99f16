#pragma once
#include <windows.h>

// Waits until `handle` is signalled while handling the messages other
// threads send to this thread's windows, so a thread that is blocked
// sending to one of them can finish.  Windows only.
void WaitHandlingSentMessages(HANDLE handle);
