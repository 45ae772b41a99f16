#include "acquisition/SentMessageWait.h"

void WaitHandlingSentMessages(HANDLE handle)
{
    for (;;)
    {
        // MWMO_INPUTAVAILABLE: a message sent before this wait began (and
        // already seen by a queue-status check) must wake it too.
        const DWORD status =
            MsgWaitForMultipleObjectsEx(1, &handle, INFINITE, QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
        if (status != WAIT_OBJECT_0 + 1)
            return;
        // Peeking for sent messages only handles them; posted ones stay queued.
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
