#pragma once
#include "acquisition/SerialPortConfig.h"

#include <atomic>
#include <cstdint>
#include <string>

// One of the ports COM1 to COM40: opens, configures, reads and closes it.
// The settings of all 40 ports, their device handles and open counts are
// shared by every instance of the process: two instances on the same port
// use one device, which closes when the last open count is given back.
class CSerialPort
{
public:
    static constexpr int PortCount = 40;
    static constexpr const char* ConfigFileName = "Serial.cfg";
    static constexpr const char* HandshakeErrorText = "Hanskahe setup error !!!!";

    // The first live instance builds the defaults and loads "Serial.cfg".
    CSerialPort();
    virtual ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Indices outside 0 to 39 are ignored: the selected port stays.
    void SetPort(int index);
    int GetPort() const { return m_port; }

    // Opens and configures the selected port, or shares the device when
    // another open count already holds it.  Failures take no open count.
    // Failures and a bad handshake code are reported to the user unless
    // `report` is false (a port that is looked for again and again).
    bool Open(bool report = true);
    // Gives back one open count; the device closes at zero.
    void Close();
    bool IsOpen() const;
    // One device read; true only when exactly count bytes arrived in time.
    bool Read(void* buffer, uint16_t count);
    // The last Read failed outright instead of timing out: the device has
    // gone (an adapter unplugged) or the port is closed.
    bool ReadFailed() const { return m_readFailed; }
    // The selected port's name no longer names a device: its adapter was
    // unplugged.  Some drivers (and Wine's terminals) let reads of a device
    // that has gone time out instead of failing.
    bool DeviceGone() const { return DeviceMissing(DeviceName(m_port)); }

    // "1 : 9600, 8, E, 1, None"
    static std::string Describe(int index);
    static const char* HandshakeName(int code);
    // The device name that opens the port: "COM1".."COM9", then "\\.\COM10"..
    static std::string DeviceName(int index);

    // An index outside 0 to 39 means record 0.
    static SerialPortConfig* GetConfig(int index);
    static void SetConfig(int index, const SerialPortConfig& record);
    static void LoadConfig();
    static void SaveConfig();

protected:
    // Errors that need the user; the Windows build shows a message box
    // (CApplication::MessageBox, caption "Error") with the stop icon when
    // stopIcon is set, a plain OK box otherwise.  Natively the text goes to
    // standard error; tests of both builds override it to keep the texts.
    virtual void ReportError(const std::string& text, bool stopIcon);

private:
    using DeviceHandle = std::intptr_t;
    static constexpr DeviceHandle NoDevice = -1;

    struct Slot
    {
        // Published only once the device is configured: the receiver thread
        // may already be polling while the main thread opens the port.
        std::atomic<DeviceHandle> handle{NoDevice};
        uint8_t openCount = 0;
    };

    static void BuildDefaults();
    static void EnsureTable();
    static int ValidIndex(int index);

    // The device side, one implementation per platform.
    static DeviceHandle OpenDevice(const std::string& deviceName, const SerialPortConfig& record,
                                   std::string& errorText);
    enum class ReadResult { Done, TimedOut, Failed };
    static ReadResult ReadDevice(DeviceHandle device, void* buffer, uint16_t count);
    static void CloseDevice(DeviceHandle device);
    static bool DeviceMissing(const std::string& deviceName);

    static SerialPortConfig s_records[PortCount];
    static Slot s_slots[PortCount];
    static int s_instances;
    static bool s_tableBuilt;

    int m_port = 0;
    // Open counts this instance took and has not given back; the destructor
    // returns only these, never another instance's.
    int m_heldOpens = 0;
    bool m_readFailed = false;
};
