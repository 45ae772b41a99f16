#include "acquisition/SentMessageWait.h"

void WaitHandlingSentMessages(HANDLE handle)
{
    for (;;)
    {
        const DWORD status = MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_SENDMESSAGE);
        if (status != WAIT_OBJECT_0 + 1)
            return;
        // Peeking for sent messages only handles them; posted ones stay queued.
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
