#pragma once
#include "tools/vorlsim/FrameSource.h"
#include "tools/vorlsim/SimOptions.h"

#include <string>

// One run of vorlsim: prepares the frames, opens the TCP listener or the
// serial device and sends.  Exit codes: 0 done, 1 the device failed while
// writing, 2 bad input (file, host, port in use, device missing).
class CSimulator
{
public:
    explicit CSimulator(const CSimOptions& options);
    int Run();

private:
    int ServeTcp();
    int WriteSerial();
    bool WriteReadyFile(int port);
    int Fail(const std::string& message, int code);

    const CSimOptions& m_options;
    CFrameSource m_source;
};
