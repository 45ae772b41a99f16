#include "tools/vorlsim/SerialDevice.h"

#include <windows.h>

namespace
{
HANDLE AsHandle(std::intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

// "COM10" and above open only in the device namespace.
std::string DevicePath(const std::string& device)
{
    if (device.compare(0, 3, "COM") == 0 || device.compare(0, 3, "com") == 0)
        return "\\\\.\\" + device;
    return device;
}

void ApplyLineSettings(const CSimOptions& options, DCB& dcb)
{
    dcb.BaudRate = static_cast<DWORD>(options.baud);
    dcb.ByteSize = static_cast<BYTE>(options.dataBits);
    dcb.Parity = options.parity == 'E' ? EVENPARITY : options.parity == 'O' ? ODDPARITY : NOPARITY;
    dcb.StopBits = options.stopBits == 2 ? TWOSTOPBITS : ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = options.parity != 'N';
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
}
}

CSerialDevice::CSerialDevice() : m_handle(reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE))
{
}

CSerialDevice::~CSerialDevice()
{
    if (AsHandle(m_handle) == INVALID_HANDLE_VALUE)
        return;
    FlushFileBuffers(AsHandle(m_handle));
    CloseHandle(AsHandle(m_handle));
}

bool CSerialDevice::Open(const CSimOptions& options, std::string& error)
{
    const HANDLE port = CreateFileA(DevicePath(options.device).c_str(), GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE)
    {
        error = "cannot open " + options.device + ": error " + std::to_string(GetLastError());
        return false;
    }
    m_handle = reinterpret_cast<std::intptr_t>(port);
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    GetCommState(port, &dcb);
    ApplyLineSettings(options, dcb);
    if (!SetCommState(port, &dcb))
    {
        error = "cannot apply the line settings to " + options.device + ": error " +
                std::to_string(GetLastError());
        return false;
    }
    return true;
}

bool CSerialDevice::Write(const char* data, size_t size)
{
    while (size > 0)
    {
        const DWORD piece = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(AsHandle(m_handle), data, piece, &written, nullptr) || written == 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}
