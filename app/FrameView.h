#pragma once
#include <string>

// The three operator entries of a print job, as typed.
struct PrintFields
{
    std::string operatorName;
    std::string serialNumber;
    std::string comment;
};

// What the frame pipeline needs of the main window.
class IFrameView
{
public:
    virtual ~IFrameView() = default;
    // Something waits in the pipeline's updates.  Called on the storing
    // thread, once until the window has taken them; it must not wait for
    // the window.
    virtual void UpdatesWaiting() = 0;
    // Prints one copy of the job file on the default printer; on the
    // window's thread.
    virtual void PrintJobFile(const std::string& fileName) = 0;
};
