#pragma once
#include <string>

// The three operator entries of a print job, as typed.
struct PrintFields
{
    std::string operatorName;
    std::string serialNumber;
    std::string comment;
};

// What the frame pipeline needs of the main window.  The window carries
// each call out on its own thread, whichever thread makes it.
class IFrameView
{
public:
    virtual ~IFrameView() = default;
    virtual int ListLineCount() = 0;
    virtual void RemoveFirstListLine() = 0;
    // Adds the line at the end of the received-frame list and selects it.
    virtual void AppendListLine(const std::string& text) = 0;
    virtual void SetStoredLine(const std::string& text) = 0;
    // Lights the "Storing frame" indicator for 150 ms.
    virtual void SwitchIndicatorOn() = 0;
    virtual PrintFields ReadPrintFields() = 0;
    // Prints one copy of the job file on the default printer.
    virtual void PrintJobFile(const std::string& fileName) = 0;
};
