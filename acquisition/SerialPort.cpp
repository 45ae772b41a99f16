#include "acquisition/SerialPort.h"

#include <cstdio>
#include <cstring>
#include <fstream>

SerialPortConfig CSerialPort::s_records[PortCount];
CSerialPort::Slot CSerialPort::s_slots[PortCount];
int CSerialPort::s_instances = 0;
bool CSerialPort::s_tableBuilt = false;

CSerialPort::CSerialPort()
{
    if (s_instances == 0)
    {
        BuildDefaults();
        LoadConfig();
    }
    ++s_instances;
}

CSerialPort::~CSerialPort()
{
    while (m_heldOpens > 0)
        Close();
    --s_instances;
}

void CSerialPort::SetPort(int index)
{
    if (index >= 0 && index < PortCount)
        m_port = index;
}

bool CSerialPort::Open(bool report)
{
    Slot& slot = s_slots[m_port];
    if (slot.handle.load() == NoDevice)
    {
        const SerialPortConfig& record = s_records[m_port];
        std::string errorText;
        const DeviceHandle device = OpenDevice(DeviceName(m_port), record, errorText);
        if (device == NoDevice)
        {
            if (report)
                ReportError(errorText + "\n Serial Port -> " + record.portName, true);
            return false;
        }
        if (record.handshake > 2 && report)
            ReportError(std::string(record.portName) + " - " + HandshakeErrorText, false);
        slot.handle.store(device);
    }
    ++slot.openCount;
    ++m_heldOpens;
    return true;
}

void CSerialPort::Close()
{
    // An instance that holds no open of its own must not close the device
    // another instance uses.
    if (m_heldOpens == 0)
        return;
    --m_heldOpens;
    Slot& slot = s_slots[m_port];
    if (slot.openCount > 0)
        --slot.openCount;
    const DeviceHandle device = slot.handle.load();
    if (device != NoDevice && slot.openCount == 0)
    {
        slot.handle.store(NoDevice);
        CloseDevice(device);
    }
}

bool CSerialPort::IsOpen() const
{
    return s_instances > 0 && s_slots[m_port].handle.load() != NoDevice;
}

bool CSerialPort::Read(void* buffer, uint16_t count)
{
    const DeviceHandle device = s_slots[m_port].handle.load();
    const ReadResult result = device == NoDevice ? ReadResult::Failed : ReadDevice(device, buffer, count);
    m_readFailed = result == ReadResult::Failed;
    return result == ReadResult::Done;
}

std::string CSerialPort::Describe(int index)
{
    static const char* const parities[] = {"N", "O", "E"};
    static const char* const stopBits[] = {"1", "1.5", "2"};
    const SerialPortConfig& record = *GetConfig(index);
    // Codes from a damaged "Serial.cfg" show as "?" rather than index past the tables.
    const char* parity = record.parity < 3 ? parities[record.parity] : "?";
    const char* stop = record.stopBits < 3 ? stopBits[record.stopBits] : "?";
    char text[96];
    std::snprintf(text, sizeof text, "%d : %u, %d, %s, %s, %s", ValidIndex(index) + 1,
                  static_cast<unsigned>(record.baudRate), record.dataBits, parity, stop,
                  HandshakeName(record.handshake));
    return text;
}

const char* CSerialPort::HandshakeName(int code)
{
    switch (code)
    {
    case 0: return "None";
    case 1: return "Hard";
    case 2: return "Soft";
    default: return "Unknown";
    }
}

std::string CSerialPort::DeviceName(int index)
{
    // COM10 and above open only through the device namespace.
    const char* format = index < 9 ? "COM%d" : "\\\\.\\COM%d";
    char name[32];
    std::snprintf(name, sizeof name, format, index + 1);
    return name;
}

SerialPortConfig* CSerialPort::GetConfig(int index)
{
    EnsureTable();
    return &s_records[ValidIndex(index)];
}

void CSerialPort::SetConfig(int index, const SerialPortConfig& record)
{
    EnsureTable();
    SerialPortConfig& target = s_records[ValidIndex(index)];
    target = record;
    target.portName[sizeof target.portName - 1] = '\0';
}

void CSerialPort::LoadConfig()
{
    EnsureTable();
    std::ifstream file(ConfigFileName, std::ios::binary);
    if (!file)
    {
        SaveConfig();
        return;
    }
    unsigned char bytes[PortCount * SerialPortRecord::Size];
    file.read(reinterpret_cast<char*>(bytes), sizeof bytes);
    // A short or damaged file gives only its whole records; the rest keep their values.
    const int records = static_cast<int>(file.gcount()) / SerialPortRecord::Size;
    for (int i = 0; i < records; ++i)
        s_records[i] = SerialPortRecord::Decode(bytes + i * SerialPortRecord::Size);
}

void CSerialPort::SaveConfig()
{
    EnsureTable();
    unsigned char bytes[PortCount * SerialPortRecord::Size];
    for (int i = 0; i < PortCount; ++i)
        SerialPortRecord::Encode(s_records[i], bytes + i * SerialPortRecord::Size);
    std::ofstream file(ConfigFileName, std::ios::binary | std::ios::trunc);
    if (file)
        file.write(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

void CSerialPort::BuildDefaults()
{
    for (int i = 0; i < PortCount; ++i)
    {
        s_records[i] = SerialPortRecord::Default(i);
        s_slots[i].handle.store(NoDevice);
        s_slots[i].openCount = 0;
    }
    s_tableBuilt = true;
}

// The settings dialogs may read and save the table before the main window
// creates the first port; they must never see (or write) an empty table.
void CSerialPort::EnsureTable()
{
    if (s_tableBuilt)
        return;
    BuildDefaults();
    LoadConfig();
}

int CSerialPort::ValidIndex(int index)
{
    return index >= 0 && index < PortCount ? index : 0;
}
