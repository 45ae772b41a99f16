#include "acquisition/SerialPort.h"
#include "acquisition/SerialLineSettingsWin32.h"
#include "framework/Application.h"
#include "framework/WaitCursor.h"

namespace
{
std::string SystemMessage(DWORD error)
{
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&text), 0,
        nullptr);
    std::string message = length > 0 && text ? std::string(text, length) : std::string();
    LocalFree(text);
    return message;
}

void ApplyHandshake(DCB& dcb, uint8_t handshake)
{
    const bool hardware = handshake == 1;
    const bool software = handshake == 2;
    dcb.fOutxCtsFlow = hardware;
    dcb.fOutxDsrFlow = hardware;
    dcb.fDtrControl = hardware ? DTR_CONTROL_HANDSHAKE : DTR_CONTROL_DISABLE;
    dcb.fRtsControl = hardware ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_DISABLE;
    dcb.fOutX = software;
    dcb.fInX = software;
}
}

void ApplySerialPortConfig(DCB& dcb, const SerialPortConfig& record)
{
    dcb.BaudRate = record.baudRate;
    dcb.ByteSize = record.dataBits;
    dcb.Parity = record.parity;
    dcb.StopBits = record.stopBits;
    dcb.fParity = record.parity != 0;
    dcb.fOutX = 0;
    dcb.fInX = 0;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    dcb.XonLim = 100;
    dcb.XoffLim = 100;
    if (record.handshake <= 2)
        ApplyHandshake(dcb, record.handshake);
}

CSerialPort::DeviceHandle CSerialPort::OpenDevice(const std::string& deviceName,
                                                  const SerialPortConfig& record,
                                                  std::string& errorText)
{
    CWaitCursor waitCursor;
    HANDLE device = CreateFileA(deviceName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (device == INVALID_HANDLE_VALUE)
    {
        errorText = SystemMessage(GetLastError());
        return NoDevice;
    }
    SetupComm(device, 2048, 2048);
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    GetCommState(device, &dcb);
    ApplySerialPortConfig(dcb, record);
    SetCommState(device, &dcb);
    // A one-byte read waits at most 61 ms, so a poll never blocks its thread for long.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = 5;
    timeouts.ReadTotalTimeoutMultiplier = 1;
    timeouts.ReadTotalTimeoutConstant = 60;
    timeouts.WriteTotalTimeoutMultiplier = 100;
    timeouts.WriteTotalTimeoutConstant = 100;
    SetCommTimeouts(device, &timeouts);
    return reinterpret_cast<DeviceHandle>(device);
}

CSerialPort::ReadResult CSerialPort::ReadDevice(DeviceHandle device, void* buffer, uint16_t count)
{
    DWORD received = 0;
    if (!ReadFile(reinterpret_cast<HANDLE>(device), buffer, count, &received, nullptr))
        return ReadResult::Failed;
    return received == count ? ReadResult::Done : ReadResult::TimedOut;
}

void CSerialPort::CloseDevice(DeviceHandle device)
{
    CloseHandle(reinterpret_cast<HANDLE>(device));
}

bool CSerialPort::DeviceMissing(const std::string& deviceName)
{
    // A port held open by this process refuses a second handle on Windows
    // (access denied) and gives one under Wine: either way it is there.
    const HANDLE device = CreateFileA(deviceName.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (device != INVALID_HANDLE_VALUE)
    {
        CloseHandle(device);
        return false;
    }
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

void CSerialPort::ReportError(const std::string& text, bool stopIcon)
{
    CApplication::MessageBox(text, "Error", stopIcon ? MB_OK | MB_ICONSTOP : MB_OK, GetActiveWindow());
}
